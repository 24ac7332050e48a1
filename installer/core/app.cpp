#include "installer/core/app.h"

#include "common/format.h"
#include "common/text.h"
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
  if (!uninstallMode) {
    std::u16string tool = FormatW(u"%s\\FwUpate\\FwUpdate.exe", ProgramFolder(os).c_str());
    DebugTraceW(os, u"FwUpatePath=%s", tool.c_str());
    // Not waited for, and a failure to start is not reported.
    if (g_config.install.FwUpteTool != 0) os.shell->Execute(u"open", tool, u"", u"", kSwShow);
  }
  if (wizard) wizard->Run(uninstallMode);
}

bool CCalvethApp::InitInstance(const std::u16string& commandLine) {
  desktop_.InitCommonControls(8, kIccAllClasses);
  desktop_.LoadRichEdit();
  DebugTraceAlways(os_, "InitInstance ==>");

  LoadInstallerConfig(os_, GetConfigPath(os_), StartUpConfig());
  DebugTrace(os_, "InitIniData  <==");

  DetectUiLanguage(os_);
  std::u16string running = LoadUiString(os_, IDS_ALREADY_RUNNING);

  bool existed = false;
  Handle mutex = os_.sync->CreateNamedMutex(u"LabelInstaller", true, existed);
  if (existed) {
    secondInstance = true;
    desktop_.ShowMessageBox(running, u"", kMbOk);
    return false;  // the handle goes with the process
  }

  uninstallMode = IsUninstallCommand(commandLine);
  RunWizard(os_, uninstallMode, wizard_);

  if (mutex) {
    os_.sync->ReleaseMutex(mutex);
    os_.sync->CloseHandle(mutex);
  }
  return false;
}

}  // namespace lx
