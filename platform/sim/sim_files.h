// A simulated file system with Windows path rules: case-insensitive names
// that keep the case they were created with, '\' or '/' as separators, a file
// needs its folder, read-only files refuse to be overwritten or deleted.
// Reparse points (junctions, symbolic links) are followed at every level of
// a path by every call, except the last name of OpenNoFollow, which opens the
// link itself; RemoveFolder and RemoveFile take a link's own name away.
#pragma once

#include <map>
#include <string>

#include "platform/files.h"
#include "platform/sim/sim_caller.h"

namespace lx {

// Where the machine's known folders lie.
struct SimKnownFolders {
  std::u16string windows = u"C:\\Windows";
  std::u16string programFiles = u"C:\\Program Files";
  std::u16string programFilesX86 = u"C:\\Program Files (x86)";  // 32-bit programs on 64-bit Windows
  std::u16string commonAppData = u"C:\\ProgramData";
};

class SimFileSystem : public IFileSystem {
 public:
  explicit SimFileSystem(SimCaller& caller) : caller_(caller) {}

  std::optional<std::string> ReadFile(const std::u16string& path) override;
  bool WriteFile(const std::u16string& path, const std::string& bytes) override;
  bool AppendFile(const std::u16string& path, const std::string& bytes) override;
  bool FileExists(const std::u16string& path) override;
  uint32_t GetAttributes(const std::u16string& path) override;
  bool SetAttributes(const std::u16string& path, uint32_t attributes) override;
  bool IsDirectory(const std::u16string& path) override { return FolderExists(path); }
  bool CreateFolder(const std::u16string& path) override;
  bool RemoveFolder(const std::u16string& path) override;
  bool FindFiles(const std::u16string& pattern, std::vector<FindEntry>& entries) override;
  bool Copy(const std::u16string& from, const std::u16string& to, bool failIfExists) override;
  bool RemoveFile(const std::u16string& path) override;
  std::optional<std::u16string> GetFolderPath(KnownFolder folder, bool create) override;
  FileHandle OpenNoFollow(const std::u16string& path, uint32_t access) override;
  bool QueryHandle(FileHandle handle, OpenedFileInfo& info) override;
  std::optional<std::string> ReadHandle(FileHandle handle, size_t maxBytes) override;
  bool WriteHandle(FileHandle handle, const std::string& bytes) override;
  bool DeleteByHandle(FileHandle handle) override;
  void CloseFile(FileHandle handle) override { handles_.erase(handle); }

  // Who may open what, and who made a new name: the file permissions attach
  // one. Without one every call is allowed, as for an administrator.
  class Guard {
   public:
    virtual ~Guard() = default;
    // `key` is a Resolve result; `access` the rights asked for.
    virtual bool MayOpen(const std::u16string& key, uint32_t access) = 0;
    virtual void Created(const std::u16string& key) = 0;
  };
  Guard* guard = nullptr;

  // Plants a junction (folder) or symbolic link (file) at `path`, pointing
  // at `target`; its folder must exist.
  void AddLink(const std::u16string& path, const std::u16string& target, bool folder);
  // A file's number of names (hard links).
  void SetLinkCount(const std::u16string& path, uint32_t links);
  // The normalized name a path's calls act on, links followed; with
  // `followLast` false the last name is taken as it is.
  std::u16string Resolve(const std::u16string& path, bool followLast = true) const;
  struct OpenHandle {
    std::u16string key;
    uint32_t access = 0;
  };
  // The name and rights of an open handle; null when it is not open.
  const OpenHandle* HandleOf(FileHandle handle) const;
  int openHandles() const { return static_cast<int>(handles_.size()); }

  // Test set-up: puts a file and creates its folders.
  void AddFile(const std::u16string& path, const std::string& bytes);
  void AddFolder(const std::u16string& path);
  bool FolderExists(const std::u16string& path) const;
  // A file that exists but cannot be opened (locked or access denied).
  void SetUnreadable(const std::u16string& path, bool unreadable);
  // Full paths (as created) of the files directly in a folder, in name order.
  std::vector<std::u16string> FilesIn(const std::u16string& folder) const;

  static std::u16string Normalize(const std::u16string& path);
  static std::u16string ParentOf(const std::u16string& normalized);

  SimKnownFolders known;
  // A listing of the folder (full path) that ends with `error` after
  // `entriesBefore` entries, as a failing disk or network share does.
  struct ListingFault {
    size_t entriesBefore = 0;
    uint32_t error = 0;
  };
  std::map<std::u16string, ListingFault> listingFaults;  // by normalized folder

 private:
  struct File {
    std::u16string path;  // as created
    std::string bytes;
    uint32_t attributes = kFileAttributeArchive;
    bool unreadable = false;
    uint32_t links = 1;
  };
  struct Link {
    std::u16string target;  // normalized
    bool folder = true;
  };
  bool Exists(const std::u16string& key) const;
  bool Allowed(const std::u16string& key, uint32_t access) const {
    return !guard || guard->MayOpen(key, access);
  }
  void Made(const std::u16string& key) {
    if (guard) guard->Created(key);
  }
  std::u16string ResolveKey(const std::u16string& normalized, bool followLast, int depth) const;
  static std::u16string Tidy(const std::u16string& path);
  static std::u16string NameOf(const std::u16string& path);
  bool Fail(uint32_t error) {
    caller_.SetError(error);
    return false;
  }

  SimCaller& caller_;
  std::map<std::u16string, File> files_;
  std::map<std::u16string, std::u16string> folders_;  // normalized -> as created
  std::map<std::u16string, Link> links_;               // normalized -> where it points
  std::map<FileHandle, OpenHandle> handles_;
  FileHandle nextHandle_ = 0x100;
};

}  // namespace lx
