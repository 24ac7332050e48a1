// ExitWindowsEx for the real machine.
#pragma once

#include "platform/session.h"

namespace lx {

class Win32Session : public ISession {
 public:
  bool ExitSession(uint32_t flags, uint32_t reason) override;
};

}  // namespace lx
