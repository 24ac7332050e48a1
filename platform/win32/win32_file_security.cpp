#include "platform/win32/win32_file_security.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "platform/win32/wide.h"

namespace lx {

namespace {

struct LocalSid {
  PSID sid = nullptr;
  LocalSid() = default;
  LocalSid(const LocalSid&) = delete;
  LocalSid& operator=(const LocalSid&) = delete;
  ~LocalSid() {
    if (sid) LocalFree(sid);
  }
};

// Enables one privilege of the process token for the life of this object,
// then puts it back as it was; the token's other privileges are not touched.
class ScopedPrivilege {
 public:
  explicit ScopedPrivilege(const wchar_t* name) {
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token_)) {
      token_ = nullptr;
      return;
    }
    TOKEN_PRIVILEGES wanted = {};
    if (!LookupPrivilegeValueW(nullptr, name, &wanted.Privileges[0].Luid)) return;
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD size = sizeof previous_;
    adjusted_ = AdjustTokenPrivileges(token_, FALSE, &wanted, sizeof previous_, &previous_, &size) &&
                GetLastError() == ERROR_SUCCESS;
  }
  ~ScopedPrivilege() {
    if (adjusted_) AdjustTokenPrivileges(token_, FALSE, &previous_, 0, nullptr, nullptr);
    if (token_) CloseHandle(token_);
  }
  ScopedPrivilege(const ScopedPrivilege&) = delete;
  ScopedPrivilege& operator=(const ScopedPrivilege&) = delete;

 private:
  HANDLE token_ = nullptr;
  TOKEN_PRIVILEGES previous_ = {};
  bool adjusted_ = false;
};

}  // namespace

std::vector<uint8_t> BuildDacl(const std::vector<AccessAllowed>& entries) {
  std::vector<LocalSid> sids(entries.size());
  DWORD aclSize = sizeof(ACL);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!ConvertStringSidToSidW(W(entries[i].sid), &sids[i].sid)) return {};
    aclSize += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sids[i].sid);
  }
  aclSize = (aclSize + 3) & ~3u;
  std::vector<uint8_t> buffer(aclSize);
  PACL acl = reinterpret_cast<PACL>(buffer.data());
  if (!InitializeAcl(acl, aclSize, ACL_REVISION)) return {};
  for (size_t i = 0; i < entries.size(); ++i)
    if (!AddAccessAllowedAce(acl, ACL_REVISION, entries[i].mask, sids[i].sid)) return {};
  return buffer;
}

bool Win32FileSecurity::SetDacl(const std::u16string& path, const std::vector<AccessAllowed>& entries) {
  std::vector<uint8_t> acl = BuildDacl(entries);
  if (acl.empty()) return false;
  SECURITY_DESCRIPTOR sd;
  if (!InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION)) return false;
  if (!SetSecurityDescriptorDacl(&sd, TRUE, reinterpret_cast<PACL>(acl.data()), FALSE)) return false;
  return SetFileSecurityW(W(path), DACL_SECURITY_INFORMATION, &sd) != FALSE;
}

bool Win32FileSecurity::SetOwner(const std::u16string& path, const std::u16string& ownerSid) {
  LocalSid owner;
  if (!ConvertStringSidToSidW(W(ownerSid), &owner.sid)) return false;
  SECURITY_DESCRIPTOR sd;
  if (!InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION)) return false;
  if (!SetSecurityDescriptorOwner(&sd, owner.sid, FALSE)) return false;
  if (SetFileSecurityW(W(path), OWNER_SECURITY_INFORMATION, &sd)) return true;
  BOOL ok = FALSE;
  DWORD error = 0;
  {
    ScopedPrivilege takeOwnership(SE_TAKE_OWNERSHIP_NAME);
    ok = SetFileSecurityW(W(path), OWNER_SECURITY_INFORMATION, &sd);
    error = GetLastError();
  }
  SetLastError(error);
  return ok != FALSE;
}

namespace {

HANDLE AsHandle(uint64_t handle) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle)); }

}  // namespace

std::optional<std::u16string> Win32FileSecurity::OwnerOfHandle(uint64_t handle) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR sd = nullptr;
  DWORD rc = GetSecurityInfo(AsHandle(handle), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                             nullptr, &sd);
  if (rc != ERROR_SUCCESS) {
    SetLastError(rc);
    return std::nullopt;
  }
  std::optional<std::u16string> text;
  wchar_t* sidText = nullptr;
  if (owner && ConvertSidToStringSidW(owner, &sidText)) {
    text = U(sidText);
    LocalFree(sidText);
  }
  LocalFree(sd);
  return text;
}

bool Win32FileSecurity::SetProtectedDaclOnHandle(uint64_t handle, const std::vector<AccessAllowed>& entries) {
  std::vector<uint8_t> acl = BuildDacl(entries);
  if (acl.empty()) return false;
  DWORD rc = SetSecurityInfo(AsHandle(handle), SE_FILE_OBJECT,
                             DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                             reinterpret_cast<PACL>(acl.data()), nullptr);
  SetLastError(rc);
  return rc == ERROR_SUCCESS;
}

bool Win32FileSecurity::CreateProtected(const std::u16string& path, bool folder,
                                        const std::vector<AccessAllowed>& entries) {
  std::vector<uint8_t> acl = BuildDacl(entries);
  if (acl.empty()) return false;
  SECURITY_DESCRIPTOR sd;
  if (!InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION)) return false;
  if (!SetSecurityDescriptorDacl(&sd, TRUE, reinterpret_cast<PACL>(acl.data()), FALSE)) return false;
  if (!SetSecurityDescriptorControl(&sd, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) return false;
  SECURITY_ATTRIBUTES sa = {sizeof sa, &sd, FALSE};
  if (folder) return CreateDirectoryW(W(path), &sa) != FALSE;
  HANDLE h = CreateFileW(W(path), GENERIC_WRITE, 0, &sa, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

std::optional<std::u16string> Win32FileSecurity::ProcessUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<uint8_t> buffer(size ? size : 1);
  std::optional<std::u16string> text;
  wchar_t* sidText = nullptr;
  if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sidText)) {
    text = U(sidText);
    LocalFree(sidText);
  }
  CloseHandle(token);
  return text;
}

bool Win32FileSecurity::ProcessIsAdministrator() {
  LocalSid administrators;
  if (!ConvertStringSidToSidW(W(kSidAdministrators), &administrators.sid)) return false;
  BOOL member = FALSE;
  return CheckTokenMembership(nullptr, administrators.sid, &member) && member;
}

}  // namespace lx
