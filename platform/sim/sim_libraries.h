// Shared libraries on the simulated machine: files at full paths with their
// entry points, found by LoadLibraryExW the way Windows finds them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/libraries.h"

namespace lx {

class SimLibraries : public ILibraries {
 public:
  // A library file at a full path ("C:\Setup\dnssd.dll") exporting `entries`.
  void Install(const std::u16string& fullPath, std::map<std::string, void*> entries);

  // A full path loads that file or nothing. A plain name is searched as
  // Windows does with safe DLL search mode: the program's folder, the system
  // folder, the Windows folder, the current directory, then PATH.
  ModuleHandle Load(const std::u16string& path) override;
  void* GetProcAddress(ModuleHandle module, const char* name) override;
  void Free(ModuleHandle module) override;
  // From then on a plain name is looked for in the system folder alone.
  bool SearchSystemFolderOnly() override {
    systemFolderOnly = true;
    return true;
  }
  bool systemFolderOnly = false;

  std::u16string programFolder = u"C:\\Setup";
  std::u16string systemFolder = u"C:\\Windows\\system32";
  std::u16string windowsFolder = u"C:\\Windows";
  std::u16string currentDirectory = u"C:\\Users\\Public";
  std::vector<std::u16string> pathFolders;

  // Full paths of the files loaded, in order, and the modules still loaded.
  std::vector<std::u16string> loaded;
  int openModules = 0;

 private:
  struct File {
    std::u16string path;
    std::map<std::string, void*> entries;
  };
  const File* Find(const std::u16string& fullPath) const;
  std::vector<File> files_;
};

}  // namespace lx
