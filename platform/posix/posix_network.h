// The library loader and socket calls of a POSIX host, for running the
// discovery against the host's own dns_sd library.
#pragma once

#include "platform/libraries.h"
#include "platform/sockets.h"

namespace lx {

class PosixLibraries : public ILibraries {
 public:
  // The path is a file name or path in the host's own terms (UTF-8).
  ModuleHandle Load(const std::u16string& path) override;
  void* GetProcAddress(ModuleHandle module, const char* name) override;
  void Free(ModuleHandle module) override;
  bool SearchSystemFolderOnly() override { return true; }
};

class PosixSockets : public ISockets {
 public:
  int WaitReadable(SocketHandle socket, uint32_t timeoutMs) override;
  uint16_t NetToHostShort(uint16_t value) override;
  std::string Ipv4Text(const void* socketAddress) override;
};

}  // namespace lx
