// File permissions: SetFileSecurityW on a file's DACL and on its owner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lx {

// Well-known SIDs in their string form.
inline constexpr char16_t kSidEveryone[] = u"S-1-1-0";
inline constexpr char16_t kSidLocalSystem[] = u"S-1-5-18";
inline constexpr char16_t kSidAdministrators[] = u"S-1-5-32-544";

// File access rights (winnt.h).
constexpr uint32_t kFileGenericRead = 0x00120089;
constexpr uint32_t kFileGenericWrite = 0x00120116;
constexpr uint32_t kFileAllAccess = 0x001F01FF;
constexpr uint32_t kDeleteRight = 0x00010000;
constexpr uint32_t kWriteDac = 0x00040000;
constexpr uint32_t kWriteOwner = 0x00080000;

// One access-allowed entry.
struct AccessAllowed {
  std::u16string sid;  // string form, such as "S-1-1-0"
  uint32_t mask = 0;
};

class IFileSecurity {
 public:
  virtual ~IFileSecurity() = default;
  // SetFileSecurityW(DACL_SECURITY_INFORMATION) with a DACL of exactly these
  // entries, in this order (never a null DACL). False with the Windows error
  // as the last error.
  virtual bool SetDacl(const std::u16string& path, const std::vector<AccessAllowed>& entries) = 0;
  // SetFileSecurityW(OWNER_SECURITY_INFORMATION) with `ownerSid`, with
  // SeTakeOwnershipPrivilege enabled for the call when the token has it and
  // put back to its previous state afterwards.
  virtual bool SetOwner(const std::u16string& path, const std::u16string& ownerSid) = 0;
};

}  // namespace lx
