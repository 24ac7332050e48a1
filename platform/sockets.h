// The few socket calls that a DNS-SD client needs around its library.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

// A socket as the dns_sd library hands it out (SOCKET on Windows, a file
// descriptor elsewhere); -1 is none.
using SocketHandle = intptr_t;

class ISockets {
 public:
  virtual ~ISockets() = default;
  // select() on this one socket for reading with the time-out: 1 when it is
  // readable, 0 on time-out, -1 on error.
  virtual int WaitReadable(SocketHandle socket, uint32_t timeoutMs) = 0;
  // ntohs
  virtual uint16_t NetToHostShort(uint16_t value) = 0;
  // inet_ntoa of an AF_INET socket address; empty for any other family or null.
  virtual std::string Ipv4Text(const void* socketAddress) = 0;
};

}  // namespace lx
