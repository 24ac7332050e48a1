// File permissions through SetFileSecurityW.
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
};

}  // namespace lx
