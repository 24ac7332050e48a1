#include "installer/discovery/dnssd_binding.h"

#include "installer/discovery/beside_installer.h"

namespace lx {

namespace {

constexpr const char* kEntryNames[] = {
    "DNSServiceBrowse",        "DNSServiceResolve",       "DNSServiceGetAddrInfo", "DNSServiceRefSockFD",
    "DNSServiceProcessResult", "DNSServiceRefDeallocate", "TXTRecordGetValuePtr",
};

template <typename Fn>
Fn As(void* p) {
  return reinterpret_cast<Fn>(p);
}

}  // namespace

// Never a bare name: that would be searched for, the current folder included.
std::u16string DnssdLibraryPath(const Os& os) { return WholePathBesideInstaller(os, u"dnssd.dll"); }

bool DnssdBinding::Load(const std::u16string& path) {
  Free();
  if (!libraries_ || path.empty()) return false;
  module_ = libraries_->Load(path);
  return Loaded();
}

void DnssdBinding::Free() {
  ModuleHandle module = module_.exchange(0);
  for (auto& entry : cache_) entry = nullptr;
  if (module && libraries_) libraries_->Free(module);
}

void* DnssdBinding::Bind(Entry entry) {
  ModuleHandle module = module_.load();
  if (!module) {
    cache_[entry] = nullptr;
    return nullptr;
  }
  if (void* p = cache_[entry].load()) return p;
  // A missing entry point is asked for again next time.
  void* p = libraries_->GetProcAddress(module, kEntryNames[entry]);
  if (p) cache_[entry] = p;
  return p;
}

dnssd::ErrorType DnssdBinding::Browse(dnssd::ServiceRef* ref, dnssd::Flags flags, uint32_t interfaceIndex,
                                      const char* regtype, const char* domain, dnssd::BrowseReply reply,
                                      void* context) {
  auto fn = As<dnssd::BrowseFn>(Bind(kBrowse));
  return fn ? fn(ref, flags, interfaceIndex, regtype, domain, reply, context) : dnssd::kServiceNotRunning;
}

dnssd::ErrorType DnssdBinding::Resolve(dnssd::ServiceRef* ref, dnssd::Flags flags, uint32_t interfaceIndex,
                                       const char* name, const char* regtype, const char* domain,
                                       dnssd::ResolveReply reply, void* context) {
  auto fn = As<dnssd::ResolveFn>(Bind(kResolve));
  return fn ? fn(ref, flags, interfaceIndex, name, regtype, domain, reply, context) : dnssd::kServiceNotRunning;
}

dnssd::ErrorType DnssdBinding::GetAddrInfo(dnssd::ServiceRef* ref, dnssd::Flags flags, uint32_t interfaceIndex,
                                           dnssd::Protocol protocol, const char* hostname,
                                           dnssd::AddrInfoReply reply, void* context) {
  auto fn = As<dnssd::GetAddrInfoFn>(Bind(kGetAddrInfo));
  return fn ? fn(ref, flags, interfaceIndex, protocol, hostname, reply, context) : dnssd::kServiceNotRunning;
}

intptr_t DnssdBinding::RefSockFD(dnssd::ServiceRef ref) {
  auto fn = As<dnssd::RefSockFDFn>(Bind(kRefSockFD));
  // INVALID_SOCKET on Windows is all ones, -1 as a signed value.
  return fn ? static_cast<intptr_t>(fn(ref)) : -1;
}

dnssd::ErrorType DnssdBinding::ProcessResult(dnssd::ServiceRef ref) {
  auto fn = As<dnssd::ProcessResultFn>(Bind(kProcessResult));
  return fn ? fn(ref) : dnssd::kServiceNotRunning;
}

void DnssdBinding::RefDeallocate(dnssd::ServiceRef ref) {
  if (auto fn = As<dnssd::RefDeallocateFn>(Bind(kRefDeallocate))) fn(ref);
}

const void* DnssdBinding::TXTRecordGetValuePtr(uint16_t txtLen, const void* txtRecord, const char* key,
                                               uint8_t* valueLen) {
  auto fn = As<dnssd::TXTRecordGetValuePtrFn>(Bind(kTxtValue));
  return fn ? fn(txtLen, txtRecord, key, valueLen) : nullptr;
}

}  // namespace lx
