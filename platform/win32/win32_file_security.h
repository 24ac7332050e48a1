// File permissions through SetFileSecurityW.
#pragma once

#include "platform/file_security.h"

namespace lx {

class Win32FileSecurity : public IFileSecurity {
 public:
  bool SetDacl(const std::u16string& path, const std::vector<AccessAllowed>& entries) override;
  bool SetOwner(const std::u16string& path, const std::u16string& ownerSid) override;
};

}  // namespace lx
