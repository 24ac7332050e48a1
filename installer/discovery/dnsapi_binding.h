// Windows' DNS-SD client in System32's dnsapi.dll, bound entry by entry on
// first use: systems before Windows 10 1903 have the library without these
// entries. Each wrapper answers for a missing entry the way the search expects.
#pragma once

#include <atomic>
#include <string>

#include "platform/dnsapi_api.h"
#include "platform/libraries.h"
#include "platform/os.h"

namespace lx {

// dnsapi.dll in the system folder by its full path; empty when the folder is unknown.
std::u16string DnsapiLibraryPath(const Os& os);

class DnsapiBinding {
 public:
  // ERROR_PROC_NOT_FOUND: what a wrapper answers for a missing entry.
  static constexpr dnsapi::Status kNoEntry = 127;

  explicit DnsapiBinding(ILibraries* libraries) : libraries_(libraries) {}
  ~DnsapiBinding() { Free(); }
  DnsapiBinding(const DnsapiBinding&) = delete;
  DnsapiBinding& operator=(const DnsapiBinding&) = delete;

  bool Load(const std::u16string& path);
  void Free();
  // The library is loaded and has every entry a search needs.
  bool Offers() const;
  // DnsQueryEx and DnsCancelQuery: an IPv4 address for an answer without one.
  bool OffersAddressQuery() const;

  dnsapi::Status Browse(dnsapi::BrowseRequest* request, dnsapi::Cancel* cancel);
  dnsapi::Status BrowseCancel(dnsapi::Cancel* cancel);
  dnsapi::Status Resolve(dnsapi::ResolveRequest* request, dnsapi::Cancel* cancel);
  dnsapi::Status ResolveCancel(dnsapi::Cancel* cancel);
  void FreeInstance(dnsapi::ServiceInstance* instance);
  void RecordListFree(dnsapi::Record* records);
  dnsapi::Status QueryEx(dnsapi::QueryRequest* request, dnsapi::QueryResult* results, dnsapi::QueryCancel* cancel);
  dnsapi::Status CancelQuery(dnsapi::QueryCancel* cancel);

 private:
  // The search needs the entries before kQueryEx; the rest only add to it.
  enum Entry {
    kBrowse,
    kBrowseCancel,
    kResolve,
    kResolveCancel,
    kFreeInstance,
    kRecordListFree,
    kQueryEx,
    kCancelQuery,
    kEntries
  };
  void* Bind(Entry entry) const;

  ILibraries* libraries_;
  std::atomic<ModuleHandle> module_{0};
  // The UI thread and the system's callback threads call through the cache.
  mutable std::atomic<void*> cache_[kEntries] = {};
};

}  // namespace lx
