#include "installer/discovery/dnsapi_binding.h"

#include <cstddef>

#include "platform/system.h"

#if defined(_WIN32)
#include <windows.h>
#include <windns.h>
#endif

namespace lx {

#if defined(_WIN32)
// Our declarations must have the layouts the system reads and writes.
static_assert(sizeof(dnsapi::ServiceInstance) == sizeof(DNS_SERVICE_INSTANCE));
static_assert(offsetof(dnsapi::ServiceInstance, wPort) == offsetof(DNS_SERVICE_INSTANCE, wPort));
static_assert(offsetof(dnsapi::ServiceInstance, keys) == offsetof(DNS_SERVICE_INSTANCE, keys));
static_assert(offsetof(dnsapi::ServiceInstance, dwInterfaceIndex) ==
              offsetof(DNS_SERVICE_INSTANCE, dwInterfaceIndex));
static_assert(sizeof(dnsapi::BrowseRequest) == sizeof(DNS_SERVICE_BROWSE_REQUEST));
static_assert(offsetof(dnsapi::BrowseRequest, pQueryContext) == offsetof(DNS_SERVICE_BROWSE_REQUEST, pQueryContext));
static_assert(sizeof(dnsapi::ResolveRequest) == sizeof(DNS_SERVICE_RESOLVE_REQUEST));
static_assert(offsetof(dnsapi::ResolveRequest, pQueryContext) ==
              offsetof(DNS_SERVICE_RESOLVE_REQUEST, pQueryContext));
static_assert(sizeof(dnsapi::Cancel) == sizeof(DNS_SERVICE_CANCEL));
static_assert(offsetof(dnsapi::Record, wType) == offsetof(DNS_RECORDW, wType));
static_assert(offsetof(dnsapi::Record, dwTtl) == offsetof(DNS_RECORDW, dwTtl));
static_assert(offsetof(dnsapi::Record, pNameHost) == offsetof(DNS_RECORDW, Data));
static_assert(offsetof(dnsapi::Record, ipAddress) == offsetof(DNS_RECORDW, Data.A.IpAddress));
static_assert(sizeof(dnsapi::QueryResult) == sizeof(DNS_QUERY_RESULT));
static_assert(offsetof(dnsapi::QueryResult, pQueryRecords) == offsetof(DNS_QUERY_RESULT, pQueryRecords));
// DNS_QUERY_REQUEST as Windows lays it out; MinGW does not declare it.
static_assert(offsetof(dnsapi::QueryRequest, QueryOptions) == 8 + 2 * sizeof(void*));
static_assert(sizeof(dnsapi::QueryRequest) == (sizeof(void*) == 8 ? 64 : 40));
#endif

namespace {

constexpr const char* kEntryNames[] = {
    "DnsServiceBrowse",        "DnsServiceBrowseCancel", "DnsServiceResolve",
    "DnsServiceResolveCancel", "DnsServiceFreeInstance", "DnsRecordListFree",
    "DnsQueryEx",              "DnsCancelQuery",
};

template <typename Fn>
Fn As(void* p) {
  return reinterpret_cast<Fn>(p);
}

}  // namespace

std::u16string DnsapiLibraryPath(const Os& os) {
  std::u16string folder = os.system ? os.system->SystemDirectory() : std::u16string();
  if (folder.empty()) return folder;
  if (folder.back() != u'\\') folder += u'\\';
  return folder + u"dnsapi.dll";
}

bool DnsapiBinding::Load(const std::u16string& path) {
  Free();
  if (!libraries_ || path.empty()) return false;
  module_ = libraries_->Load(path);
  return module_.load() != 0;
}

void DnsapiBinding::Free() {
  ModuleHandle module = module_.exchange(0);
  for (auto& entry : cache_) entry = nullptr;
  if (module && libraries_) libraries_->Free(module);
}

bool DnsapiBinding::Offers() const {
  for (int entry = 0; entry < kQueryEx; ++entry)
    if (!Bind(static_cast<Entry>(entry))) return false;
  return true;
}

bool DnsapiBinding::OffersAddressQuery() const { return Bind(kQueryEx) && Bind(kCancelQuery); }

void* DnsapiBinding::Bind(Entry entry) const {
  ModuleHandle module = module_.load();
  if (!module) return nullptr;
  if (void* p = cache_[entry].load()) return p;
  void* p = libraries_->GetProcAddress(module, kEntryNames[entry]);
  if (p) cache_[entry] = p;
  return p;
}

dnsapi::Status DnsapiBinding::Browse(dnsapi::BrowseRequest* request, dnsapi::Cancel* cancel) {
  auto fn = As<dnsapi::BrowseFn>(Bind(kBrowse));
  return fn ? fn(request, cancel) : kNoEntry;
}

dnsapi::Status DnsapiBinding::BrowseCancel(dnsapi::Cancel* cancel) {
  auto fn = As<dnsapi::BrowseCancelFn>(Bind(kBrowseCancel));
  return fn ? fn(cancel) : kNoEntry;
}

dnsapi::Status DnsapiBinding::Resolve(dnsapi::ResolveRequest* request, dnsapi::Cancel* cancel) {
  auto fn = As<dnsapi::ResolveFn>(Bind(kResolve));
  return fn ? fn(request, cancel) : kNoEntry;
}

dnsapi::Status DnsapiBinding::ResolveCancel(dnsapi::Cancel* cancel) {
  auto fn = As<dnsapi::ResolveCancelFn>(Bind(kResolveCancel));
  return fn ? fn(cancel) : kNoEntry;
}

void DnsapiBinding::FreeInstance(dnsapi::ServiceInstance* instance) {
  if (!instance) return;
  if (auto fn = As<dnsapi::FreeInstanceFn>(Bind(kFreeInstance))) fn(instance);
}

void DnsapiBinding::RecordListFree(dnsapi::Record* records) {
  if (!records) return;
  if (auto fn = As<dnsapi::RecordListFreeFn>(Bind(kRecordListFree))) fn(records, dnsapi::kFreeRecordList);
}

dnsapi::Status DnsapiBinding::QueryEx(dnsapi::QueryRequest* request, dnsapi::QueryResult* results,
                                      dnsapi::QueryCancel* cancel) {
  auto fn = As<dnsapi::QueryExFn>(Bind(kQueryEx));
  return fn ? fn(request, results, cancel) : kNoEntry;
}

dnsapi::Status DnsapiBinding::CancelQuery(dnsapi::QueryCancel* cancel) {
  auto fn = As<dnsapi::CancelQueryFn>(Bind(kCancelQuery));
  return fn ? fn(cancel) : kNoEntry;
}

}  // namespace lx
