// File permissions: SetFileSecurityW on a file's DACL and on its owner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lx {

// Well-known SIDs in their string form.
inline constexpr char16_t kSidEveryone[] = u"S-1-1-0";
inline constexpr char16_t kSidLocalSystem[] = u"S-1-5-18";
inline constexpr char16_t kSidAdministrators[] = u"S-1-5-32-544";
inline constexpr char16_t kSidTrustedInstaller[] =
    u"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

// File access rights (winnt.h).
constexpr uint32_t kFileGenericRead = 0x00120089;
constexpr uint32_t kFileGenericWrite = 0x00120116;
constexpr uint32_t kFileGenericExecute = 0x001200A0;
constexpr uint32_t kFileAllAccess = 0x001F01FF;
constexpr uint32_t kReadControl = 0x00020000;
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

  // On a handle of IFileSystem::OpenNoFollow (opened with READ_CONTROL):
  // GetSecurityInfo(SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION), then
  // ConvertSidToStringSidW. Nothing on failure.
  virtual std::optional<std::u16string> OwnerOfHandle(uint64_t handle) = 0;
  // SetSecurityInfo(SE_FILE_OBJECT, DACL_SECURITY_INFORMATION |
  // PROTECTED_DACL_SECURITY_INFORMATION) on a handle opened with WRITE_DAC:
  // exactly these entries, nothing inherited from the parent.
  virtual bool SetProtectedDaclOnHandle(uint64_t handle, const std::vector<AccessAllowed>& entries) = 0;
  // CreateDirectoryW, or CreateFileW(GENERIC_WRITE, CREATE_NEW) then
  // CloseHandle, with SECURITY_ATTRIBUTES whose descriptor holds a protected
  // DACL of these entries (SE_DACL_PROTECTED). Fails with
  // ERROR_ALREADY_EXISTS / ERROR_FILE_EXISTS when the name is taken.
  virtual bool CreateProtected(const std::u16string& path, bool folder,
                               const std::vector<AccessAllowed>& entries) = 0;
  // The process token's user: OpenProcessToken(TOKEN_QUERY),
  // GetTokenInformation(TokenUser), ConvertSidToStringSidW.
  virtual std::optional<std::u16string> ProcessUserSid() = 0;
  // CheckTokenMembership(no token, the Administrators SID): an elevated
  // administrator (or SYSTEM, whose token holds the group).
  virtual bool ProcessIsAdministrator() = 0;
};

}  // namespace lx
