#include "installer/discovery/net_search.h"

#include <chrono>

#include "common/text.h"
#include "installer/core/trace.h"
#include "installer/discovery/dnsapi_records.h"
#include "installer/discovery/service_names.h"
#include "platform/sockets.h"

namespace lx {

namespace {

constexpr char kRegType[] = "_pdl-datastream._tcp";
constexpr char kDomain[] = "local";
// Static: the browse request's query name outlives any request.
constexpr char16_t kWindowsQueryName[] = u"_pdl-datastream._tcp.local";

NetSearchSession* SessionOf(void* context) { return static_cast<NetSearchSession*>(context); }

const char* OrEmpty(const char* s) { return s ? s : ""; }

// Waits for the poll thread to end; true when it has.
bool WaitForThread(NetSearchSession& session, uint32_t ms) {
  std::unique_lock<std::mutex> hold(session.lock);
  return session.ended.wait_for(hold, std::chrono::milliseconds(ms), [&] { return session.threadDone; });
}

}  // namespace

NetSearch::NetSearch(const Os& os, DnssdBinding& dnssd, const InstallerConfig& config, DnsapiBinding* dnsapi)
    : os_(os), dnssd_(dnssd), dnsapi_(dnsapi), config_(config) {}

NetSearch::~NetSearch() {
  EndSearch();
  // A cancelled request's callback may still come: it finds no engine and does
  // nothing, and its session stays reachable until the process ends.
  static std::mutex parkedLock;
  static std::vector<std::shared_ptr<NetSearchSession>> parked;
  for (auto& session : windowsSessions_) {
    std::unique_lock<std::mutex> hold(session->lock);
    session->ended.wait(hold, [&] { return session->inCallback == 0; });
    session->engine = nullptr;
  }
  {
    std::lock_guard<std::mutex> hold(parkedLock);
    parked.insert(parked.end(), windowsSessions_.begin(), windowsSessions_.end());
  }
  // A thread left running by a stop still uses this object.
  for (auto& orphan : orphans_) {
    std::unique_lock<std::mutex> hold(orphan->lock);
    orphan->ended.wait(hold, [&] { return orphan->threadDone; });
  }
}

std::shared_ptr<NetSearchSession> NetSearch::NewSession() {
  auto session = std::make_shared<NetSearchSession>();
  session->engine = this;
  session->generation = list_.Clear();
  session->number = number_;
  return session;
}

void NetSearch::EndSearch() {
  started_ = false;
  std::shared_ptr<NetSearchSession> session = std::move(session_);
  if (session) session->stop = true;
  if (session && session->windowsRoad) {
    EndWindowsSearch(*session);
  } else if (thread_.joinable()) {
    bool ended = WaitForThread(*session, kStopWaitMs);
    if (!ended) {
      std::lock_guard<std::mutex> hold(session->lock);
      // The thread may still be inside the library with the browse reference:
      // it releases the reference itself when it ends.
      if (!session->threadDone) session->threadReleasesBrowse = true;
      else ended = true;
    }
    if (ended) {
      thread_.join();
    } else {
      DebugTrace(os_, "NetSearch: poll thread still busy after %u ms; it ends the browse itself", kStopWaitMs);
      thread_.detach();
      orphans_.push_back(session);
    }
    if (ended && session->browse) dnssd_.RefDeallocate(session->browse);
  } else if (session && session->browse) {
    dnssd_.RefDeallocate(session->browse);
  }
  if (notify_ && timer_) {
    notify_->KillTimer(timer_);
    timer_ = 0;
  }
}

void NetSearch::StartNetSearch(INetSearchSink* window) {
  EndSearch();
  // A dead window gets no timer, so a later kill never aims at the wrong one.
  if (!window || !window->IsWindow()) return;
  if (window->SetTimer(kSearchWindowTimerId, kSearchWindowMs)) timer_ = kSearchWindowTimerId;
  notify_ = window;
  // 0 is never a search's number.
  if (++number_ == 0) number_ = 1;
  started_ = true;
  auto session = NewSession();
  session->notify = window;
  if (OnWindowsRoad()) {
    DebugTrace(os_, "NetSearch: Windows DNS-SD (dnsapi.dll) searches");
    StartWindowsSearch(session);
    return;
  }
  DebugTrace(os_, "NetSearch: %s searches", dnssd_.Loaded() ? "dnssd.dll" : "no DNS-SD library");
  dnssd::ServiceRef browse = nullptr;
  dnssd::ErrorType error = dnssd_.Browse(&browse, 0, 0, kRegType, kDomain, &NetSearch::OnBrowseReply, session.get());
  if (error != dnssd::kNoError) {
    DebugTrace(os_, "DNSServiceBrowse Fail error=%d", error);
    return;
  }
  session->browse = browse;
  session_ = session;
  thread_ = std::thread(&NetSearch::PollThread, this, session);
}

void NetSearch::StopNetSearch() { EndSearch(); }

void NetSearch::OnSearchWindowEnd() {
  if (notify_) notify_->Post(kWmNetSearchEnd, number_);
  if (timer_) {
    if (notify_) notify_->KillTimer(timer_);
    timer_ = 0;
  }
}

void NetSearch::SetListPage(INetSearchSink* page) { listPage_ = page; }

void NetSearch::PollThread(std::shared_ptr<NetSearchSession> session) {
  intptr_t socket = session->browse ? dnssd_.RefSockFD(session->browse) : -1;
  if (session->browse && socket < 0) DebugTrace(os_, "NetSearch: the browse has no socket");
  while (socket >= 0 && !session->stop) {
    int ready = os_.sockets->WaitReadable(socket, kPollTimeoutMs);
    if (ready < 0) {
      // An error would come back at once, every time.
      DebugTrace(os_, "NetSearch: select failed; the browse ends");
      break;
    }
    if (ready == 0 || session->stop) continue;
    dnssd::ErrorType error = dnssd_.ProcessResult(session->browse);
    if (error != dnssd::kNoError) {
      // A lost daemon leaves the socket readable: ending here avoids a busy loop.
      DebugTrace(os_, "NetSearch: DNSServiceProcessResult error=%d; the browse ends", error);
      break;
    }
  }
  bool releaseBrowse;
  {
    std::lock_guard<std::mutex> hold(session->lock);
    session->threadDone = true;
    releaseBrowse = session->threadReleasesBrowse;
    if (releaseBrowse) dnssd_.RefDeallocate(session->browse);
  }
  session->ended.notify_all();
}

bool NetSearch::RunUntilReply(NetSearchSession& session, dnssd::ServiceRef ref, const char* what) {
  intptr_t socket = dnssd_.RefSockFD(ref);
  if (socket < 0) {
    DebugTrace(os_, "NetSearch: %s has no socket", what);
    return false;
  }
  // Some libraries need several rounds before the first reply comes out.
  const unsigned before = session.replies;
  for (uint32_t waited = 0; waited < kReplyWaitMs; waited += kReplyWaitSliceMs) {
    if (session.stop) return false;
    int ready = os_.sockets->WaitReadable(socket, kReplyWaitSliceMs);
    if (ready < 0) break;
    if (ready == 0 || session.stop) continue;
    dnssd::ErrorType error = dnssd_.ProcessResult(ref);
    if (session.replies != before) return true;
    if (error != dnssd::kNoError) {
      DebugTrace(os_, "NetSearch: %s DNSServiceProcessResult error=%d", what, error);
      return false;
    }
  }
  DebugTrace(os_, "NetSearch: no %s reply within %u ms", what, kReplyWaitMs);
  return false;
}

void LX_DNSSD_API NetSearch::OnBrowseReply(dnssd::ServiceRef, dnssd::Flags, uint32_t interfaceIndex,
                                           dnssd::ErrorType error, const char* serviceName, const char* regtype,
                                           const char* replyDomain, void* context) {
  NetSearchSession* session = SessionOf(context);
  if (!session || session->stop || error != dnssd::kNoError) return;
  NetSearch& self = *session->engine;
  // Added and removed instances alike are resolved.
  dnssd::ServiceRef resolve = nullptr;
  dnssd::ErrorType started = self.dnssd_.Resolve(&resolve, 0, interfaceIndex, OrEmpty(serviceName), OrEmpty(regtype),
                                                 OrEmpty(replyDomain), &NetSearch::OnResolveReply, session);
  if (started != dnssd::kNoError) {
    DebugTrace(self.os_, "NetSearch: DNSServiceResolve error=%d", started);
    return;
  }
  self.RunUntilReply(*session, resolve, "resolve");
  self.dnssd_.RefDeallocate(resolve);
}

void LX_DNSSD_API NetSearch::OnResolveReply(dnssd::ServiceRef, dnssd::Flags, uint32_t interfaceIndex,
                                            dnssd::ErrorType error, const char* fullName, const char* hostTarget,
                                            uint16_t port, uint16_t txtLen, const unsigned char* txtRecord,
                                            void* context) {
  NetSearchSession* session = SessionOf(context);
  if (!session) return;
  ++session->replies;
  NetSearch& self = *session->engine;
  if (session->stop) {
    DebugTrace(self.os_, "NetSearch: resolve reply after the stop ignored");
    return;
  }
  if (error != dnssd::kNoError) {
    DebugTrace(self.os_, "ResolveCallback return Error=%d", error);
    return;
  }
  self.HandleResolve(*session, interfaceIndex, fullName, hostTarget, port, txtLen, txtRecord);
}

void NetSearch::HandleResolve(NetSearchSession& session, uint32_t interfaceIndex, const char* fullName,
                              const char* hostTarget, uint16_t port, uint16_t txtLen,
                              const unsigned char* txtRecord) {
  std::string full = OrEmpty(fullName);
  DebugTrace(os_, "%s", full.c_str());

  NetPrinterRecord record;
  // DNS-SD names are UTF-8; bytes that are not become U+FFFD, never dropped.
  record.name = Utf8ToUtf16(InstanceNameOf(full));
  record.port = os_.sockets->NetToHostShort(port);
  HostTarget host = HostTargetOf(hostTarget);
  record.hostTarget = host.name;
  if (host.refusal)
    DebugTrace(os_, "NetSearch: host target not kept (%s); the printer installs by its address", host.refusal);
  uint8_t valueLen = 0;
  const void* value = txtRecord ? dnssd_.TXTRecordGetValuePtr(txtLen, txtRecord, "product", &valueLen) : nullptr;
  if (value && valueLen > 0) {
    auto* begin = static_cast<const unsigned char*>(value);
    // Only a value inside the record is read, whatever the library answers.
    if (begin >= txtRecord && begin + valueLen <= txtRecord + txtLen) {
      std::string product(reinterpret_cast<const char*>(begin), valueLen);
      DebugTrace(os_, "product = %s", product.c_str());
      record.product = Utf8ToUtf16(product);
    } else {
      DebugTrace(os_, "NetSearch: TXT value outside its record ignored");
    }
  }

  {
    size_t index = KeepIfModel(session, record);
    if (index != NetPrinterList::kRefused) {
      session.awaitingAddress = index;
      dnssd::ServiceRef lookup = nullptr;
      if (dnssd_.GetAddrInfo(&lookup, 0, interfaceIndex, dnssd::kProtocolIPv4, OrEmpty(hostTarget),
                             &NetSearch::OnAddressReply, &session) == dnssd::kNoError) {
        RunUntilReply(session, lookup, "address");
        dnssd_.RefDeallocate(lookup);
      }
      session.awaitingAddress = NetSearchSession::kNoRecord;
    }
  }
  PostCount(session);
}

size_t NetSearch::KeepIfModel(NetSearchSession& session, const NetPrinterRecord& record) {
  if (!ServiceNameHasModel(config_.Models(), record.name) || !Contains(record.product, config_.install.PRODUCT))
    return NetPrinterList::kRefused;
  size_t index = list_.Keep(session.generation, record);
  if (index == NetPrinterList::kFull) {
    DebugTrace(os_, "NetSearch: the list holds %u printers; a new one is not kept",
               static_cast<unsigned>(NetPrinterList::kMaxRecords));
    return NetPrinterList::kRefused;
  }
  return index;
}

void NetSearch::PostCount(NetSearchSession& session) {
  if (session.stop || !session.notify) return;
  size_t count = list_.Size();
  if (count == 1) {
    session.notify->Post(kWmNetSearchOne, session.number);
  } else if (count >= 2) {
    INetSearchSink* page = listPage_.load();
    (page ? page : session.notify)->Post(kWmNetSearchMore, session.number);
  }
}

void LX_DNSSD_API NetSearch::OnAddressReply(dnssd::ServiceRef, dnssd::Flags, uint32_t, dnssd::ErrorType error,
                                            const char*, const sockaddr* address, uint32_t, void* context) {
  NetSearchSession* session = SessionOf(context);
  if (!session) return;
  ++session->replies;
  NetSearch& self = *session->engine;
  if (session->stop) {
    DebugTrace(self.os_, "NetSearch: address reply after the stop ignored");
    return;
  }
  if (error != dnssd::kNoError) return;
  if (session->awaitingAddress == NetSearchSession::kNoRecord) {
    DebugTrace(self.os_, "NetSearch: address reply for no resolved instance ignored");
    return;
  }
  std::string text = self.os_.sockets->Ipv4Text(address);
  if (text.empty()) {
    DebugTrace(self.os_, "NetSearch: address reply without an IPv4 address ignored");
    return;
  }
  self.list_.SetAddress(session->generation, session->awaitingAddress, Utf8ToUtf16(text));
}

void NetSearch::StartWindowsSearch(const std::shared_ptr<NetSearchSession>& session) {
  session->windowsRoad = true;
  dnsapi::BrowseRequest request = {dnsapi::kRequestVersion1, 0, kWindowsQueryName, &NetSearch::OnDnsapiBrowse,
                                   session.get()};
  std::lock_guard<std::mutex> hold(session->lock);
  dnsapi::Status status = dnsapi_->Browse(&request, &session->browseCancel);
  if (status != dnsapi::kRequestPending) {
    // The page's window still ends on its timer, with an empty list.
    DebugTrace(os_, "DnsServiceBrowse failed status=%u", status);
    return;
  }
  DebugTrace(os_, "DnsServiceBrowse started");
  session->browseOpen = true;
  session_ = session;
  windowsSessions_.push_back(session);
}

void NetSearch::EndWindowsSearch(NetSearchSession& session) {
  // Cancelled outside the lock: a system may run a callback, which takes it, before a cancel returns.
  std::vector<dnsapi::Cancel*> resolves;
  std::vector<dnsapi::QueryCancel*> queries;
  bool browse;
  {
    std::lock_guard<std::mutex> hold(session.lock);
    browse = session.browseOpen;
    session.browseOpen = false;
    for (auto& resolve : session.resolves)
      if (resolve.open) {
        resolve.open = false;
        resolves.push_back(&resolve.cancel);
      }
    for (auto& query : session.addressQueries)
      if (query.open) {
        query.open = false;
        queries.push_back(&query.cancel);
      }
  }
  if (browse) {
    dnsapi::Status status = dnsapi_->BrowseCancel(&session.browseCancel);
    if (status != dnsapi::kSuccess) DebugTrace(os_, "DnsServiceBrowseCancel failed status=%u", status);
  }
  for (dnsapi::Cancel* cancel : resolves) {
    dnsapi::Status status = dnsapi_->ResolveCancel(cancel);
    if (status != dnsapi::kSuccess) DebugTrace(os_, "DnsServiceResolveCancel failed status=%u", status);
  }
  for (dnsapi::QueryCancel* cancel : queries) {
    dnsapi::Status status = dnsapi_->CancelQuery(cancel);
    if (status != dnsapi::kSuccess) DebugTrace(os_, "DnsCancelQuery failed status=%u", status);
  }
}

// Marks a Windows callback as running; false once the engine is gone.
static bool EnterCallback(NetSearchSession& session) {
  std::lock_guard<std::mutex> hold(session.lock);
  if (!session.engine) return false;
  ++session.inCallback;
  return true;
}

static void LeaveCallback(NetSearchSession& session) {
  {
    std::lock_guard<std::mutex> hold(session.lock);
    --session.inCallback;
  }
  session.ended.notify_all();
}

void LX_DNSSD_API NetSearch::OnDnsapiBrowse(dnsapi::Status status, void* context, dnsapi::Record* records) {
  NetSearchSession* session = SessionOf(context);
  if (!session || !EnterCallback(*session)) return;
  NetSearch& self = *session->engine;
  if (status != dnsapi::kSuccess) {
    if (status == dnsapi::kCancelled || session->stop) DebugTrace(self.os_, "NetSearch: browse ended status=%u", status);
    else DebugTrace(self.os_, "DnsServiceBrowse callback failed status=%u", status);
  } else {
    std::lock_guard<std::mutex> hold(session->lock);
    for (dnsapi::Record* record = records; record; record = record->pNext) {
      if (session->stop) {
        DebugTrace(self.os_, "NetSearch: browse reply after the stop ignored");
        break;
      }
      if (record->wType != dnsapi::kTypePtr || !record->pNameHost) continue;
      std::u16string name(record->pNameHost, StrLen16(record->pNameHost, kMaxInstanceText + 1));
      std::string name8 = Utf16ToUtf8(name);
      if (name.empty() || name.size() > kMaxInstanceText) {
        DebugTrace(self.os_, "NetSearch: browse record with %s name ignored", name.empty() ? "an empty" : "an overlong");
        continue;
      }
      DebugTrace(self.os_, "DnsServiceBrowse found %s", name8.c_str());
      if (session->resolves.size() >= kMaxResolves) {
        DebugTrace(self.os_, "NetSearch: %u resolves started; %s is not resolved", static_cast<unsigned>(kMaxResolves),
                   name8.c_str());
        continue;
      }
      DnsapiResolve& resolve = session->resolves.emplace_back();
      resolve.session = session;
      resolve.name = name;
      dnsapi::ResolveRequest request = {dnsapi::kRequestVersion1, 0, resolve.name.data(), &NetSearch::OnDnsapiResolve,
                                        &resolve};
      dnsapi::Status started = self.dnsapi_->Resolve(&request, &resolve.cancel);
      if (started != dnsapi::kRequestPending) {
        DebugTrace(self.os_, "DnsServiceResolve failed status=%u", started);
        session->resolves.pop_back();
        continue;
      }
      resolve.open = true;
    }
  }
  self.dnsapi_->RecordListFree(records);
  LeaveCallback(*session);
}

void LX_DNSSD_API NetSearch::OnDnsapiResolve(dnsapi::Status status, void* context,
                                             dnsapi::ServiceInstance* instance) {
  auto* resolve = static_cast<DnsapiResolve*>(context);
  if (!resolve || !resolve->session || !EnterCallback(*resolve->session)) return;
  NetSearchSession& session = *resolve->session;
  NetSearch& self = *session.engine;
  {
    std::lock_guard<std::mutex> hold(session.lock);
    resolve->open = false;
  }
  if (session.stop) DebugTrace(self.os_, "NetSearch: resolve reply after the stop ignored");
  else if (status != dnsapi::kSuccess) DebugTrace(self.os_, "DnsServiceResolve callback failed status=%u", status);
  else if (!instance) DebugTrace(self.os_, "NetSearch: resolve reply without an instance ignored");
  else self.HandleInstance(session, *instance);
  // Freed whatever became of it, also after the stop.
  self.dnsapi_->FreeInstance(instance);
  LeaveCallback(session);
}

void LX_DNSSD_API NetSearch::OnDnsapiAddress(void* context, dnsapi::QueryResult* results) {
  auto* query = static_cast<DnsapiAddressQuery*>(context);
  if (!query || !query->session || !EnterCallback(*query->session)) return;
  NetSearchSession& session = *query->session;
  NetSearch& self = *session.engine;
  bool wasOpen;
  {
    std::lock_guard<std::mutex> hold(session.lock);
    wasOpen = query->open;
    query->open = false;
  }
  dnsapi::QueryResult& r = results ? *results : query->results;
  if (session.stop)
    DebugTrace(self.os_, r.QueryStatus == dnsapi::kCancelled ? "NetSearch: address query cancelled"
                                                             : "NetSearch: address reply after the stop ignored");
  else if (!wasOpen) DebugTrace(self.os_, "NetSearch: second address reply ignored");
  else if (r.QueryStatus != dnsapi::kSuccess) DebugTrace(self.os_, "DnsQueryEx callback failed status=%u", r.QueryStatus);
  else self.HandleAddressAnswer(session, *query, r);
  // Freed whatever became of it; a second callback finds nothing left to free.
  self.dnsapi_->RecordListFree(r.pQueryRecords);
  r.pQueryRecords = nullptr;
  LeaveCallback(session);
}

void NetSearch::HandleInstance(NetSearchSession& session, const dnsapi::ServiceInstance& instance) {
  InstanceRecord found = RecordFromInstance(instance);
  if (found.refusal) {
    DebugTrace(os_, "NetSearch: resolved instance not kept (%s)", found.refusal);
    // A dropped instance still counts, as on the dns_sd road.
    PostCount(session);
    return;
  }
  NetPrinterRecord& record = found.record;
  std::string name = Utf16ToUtf8(record.name);
  DebugTrace(os_, "DnsServiceResolve resolved %s port=%d", name.c_str(), record.port);
  if (found.hostRefusal)
    DebugTrace(os_, "NetSearch: host target not kept (%s); the printer installs by its address", found.hostRefusal);
  if (found.productNote) DebugTrace(os_, "NetSearch: %s ignored", found.productNote);
  if (!record.product.empty()) DebugTrace(os_, "product = %s", Utf16ToUtf8(record.product).c_str());
  if (!record.address.empty()) DebugTrace(os_, "address = %s", Utf16ToUtf8(record.address).c_str());
  else DebugTrace(os_, "NetSearch: %s has no IPv4 address", found.ipv6Only ? "an IPv6-only answer" : "the answer");
  size_t row = KeepIfModel(session, record);
  if (row != NetPrinterList::kRefused && record.address.empty()) StartAddressQuery(session, row, record.hostTarget);
  PostCount(session);
}

void NetSearch::StartAddressQuery(NetSearchSession& session, size_t row, const std::u16string& host) {
  // A refused host target is empty: only a checked host name reaches the resolver.
  if (host.empty()) {
    DebugTrace(os_, "NetSearch: no host name to ask for an IPv4 address; the row has none");
    return;
  }
  if (!dnsapi_ || !dnsapi_->OffersAddressQuery()) {
    DebugTrace(os_, "NetSearch: no DnsQueryEx; the row has no IPv4 address");
    return;
  }
  std::string host8 = Utf16ToUtf8(host);
  std::lock_guard<std::mutex> hold(session.lock);
  if (session.stop) return;
  if (session.addressQueries.size() >= kMaxResolves) {
    DebugTrace(os_, "NetSearch: %u address queries started; %s is not asked", static_cast<unsigned>(kMaxResolves),
               host8.c_str());
    return;
  }
  DnsapiAddressQuery& query = session.addressQueries.emplace_back();
  query.session = &session;
  query.host = host;
  query.row = row;
  query.results.Version = dnsapi::kResultsVersion1;
  dnsapi::QueryRequest request = {dnsapi::kRequestVersion1, query.host.c_str(), dnsapi::kTypeA,
                                  dnsapi::kQueryStandard,   nullptr,            0,
                                  &NetSearch::OnDnsapiAddress, &query};
  // Open before the call: the callback, on another thread, waits for the lock.
  query.open = true;
  dnsapi::Status status = dnsapi_->QueryEx(&request, &query.results, &query.cancel);
  if (status == dnsapi::kRequestPending) {
    DebugTrace(os_, "DnsQueryEx started for %s", host8.c_str());
    return;
  }
  // Answered at once (from the cache, or refused): no callback follows.
  query.open = false;
  if (status != dnsapi::kSuccess) DebugTrace(os_, "DnsQueryEx failed status=%u", status);
  else HandleAddressAnswer(session, query, query.results);
  dnsapi_->RecordListFree(query.results.pQueryRecords);
  query.results.pQueryRecords = nullptr;
}

void NetSearch::HandleAddressAnswer(NetSearchSession& session, DnsapiAddressQuery& query,
                                    dnsapi::QueryResult& results) {
  std::string host8 = Utf16ToUtf8(query.host);
  AddressAnswer answer = AddressFromRecords(results.pQueryRecords);
  if (answer.address.empty()) {
    DebugTrace(os_, "DnsQueryEx for %s answered %s", host8.c_str(),
               answer.ipv6Only ? "IPv6 addresses only" : "no IPv4 address");
    return;
  }
  DebugTrace(os_, "address = %s", Utf16ToUtf8(answer.address).c_str());
  // A later announcement of the row may have brought another host or an address of its own.
  std::vector<NetPrinterRecord> rows = list_.Copy();
  if (query.row >= rows.size() || !EqualsIgnoreCase(rows[query.row].hostTarget, query.host) ||
      !rows[query.row].address.empty() || !list_.SetAddress(session.generation, query.row, answer.address)) {
    DebugTrace(os_, "NetSearch: the address of %s no longer fits its row; not kept", host8.c_str());
    return;
  }
  PostCount(session);
}

}  // namespace lx
