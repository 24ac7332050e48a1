#include "installer/engine/system_tools.h"

#include "installer/core/trace.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace lx {

namespace {
constexpr intptr_t kShellStarted = 32;  // ShellExecuteW's results above this succeed
}  // namespace

std::u16string SystemToolPath(const Os& os, SystemTool tool) {
  if (tool == SystemTool::kPnputil && os.system->IsWow64Process()) {
    std::u16string windows = os.system->WindowsDirectory();
    return windows.empty() ? u"" : windows + u"\\Sysnative\\pnputil.exe";
  }
  std::u16string system = os.system->SystemDirectory();
  if (system.empty()) return u"";
  switch (tool) {
    case SystemTool::kRundll32: return system + u"\\rundll32.exe";
    case SystemTool::kPnputil: return system + u"\\pnputil.exe";
    case SystemTool::kScriptHost: return system + u"\\cscript.exe";
  }
  return u"";
}

bool StartSystemTool(const Os& os, const std::u16string& path, const std::u16string& parameters, int show) {
  std::u16string system = os.system->SystemDirectory();
  if (system.empty() || path.empty()) {
    DebugTraceWAlways(os, u"Not started: the system folder is not known (%s)", path.c_str());
    return false;
  }
  DebugTraceWAlways(os, u"Starting %s in %s", path.c_str(), system.c_str());
  intptr_t r = os.shell->Execute(u"open", path, parameters, system, show);
  if (r <= kShellStarted) {
    DebugTraceWAlways(os, u"Not started: %s (shell error %d)", path.c_str(), static_cast<int>(r));
    return false;
  }
  return true;
}

bool StartPrintUi(const Os& os, const std::u16string& parameters, int show) {
  return StartSystemTool(os, SystemToolPath(os, SystemTool::kRundll32), parameters, show);
}

}  // namespace lx
