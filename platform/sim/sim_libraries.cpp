#include "platform/sim/sim_libraries.h"

#include "common/text.h"

namespace lx {

void SimLibraries::Install(const std::u16string& fullPath, std::map<std::string, void*> entries) {
  files_.push_back({fullPath, std::move(entries)});
}

const SimLibraries::File* SimLibraries::Find(const std::u16string& fullPath) const {
  for (const File& f : files_)
    if (EqualsIgnoreCase(f.path, fullPath)) return &f;
  return nullptr;
}

ModuleHandle SimLibraries::Load(const std::u16string& path) {
  const File* file = nullptr;
  if (path.find(u'\\') != std::u16string::npos || path.find(u'/') != std::u16string::npos) {
    file = Find(path);
  } else {
    std::vector<std::u16string> folders = {programFolder, systemFolder, windowsFolder, currentDirectory};
    folders.insert(folders.end(), pathFolders.begin(), pathFolders.end());
    if (systemFolderOnly) folders = {systemFolder};
    for (const auto& folder : folders)
      if ((file = Find(folder + u"\\" + path))) break;
  }
  if (!file) return 0;
  loaded.push_back(file->path);
  ++openModules;
  return static_cast<ModuleHandle>(file - files_.data()) + 1;
}

void* SimLibraries::GetProcAddress(ModuleHandle module, const char* name) {
  if (module == 0 || module > files_.size()) return nullptr;
  const auto& entries = files_[module - 1].entries;
  auto it = entries.find(name);
  return it == entries.end() ? nullptr : it->second;
}

void SimLibraries::Free(ModuleHandle module) {
  if (module != 0 && module <= files_.size()) --openModules;
}

}  // namespace lx
