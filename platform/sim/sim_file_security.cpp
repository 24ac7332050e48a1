#include "platform/sim/sim_file_security.h"

namespace lx {

bool SimFileSecurity::SetDacl(const std::u16string& path, const std::vector<AccessAllowed>& entries) {
  ++daclWrites;
  if (!files_.FileExists(path)) return Fail(kErrorFileNotFound);
  std::u16string owner = OwnerOf(path);
  bool allowed = owner == callerSid || (owner == kSidAdministrators && callerIsAdministrator);
  if (!allowed) return Fail(kErrorAccessDenied);
  states_[SimFileSystem::Normalize(path)].dacl = entries;
  return true;
}

bool SimFileSecurity::SetOwner(const std::u16string& path, const std::u16string& ownerSid) {
  if (!files_.FileExists(path)) return Fail(kErrorFileNotFound);
  bool allowed = ownerSid == callerSid || (ownerSid == kSidAdministrators && callerIsAdministrator &&
                                           mayTakeOwnership);
  if (!allowed) return Fail(kErrorAccessDenied);
  states_[SimFileSystem::Normalize(path)].owner = ownerSid;
  return true;
}

void SimFileSecurity::SetFileOwner(const std::u16string& path, const std::u16string& sid) {
  states_[SimFileSystem::Normalize(path)].owner = sid;
}

std::u16string SimFileSecurity::OwnerOf(const std::u16string& path) const {
  auto it = states_.find(SimFileSystem::Normalize(path));
  return it != states_.end() && it->second.owner ? *it->second.owner : callerSid;
}

std::optional<std::vector<AccessAllowed>> SimFileSecurity::DaclOf(const std::u16string& path) const {
  auto it = states_.find(SimFileSystem::Normalize(path));
  if (it == states_.end()) return std::nullopt;
  return it->second.dacl;
}

uint32_t SimFileSecurity::RightsOf(const std::u16string& path, const std::u16string& sid) const {
  uint32_t rights = 0;
  if (auto dacl = DaclOf(path))
    for (const AccessAllowed& e : *dacl)
      if (e.sid == sid || e.sid == kSidEveryone) rights |= e.mask;
  return rights;
}

}  // namespace lx
