// Opening a path beside which less trusted users may write, as a process of
// SYSTEM or an administrator must: each level (folders, then the last name)
// opened by its handle without following a link, and refused when it is a
// reparse point, a file with more than one name, or owned by anyone but
// SYSTEM, the Administrators, TrustedInstaller or the process's own user
// (who could have planted it anyway; inside the spooler that is SYSTEM). The handles stay open
// without delete sharing, so no checked level can be renamed or swapped for
// a link while they are held: what is done next acts on what was checked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_security.h"
#include "platform/files.h"

namespace lx {

class ISystem;

bool IsTrustedOwner(const std::u16string& sid);

// Rights to open a checked level with: its attributes and its owner.
inline constexpr uint32_t kCheckAccess = 0x00020080;  // READ_CONTROL | FILE_READ_ATTRIBUTES

// Protected DACLs for such a path. Folders: SYSTEM and the Administrators
// everything, everyone else lists and passes through; no one else adds,
// renames or removes a name in them. A shared file: everyone reads and
// writes its contents; only SYSTEM and the Administrators change its
// permissions, owner or existence.
std::vector<AccessAllowed> ProtectedFolderDacl();
std::vector<AccessAllowed> SharedFileDacl();

enum class PathCheck {
  kOk,       // every level checked; leaf() is the last one's handle
  kMissing,  // a level does not exist
  kRefused,  // a level is a link, hard-linked, of another owner, or of the wrong kind
  kFailed,   // a level could not be opened or asked
};

class CheckedPath {
 public:
  // `system` gives the last error that tells a missing level from a failing one.
  CheckedPath(IFileSystem& files, IFileSecurity& security, ISystem* system)
      : files_(files), security_(security), system_(system) {}
  ~CheckedPath() { Close(); }
  CheckedPath(const CheckedPath&) = delete;
  CheckedPath& operator=(const CheckedPath&) = delete;

  // `base` (a system folder, not checked), then each of `folders` below it,
  // then `leaf` (a file, opened with kCheckAccess and `leafAccess`; empty
  // for none). `why` names the level and the reason when it is not kOk.
  PathCheck Open(const std::u16string& base, const std::vector<std::u16string>& folders,
                 const std::u16string& leaf, uint32_t leafAccess);
  // Checks one more level below the last one opened; `folder` tells which kind it must be.
  PathCheck Descend(const std::u16string& name, bool folder, uint32_t access);

  FileHandle leaf() const { return handles_.empty() ? 0 : handles_.back(); }
  const std::u16string& path() const { return path_; }    // the last level opened
  const std::u16string& tried() const { return tried_; }  // the last level tried
  uint64_t leafSize() const { return leafSize_; }
  uint32_t error() const { return error_; }
  std::u16string why;

  void Close();

 private:
  IFileSystem& files_;
  IFileSecurity& security_;
  ISystem* system_;
  std::vector<FileHandle> handles_;
  std::u16string path_;
  std::u16string tried_;
  uint64_t leafSize_ = 0;
  uint32_t error_ = 0;
  std::optional<std::u16string> ownSid_;
  bool ownSidAsked_ = false;
};

}  // namespace lx
