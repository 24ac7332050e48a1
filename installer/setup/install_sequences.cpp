#include "installer/setup/install_sequences.h"

#include "installer/core/trace.h"
#include "installer/engine/driver_install.h"
#include "installer/engine/folder_copy.h"
#include "installer/engine/language_suffix.h"
#include "installer/engine/model_lookup.h"
#include "installer/engine/paper_folder.h"
#include "installer/engine/printer_queries.h"
#include "installer/engine/uninstall_entry.h"
#include "installer/ports/usb_ports.h"
#include "platform/clock.h"

namespace lx {

namespace {
constexpr int kPrinterPolls = 10;
constexpr uint32_t kPrinterPollMs = 500;
constexpr uint32_t kProgressPauseMs = 50;

const char16_t* FailureTrace(Outcome outcome) {
  switch (outcome) {
    case Outcome::kNameRefused: return u"Installation failed: a name or address was refused";
    case Outcome::kPortNotCreated: return u"Installation failed: port %s was not created";
    case Outcome::kPrinterNotSeen: return u"Installation failed: printer %s did not appear";
    case Outcome::kDriverNotSeen: return u"Installation failed: driver %s did not appear";
    case Outcome::kNotStarted: return u"Operation failed: its worker thread could not be started";
    default: return u"Installation failed";
  }
}

// Polls `seen` until it answers true: at most kPrinterPolls looks.
template <typename Seen>
bool PollUntil(const Os& os, Seen seen) {
  for (int attempt = 0; attempt < kPrinterPolls; ++attempt) {
    if (seen()) return true;
    os.clock->Sleep(kPrinterPollMs);
  }
  return false;
}

}  // namespace

void RecordFailure(const Os& os, WizardState& state, Outcome outcome) {
  const InstallTarget& target = state.target;
  const std::u16string& name = outcome == Outcome::kPortNotCreated  ? target.portName
                               : outcome == Outcome::kDriverNotSeen ? target.driverName
                                                                    : target.printerName;
  DebugTraceWAlways(os, FailureTrace(outcome), name.c_str());
  state.outcome = outcome;
}

void InstallOnUsb(const Os& os, IEngineSink& sink, WizardState& state) {
  state.outcome = Outcome::kNone;
  UsbPortInfo usb;
  FindUsbPrinterPort(os, usb);
  int type = FindModelTypeByInstanceId(usb.instanceId);
  std::u16string driverName = FindDriverNameByType(type);
  std::u16string requestedName = FindPrinterNameByType(type);
  std::u16string regPath = FindLanguageRegPathByDriver(driverName);
  if (!regPath.empty()) state.ReplaceLanguageRegPath(regPath);

  state.target.portName = usb.portName;
  state.target.printerName = MakeUniquePrinterName(os, requestedName);
  state.target.driverName = driverName;
  if (!InstallDriver(os, state, driverName)) {
    RecordFailure(os, state, Outcome::kNameRefused);
    sink.PostCompletion(kWmInstallDone);
    return;
  }
  CompleteInstallation(os, sink, state);
}

void InstallOnPort(const Os& os, IEngineSink& sink, WizardState& state, const InstallRequest& request,
                   IWorkerStarter& workers) {
  state.request = request;
  state.outcome = Outcome::kNone;
  WriteUiLanguageSuffix(os, state);
  RampProgress(os, sink, 0, kProgressPauseMs);
  if (!workers.Start([&os, &sink, &state, request] { InstallOnPortWorker(os, sink, state, request); })) {
    RecordFailure(os, state, Outcome::kNotStarted);
    sink.PostCompletion(kWmInstallDone);
  }
}

void InstallOnPortWorker(const Os& os, IEngineSink& sink, WizardState& state, const InstallRequest& request) {
  state.target.portName = request.portName;
  state.target.printerName = MakeUniquePrinterName(os, request.printerName);
  state.target.driverName = request.driverName;
  if (!InstallDriver(os, state, request.driverName)) {
    RecordFailure(os, state, Outcome::kNameRefused);
    sink.PostCompletion(kWmInstallDone);
    return;
  }
  CompleteInstallation(os, sink, state);
}

void RegisterInstalledCopy(const Os& os) {
  WriteUninstallEntry(os, CopyInstallerToInstallFolder(os));
}

void CompleteInstallation(const Os& os, IEngineSink& sink, WizardState& state) {
  const InstallTarget& target = state.target;
  PrepareSharedPaperFile(os);  // the plug-in's shared sizes; a failure is traced and costs only that file
  sink.SetProgress(50);
  // The entry's command must name a program that exists: copy first.
  std::u16string installedFolder = CopyInstallerToInstallFolder(os);
  sink.SetProgress(60);
  WriteUninstallEntry(os, installedFolder);
  sink.SetProgress(70);
  os.clock->Sleep(kProgressPauseMs);
  sink.SetProgress(80);
  os.clock->Sleep(kProgressPauseMs);
  sink.SetProgress(90);

  if (target.portName.empty()) {
    // No printer was asked for: the driver alone is what must appear.
    if (WaitForDriver(os, target.driverName))
      state.outcome = Outcome::kDriverOnly;
    else
      RecordFailure(os, state, Outcome::kDriverNotSeen);
  } else if (SetDefaultWhenInstalled(os, target.printerName)) {
    state.outcome = Outcome::kInstalled;
  } else {
    RecordFailure(os, state, Outcome::kPrinterNotSeen);
  }
  bool accessories = state.outcome == Outcome::kInstalled && WantsAccessoryChoice(target);
  sink.PostCompletion(accessories ? kWmShowAccessories : kWmInstallDone);
}

bool SetDefaultWhenInstalled(const Os& os, const std::u16string& printerName) {
  bool seen = PollUntil(os, [&] { return PrinterExists(os, printerName); });
  if (seen) SetDefaultPrinter(os, printerName);
  return seen;
}

bool WaitForDriver(const Os& os, const std::u16string& driverName) {
  return !driverName.empty() && PollUntil(os, [&] { return DriverListed(os, driverName); });
}

bool WantsAccessoryChoice(const InstallTarget& target) {
  return !target.printerName.empty() && GetShowSetting(target.driverName) == 1;
}

}  // namespace lx
