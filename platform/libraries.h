// Run-time loading of a shared library and lookup of its entry points.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

using ModuleHandle = uintptr_t;

class ILibraries {
 public:
  virtual ~ILibraries() = default;
  // LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH) on Windows: a
  // full path loads exactly that file, nothing found on the search path.
  // dlopen(path, RTLD_NOW | RTLD_LOCAL) on a POSIX host. Zero on failure.
  virtual ModuleHandle Load(const std::u16string& path) = 0;
  // GetProcAddress / dlsym; null when the entry point is missing.
  virtual void* GetProcAddress(ModuleHandle module, const char* name) = 0;
  // FreeLibrary / dlclose.
  virtual void Free(ModuleHandle module) = 0;
};

}  // namespace lx
