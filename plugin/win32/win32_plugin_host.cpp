#include "plugin/win32/win32_plugin_host.h"

#include "platform/win32/wide.h"

namespace lx {

std::u16string Win32PluginHost::PluginModulePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(self_, path, MAX_PATH);
  return U(path, n < MAX_PATH ? n : MAX_PATH - 1);
}

std::optional<std::u16string> Win32PluginHost::PrinterDriverDirectory() {
  std::u16string dir;
  if (!spooler_.DriverDirectory(dir) || dir.empty()) return std::nullopt;
  return dir;
}

LangId Win32PluginHost::GetUserDefaultLangId() { return ::GetUserDefaultLangID(); }

}  // namespace lx
