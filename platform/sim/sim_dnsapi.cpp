#include "platform/sim/sim_dnsapi.h"

#include <algorithm>
#include <cstring>

#if defined(_WIN32)
#include <winsock2.h>
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
  std::u16string name;  // a resolve's query name
  bool open = true;
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
    SimDnsapi::Request* r = Open(cancel);
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
  };
}

}  // namespace lx
