#include "platform/posix/posix_network.h"

#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/select.h>

#include "common/text.h"

namespace lx {

ModuleHandle PosixLibraries::Load(const std::u16string& path) {
  return reinterpret_cast<ModuleHandle>(::dlopen(Utf16ToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL));
}

void* PosixLibraries::GetProcAddress(ModuleHandle module, const char* name) {
  return ::dlsym(reinterpret_cast<void*>(module), name);
}

void PosixLibraries::Free(ModuleHandle module) { ::dlclose(reinterpret_cast<void*>(module)); }

int PosixSockets::WaitReadable(SocketHandle socket, uint32_t timeoutMs) {
  // select() cannot watch descriptors beyond FD_SETSIZE.
  if (socket < 0 || socket >= FD_SETSIZE) return -1;
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(static_cast<int>(socket), &ready);
  timeval timeout = {static_cast<time_t>(timeoutMs / 1000), static_cast<suseconds_t>((timeoutMs % 1000) * 1000)};
  int n = ::select(static_cast<int>(socket) + 1, &ready, nullptr, nullptr, &timeout);
  if (n < 0) return -1;
  return n > 0 && FD_ISSET(static_cast<int>(socket), &ready) ? 1 : 0;
}

uint16_t PosixSockets::NetToHostShort(uint16_t value) { return ntohs(value); }

std::string PosixSockets::Ipv4Text(const void* socketAddress) {
  auto* address = static_cast<const sockaddr*>(socketAddress);
  if (!address || address->sa_family != AF_INET) return {};
  char text[INET_ADDRSTRLEN] = {};
  in_addr a = reinterpret_cast<const sockaddr_in*>(address)->sin_addr;
  return ::inet_ntop(AF_INET, &a, text, sizeof text) ? text : "";
}

}  // namespace lx
