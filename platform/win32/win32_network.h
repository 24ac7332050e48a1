// The real library loader and socket calls of Windows.
#pragma once

#include "platform/sockets.h"
#include "platform/win32/win32_libraries.h"

namespace lx {

class Win32Sockets : public ISockets {
 public:
  int WaitReadable(SocketHandle socket, uint32_t timeoutMs) override;
  uint16_t NetToHostShort(uint16_t value) override;
  std::string Ipv4Text(const void* socketAddress) override;
};

}  // namespace lx
