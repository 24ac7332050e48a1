#include "installer/unattended/quiet_install.h"

#include "installer/core/exit_codes.h"
#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/core/ui_language.h"
#include "installer/engine/driver_removal.h"
#include "installer/engine/language_suffix.h"
#include "installer/engine/protected_print.h"
#include "installer/ports/tcp_port.h"
#include "installer/setup/install_sequences.h"
#include "installer/setup/network_install.h"
#include "platform/system.h"

namespace lx {

namespace {

// Progress goes nowhere; the completion is only recorded.
class QuietSink : public IEngineSink, public INetInstallSink {
 public:
  void SetProgress(int) override {}
  void PostCompletion(unsigned message) override { completion = message; }
  void ShowPage(Page page, int) override {
    if (page == Page::kAccessories) completion = kWmShowAccessories;
  }
  void SetStatusText(unsigned) override {}
  unsigned completion = 0;
};

// The worker runs at once, on this thread: the run has nothing else to do.
class InlineWorkers : public IWorkerStarter {
 public:
  bool Start(std::function<void()> work) override {
    work();
    return true;
  }
};

}  // namespace

IQuietRunner::Result QuietInstaller::Refuse(const char16_t* what, const std::u16string& value) {
  DebugTraceWAlways(os_, u"Command line refused: %s %s", what, value.c_str());
  return {kExitBadCommandLine, u"command line refused"};
}

IQuietRunner::Result QuietInstaller::Finish() {
  return {ExitCodeOf(state_, false), OutcomeName(state_.outcome)};
}

IQuietRunner::Result QuietInstaller::Remove(const Switches& switches) {
  DebugTraceWAlways(os_, u"Unattended removal");
  QuietSink sink;
  RunRemovalWorker(os_, sink, state_);
  if (state_.outcome == Outcome::kRemoved) {
    if (switches.noRestart) {
      DebugTraceWAlways(os_, u"A restart is due; /norestart: not started");
    } else if (session_.ExitSession(kEwxReboot, 0)) {
      state_.restartStarted = true;
    } else {
      DebugTraceWAlways(os_, u"The restart was refused: error %d", static_cast<int>(os_.system->GetLastError()));
    }
  }
  return Finish();
}

IQuietRunner::Result QuietInstaller::Run(const Switches& switches) {
  state_.outcome = Outcome::kNone;
  if (switches.removal) return Remove(switches);

  state_.language = g_lang;
  if (!switches.language.empty()) {
    const UiLanguage* row = FindUiLanguageBySuffix(switches.language);
    if (!row) return Refuse(u"/lang: no UI language has the suffix", switches.language);
    state_.language = row->languageId;
  }
  if (switches.road != Road::kUsb && !g_config.Models().ByDriverName(switches.model))
    return Refuse(u"/model: no model has the DriverName", switches.model);
  if (switches.road == Road::kPort && !PortExists(os_, switches.port))
    return Refuse(u"/port: the computer has no port", switches.port);
  if (switches.road == Road::kNetwork && !IsPassableNetworkAddress(switches.address))
    return Refuse(u"/address: not an IPv4 address or host name:", switches.address);

  // Before anything is staged; the mode is never turned off here.
  if (ProtectedPrintOn(os_)) {
    state_.protectedPrint = true;
    DebugTraceWAlways(os_, u"Nothing installed: Windows protected print mode admits no third-party driver");
    return {kExitProtectedPrint, u"Windows protected print mode is on"};
  }

  QuietSink sink;
  InlineWorkers workers;
  switch (switches.road) {
    case Road::kUsb:
      DebugTraceWAlways(os_, u"Unattended installation on USB");
      InstallOnUsb(os_, sink, state_);
      break;
    case Road::kPort: {
      std::u16string name = switches.printerName.empty() ? switches.model + u" C" : switches.printerName;
      DebugTraceWAlways(os_, u"Unattended installation of %s on port %s", switches.model.c_str(),
                        switches.port.c_str());
      InstallOnPort(os_, sink, state_, {switches.model, name, switches.port}, workers);
      break;
    }
    case Road::kNetwork: {
      std::u16string name = switches.printerName.empty() ? switches.model + u" NET" : switches.printerName;
      DebugTraceWAlways(os_, u"Unattended installation of %s at %s", switches.model.c_str(),
                        switches.address.c_str());
      InstallNetworkPrinter(os_, sink, state_, switches.address, name, switches.model);
      break;
    }
    case Road::kDriverOnly:
      DebugTraceWAlways(os_, u"Unattended installation of driver %s alone", switches.model.c_str());
      InstallOnPort(os_, sink, state_, {switches.model, u"", u""}, workers);
      break;
    case Road::kNone:
      return Refuse(u"no road given", u"");
  }
  if (Succeeded(state_.outcome)) {
    // As the finish page does: a model's own registry path is in force now.
    WriteUiLanguageSuffix(os_, state_);
    if (sink.completion == kWmShowAccessories)
      DebugTraceWAlways(os_, u"The accessory choice is left as the driver sets it");
  }
  return Finish();
}

}  // namespace lx
