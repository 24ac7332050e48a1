#include "platform/checked_path.h"

#include "common/format.h"
#include "platform/file_security.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

bool IsTrustedOwner(const std::u16string& sid) {
  return sid == kSidLocalSystem || sid == kSidAdministrators || sid == kSidTrustedInstaller;
}

std::vector<AccessAllowed> ProtectedFolderDacl() {
  return {{kSidLocalSystem, kFileAllAccess},
          {kSidAdministrators, kFileAllAccess},
          {kSidEveryone, kFileGenericRead | kFileGenericExecute}};
}

std::vector<AccessAllowed> SharedFileDacl() {
  return {{kSidEveryone, kFileGenericRead | kFileGenericWrite},
          {kSidLocalSystem, kFileAllAccess},
          {kSidAdministrators, kFileAllAccess}};
}

void CheckedPath::Close() {
  for (auto it = handles_.rbegin(); it != handles_.rend(); ++it) files_.CloseFile(*it);
  handles_.clear();
}

PathCheck CheckedPath::Descend(const std::u16string& name, bool folder, uint32_t access) {
  tried_ = path_.empty() || path_.back() == u'\\' ? path_ + name : path_ + u"\\" + name;
  FileHandle h = files_.OpenNoFollow(tried_, access | kCheckAccess);
  if (!h) {
    error_ = system_ ? system_->GetLastError() : 0;
    why = FormatW(u"%s cannot be opened, error %lu", tried_.c_str(), static_cast<unsigned long>(error_));
    return error_ == kErrorFileNotFound || error_ == kErrorPathNotFound ? PathCheck::kMissing : PathCheck::kFailed;
  }
  handles_.push_back(h);
  path_ = tried_;
  OpenedFileInfo info;
  if (!files_.QueryHandle(h, info)) {
    why = FormatW(u"%s cannot be asked", path_.c_str());
    return PathCheck::kFailed;
  }
  if (info.attributes & kFileAttributeReparsePoint) {
    why = FormatW(u"%s is a reparse point", path_.c_str());
    return PathCheck::kRefused;
  }
  if (((info.attributes & kFileAttributeDirectory) != 0) != folder) {
    why = FormatW(folder ? u"%s is not a folder" : u"%s is a folder", path_.c_str());
    return PathCheck::kRefused;
  }
  if (!folder && info.links > 1) {
    why = FormatW(u"%s has %lu names", path_.c_str(), static_cast<unsigned long>(info.links));
    return PathCheck::kRefused;
  }
  std::optional<std::u16string> owner = security_.OwnerOfHandle(h);
  if (!owner) {
    why = FormatW(u"%s has no readable owner", path_.c_str());
    return PathCheck::kFailed;
  }
  if (!ownSidAsked_) {
    ownSid_ = security_.ProcessUserSid();
    ownSidAsked_ = true;
  }
  if (!IsTrustedOwner(*owner) && *owner != ownSid_) {
    why = FormatW(u"%s is owned by %s", path_.c_str(), owner->c_str());
    return PathCheck::kRefused;
  }
  leafSize_ = info.size;
  return PathCheck::kOk;
}

PathCheck CheckedPath::Open(const std::u16string& base, const std::vector<std::u16string>& folders,
                            const std::u16string& leaf, uint32_t leafAccess) {
  Close();
  path_ = base;
  tried_ = base;
  for (const std::u16string& folder : folders) {
    PathCheck r = Descend(folder, true, 0);
    if (r != PathCheck::kOk) return r;
  }
  return leaf.empty() ? PathCheck::kOk : Descend(leaf, false, leafAccess);
}

}  // namespace lx
