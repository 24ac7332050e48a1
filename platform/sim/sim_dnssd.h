// A scriptable dns_sd library with the mDNS world behind it: services with
// chosen names, ports, TXT records, addresses, delays, errors and silence.
// Its seven entry points have the published signatures; its references'
// sockets are waited on through this object's ISockets. It also watches how
// the caller treats references (use after release, release while in use).
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/dns_sd_api.h"
#include "platform/sockets.h"

namespace lx {

struct SimMdnsService {
  std::string instance;  // as the browse reports it, unescaped
  std::string fullName;  // as the resolve reports it; empty: built from `instance`, escaped
  // The resolve reply's host target, exactly as given (an empty one
  // included), and the name the address lookup answers for.
  std::string host = "lx220.local.";
  uint16_t port = 9100;  // host order; delivered in network order
  std::string txt;       // the raw TXT record
  std::string address = "192.0.2.10";
  int announceDelayMs = 0;
  int resolveDelayMs = 0;
  dnssd::ErrorType resolveError = dnssd::kNoError;
  bool resolveSilent = false;
  // The resolve reply is ready but DNSServiceProcessResult blocks this long
  // before delivering it, as a library stuck on its daemon would.
  int resolveStallMs = 0;
  int addressDelayMs = 0;
  dnssd::ErrorType addressError = dnssd::kNoError;
  bool addressSilent = false;
};

// A TXT record from "key=value" strings, each with its length byte.
std::string SimTxt(const std::vector<std::string>& items);
// The Windows tests' announcement scripts: `line` cut at each `separator`
// (a trailing one gives an empty last field).
std::vector<std::string> SplitScriptLine(const std::string& line, char separator);
// A script's service line, tab-separated: instance, host, port, address,
// TXT items joined by "|", and an optional announcement delay in ms. False
// for a line with fewer than five fields.
bool ReadScriptedService(const std::vector<std::string>& fields, SimMdnsService& service);
// The escaped full name of an instance of "_pdl-datastream._tcp" in "local".
std::string SimFullName(const std::string& instance);

class SimDnssd : public ISockets {
 public:
  // One at a time: the entry points reach the live one.
  SimDnssd();
  ~SimDnssd() override;

  // The entry points by name, for SimLibraries::Install.
  static std::map<std::string, void*> Entries();

  // Set before the browse starts.
  std::vector<SimMdnsService> services;
  dnssd::ErrorType browseError = dnssd::kNoError;
  // Announces a service to the running browses.
  void Announce(const SimMdnsService& service);

  // Observations.
  int Faults() const;           // use after release, release while in use
  int LiveRefs() const;         // references not yet released
  int Calls(const std::string& entry) const;

  int WaitReadable(SocketHandle socket, uint32_t timeoutMs) override;
  uint16_t NetToHostShort(uint16_t value) override;
  std::string Ipv4Text(const void* socketAddress) override;

  struct Ref;

 private:
  using Clock = std::chrono::steady_clock;
  friend struct SimDnssdEntries;
  Ref* NewRef(int kind, void* callback, void* context);
  Ref* Checked(dnssd::ServiceRef ref, const char* entry);
  void Queue(Ref& ref, int serviceIndex, int delayMs);

  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<Ref>> refs_;
  std::map<std::string, int> calls_;
  int faults_ = 0;
};

}  // namespace lx
