#include "platform/win32/win32_session.h"

#include <windows.h>

namespace lx {

namespace {

// A restart needs SeShutdownPrivilege enabled in the token, even for an
// administrator; without it ExitWindowsEx fails with ERROR_PRIVILEGE_NOT_HELD.
void EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges = {};
  if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  }
  CloseHandle(token);
}

}  // namespace

bool Win32Session::ExitSession(uint32_t flags, uint32_t reason) {
  EnableShutdownPrivilege();
  return ExitWindowsEx(flags, reason) != FALSE;
}

}  // namespace lx
