// Ending the user's session: the restart offered after a driver removal.
#pragma once

#include <cstdint>

namespace lx {

constexpr uint32_t kEwxReboot = 0x2;

class ISession {
 public:
  virtual ~ISession() = default;
  // ExitWindowsEx(flags, reason). False leaves the Windows error as the
  // thread's last error.
  virtual bool ExitSession(uint32_t flags, uint32_t reason) = 0;
};

}  // namespace lx
