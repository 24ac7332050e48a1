#include "installer/discovery/net_search.h"

#include <chrono>

#include "common/text.h"
#include "installer/core/trace.h"
#include "installer/discovery/service_names.h"
#include "platform/sockets.h"

namespace lx {

namespace {

constexpr char kRegType[] = "_pdl-datastream._tcp";
constexpr char kDomain[] = "local";

NetSearchSession* SessionOf(void* context) { return static_cast<NetSearchSession*>(context); }

const char* OrEmpty(const char* s) { return s ? s : ""; }

// Waits for the poll thread to end; true when it has.
bool WaitForThread(NetSearchSession& session, uint32_t ms) {
  std::unique_lock<std::mutex> hold(session.lock);
  return session.ended.wait_for(hold, std::chrono::milliseconds(ms), [&] { return session.threadDone; });
}

}  // namespace

NetSearch::NetSearch(const Os& os, DnssdBinding& dnssd, const InstallerConfig& config)
    : os_(os), dnssd_(dnssd), config_(config) {}

NetSearch::~NetSearch() {
  EndSearch();
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
  if (thread_.joinable()) {
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

  if (ServiceNameHasModel(config_.Models(), record.name) && Contains(record.product, config_.install.PRODUCT)) {
    size_t index = list_.Keep(session.generation, record);
    if (index == NetPrinterList::kFull)
      DebugTrace(os_, "NetSearch: the list holds %u printers; a new one is not kept",
                 static_cast<unsigned>(NetPrinterList::kMaxRecords));
    if (index != NetPrinterList::kRefused && index != NetPrinterList::kFull) {
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

}  // namespace lx
