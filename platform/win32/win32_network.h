// The real library loader and socket calls of Windows.
#pragma once

#include "platform/libraries.h"
#include "platform/sockets.h"

namespace lx {

class Win32Libraries : public ILibraries {
 public:
  ModuleHandle Load(const std::u16string& path) override;
  void* GetProcAddress(ModuleHandle module, const char* name) override;
  void Free(ModuleHandle module) override;
};

class Win32Sockets : public ISockets {
 public:
  int WaitReadable(SocketHandle socket, uint32_t timeoutMs) override;
  uint16_t NetToHostShort(uint16_t value) override;
  std::string Ipv4Text(const void* socketAddress) override;
};

}  // namespace lx
