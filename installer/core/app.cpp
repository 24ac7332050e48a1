#include "installer/core/app.h"

#include "common/format.h"
#include "common/text.h"
#include "installer/core/exit_codes.h"
#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "installer/core/ui_language.h"
#include "installer/core/ui_strings.h"
#include "platform/shell.h"

namespace lx {

bool IsUninstallCommand(const std::u16string& commandLine) {
  return Contains(ToLowerAscii(commandLine), u"uninstall");
}

void RunWizard(const Os& os, bool uninstallMode, IWizardRunner* wizard) {
  if (!uninstallMode && !ProgramFolder(os).empty()) {
    std::u16string tool = FormatW(u"%s\\FwUpate\\FwUpdate.exe", ProgramFolder(os).c_str());
    DebugTraceW(os, u"FwUpatePath=%s", tool.c_str());
    // Not waited for, and a failure to start is not reported.
    if (g_config.install.FwUpteTool != 0) os.shell->Execute(u"open", tool, u"", u"", kSwShow);
  }
  if (wizard) wizard->Run(uninstallMode);
}

namespace {

const char16_t* WizardOutcomeName(const WizardState& state) {
  if (state.outcome != Outcome::kNone) return OutcomeName(state.outcome);
  return state.protectedPrint ? u"Windows protected print mode is on" : u"left before an operation finished";
}

}  // namespace

CCalvethApp::~CCalvethApp() {
  if (log_) SetTraceLog(nullptr);
}

void CCalvethApp::End(int code, const std::u16string& outcome) {
  exitCode = code;
  DebugTraceWAlways(os_, u"Result: %s, exit code %d", outcome.c_str(), code);
}

bool CCalvethApp::InitInstance(const std::u16string& commandLine) {
  ParsedSwitches parsed = ParseSwitches(commandLine);
  const Switches& switches = parsed.switches;
  // Opened first, so that the log holds the whole run.
  bool logFailed = false;
  if (!switches.logPath.empty()) {
    log_ = std::make_unique<TraceLog>(*os_.files, *os_.clock, switches.logPath);
    if (log_->Open()) {
      SetTraceLog(log_.get());
    } else {
      log_.reset();
      logFailed = true;
    }
  }
  desktop_.InitCommonControls(8, kIccAllClasses);
  desktop_.LoadRichEdit();
  DebugTraceAlways(os_, "InitInstance ==>");

  LoadInstallerConfig(os_, GetConfigPath(os_), StartUpConfig());
  if (log_) debugEnabled = 1;  // the log holds the gated lines too
  DebugTrace(os_, "InitIniData  <==");

  DetectUiLanguage(os_);
  std::u16string running = LoadUiString(os_, IDS_ALREADY_RUNNING);
  if (log_) DebugTraceWAlways(os_, u"Command line: %s", CutToBuffer(commandLine, 512).c_str());

  if (logFailed) {
    // Before anything is done: a log that cannot be written ends the run.
    DebugTraceWAlways(os_, u"The log file %s cannot be written", switches.logPath.c_str());
    if (!switches.quiet)
      desktop_.ShowMessageBox(FormatW(LoadUiString(os_, IDS_BAD_SWITCH).c_str(), u"/log"), u"", kMbOk);
    End(kExitBadCommandLine, u"log file not writable");
    return false;
  }
  if (parsed.error) {
    DebugTraceWAlways(os_, u"Command line refused: %s: %s", parsed.error->token.c_str(),
                      parsed.error->reason.c_str());
    if (!switches.quiet)
      desktop_.ShowMessageBox(FormatW(LoadUiString(os_, IDS_BAD_SWITCH).c_str(), parsed.error->token.c_str()),
                              u"", kMbOk);
    End(kExitBadCommandLine, u"command line refused");
    return false;
  }
  if (switches.help) {
    if (!switches.quiet) desktop_.ShowMessageBox(LoadUiString(os_, IDS_HELP), u"", kMbOk);
    End(kExitSuccess, u"help shown");
    return false;
  }

  bool existed = false;
  Handle mutex = os_.sync->CreateNamedMutex(u"LabelInstaller", true, existed);
  if (existed) {
    secondInstance = true;
    if (!switches.quiet) desktop_.ShowMessageBox(running, u"", kMbOk);
    End(kExitAnotherRunning, u"another installer is running");
    return false;  // the handle goes with the process
  }

  uninstallMode = switches.removal;
  if (switches.quiet) {
    IQuietRunner::Result result =
        quiet_ ? quiet_->Run(switches) : IQuietRunner::Result{kExitFailure, u"no unattended mode"};
    End(result.exitCode, result.outcome);
  } else {
    RunWizard(os_, uninstallMode, wizard_);
    End(ExitCodeOf(state_, true), WizardOutcomeName(state_));
  }

  if (mutex) {
    os_.sync->ReleaseMutex(mutex);
    os_.sync->CloseHandle(mutex);
  }
  return false;
}

}  // namespace lx
