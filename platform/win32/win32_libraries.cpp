#include "platform/win32/win32_libraries.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace lx {

ModuleHandle Win32Libraries::Load(const std::u16string& path) {
  // The library's own dependencies come from beside it and from System32
  // alone. Systems without the search flags (Windows 7 before KB2533623)
  // refuse them as an invalid parameter: there the altered search order
  // still looks beside the library first.
  HMODULE module = ::LoadLibraryExW(W(path), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER)
    module = ::LoadLibraryExW(W(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  return reinterpret_cast<ModuleHandle>(module);
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
