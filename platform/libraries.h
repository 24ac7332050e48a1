// Run-time loading of a shared library and lookup of its entry points.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

using ModuleHandle = uintptr_t;

class ILibraries {
 public:
  virtual ~ILibraries() = default;
  // LoadLibraryExW(path, NULL, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR |
  // LOAD_LIBRARY_SEARCH_SYSTEM32) on Windows, LOAD_WITH_ALTERED_SEARCH_PATH
  // where those flags are unknown: a full path loads exactly that file, its
  // dependencies from beside it and the system folder.
  // dlopen(path, RTLD_NOW | RTLD_LOCAL) on a POSIX host. Zero on failure.
  virtual ModuleHandle Load(const std::u16string& path) = 0;
  // GetProcAddress / dlsym; null when the entry point is missing.
  virtual void* GetProcAddress(ModuleHandle module, const char* name) = 0;
  // FreeLibrary / dlclose.
  virtual void Free(ModuleHandle module) = 0;
  // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up in
  // kernel32 at run time (Windows 7 has it only with KB2533623): a library
  // loaded by name, a delay-loaded import included, then comes from the
  // system folder alone, never from the program's folder or the current
  // one. Without it SetDllDirectoryW(L"") at least takes the current folder
  // out of the search. False when neither took effect. Nothing to do on a
  // POSIX host.
  virtual bool SearchSystemFolderOnly() = 0;
};

}  // namespace lx
