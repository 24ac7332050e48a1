#include "plugin/win32/win32_plugin_host.h"

#include <winspool.h>

#include <vector>

#include "platform/win32/wide.h"

namespace lx {

std::u16string Win32PluginHost::PluginModulePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(self_, path, MAX_PATH);
  return U(path, n < MAX_PATH ? n : MAX_PATH - 1);
}

std::optional<std::u16string> Win32PluginHost::PrinterDriverDirectory() {
  wchar_t dir[MAX_PATH] = {};
  DWORD needed = 0;
  if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir),
                                    sizeof dir, &needed)) {
    return std::nullopt;
  }
  dir[MAX_PATH - 1] = 0;
  if (dir[0] == 0) return std::nullopt;
  return U(dir);
}

LangId Win32PluginHost::GetUserDefaultLangId() { return ::GetUserDefaultLangID(); }

namespace {

HKEY Root(RegRoot root) {
  switch (root) {
    case RegRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    default: return HKEY_LOCAL_MACHINE;
  }
}

REGSAM View(RegView view) {
  switch (view) {
    case RegView::kWow64_64: return KEY_WOW64_64KEY;
    case RegView::kWow64_32: return KEY_WOW64_32KEY;
    default: return 0;
  }
}

}  // namespace

bool WinRegistryReader::KeyExists(RegRoot root, const std::u16string& path, RegView view) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(Root(root), W(path), 0, KEY_READ | View(view), &key) != ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(key);
  return true;
}

std::optional<std::u16string> WinRegistryReader::GetString(RegRoot root, const std::u16string& path,
                                                           const std::u16string& name,
                                                           RegView view) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(Root(root), W(path), 0, KEY_READ | View(view), &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // 260 bytes, as the suffix has always been read; one more character keeps
  // a value without its terminator readable.
  wchar_t buffer[131] = {};
  DWORD type = 0;
  DWORD size = 260;
  LONG rc = ::RegQueryValueExW(key, W(name), nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
  ::RegCloseKey(key);
  if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  return U(buffer, wcsnlen(buffer, size / sizeof(wchar_t)));
}

}  // namespace lx
