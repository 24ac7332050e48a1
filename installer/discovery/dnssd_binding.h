// The dns_sd client library, loaded once at start-up and bound entry by entry
// on first use. Each wrapper has its entry point's arguments and answers for
// a missing library or entry point the way the engine expects.
#pragma once

#include <atomic>
#include <string>

#include "platform/dns_sd_api.h"
#include "platform/libraries.h"
#include "platform/os.h"

namespace lx {

// "dnssd.dll" in the installer's own folder: a full path, so that no copy in
// the current directory or on PATH is ever loaded.
std::u16string DnssdLibraryPath(const Os& os);

class DnssdBinding {
 public:
  explicit DnssdBinding(ILibraries* libraries) : libraries_(libraries) {}
  ~DnssdBinding() { Free(); }
  DnssdBinding(const DnssdBinding&) = delete;
  DnssdBinding& operator=(const DnssdBinding&) = delete;

  // False when the library could not be loaded; the wrappers then fail.
  bool Load(const std::u16string& path);
  void Free();
  bool Loaded() const { return module_.load() != 0; }

  dnssd::ErrorType Browse(dnssd::ServiceRef* ref, dnssd::Flags flags, uint32_t interfaceIndex,
                          const char* regtype, const char* domain, dnssd::BrowseReply reply, void* context);
  dnssd::ErrorType Resolve(dnssd::ServiceRef* ref, dnssd::Flags flags, uint32_t interfaceIndex, const char* name,
                           const char* regtype, const char* domain, dnssd::ResolveReply reply, void* context);
  dnssd::ErrorType GetAddrInfo(dnssd::ServiceRef* ref, dnssd::Flags flags, uint32_t interfaceIndex,
                               dnssd::Protocol protocol, const char* hostname, dnssd::AddrInfoReply reply,
                               void* context);
  // -1 when there is none.
  intptr_t RefSockFD(dnssd::ServiceRef ref);
  dnssd::ErrorType ProcessResult(dnssd::ServiceRef ref);
  void RefDeallocate(dnssd::ServiceRef ref);
  const void* TXTRecordGetValuePtr(uint16_t txtLen, const void* txtRecord, const char* key, uint8_t* valueLen);

 private:
  enum Entry { kBrowse, kResolve, kGetAddrInfo, kRefSockFD, kProcessResult, kRefDeallocate, kTxtValue, kEntries };
  void* Bind(Entry entry);

  ILibraries* libraries_;
  std::atomic<ModuleHandle> module_{0};
  // Both threads of a search call through the cache.
  std::atomic<void*> cache_[kEntries] = {};
};

}  // namespace lx
