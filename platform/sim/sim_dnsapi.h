// Windows' DNS-SD client (dnsapi.dll) over a scripted mDNS world, with the
// Windows semantics the installer must live with: requests answer on a
// system thread of their own, a cancel may race a reply already under way,
// and a cancelled request's callback still comes, with ERROR_CANCELLED.
// It watches what the caller frees and cancels.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/dnsapi_api.h"
#include "platform/sim/sim_dnssd.h"

namespace lx {

class SimDnsapi {
 public:
  // One at a time: the entry points reach the live one.
  SimDnsapi();
  ~SimDnsapi();
  SimDnsapi(const SimDnsapi&) = delete;
  SimDnsapi& operator=(const SimDnsapi&) = delete;

  // The entry points by name, for SimLibraries::Install.
  static std::map<std::string, void*> Entries();

  // Set before the browse starts. A service's TXT record gives the
  // instance's keys and values ("key" alone: a key without a value); its
  // empty address gives an IPv6 address only; resolveError a failed resolve.
  std::vector<SimMdnsService> services;
  dnsapi::Status browseStatus = dnsapi::kRequestPending;
  // A reply due when its request is cancelled is still delivered.
  bool replyRacesCancel = false;
  // A reply's instance name as given, instead of the service's full name.
  std::map<std::string, std::u16string> instanceNames;
  // DnsQueryEx's A answers by host name (without the trailing dot). An empty
  // address answers an AAAA record only; a status other than success fails
  // the query; `synchronous` answers before DnsQueryEx returns, with no
  // callback. A name not listed answers DNS_ERROR_RCODE_NAME_ERROR.
  struct AddressAnswer {
    std::string address;
    int delayMs = 0;
    dnsapi::Status status = dnsapi::kSuccess;
    bool silent = false;
    bool synchronous = false;
  };
  std::map<std::string, AddressAnswer> addresses;
  static constexpr dnsapi::Status kNameError = 9003;
  // The A queries asked, in order.
  std::vector<std::u16string> Queried() const;
  // Announces a service to the running browses.
  void Announce(const SimMdnsService& service);

  // Observations.
  int Faults() const;             // unknown or double frees, unknown cancel handles
  int OpenRequests() const;       // started, neither completed nor cancelled
  int UnfreedReplies() const;     // instances and record lists not yet freed
  bool Holds(const void* reply) const;  // a reply of this double, not yet freed
  int Calls(const std::string& entry) const;
  bool CallbackOnCallerThread() const;
  // Waits until no callback is due or running.
  bool WaitIdle(int ms = 3000);

  struct Request;
  struct Entry;

 private:
  using Clock = std::chrono::steady_clock;
  friend struct SimDnsapiEntries;
  void Run();
  void QueueBrowse(Request& request, size_t service, int delayMs);
  // Fills a query's results with its answer; the status it gives.
  dnsapi::Status AnswerQuery(const std::u16string& name, dnsapi::QueryResult& results);

  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<Request>> requests_;
  std::vector<Entry> due_;
  std::map<void*, std::shared_ptr<void>> replies_;  // what the caller must free
  std::map<std::string, int> calls_;
  std::vector<std::u16string> queried_;
  int faults_ = 0;
  int running_ = 0;
  bool callerThread_ = false;
  bool quit_ = false;
  std::thread::id caller_;
  std::thread thread_;
};

}  // namespace lx
