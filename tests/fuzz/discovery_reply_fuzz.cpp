// Any resolve, address or browse reply a host on the link can make: the
// handlers keep a defined list (a record's name never longer than what was
// announced, a port in 0..65535) and never read outside what they were given.
// Input: flags byte, port (2 bytes), address family and bytes (5), then the
// full name and the TXT record separated by the first 0xFF byte.
#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "installer/core/trace.h"
#include "installer/discovery/net_search.h"
#include "platform/debug_output.h"
#include "platform/sim/sim_dnssd.h"
#include "platform/sim/sim_libraries.h"

namespace {

struct World {
  World() {
    // No resolve or address lookup of its own: the handlers run alone.
    auto entries = lx::SimDnssd::Entries();
    entries.erase("DNSServiceResolve");
    entries.erase("DNSServiceGetAddrInfo");
    libraries.Install(u"C:\\Setup\\dnssd.dll", entries);
    dnssd.Load(u"C:\\Setup\\dnssd.dll");
    lx::ModelEntry model;
    model.HOSTNAME = u"LX";
    config.modelNames = {u"LX220"};
    config.models[u"LX220"] = model;
    config.modelCount = 1;
    os.sockets = &mdns;
    os.debug = &trace;
    lx::debugEnabled = 1;
  }
  struct : lx::IDebugOutput {
    void OutputA(const std::string& text) override { bytes += text.size(); }
    void OutputW(const std::u16string& text) override { bytes += text.size(); }
    size_t bytes = 0;
  } trace;
  lx::SimDnssd mdns;
  lx::SimLibraries libraries;
  lx::DnssdBinding dnssd{&libraries};
  lx::InstallerConfig config;
  lx::Os os;
};

class Window : public lx::INetSearchSink {
 public:
  bool IsWindow() override { return true; }
  void Post(unsigned, uintptr_t) override {}
  bool SetTimer(unsigned, uint32_t) override { return true; }
  void KillTimer(unsigned) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  if (size < 8) return 0;
  uint8_t flags = data[0];
  uint16_t port = static_cast<uint16_t>(data[1] | (data[2] << 8));
  sockaddr_in address = {};
  address.sin_family = data[3] & 1 ? AF_INET : AF_INET6;
  std::memcpy(&address.sin_addr, data + 4, 4);
  std::string rest(reinterpret_cast<const char*>(data + 8), size - 8);
  size_t split = rest.find('\xff');
  // Exactly sized copies, so a read past either end is caught.
  std::string nameText = rest.substr(0, split);
  std::vector<unsigned char> txt;
  if (split != std::string::npos) txt.assign(rest.begin() + split + 1, rest.end());
  if (txt.size() > 0xFFFF) txt.resize(0xFFFF);
  std::unique_ptr<char[]> name(new char[nameText.size() + 1]);
  std::memcpy(name.get(), nameText.c_str(), nameText.size() + 1);
  std::unique_ptr<unsigned char[]> record(new unsigned char[txt.size() ? txt.size() : 1]);
  if (!txt.empty()) std::memcpy(record.get(), txt.data(), txt.size());

  world.config.install.PRODUCT = flags & 1 ? u"" : u"LX";
  lx::NetSearch search(world.os, world.dnssd, world.config);
  Window window;
  auto session = search.NewSession();
  session->notify = &window;
  session->stop = (flags & 2) != 0;
  lx::NetSearch::OnBrowseReply(nullptr, 0, 1, 0, name.get(), "_pdl-datastream._tcp.", "local.", session.get());
  lx::NetSearch::OnResolveReply(nullptr, 0, 1, flags & 4 ? -65538 : 0, name.get(), name.get(), port,
                                static_cast<uint16_t>(txt.size()), flags & 8 ? nullptr : record.get(),
                                session.get());
  session->awaitingAddress = flags & 16 ? 0 : lx::NetSearchSession::kNoRecord;
  lx::NetSearch::OnAddressReply(nullptr, 0, 1, 0, name.get(), reinterpret_cast<const sockaddr*>(&address), 120,
                                session.get());
  for (const auto& r : search.List().Copy()) {
    // One UTF-16 unit at most per byte announced.
    if (r.name.size() > nameText.size() || r.port < 0 || r.port > 0xFFFF || r.product.size() > 255) abort();
    if (!r.address.empty() && r.address.size() > 15) abort();
    // A kept host target is a host name: no root dot, no blank, no escape.
    if (r.hostTarget.size() > 253 || (!r.hostTarget.empty() && r.hostTarget.back() == u'.') ||
        r.hostTarget.find_first_of(u" \\\"") != std::u16string::npos)
      abort();
  }
  return 0;
}
