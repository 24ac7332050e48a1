#include "platform/win32/win32_network.h"

#include <winsock2.h>
#include <windows.h>

#include "platform/win32/wide.h"

namespace lx {

int Win32Sockets::WaitReadable(SocketHandle socket, uint32_t timeoutMs) {
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(static_cast<SOCKET>(socket), &ready);
  timeval timeout = {static_cast<long>(timeoutMs / 1000), static_cast<long>((timeoutMs % 1000) * 1000)};
  int n = ::select(0, &ready, nullptr, nullptr, &timeout);
  if (n < 0) return -1;
  return n > 0 && FD_ISSET(static_cast<SOCKET>(socket), &ready) ? 1 : 0;
}

uint16_t Win32Sockets::NetToHostShort(uint16_t value) { return ::ntohs(value); }

std::string Win32Sockets::Ipv4Text(const void* socketAddress) {
  auto* address = static_cast<const sockaddr*>(socketAddress);
  if (!address || address->sa_family != AF_INET) return {};
  const char* text = ::inet_ntoa(reinterpret_cast<const sockaddr_in*>(address)->sin_addr);
  return text ? text : "";
}

}  // namespace lx
