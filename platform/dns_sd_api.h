// The dns_sd client interface as its public reference declares it: the
// types, the reply signatures and the seven entry points the installer binds
// at run time. Bound by name, so no library header is needed to build.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define LX_DNSSD_API __stdcall
#else
#define LX_DNSSD_API
#endif

struct sockaddr;

namespace lx::dnssd {

struct ServiceRefOpaque;
using ServiceRef = ServiceRefOpaque*;
using Flags = uint32_t;
using ErrorType = int32_t;
using Protocol = uint32_t;
// SOCKET on Windows (pointer-sized), int elsewhere.
#if defined(_WIN32)
using Sock = uintptr_t;
#else
using Sock = int;
#endif

constexpr ErrorType kNoError = 0;
constexpr ErrorType kUnknown = -65537;
constexpr ErrorType kNoSuchName = -65538;
constexpr ErrorType kBadParam = -65540;
constexpr ErrorType kServiceNotRunning = -65563;
constexpr Protocol kProtocolIPv4 = 0x01;
constexpr Flags kFlagsAdd = 0x2;

using BrowseReply = void(LX_DNSSD_API*)(ServiceRef ref, Flags flags, uint32_t interfaceIndex, ErrorType error,
                                        const char* serviceName, const char* regtype, const char* replyDomain,
                                        void* context);
using ResolveReply = void(LX_DNSSD_API*)(ServiceRef ref, Flags flags, uint32_t interfaceIndex, ErrorType error,
                                         const char* fullName, const char* hostTarget, uint16_t port,
                                         uint16_t txtLen, const unsigned char* txtRecord, void* context);
using AddrInfoReply = void(LX_DNSSD_API*)(ServiceRef ref, Flags flags, uint32_t interfaceIndex, ErrorType error,
                                          const char* hostName, const sockaddr* address, uint32_t ttl,
                                          void* context);

using BrowseFn = ErrorType(LX_DNSSD_API*)(ServiceRef* ref, Flags flags, uint32_t interfaceIndex,
                                          const char* regtype, const char* domain, BrowseReply callBack,
                                          void* context);
using ResolveFn = ErrorType(LX_DNSSD_API*)(ServiceRef* ref, Flags flags, uint32_t interfaceIndex, const char* name,
                                           const char* regtype, const char* domain, ResolveReply callBack,
                                           void* context);
using GetAddrInfoFn = ErrorType(LX_DNSSD_API*)(ServiceRef* ref, Flags flags, uint32_t interfaceIndex,
                                               Protocol protocol, const char* hostname, AddrInfoReply callBack,
                                               void* context);
using RefSockFDFn = Sock(LX_DNSSD_API*)(ServiceRef ref);
using ProcessResultFn = ErrorType(LX_DNSSD_API*)(ServiceRef ref);
using RefDeallocateFn = void(LX_DNSSD_API*)(ServiceRef ref);
using TXTRecordGetValuePtrFn = const void*(LX_DNSSD_API*)(uint16_t txtLen, const void* txtRecord, const char* key,
                                                           uint8_t* valueLen);

}  // namespace lx::dnssd
