// File permissions through SetFileSecurityW, GetSecurityInfo and SetSecurityInfo.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/file_security.h"

namespace lx {

// The ACL that SetDacl writes, built with the system's ACL functions;
// empty when a SID does not convert.
std::vector<uint8_t> BuildDacl(const std::vector<AccessAllowed>& entries);

class Win32FileSecurity : public IFileSecurity {
 public:
  bool SetDacl(const std::u16string& path, const std::vector<AccessAllowed>& entries) override;
  bool SetOwner(const std::u16string& path, const std::u16string& ownerSid) override;
  std::optional<std::u16string> OwnerOfHandle(uint64_t handle) override;
  bool SetProtectedDaclOnHandle(uint64_t handle, const std::vector<AccessAllowed>& entries) override;
  bool CreateProtected(const std::u16string& path, bool folder, const std::vector<AccessAllowed>& entries) override;
  std::optional<std::u16string> ProcessUserSid() override;
  bool ProcessIsAdministrator() override;
};

}  // namespace lx
