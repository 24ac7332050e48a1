#include "platform/win32/win32_libraries.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace lx {

ModuleHandle Win32Libraries::Load(const std::u16string& path) {
  // With a full path the altered search order also finds the library's own
  // dependencies beside it, not in the current directory.
  return reinterpret_cast<ModuleHandle>(::LoadLibraryExW(W(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

void* Win32Libraries::GetProcAddress(ModuleHandle module, const char* name) {
  return reinterpret_cast<void*>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

void Win32Libraries::Free(ModuleHandle module) { ::FreeLibrary(reinterpret_cast<HMODULE>(module)); }

bool Win32Libraries::SearchSystemFolderOnly() {
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  using SetDefault = BOOL(WINAPI*)(DWORD);
  auto setDefault = kernel ? reinterpret_cast<SetDefault>(
                                 reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                           : nullptr;
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  return ::SetDllDirectoryW(L"") != FALSE;
}

}  // namespace lx
