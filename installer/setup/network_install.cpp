#include "installer/setup/network_install.h"

#include <optional>

#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "installer/engine/command_line.h"
#include "installer/engine/driver_install.h"
#include "installer/setup/install_sequences.h"
#include "installer/engine/language_suffix.h"
#include "installer/engine/model_lookup.h"
#include "installer/engine/printer_queries.h"
#include "installer/engine/system_tools.h"
#include "installer/ports/tcp_port.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "platform/spooler.h"

namespace lx {

namespace {
constexpr int kPortPolls = 20;
constexpr uint32_t kPollMs = 500;
constexpr uint32_t kProgressPauseMs = 50;

void Progress(const Os& os, INetInstallSink& sink, std::initializer_list<int> positions) {
  for (int p : positions) {
    sink.SetProgress(p);
    os.clock->Sleep(kProgressPauseMs);
  }
}

// Starts prnport.vbs and waits for the port; the monitor adds it when the
// script has not within the polls. True when the port is listed at the end.
bool CreatePort(const Os& os, const std::u16string& address, const std::u16string& portName,
                const std::u16string& parameters) {
  DebugTraceW(os, u"addPortCmd");
  StartSystemTool(os, GetScriptHostPath(os), parameters, kSwHide);
  DebugTraceW(os, u"addPortCmd %s", parameters.c_str());
  for (int n = 0; n < kPortPolls; ++n) {
    os.clock->Sleep(kPollMs);
    if (os.spooler->PortsNeededBytes() != 0 && PortExists(os, portName)) return true;
    DebugTrace(os, "wait addport  time=%d", n);
  }
  return AddTcpPortByXcv(os, address) || PortExists(os, portName);
}

void Finish(INetInstallSink& sink) { sink.ShowPage(INetInstallSink::Page::kFinished, kNetFinishStep); }

}  // namespace

void InstallNetworkPrinter(const Os& os, INetInstallSink& sink, WizardState& state,
                           const std::u16string& address, const std::u16string& requestedName,
                           const std::u16string& driverName) {
  state.outcome = Outcome::kNone;
  sink.ShowPage(INetInstallSink::Page::kInstalling, kNetInstallingStep);
  sink.SetStatusText(IDS_INSTALLING);
  std::u16string inf = GetInfPath(os, driverName);
  std::u16string regPath = FindLanguageRegPathByDriver(driverName);
  if (!regPath.empty()) state.ReplaceLanguageRegPath(regPath);
  WriteUiLanguageSuffix(os, state);

  std::u16string portName = MakeTcpPortName(address);
  InstallTarget& target = state.target;
  target.portName = portName;
  target.printerName = MakeUniquePrinterName(os, requestedName);
  target.driverName = driverName;
  DebugTraceW(os, u"drivername: %s", driverName.c_str());
  DebugTraceW(os, u"m_driverName: %s", target.driverName.c_str());

  std::u16string script = FindPrnPortScript(os);
  Progress(os, sink, {0, 10, 20, 30});

  std::optional<std::u16string> portParameters = PrnPortAddParameters(script, address);
  bool namesFit = AcceptPrintUiNames(os, {target.printerName, portName, driverName});
  std::optional<std::u16string> installParameters =
      namesFit ? PrintUiInstallPrinter(target.printerName, portName, driverName, inf) : std::nullopt;
  if (!portParameters || !installParameters) {
    // Nothing of it reaches a command line; no printer is made.
    DebugTraceW(os, u"Refused a network address that cannot be passed on a command line.");
    RecordFailure(os, state, Outcome::kNameRefused);
    target.printerName.clear();
    Finish(sink);
    return;
  }
  if (!CreatePort(os, address, portName, *portParameters)) {
    // A printer on a missing port would never print: nothing more is made.
    RecordFailure(os, state, Outcome::kPortNotCreated);
    target.printerName.clear();
    Finish(sink);
    return;
  }

  Progress(os, sink, {40, 50, 60});
  RegisterInstalledCopy(os);
  DebugTraceW(os, u"OnInstallNetPrinter %s", installParameters->c_str());
  StartPrintUi(os, *installParameters, kSwShowNormal);
  Progress(os, sink, {70, 80});

  if (!SetDefaultWhenInstalled(os, target.printerName)) {
    RecordFailure(os, state, Outcome::kPrinterNotSeen);
    Finish(sink);
    return;
  }
  state.outcome = Outcome::kInstalled;
  if (WantsAccessoryChoice(target))
    sink.ShowPage(INetInstallSink::Page::kAccessories, kNetAccessoriesStep);
  else
    Finish(sink);
}

}  // namespace lx
