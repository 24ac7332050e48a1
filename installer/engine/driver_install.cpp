#include "installer/engine/driver_install.h"

#include <optional>

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/core/wizard_state.h"
#include "installer/engine/command_line.h"
#include "installer/engine/model_lookup.h"
#include "installer/engine/system_tools.h"
#include "platform/shell.h"
#include "installer/engine/win_path.h"
#include "platform/system.h"

namespace lx {

std::u16string GetInfPath(const Os& os, const std::u16string& driverName) {
  std::u16string module = WholeModulePath(os, u"INF path");
  if (module.empty()) {
    DebugTraceW(os, u"Failed to get module file path.\n");
    return u"";
  }
  std::optional<std::u16string> folder = RemoveFileSpec(module);
  if (!folder) {
    DebugTraceW(os, u"Failed to remove file spec from module path.\n");
    return u"";
  }
  std::optional<std::u16string> parent = RemoveFileSpec(*folder);
  if (!parent) {
    DebugTraceW(os, u"Failed to remove top-level directory.\n");
    return u"";
  }
  std::u16string file = g_config.install.CustomInfName == 1 ? FindInfNameByDriver(driverName)
                                                             : g_config.install.InfName;
  std::optional<std::u16string> inf = CombinePath(*parent, file);
  if (!inf) {
    DebugTraceW(os, u"Failed to combine path for .inf file.\n");
    return u"";
  }
  return *inf;
}

bool InstallDriver(const Os& os, WizardState& state, const std::u16string& driverName) {
  std::u16string inf = GetInfPath(os, driverName);
  std::u16string regPath = FindLanguageRegPathByDriver(driverName);
  if (!regPath.empty()) state.ReplaceLanguageRegPath(regPath);

  const InstallTarget& target = state.target;
  bool namesFit = target.portName.empty()
                      ? AcceptPrintUiNames(os, {driverName})
                      : AcceptPrintUiNames(os, {target.printerName, target.portName, driverName});
  if (!namesFit) return false;
  std::optional<std::u16string> parameters =
      target.portName.empty()
          ? PrintUiInstallDriver(driverName, inf)
          : PrintUiInstallPrinter(target.printerName, target.portName, driverName, inf);
  if (!parameters) {
    DebugTraceW(os, u"Refused a name that cannot be passed on a command line.");
    return false;
  }
  DebugTraceW(os, u"%s", parameters->c_str());
  // Not started is seen as the printer or driver that never appears.
  StartPrintUi(os, *parameters, kSwShowNormal);
  return true;
}

}  // namespace lx
