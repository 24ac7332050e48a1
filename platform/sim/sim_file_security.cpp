#include "platform/sim/sim_file_security.h"

namespace lx {

namespace {

// What others may do under the inherited permissions: read, and in a
// folder add files and folders (FILE_ADD_FILE, FILE_ADD_SUBDIRECTORY).
constexpr uint32_t kInheritedOthers = kFileGenericRead | kFileGenericExecute;
constexpr uint32_t kInheritedOthersInFolders = kInheritedOthers | 0x0002 | 0x0004;

}  // namespace

bool SimFileSecurity::MayOpen(const std::u16string& key, uint32_t access) {
  if (callerSid == kSidLocalSystem || callerIsAdministrator) return true;
  const std::u16string owner = OwnerOfKey(key);
  auto it = states_.find(key);
  if (it != states_.end() && it->second.dacl) {
    uint32_t granted = RightsOfKey(key, callerSid);
    if (owner == callerSid) granted |= kReadControl | kWriteDac;  // an owner may always reset the DACL
    return (granted & access) == access;
  }
  if (owner == callerSid) return true;
  return (access & ~(files_.FolderExists(key) ? kInheritedOthersInFolders : kInheritedOthers)) == 0;
}

bool SimFileSecurity::SetDacl(const std::u16string& path, const std::vector<AccessAllowed>& entries) {
  ++daclWrites;
  if (!files_.FileExists(path) && !files_.FolderExists(path)) return Fail(kErrorFileNotFound);
  const std::u16string key = files_.Resolve(path);
  std::u16string owner = OwnerOfKey(key);
  bool allowed = owner == callerSid || (owner == kSidAdministrators && callerIsAdministrator);
  if (!allowed) return Fail(kErrorAccessDenied);
  states_[key].dacl = entries;
  states_[key].protectedDacl = false;
  return true;
}

bool SimFileSecurity::SetOwner(const std::u16string& path, const std::u16string& ownerSid) {
  if (!files_.FileExists(path) && !files_.FolderExists(path)) return Fail(kErrorFileNotFound);
  bool allowed = ownerSid == callerSid || (ownerSid == kSidAdministrators && callerIsAdministrator &&
                                           mayTakeOwnership);
  if (!allowed) return Fail(kErrorAccessDenied);
  states_[files_.Resolve(path)].owner = ownerSid;
  return true;
}

std::optional<std::u16string> SimFileSecurity::OwnerOfHandle(uint64_t handle) {
  const SimFileSystem::OpenHandle* h = files_.HandleOf(handle);
  if (!h) {
    caller_.SetError(kErrorInvalidHandle);
    return std::nullopt;
  }
  if (!(h->access & kReadControl)) {
    caller_.SetError(kErrorAccessDenied);
    return std::nullopt;
  }
  return OwnerOfKey(h->key);
}

bool SimFileSecurity::SetProtectedDaclOnHandle(uint64_t handle, const std::vector<AccessAllowed>& entries) {
  ++daclWrites;
  const SimFileSystem::OpenHandle* h = files_.HandleOf(handle);
  if (!h) return Fail(kErrorInvalidHandle);
  if (!(h->access & kWriteDac)) return Fail(kErrorAccessDenied);
  State& s = states_[h->key];
  s.dacl = entries;
  s.protectedDacl = true;
  return true;
}

bool SimFileSecurity::CreateProtected(const std::u16string& path, bool folder,
                                      const std::vector<AccessAllowed>& entries) {
  if (files_.FileExists(path)) return Fail(folder ? kErrorAlreadyExists : kErrorFileExists);
  if (files_.FolderExists(path)) return Fail(kErrorAlreadyExists);
  bool made = folder ? files_.CreateFolder(path) : files_.WriteFile(path, std::string());
  if (!made) return false;
  State& s = states_[files_.Resolve(path)];
  s.dacl = entries;
  s.protectedDacl = true;
  return true;
}

void SimFileSecurity::SetFileOwner(const std::u16string& path, const std::u16string& sid) {
  states_[files_.Resolve(path)].owner = sid;
}

std::u16string SimFileSecurity::OwnerOfKey(const std::u16string& key) const {
  auto it = states_.find(key);
  return it != states_.end() && it->second.owner ? *it->second.owner : callerSid;
}

std::u16string SimFileSecurity::OwnerOf(const std::u16string& path) const { return OwnerOfKey(files_.Resolve(path)); }

std::optional<std::vector<AccessAllowed>> SimFileSecurity::DaclOf(const std::u16string& path) const {
  auto it = states_.find(files_.Resolve(path));
  if (it == states_.end()) return std::nullopt;
  return it->second.dacl;
}

bool SimFileSecurity::DaclProtected(const std::u16string& path) const {
  auto it = states_.find(files_.Resolve(path));
  return it != states_.end() && it->second.dacl && it->second.protectedDacl;
}

uint32_t SimFileSecurity::RightsOfKey(const std::u16string& key, const std::u16string& sid) const {
  uint32_t rights = 0;
  auto it = states_.find(key);
  if (it != states_.end() && it->second.dacl)
    for (const AccessAllowed& e : *it->second.dacl)
      if (e.sid == sid || e.sid == kSidEveryone) rights |= e.mask;
  return rights;
}

uint32_t SimFileSecurity::RightsOf(const std::u16string& path, const std::u16string& sid) const {
  return RightsOfKey(files_.Resolve(path), sid);
}

}  // namespace lx
