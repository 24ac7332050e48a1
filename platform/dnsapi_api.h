// Windows' DNS-SD client (dnsapi.dll, Windows 10 1903 and later) as its
// public reference declares it: the structures the installer reads and the
// entry points it binds at run time. Wide text is UTF-16 (PWSTR). The layouts
// match windns.h; platform/win32 checks them against MinGW's declarations.
#pragma once

#include <cstdint>

#include "platform/dns_sd_api.h"  // LX_DNSSD_API: WINAPI on Windows

namespace lx::dnsapi {

using Status = uint32_t;  // DNS_STATUS
constexpr Status kSuccess = 0;
constexpr Status kRequestPending = 9506;  // DNS_REQUEST_PENDING: the request runs
constexpr Status kCancelled = 1223;       // ERROR_CANCELLED
constexpr Status kTimeout = 1460;         // ERROR_TIMEOUT
constexpr uint32_t kRequestVersion1 = 1;  // DNS_QUERY_REQUEST_VERSION1
constexpr uint16_t kTypeA = 1;            // DNS_TYPE_A
constexpr uint16_t kTypePtr = 12;         // DNS_TYPE_PTR
constexpr uint16_t kTypeAaaa = 28;        // DNS_TYPE_AAAA
constexpr uint32_t kResultsVersion1 = 1;  // DNS_QUERY_RESULTS_VERSION1
constexpr uint64_t kQueryStandard = 0;    // DNS_QUERY_STANDARD
constexpr int kFreeRecordList = 1;        // DnsFreeRecordList

// DNS_SERVICE_INSTANCE
struct ServiceInstance {
  char16_t* pszInstanceName;
  char16_t* pszHostName;
  uint32_t* ip4Address;  // IP4_ADDRESS, network byte order
  void* ip6Address;      // IP6_ADDRESS
  uint16_t wPort;        // host byte order
  uint16_t wPriority;
  uint16_t wWeight;
  uint32_t dwPropertyCount;
  char16_t** keys;
  char16_t** values;
  uint32_t dwInterfaceIndex;
};

// DNS_SERVICE_CANCEL
struct Cancel {
  void* reserved;
};

// The head of DNS_RECORDW and the PTR or A data that follows it.
struct Record {
  Record* pNext;
  char16_t* pName;
  uint16_t wType;
  uint16_t wDataLength;
  uint32_t flags;
  uint32_t dwTtl;
  uint32_t dwReserved;
  union {
    char16_t* pNameHost;  // Data.PTR
    uint32_t ipAddress;   // Data.A: IP4_ADDRESS, network byte order
  };
};

// DNS_QUERY_RESULT
struct QueryResult {
  uint32_t Version;
  Status QueryStatus;
  uint64_t QueryOptions;
  Record* pQueryRecords;
  void* Reserved;
};

// DNS_QUERY_CANCEL
struct QueryCancel {
  char Reserved[32];
};

using QueryComplete = void(LX_DNSSD_API*)(void* context, QueryResult* results);

// DNS_QUERY_REQUEST, version 1 (windns.h of MinGW lacks it).
struct QueryRequest {
  uint32_t Version;
  const char16_t* QueryName;
  uint16_t QueryType;
  uint64_t QueryOptions;
  void* pDnsServerList;  // PDNS_ADDR_ARRAY
  uint32_t InterfaceIndex;
  QueryComplete pQueryCompletionCallback;
  void* pQueryContext;
};

using BrowseCallback = void(LX_DNSSD_API*)(Status status, void* context, Record* records);
using ResolveComplete = void(LX_DNSSD_API*)(Status status, void* context, ServiceInstance* instance);

// DNS_SERVICE_BROWSE_REQUEST, version 1 (the callback member of its union).
struct BrowseRequest {
  uint32_t Version;
  uint32_t InterfaceIndex;
  const char16_t* QueryName;
  BrowseCallback pBrowseCallback;
  void* pQueryContext;
};

// DNS_SERVICE_RESOLVE_REQUEST
struct ResolveRequest {
  uint32_t Version;
  uint32_t InterfaceIndex;
  char16_t* QueryName;
  ResolveComplete pResolveCompletionCallback;
  void* pQueryContext;
};

using BrowseFn = Status(LX_DNSSD_API*)(BrowseRequest* request, Cancel* cancel);
using BrowseCancelFn = Status(LX_DNSSD_API*)(Cancel* cancel);
using ResolveFn = Status(LX_DNSSD_API*)(ResolveRequest* request, Cancel* cancel);
using ResolveCancelFn = Status(LX_DNSSD_API*)(Cancel* cancel);
using FreeInstanceFn = void(LX_DNSSD_API*)(ServiceInstance* instance);
using RecordListFreeFn = void(LX_DNSSD_API*)(Record* records, int freeType);
using QueryExFn = Status(LX_DNSSD_API*)(QueryRequest* request, QueryResult* results, QueryCancel* cancel);
using CancelQueryFn = Status(LX_DNSSD_API*)(QueryCancel* cancel);

}  // namespace lx::dnsapi
