// The real library loader of Windows.
#pragma once

#include "platform/libraries.h"

namespace lx {

class Win32Libraries : public ILibraries {
 public:
  ModuleHandle Load(const std::u16string& path) override;
  void* GetProcAddress(ModuleHandle module, const char* name) override;
  void Free(ModuleHandle module) override;
  bool SearchSystemFolderOnly() override;
};

}  // namespace lx
