#include "platform/sim/sim_dnssd.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#endif

#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <thread>

namespace lx {

namespace {

SimDnssd* g_current = nullptr;

enum Kind { kBrowse, kResolve, kAddress };

bool EqualsNoCase(const char* a, size_t an, const char* b) {
  size_t bn = std::strlen(b);
  if (an != bn) return false;
  for (size_t i = 0; i < an; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

struct SimDnssd::Ref {
  struct Reply {
    Clock::time_point due;
    int service;
  };
  int kind = 0;
  SocketHandle socket = 0;
  void* callback = nullptr;
  void* context = nullptr;
  bool released = false;
  int inUse = 0;
  std::deque<Reply> pending;
  sockaddr_in address = {};
  std::vector<SimMdnsService> snapshot;  // what the replies report
};

std::vector<std::string> SplitScriptLine(const std::string& line, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = line.find(separator, start)) != std::string::npos; start = at + 1)
    parts.push_back(line.substr(start, at - start));
  if (!line.empty()) parts.push_back(line.substr(start));
  return parts;
}

bool ReadScriptedService(const std::vector<std::string>& f, SimMdnsService& s) {
  if (f.size() < 5) return false;
  s.instance = f[0];
  s.host = f[1];
  s.port = static_cast<uint16_t>(std::strtoul(f[2].c_str(), nullptr, 10));
  s.address = f[3];
  s.txt = SimTxt(SplitScriptLine(f[4], '|'));
  if (f.size() > 5) s.announceDelayMs = std::atoi(f[5].c_str());
  return true;
}

std::string SimTxt(const std::vector<std::string>& items) {
  std::string txt;
  for (const auto& item : items) {
    txt += static_cast<char>(item.size());
    txt += item;
  }
  return txt;
}

std::string SimFullName(const std::string& instance) {
  std::string out;
  for (unsigned char c : instance) {
    if (c == '.' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c <= ' ' || c == 0x7F) {
      char code[5];
      std::snprintf(code, sizeof code, "\\%03u", c);
      out += code;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "._pdl-datastream._tcp.local.";
}

SimDnssd::SimDnssd() { g_current = this; }
SimDnssd::~SimDnssd() {
  if (g_current == this) g_current = nullptr;
}

void SimDnssd::Announce(const SimMdnsService& service) {
  std::lock_guard<std::mutex> hold(lock_);
  services.push_back(service);
  for (auto& ref : refs_)
    if (ref->kind == kBrowse && !ref->released) {
      ref->snapshot = services;
      Queue(*ref, static_cast<int>(services.size()) - 1, service.announceDelayMs);
    }
  changed_.notify_all();
}

int SimDnssd::Faults() const {
  std::lock_guard<std::mutex> hold(lock_);
  return faults_;
}

int SimDnssd::LiveRefs() const {
  std::lock_guard<std::mutex> hold(lock_);
  int n = 0;
  for (auto& ref : refs_) n += ref->released ? 0 : 1;
  return n;
}

int SimDnssd::Calls(const std::string& entry) const {
  std::lock_guard<std::mutex> hold(lock_);
  auto it = calls_.find(entry);
  return it == calls_.end() ? 0 : it->second;
}

SimDnssd::Ref* SimDnssd::NewRef(int kind, void* callback, void* context) {
  auto ref = std::make_unique<Ref>();
  ref->kind = kind;
  ref->socket = 1000 + static_cast<SocketHandle>(refs_.size());
  ref->callback = callback;
  ref->context = context;
  ref->snapshot = services;
  refs_.push_back(std::move(ref));
  return refs_.back().get();
}

SimDnssd::Ref* SimDnssd::Checked(dnssd::ServiceRef ref, const char* entry) {
  ++calls_[entry];
  for (auto& r : refs_)
    if (reinterpret_cast<dnssd::ServiceRef>(r.get()) == ref) {
      if (r->released) ++faults_;
      return r->released ? nullptr : r.get();
    }
  ++faults_;
  return nullptr;
}

void SimDnssd::Queue(Ref& ref, int serviceIndex, int delayMs) {
  ref.pending.push_back({Clock::now() + std::chrono::milliseconds(delayMs), serviceIndex});
}

int SimDnssd::WaitReadable(SocketHandle socket, uint32_t timeoutMs) {
  std::unique_lock<std::mutex> hold(lock_);
  ++calls_["select"];
  Ref* ref = nullptr;
  for (auto& r : refs_)
    if (r->socket == socket) ref = r.get();
  if (!ref || ref->released) {
    ++faults_;
    return -1;
  }
  auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (ref->released) return -1;
    auto now = Clock::now();
    Clock::time_point next = until;
    for (auto& reply : ref->pending) {
      if (reply.due <= now) return 1;
      if (reply.due < next) next = reply.due;
    }
    if (now >= until) return 0;
    changed_.wait_until(hold, next);
  }
}

uint16_t SimDnssd::NetToHostShort(uint16_t value) { return static_cast<uint16_t>((value >> 8) | (value << 8)); }

std::string SimDnssd::Ipv4Text(const void* socketAddress) {
  auto* address = static_cast<const sockaddr_in*>(socketAddress);
  if (!address || address->sin_family != AF_INET) return {};
  char text[INET_ADDRSTRLEN] = {};
  return inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) ? text : "";
}

// The entry points, as the library exports them.
struct SimDnssdEntries {
  static dnssd::ErrorType LX_DNSSD_API Browse(dnssd::ServiceRef* out, dnssd::Flags, uint32_t, const char* regtype,
                                              const char* domain, dnssd::BrowseReply reply, void* context) {
    SimDnssd& d = *g_current;
    std::lock_guard<std::mutex> hold(d.lock_);
    ++d.calls_["DNSServiceBrowse"];
    if (!out || !reply || !regtype) return dnssd::kBadParam;
    if (d.browseError) return d.browseError;
    SimDnssd::Ref* ref = d.NewRef(kBrowse, reinterpret_cast<void*>(reply), context);
    for (size_t i = 0; i < d.services.size(); ++i) d.Queue(*ref, static_cast<int>(i), d.services[i].announceDelayMs);
    *out = reinterpret_cast<dnssd::ServiceRef>(ref);
    return dnssd::kNoError;
  }

  static dnssd::ErrorType LX_DNSSD_API Resolve(dnssd::ServiceRef* out, dnssd::Flags, uint32_t, const char* name,
                                               const char*, const char*, dnssd::ResolveReply reply, void* context) {
    SimDnssd& d = *g_current;
    std::lock_guard<std::mutex> hold(d.lock_);
    ++d.calls_["DNSServiceResolve"];
    if (!out || !reply || !name) return dnssd::kBadParam;
    SimDnssd::Ref* ref = d.NewRef(kResolve, reinterpret_cast<void*>(reply), context);
    // A name announced again answers with its newest record, as a cache would.
    for (size_t i = d.services.size(); i-- > 0;)
      if (d.services[i].instance == name) {
        if (!d.services[i].resolveSilent) d.Queue(*ref, static_cast<int>(i), d.services[i].resolveDelayMs);
        break;
      }
    *out = reinterpret_cast<dnssd::ServiceRef>(ref);
    return dnssd::kNoError;
  }

  static dnssd::ErrorType LX_DNSSD_API GetAddrInfo(dnssd::ServiceRef* out, dnssd::Flags, uint32_t, dnssd::Protocol,
                                                   const char* host, dnssd::AddrInfoReply reply, void* context) {
    SimDnssd& d = *g_current;
    std::lock_guard<std::mutex> hold(d.lock_);
    ++d.calls_["DNSServiceGetAddrInfo"];
    if (!out || !reply || !host) return dnssd::kBadParam;
    SimDnssd::Ref* ref = d.NewRef(kAddress, reinterpret_cast<void*>(reply), context);
    for (size_t i = d.services.size(); i-- > 0;)
      if (d.services[i].host == host) {
        if (!d.services[i].addressSilent) d.Queue(*ref, static_cast<int>(i), d.services[i].addressDelayMs);
        break;
      }
    *out = reinterpret_cast<dnssd::ServiceRef>(ref);
    return dnssd::kNoError;
  }

  static dnssd::Sock LX_DNSSD_API RefSockFD(dnssd::ServiceRef sdRef) {
    SimDnssd& d = *g_current;
    std::lock_guard<std::mutex> hold(d.lock_);
    SimDnssd::Ref* ref = d.Checked(sdRef, "DNSServiceRefSockFD");
    return ref ? static_cast<dnssd::Sock>(ref->socket) : -1;
  }

  // Blocks until a reply is due, as the real call blocks on its socket.
  static dnssd::ErrorType LX_DNSSD_API ProcessResult(dnssd::ServiceRef sdRef) {
    SimDnssd& d = *g_current;
    std::unique_lock<std::mutex> hold(d.lock_);
    SimDnssd::Ref* ref = d.Checked(sdRef, "DNSServiceProcessResult");
    if (!ref) return dnssd::kBadParam;
    ++ref->inUse;
    for (;;) {
      if (ref->released) {
        --ref->inUse;
        return dnssd::kBadParam;
      }
      auto now = std::chrono::steady_clock::now();
      if (!ref->pending.empty() && ref->pending.front().due <= now) break;
      if (ref->pending.empty())
        d.changed_.wait(hold);
      else
        d.changed_.wait_until(hold, ref->pending.front().due);
    }
    SimDnssd::Ref::Reply reply = ref->pending.front();
    ref->pending.pop_front();
    SimMdnsService s = ref->snapshot[reply.service];
    hold.unlock();
    if (ref->kind == kBrowse) {
      reinterpret_cast<dnssd::BrowseReply>(ref->callback)(sdRef, dnssd::kFlagsAdd, 1, dnssd::kNoError,
                                                          s.instance.c_str(), "_pdl-datastream._tcp.", "local.",
                                                          ref->context);
    } else if (ref->kind == kResolve) {
      if (s.resolveStallMs) std::this_thread::sleep_for(std::chrono::milliseconds(s.resolveStallMs));
      std::string full = s.fullName.empty() ? SimFullName(s.instance) : s.fullName;
      uint16_t port = static_cast<uint16_t>((s.port >> 8) | (s.port << 8));
      reinterpret_cast<dnssd::ResolveReply>(ref->callback)(
          sdRef, 0, 1, s.resolveError, full.c_str(), s.host.c_str(), port, static_cast<uint16_t>(s.txt.size()),
          reinterpret_cast<const unsigned char*>(s.txt.data()), ref->context);
    } else {
      ref->address.sin_family = AF_INET;
      inet_pton(AF_INET, s.address.c_str(), &ref->address.sin_addr);
      reinterpret_cast<dnssd::AddrInfoReply>(ref->callback)(sdRef, dnssd::kFlagsAdd, 1, s.addressError,
                                                            s.host.c_str(),
                                                            reinterpret_cast<const sockaddr*>(&ref->address), 120,
                                                            ref->context);
    }
    hold.lock();
    --ref->inUse;
    return dnssd::kNoError;
  }

  static void LX_DNSSD_API RefDeallocate(dnssd::ServiceRef sdRef) {
    SimDnssd& d = *g_current;
    std::lock_guard<std::mutex> hold(d.lock_);
    SimDnssd::Ref* ref = d.Checked(sdRef, "DNSServiceRefDeallocate");
    if (!ref) return;
    // Released under a caller still inside ProcessResult on it.
    if (ref->inUse) ++d.faults_;
    ref->released = true;
    d.changed_.notify_all();
  }

  // The published rules: items of a length byte and "key[=value]", keys
  // compared without case; a key without '=' has no value; an item whose
  // length runs past the record ends the search.
  static const void* LX_DNSSD_API TxtValue(uint16_t txtLen, const void* txtRecord, const char* key,
                                           uint8_t* valueLen) {
    {
      std::lock_guard<std::mutex> hold(g_current->lock_);
      ++g_current->calls_["TXTRecordGetValuePtr"];
    }
    auto* p = static_cast<const unsigned char*>(txtRecord);
    const unsigned char* end = p + txtLen;
    size_t keyLen = std::strlen(key);
    while (p && p < end && p + 1 + *p <= end) {
      const unsigned char* item = p + 1;
      size_t n = *p;
      size_t k = 0;
      while (k < n && item[k] != '=') ++k;
      if (EqualsNoCase(reinterpret_cast<const char*>(item), k, key) && k == keyLen) {
        if (k >= n) return nullptr;
        *valueLen = static_cast<uint8_t>(n - k - 1);
        return item + k + 1;
      }
      p += 1 + n;
    }
    return nullptr;
  }
};

std::map<std::string, void*> SimDnssd::Entries() {
  return {
      {"DNSServiceBrowse", reinterpret_cast<void*>(&SimDnssdEntries::Browse)},
      {"DNSServiceResolve", reinterpret_cast<void*>(&SimDnssdEntries::Resolve)},
      {"DNSServiceGetAddrInfo", reinterpret_cast<void*>(&SimDnssdEntries::GetAddrInfo)},
      {"DNSServiceRefSockFD", reinterpret_cast<void*>(&SimDnssdEntries::RefSockFD)},
      {"DNSServiceProcessResult", reinterpret_cast<void*>(&SimDnssdEntries::ProcessResult)},
      {"DNSServiceRefDeallocate", reinterpret_cast<void*>(&SimDnssdEntries::RefDeallocate)},
      {"TXTRecordGetValuePtr", reinterpret_cast<void*>(&SimDnssdEntries::TxtValue)},
  };
}

}  // namespace lx
