// A simulated file system with Windows path rules: case-insensitive names,
// '\' or '/' as separators, a file needs its folder.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/files.h"

namespace lx {

class SimFileSystem : public IFileSystem {
 public:
  std::optional<std::string> ReadFile(const std::u16string& path) override;
  bool WriteFile(const std::u16string& path, const std::string& bytes) override;
  bool FileExists(const std::u16string& path) override;

  // Test set-up: puts a file and creates its folders.
  void AddFile(const std::u16string& path, const std::string& bytes);
  void AddFolder(const std::u16string& path);
  bool FolderExists(const std::u16string& path) const;
  // A file that exists but cannot be opened (locked or access denied).
  void SetUnreadable(const std::u16string& path, bool unreadable);

  static std::u16string Normalize(const std::u16string& path);
  static std::u16string ParentOf(const std::u16string& normalized);

 private:
  struct File {
    std::string bytes;
    bool unreadable = false;
  };
  std::map<std::u16string, File> files_;
  std::set<std::u16string> folders_;
};

}  // namespace lx
