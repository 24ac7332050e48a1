#include "platform/sim/sim_dnsapi.h"

#include <algorithm>
#include <cstring>

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

namespace lx {

namespace {

SimDnsapi* g_current = nullptr;

std::u16string Wide(const std::string& s) {
  // Test scripts are ASCII; each byte becomes one code unit.
  return std::u16string(s.begin(), s.end());
}

// An instance and everything it points at, freed as one.
struct OwnedInstance {
  dnsapi::ServiceInstance instance = {};
  std::vector<std::u16string> keys, values;
  std::vector<bool> hasValue;
  std::vector<char16_t*> keyPtrs, valuePtrs;
  std::u16string name, host;
  uint32_t ip4 = 0;
  unsigned char ip6[16] = {0x20, 0x01, 0x0d, 0xb8};
};

struct OwnedRecords {
  std::vector<dnsapi::Record> records;
  std::vector<std::u16string> names;
};

}  // namespace

struct SimDnsapi::Request {
  bool browse = false;
  void* callback = nullptr;
  void* context = nullptr;
  std::u16string name;  // a resolve's or a query's name
  bool open = true;
  bool query = false;
  dnsapi::QueryResult* results = nullptr;  // a query's, the caller's
};

struct SimDnsapi::Entry {
  Clock::time_point due;
  Request* request;
  int service;  // -1: the cancellation's callback
  bool cancelled;
};

SimDnsapi::SimDnsapi() : caller_(std::this_thread::get_id()) {
  g_current = this;
  thread_ = std::thread(&SimDnsapi::Run, this);
}

SimDnsapi::~SimDnsapi() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
  if (g_current == this) g_current = nullptr;
}

void SimDnsapi::QueueBrowse(Request& request, size_t service, int delayMs) {
  due_.push_back({Clock::now() + std::chrono::milliseconds(delayMs), &request, static_cast<int>(service), false});
}

void SimDnsapi::Announce(const SimMdnsService& service) {
  std::lock_guard<std::mutex> hold(lock_);
  services.push_back(service);
  for (auto& request : requests_)
    if (request->browse && request->open) QueueBrowse(*request, services.size() - 1, service.announceDelayMs);
  changed_.notify_all();
}

std::vector<std::u16string> SimDnsapi::Queried() const {
  std::lock_guard<std::mutex> hold(lock_);
  return queried_;
}

dnsapi::Status SimDnsapi::AnswerQuery(const std::u16string& name, dnsapi::QueryResult& results) {
  results.pQueryRecords = nullptr;
  auto it = addresses.find(std::string(name.begin(), name.end()));
  dnsapi::Status status = it == addresses.end() ? kNameError : it->second.status;
  if (status == dnsapi::kSuccess) {
    // An AAAA record first, as a dual-stack host answers; the A record after it.
    auto* owned = new OwnedRecords;
    owned->names.push_back(name);
    owned->records.resize(it->second.address.empty() ? 1 : 2);
    for (auto& r : owned->records) {
      r = {};
      r.pName = owned->names[0].data();
    }
    owned->records[0].wType = dnsapi::kTypeAaaa;
    owned->records[0].wDataLength = 16;
    in_addr address = {};
    if (owned->records.size() == 2 && inet_pton(AF_INET, it->second.address.c_str(), &address) == 1) {
      owned->records[0].pNext = &owned->records[1];
      owned->records[1].wType = dnsapi::kTypeA;
      owned->records[1].wDataLength = 4;
      std::memcpy(&owned->records[1].ipAddress, &address, 4);
    }
    results.pQueryRecords = &owned->records[0];
    replies_[results.pQueryRecords] = std::shared_ptr<OwnedRecords>(owned);
  }
  results.QueryStatus = status;
  return status;
}

int SimDnsapi::Faults() const {
  std::lock_guard<std::mutex> hold(lock_);
  return faults_;
}

int SimDnsapi::OpenRequests() const {
  std::lock_guard<std::mutex> hold(lock_);
  int n = 0;
  for (auto& request : requests_) n += request->open ? 1 : 0;
  return n;
}

int SimDnsapi::UnfreedReplies() const {
  std::lock_guard<std::mutex> hold(lock_);
  return static_cast<int>(replies_.size());
}

bool SimDnsapi::Holds(const void* reply) const {
  std::lock_guard<std::mutex> hold(lock_);
  return replies_.count(const_cast<void*>(reply)) != 0;
}

int SimDnsapi::Calls(const std::string& entry) const {
  std::lock_guard<std::mutex> hold(lock_);
  auto it = calls_.find(entry);
  return it == calls_.end() ? 0 : it->second;
}

bool SimDnsapi::CallbackOnCallerThread() const {
  std::lock_guard<std::mutex> hold(lock_);
  return callerThread_;
}

bool SimDnsapi::WaitIdle(int ms) {
  std::unique_lock<std::mutex> hold(lock_);
  return changed_.wait_for(hold, std::chrono::milliseconds(ms), [&] { return due_.empty() && running_ == 0; });
}

// The system thread: delivers each due reply with no lock held, as Windows
// calls back from its own threads.
void SimDnsapi::Run() {
  std::unique_lock<std::mutex> hold(lock_);
  while (!quit_) {
    auto next = std::min_element(due_.begin(), due_.end(), [](auto& a, auto& b) { return a.due < b.due; });
    if (next == due_.end()) {
      changed_.wait(hold);
      continue;
    }
    if (next->due > Clock::now()) {
      // A copy: the queue may grow while this thread waits.
      Clock::time_point due = next->due;
      changed_.wait_until(hold, due);
      continue;
    }
    Entry entry = *next;
    due_.erase(next);
    Request& request = *entry.request;
    // A cancelled request hears of its cancellation once; a reply due at the
    // cancel comes too when it raced it.
    if (!entry.cancelled && !request.open && !replyRacesCancel) continue;
    if (std::this_thread::get_id() == caller_) callerThread_ = true;
    if (request.query) {
      // The caller's results are written as the callback is made, as Windows does.
      if (entry.cancelled) {
        request.results->QueryStatus = dnsapi::kCancelled;
        request.results->pQueryRecords = nullptr;
      } else {
        AnswerQuery(request.name, *request.results);
        request.open = false;
      }
      ++running_;
      auto callback = reinterpret_cast<dnsapi::QueryComplete>(request.callback);
      void* context = request.context;
      dnsapi::QueryResult* results = request.results;
      hold.unlock();
      callback(context, results);
      hold.lock();
      --running_;
      changed_.notify_all();
      continue;
    }
    dnsapi::Status status = entry.cancelled ? dnsapi::kCancelled : dnsapi::kSuccess;
    void* reply = nullptr;
    if (!entry.cancelled && entry.service >= 0 && static_cast<size_t>(entry.service) < services.size()) {
      const SimMdnsService& service = services[entry.service];
      if (request.browse) {
        auto* owned = new OwnedRecords;
        owned->names.push_back(Wide(service.instance + "._pdl-datastream._tcp.local"));
        owned->records.resize(1);
        dnsapi::Record& r = owned->records[0];
        r = {};
        r.wType = dnsapi::kTypePtr;
        r.pNameHost = owned->names[0].data();
        reply = &owned->records[0];
        replies_[reply] = std::shared_ptr<OwnedRecords>(owned);
      } else if (service.resolveError != 0) {
        status = dnsapi::kTimeout;
      } else {
        auto* owned = new OwnedInstance;
        auto name = instanceNames.find(service.instance);
        owned->name = name != instanceNames.end() ? name->second : Wide(service.instance + "._pdl-datastream._tcp.local");
        owned->host = Wide(service.host);
        for (size_t at = 0; at < service.txt.size();) {
          size_t len = static_cast<unsigned char>(service.txt[at]);
          std::string item = service.txt.substr(at + 1, len);
          at += 1 + len;
          size_t eq = item.find('=');
          owned->keys.push_back(Wide(item.substr(0, eq)));
          owned->values.push_back(eq == std::string::npos ? std::u16string() : Wide(item.substr(eq + 1)));
          owned->hasValue.push_back(eq != std::string::npos);
        }
        for (size_t i = 0; i < owned->keys.size(); ++i) {
          owned->keyPtrs.push_back(owned->keys[i].data());
          owned->valuePtrs.push_back(owned->hasValue[i] ? owned->values[i].data() : nullptr);
        }
        dnsapi::ServiceInstance& in = owned->instance;
        in.pszInstanceName = owned->name.data();
        in.pszHostName = owned->host.data();
        in_addr address = {};
        if (!service.address.empty() && inet_pton(AF_INET, service.address.c_str(), &address) == 1) {
          std::memcpy(&owned->ip4, &address, 4);
          in.ip4Address = &owned->ip4;
        } else {
          in.ip6Address = owned->ip6;
        }
        in.wPort = service.port;
        in.dwPropertyCount = static_cast<uint32_t>(owned->keys.size());
        in.keys = owned->keyPtrs.data();
        in.values = owned->valuePtrs.data();
        reply = &owned->instance;
        replies_[reply] = std::shared_ptr<OwnedInstance>(owned);
      }
    }
    if (!request.browse && !entry.cancelled) request.open = false;
    ++running_;
    void* callback = request.callback;
    void* context = request.context;
    hold.unlock();
    if (request.browse)
      reinterpret_cast<dnsapi::BrowseCallback>(callback)(status, context, static_cast<dnsapi::Record*>(reply));
    else
      reinterpret_cast<dnsapi::ResolveComplete>(callback)(status, context,
                                                          static_cast<dnsapi::ServiceInstance*>(reply));
    hold.lock();
    --running_;
    changed_.notify_all();
  }
}

struct SimDnsapiEntries {
  static SimDnsapi& Sim() { return *g_current; }

  static SimDnsapi::Request* Open(const dnsapi::Cancel* cancel) {
    SimDnsapi& sim = Sim();
    for (auto& r : sim.requests_)
      if (cancel && cancel->reserved == r.get()) return r.get();
    return nullptr;
  }

  static dnsapi::Status LX_DNSSD_API Browse(dnsapi::BrowseRequest* request, dnsapi::Cancel* cancel) {
    SimDnsapi& sim = Sim();
    std::lock_guard<std::mutex> hold(sim.lock_);
    ++sim.calls_["DnsServiceBrowse"];
    if (!request || !cancel || request->Version != dnsapi::kRequestVersion1 || !request->pBrowseCallback ||
        !request->QueryName || std::u16string(request->QueryName) != u"_pdl-datastream._tcp.local")
      return 87;  // ERROR_INVALID_PARAMETER
    if (sim.browseStatus != dnsapi::kRequestPending) return sim.browseStatus;
    auto r = std::make_unique<SimDnsapi::Request>();
    r->browse = true;
    r->callback = reinterpret_cast<void*>(request->pBrowseCallback);
    r->context = request->pQueryContext;
    cancel->reserved = r.get();
    for (size_t i = 0; i < sim.services.size(); ++i) sim.QueueBrowse(*r, i, sim.services[i].announceDelayMs);
    sim.requests_.push_back(std::move(r));
    sim.changed_.notify_all();
    return dnsapi::kRequestPending;
  }

  static dnsapi::Status LX_DNSSD_API Resolve(dnsapi::ResolveRequest* request, dnsapi::Cancel* cancel) {
    SimDnsapi& sim = Sim();
    std::lock_guard<std::mutex> hold(sim.lock_);
    ++sim.calls_["DnsServiceResolve"];
    if (!request || !cancel || request->Version != dnsapi::kRequestVersion1 || !request->pResolveCompletionCallback ||
        !request->QueryName)
      return 87;
    auto r = std::make_unique<SimDnsapi::Request>();
    r->callback = reinterpret_cast<void*>(request->pResolveCompletionCallback);
    r->context = request->pQueryContext;
    r->name = request->QueryName;
    cancel->reserved = r.get();
    // The latest announcement of the name answers.
    for (size_t i = sim.services.size(); i-- > 0;) {
      const SimMdnsService& s = sim.services[i];
      if (Wide(s.instance + "._pdl-datastream._tcp.local") != r->name) continue;
      if (!s.resolveSilent)
        sim.due_.push_back({std::chrono::steady_clock::now() + std::chrono::milliseconds(s.resolveDelayMs), r.get(),
                            static_cast<int>(i), false});
      break;
    }
    sim.requests_.push_back(std::move(r));
    sim.changed_.notify_all();
    return dnsapi::kRequestPending;
  }

  static dnsapi::Status Cancel(dnsapi::Cancel* cancel, const char* entry) {
    SimDnsapi& sim = Sim();
    std::lock_guard<std::mutex> hold(sim.lock_);
    ++sim.calls_[entry];
    return CancelRequest(sim, Open(cancel));
  }
  // Under the lock.
  static dnsapi::Status CancelRequest(SimDnsapi& sim, SimDnsapi::Request* r) {
    if (!r) {
      ++sim.faults_;
      return 87;
    }
    // Completed a moment ago: the caller could not know yet.
    if (!r->open) return 87;
    r->open = false;
    sim.due_.push_back({std::chrono::steady_clock::now(), r, -1, true});
    sim.changed_.notify_all();
    return dnsapi::kSuccess;
  }
  static dnsapi::Status LX_DNSSD_API BrowseCancel(dnsapi::Cancel* cancel) {
    return Cancel(cancel, "DnsServiceBrowseCancel");
  }
  static dnsapi::Status LX_DNSSD_API ResolveCancel(dnsapi::Cancel* cancel) {
    return Cancel(cancel, "DnsServiceResolveCancel");
  }

  static SimDnsapi::Request* OpenQuery(const dnsapi::QueryCancel* cancel) {
    if (!cancel) return nullptr;
    void* handle = nullptr;
    std::memcpy(&handle, cancel->Reserved, sizeof handle);
    for (auto& r : Sim().requests_)
      if (r->query && handle == r.get()) return r.get();
    return nullptr;
  }

  static dnsapi::Status LX_DNSSD_API QueryEx(dnsapi::QueryRequest* request, dnsapi::QueryResult* results,
                                             dnsapi::QueryCancel* cancel) {
    SimDnsapi& sim = Sim();
    std::lock_guard<std::mutex> hold(sim.lock_);
    ++sim.calls_["DnsQueryEx"];
    if (!request || !results || request->Version != dnsapi::kRequestVersion1 ||
        results->Version != dnsapi::kResultsVersion1 || !request->QueryName || request->QueryType != dnsapi::kTypeA)
      return 87;
    std::u16string name = request->QueryName;
    sim.queried_.push_back(name);
    auto answer = sim.addresses.find(std::string(name.begin(), name.end()));
    if (answer != sim.addresses.end() && answer->second.synchronous) return sim.AnswerQuery(name, *results);
    if (!request->pQueryCompletionCallback || !cancel) return 87;
    auto r = std::make_unique<SimDnsapi::Request>();
    r->query = true;
    r->callback = reinterpret_cast<void*>(request->pQueryCompletionCallback);
    r->context = request->pQueryContext;
    r->name = name;
    r->results = results;
    void* handle = r.get();
    std::memcpy(cancel->Reserved, &handle, sizeof handle);
    bool silent = answer != sim.addresses.end() && answer->second.silent;
    int delayMs = answer != sim.addresses.end() ? answer->second.delayMs : 0;
    if (!silent) sim.due_.push_back({std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs), r.get(), 0, false});
    sim.requests_.push_back(std::move(r));
    sim.changed_.notify_all();
    return dnsapi::kRequestPending;
  }

  static dnsapi::Status LX_DNSSD_API CancelQuery(dnsapi::QueryCancel* cancel) {
    SimDnsapi& sim = Sim();
    std::lock_guard<std::mutex> hold(sim.lock_);
    ++sim.calls_["DnsCancelQuery"];
    return CancelRequest(sim, OpenQuery(cancel));
  }

  static void LX_DNSSD_API FreeInstance(dnsapi::ServiceInstance* instance) {
    SimDnsapi& sim = Sim();
    std::lock_guard<std::mutex> hold(sim.lock_);
    ++sim.calls_["DnsServiceFreeInstance"];
    if (!sim.replies_.erase(instance)) ++sim.faults_;
  }

  static void LX_DNSSD_API RecordListFree(dnsapi::Record* records, int freeType) {
    SimDnsapi& sim = Sim();
    std::lock_guard<std::mutex> hold(sim.lock_);
    ++sim.calls_["DnsRecordListFree"];
    if (freeType != dnsapi::kFreeRecordList || !sim.replies_.erase(records)) ++sim.faults_;
  }
};

std::map<std::string, void*> SimDnsapi::Entries() {
  return {
      {"DnsServiceBrowse", reinterpret_cast<void*>(&SimDnsapiEntries::Browse)},
      {"DnsServiceBrowseCancel", reinterpret_cast<void*>(&SimDnsapiEntries::BrowseCancel)},
      {"DnsServiceResolve", reinterpret_cast<void*>(&SimDnsapiEntries::Resolve)},
      {"DnsServiceResolveCancel", reinterpret_cast<void*>(&SimDnsapiEntries::ResolveCancel)},
      {"DnsServiceFreeInstance", reinterpret_cast<void*>(&SimDnsapiEntries::FreeInstance)},
      {"DnsRecordListFree", reinterpret_cast<void*>(&SimDnsapiEntries::RecordListFree)},
      {"DnsQueryEx", reinterpret_cast<void*>(&SimDnsapiEntries::QueryEx)},
      {"DnsCancelQuery", reinterpret_cast<void*>(&SimDnsapiEntries::CancelQuery)},
  };
}

}  // namespace lx
