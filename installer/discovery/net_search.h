// The DNS-SD search for label printers: a browse for "_pdl-datastream._tcp"
// in "local", each instance resolved and its IPv4 address looked up on one
// poll thread, the configured models kept in NetPrinterList, and the count
// notices posted to the wizard's pages.
#pragma once

#include <atomic>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "installer/core/installer_config.h"
#include "installer/discovery/dnsapi_binding.h"
#include "installer/discovery/dnssd_binding.h"
#include "installer/discovery/net_printer_list.h"
#include "installer/discovery/net_search_sink.h"
#include "platform/os.h"

namespace lx {

class NetSearch;
struct NetSearchSession;

// A resolve started on Windows' DNS-SD road; its address is the context of
// its callback and stays valid as long as the search engine.
struct DnsapiResolve {
  NetSearchSession* session = nullptr;
  std::u16string name;
  dnsapi::Cancel cancel = {};
  bool open = false;  // started and neither completed nor cancelled; under the session's lock
};

// A DnsQueryEx for the A record of a kept row's host target, on Windows'
// road; like a resolve, its address is its callback's context, and the
// system writes its results and reads its cancel handle until the callback.
struct DnsapiAddressQuery {
  NetSearchSession* session = nullptr;
  std::u16string host;
  size_t row = 0;
  dnsapi::QueryResult results = {};
  dnsapi::QueryCancel cancel = {};
  bool open = false;  // under the session's lock, as a resolve's
};

// One search: what its poll thread and its reply handlers share. The thread
// keeps it alive after a stop that could not wait for it.
struct NetSearchSession {
  NetSearch* engine = nullptr;
  INetSearchSink* notify = nullptr;
  uint64_t generation = 0;
  uint32_t number = 0;  // carried by its notices
  std::atomic<bool> stop{false};
  dnssd::ServiceRef browse = nullptr;
  // Set under `lock`: the thread has ended; the thread releases the browse
  // reference itself because the stop stopped waiting.
  std::mutex lock;
  std::condition_variable ended;
  bool threadDone = false;
  bool threadReleasesBrowse = false;
  // The record whose address lookup runs; poll thread only.
  static constexpr size_t kNoRecord = static_cast<size_t>(-1);
  size_t awaitingAddress = kNoRecord;
  // Resolve and address replies handled so far; poll thread only.
  unsigned replies = 0;
  // Windows' DNS-SD road: no poll thread; the system's callback threads and
  // the stop share these under `lock`.
  bool windowsRoad = false;
  bool browseOpen = false;
  dnsapi::Cancel browseCancel = {};
  std::list<DnsapiResolve> resolves;
  std::list<DnsapiAddressQuery> addressQueries;
  int inCallback = 0;  // callbacks running; `ended` tells when one returns
};

class NetSearch {
 public:
  static constexpr uint32_t kSearchWindowMs = 5000;
  static constexpr uint32_t kPollTimeoutMs = 1000;
  // Longer than one wait on the socket, so that a thread that is only
  // waiting there is always joined; only a thread stuck in the library is not.
  static constexpr uint32_t kStopWaitMs = kPollTimeoutMs + 500;
  // A resolve or address lookup waits this long for its first reply, in
  // slices that look at the stop flag.
  static constexpr uint32_t kReplyWaitMs = 3000;
  static constexpr uint32_t kReplyWaitSliceMs = 100;
  // Resolves one search starts on Windows' road: a flood of announcements
  // cannot start requests without end.
  static constexpr size_t kMaxResolves = 4 * NetPrinterList::kMaxRecords;

  // `os` needs debug (trace) and sockets. With no dns_sd library loaded,
  // `dnsapi` searches when it offers Windows' DNS-SD API.
  NetSearch(const Os& os, DnssdBinding& dnssd, const InstallerConfig& config, DnsapiBinding* dnsapi = nullptr);
  ~NetSearch();
  NetSearch(const NetSearch&) = delete;
  NetSearch& operator=(const NetSearch&) = delete;

  // Starts or restarts a search whose notices go to `window` (the search page).
  void StartNetSearch(INetSearchSink* window);
  // Ends the search; the list keeps its records. Returns within
  // kStopWaitMs whatever the library does.
  void StopNetSearch();
  // The search window's timer has fired (UI thread).
  void OnSearchWindowEnd();
  // Where WM_NETSEARCH_MORE goes: the printer list page once it exists,
  // until then the notify window, which passes it on.
  void SetListPage(INetSearchSink* page);
  INetSearchSink* ListPage() const { return listPage_.load(); }

  const NetPrinterList& List() const { return list_; }
  // The window the last search was started for (UI thread); null before any.
  INetSearchSink* NotifyWindow() const { return notify_; }
  bool Searching() const { return session_ != nullptr; }
  // Windows' DNS-SD searches: no dns_sd library is loaded and the system
  // offers the API. That road needs no responder of ours.
  bool OnWindowsRoad() const { return !dnssd_.Loaded() && dnsapi_ && dnsapi_->Offers(); }
  // True for a notice of the search started last, while it has not been
  // stopped (UI thread). Its browse may have failed: its window still ends.
  bool IsCurrent(uintptr_t number) const { return started_ && number == number_; }
  uint32_t Number() const { return number_; }

  // The dns_sd reply handlers; `context` is the search's NetSearchSession.
  static void LX_DNSSD_API OnBrowseReply(dnssd::ServiceRef ref, dnssd::Flags flags, uint32_t interfaceIndex,
                                         dnssd::ErrorType error, const char* serviceName, const char* regtype,
                                         const char* replyDomain, void* context);
  static void LX_DNSSD_API OnResolveReply(dnssd::ServiceRef ref, dnssd::Flags flags, uint32_t interfaceIndex,
                                          dnssd::ErrorType error, const char* fullName, const char* hostTarget,
                                          uint16_t port, uint16_t txtLen, const unsigned char* txtRecord,
                                          void* context);
  static void LX_DNSSD_API OnAddressReply(dnssd::ServiceRef ref, dnssd::Flags flags, uint32_t interfaceIndex,
                                          dnssd::ErrorType error, const char* hostName, const sockaddr* address,
                                          uint32_t ttl, void* context);

  // Windows' DNS-SD callbacks, on a system thread.
  static void LX_DNSSD_API OnDnsapiBrowse(dnsapi::Status status, void* context, dnsapi::Record* records);
  static void LX_DNSSD_API OnDnsapiResolve(dnsapi::Status status, void* context, dnsapi::ServiceInstance* instance);
  static void LX_DNSSD_API OnDnsapiAddress(void* context, dnsapi::QueryResult* results);

  // For the reply handlers of a session made by hand (tests, fuzzing).
  std::shared_ptr<NetSearchSession> NewSession();

 private:
  void EndSearch();
  void PollThread(std::shared_ptr<NetSearchSession> session);
  // Runs a nested reference until its first reply has been handled; false
  // when none came within kReplyWaitMs or the search was stopped.
  bool RunUntilReply(NetSearchSession& session, dnssd::ServiceRef ref, const char* what);
  void HandleResolve(NetSearchSession& session, uint32_t interfaceIndex, const char* fullName,
                     const char* hostTarget, uint16_t port, uint16_t txtLen, const unsigned char* txtRecord);
  void PostCount(NetSearchSession& session);
  // Keeps a record of a configured model; its index or NetPrinterList::kRefused.
  size_t KeepIfModel(NetSearchSession& session, const NetPrinterRecord& record);
  void StartWindowsSearch(const std::shared_ptr<NetSearchSession>& session);
  void EndWindowsSearch(NetSearchSession& session);
  void HandleInstance(NetSearchSession& session, const dnsapi::ServiceInstance& instance);
  // An answer without an IPv4 address: asks DnsQueryEx for the host's A record.
  void StartAddressQuery(NetSearchSession& session, size_t row, const std::u16string& host);
  void HandleAddressAnswer(NetSearchSession& session, DnsapiAddressQuery& query, dnsapi::QueryResult& results);

  const Os& os_;
  DnssdBinding& dnssd_;
  DnsapiBinding* dnsapi_;
  // Windows' road: a callback may come after the stop, so its session lives as long as this object.
  std::vector<std::shared_ptr<NetSearchSession>> windowsSessions_;
  const InstallerConfig& config_;
  NetPrinterList list_;
  std::shared_ptr<NetSearchSession> session_;
  std::thread thread_;
  // Sessions whose threads outlived their stop; waited for on destruction.
  std::vector<std::shared_ptr<NetSearchSession>> orphans_;
  INetSearchSink* notify_ = nullptr;
  std::atomic<INetSearchSink*> listPage_{nullptr};
  unsigned timer_ = 0;
  // The number of the search started last, and whether it still runs.
  uint32_t number_ = 0;
  bool started_ = false;
};

}  // namespace lx
