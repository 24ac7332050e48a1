// Windows' DNS-SD road (dnsapi.dll from the system folder) over the simulated
// client: which binding searches, then browse, resolve, address and stop, and
// the conversion of what the system hands back.
#include <algorithm>
#include <map>

#include "installer/discovery/dnsapi_records.h"
#include "installer/discovery/tests/discovery_fixture.h"
#include "platform/sim/sim_dnsapi.h"

namespace lx::test {
namespace {

constexpr char16_t kSystemDnsapi[] = u"C:\\Windows\\system32\\dnsapi.dll";

class WindowsRoad : public DiscoveryTest {
 protected:
  // The system's library, less the entry points named (an older Windows).
  void InstallSystemLibrary(std::vector<std::string> missing = {}) {
    auto entries = SimDnsapi::Entries();
    for (const auto& name : missing) entries.erase(name);
    libraries.Install(kSystemDnsapi, entries);
    ASSERT_EQ(DnsapiLibraryPath(os), kSystemDnsapi);
    ASSERT_TRUE(dnsapi.Load(DnsapiLibraryPath(os)));
  }
  // Every request closed and every reply freed, after the callbacks due have run.
  void ExpectAllReleased() {
    EXPECT_TRUE(windows.WaitIdle());
    EXPECT_EQ(windows.OpenRequests(), 0);
    EXPECT_EQ(windows.UnfreedReplies(), 0);
    EXPECT_EQ(windows.Faults(), 0);
  }
  bool WaitForTrace(const std::string& line, int ms = 3000) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!Traced(line))
      if (std::chrono::steady_clock::now() > until) return false;
      else std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return true;
  }

  SimDnsapi windows;
  DnsapiBinding dnsapi{&libraries};
  NetSearch road{os, dnssd, config, &dnsapi};
};

using WindowsBinding = WindowsRoad;
using WindowsBrowse = WindowsRoad;
using WindowsResolve = WindowsRoad;
using WindowsAddress = WindowsRoad;
using WindowsStop = WindowsRoad;

TEST_F(WindowsBinding, WithoutDnssdBesideTheSystemApiSearchesOnItsOwnThreads) {
  InstallSystemLibrary();
  windows.services = {Printer("LX-220 Label Printer")};
  windows.services[0].host = "lx220-0a1b.local.";
  road.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(1));
  EXPECT_EQ(page.Posts(), std::vector<unsigned>{kWmNetSearchOne});
  auto list = road.List().Copy();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, u"LX-220 Label Printer");
  EXPECT_EQ(list[0].hostTarget, u"lx220-0a1b.local");
  EXPECT_EQ(list[0].port, 9100);
  EXPECT_EQ(list[0].product, u"LX-220");
  EXPECT_EQ(list[0].address, u"192.0.2.10");
  EXPECT_FALSE(windows.CallbackOnCallerThread());
  EXPECT_EQ(mdns.Calls("select"), 0);
  for (const char* line : {"NetSearch: Windows DNS-SD (dnsapi.dll) searches", "DnsServiceBrowse started",
                           "DnsServiceBrowse found LX-220 Label Printer._pdl-datastream._tcp.local",
                           "DnsServiceResolve resolved LX-220 Label Printer port=9100", "product = LX-220",
                           "address = 192.0.2.10"})
    EXPECT_TRUE(Traced(line)) << line << "\n" << debug.All();
  EXPECT_EQ(page.timers, (std::vector<std::pair<unsigned, uint32_t>>{{kSearchWindowTimerId, 5000}}));
  road.OnSearchWindowEnd();
  EXPECT_EQ(page.Posts().back(), kWmNetSearchEnd);
  road.StopNetSearch();
  EXPECT_EQ(road.List().Size(), 1u);
  ExpectAllReleased();
}

TEST_F(WindowsBinding, DnssdBesideWinsAndAnOlderSystemSearchesNothing) {
  InstallSystemLibrary({"DnsServiceBrowse"});
  road.StartNetSearch(&page);
  EXPECT_TRUE(Traced("NetSearch: no DNS-SD library searches"));
  EXPECT_EQ(page.timers.size(), 1u) << "the window still ends";
  road.StopNetSearch();

  InstallSystemLibrary();
  InstallLibrary();
  mdns.services = {Printer("LX-220 Dock")};
  road.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(1));
  road.StopNetSearch();
  EXPECT_TRUE(Traced("NetSearch: dnssd.dll searches"));
  EXPECT_EQ(windows.Calls("DnsServiceBrowse"), 0);
}

TEST_F(WindowsBrowse, TwoPrintersMergeByNameAndAnAddressChangeReplacesInPlace) {
  InstallSystemLibrary();
  RecordingWindow listPage;
  road.SetListPage(&listPage);
  SimMdnsService stranger = Printer("Office Laser");
  stranger.announceDelayMs = 10;
  SimMdnsService second = Printer("LX-320 Shipping", "LX-320", "192.0.2.11");
  second.announceDelayMs = 20;
  windows.services = {Printer("LX-220 Dock"), stranger, second};
  road.StartNetSearch(&page);
  ASSERT_TRUE(listPage.WaitForPosts(1));
  SimMdnsService moved = Printer("LX-220 Dock", "LX-220", "192.0.2.99");
  windows.Announce(moved);
  ASSERT_TRUE(listPage.WaitForPosts(2));
  auto list = road.List().Copy();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, u"LX-220 Dock") << "the row keeps its place";
  EXPECT_EQ(list[0].address, u"192.0.2.99") << debug.All();
  EXPECT_EQ(list[1].name, u"LX-320 Shipping");
  EXPECT_EQ(page.Posts(), (std::vector<unsigned>{kWmNetSearchOne, kWmNetSearchOne}));
  road.StopNetSearch();
  ExpectAllReleased();
}

TEST_F(WindowsBrowse, AFailedBrowseTracesItsStatusAndTheWindowStillEnds) {
  InstallSystemLibrary();
  windows.browseStatus = 1460;
  road.StartNetSearch(&page);
  EXPECT_TRUE(Traced("DnsServiceBrowse failed status=1460"));
  EXPECT_TRUE(road.IsCurrent(road.Number()));
  road.OnSearchWindowEnd();
  EXPECT_EQ(page.Posts(), std::vector<unsigned>{kWmNetSearchEnd});
  road.StopNetSearch();
  ExpectAllReleased();
}

TEST_F(WindowsResolve, ErrorsDelaysAndSilenceEachEndDefined) {
  InstallSystemLibrary();
  SimMdnsService failing = Printer("LX-220 Broken");
  failing.resolveError = -65537;
  SimMdnsService late = Printer("LX-220 Late");
  late.resolveDelayMs = 60;
  SimMdnsService silent = Printer("LX-220 Silent");
  silent.resolveSilent = true;
  windows.services = {failing, silent, late};
  road.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(1));
  auto list = road.List().Copy();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, u"LX-220 Late");
  EXPECT_TRUE(Traced("DnsServiceResolve callback failed status=1460"));
  EXPECT_EQ(windows.OpenRequests(), 2) << "the browse and the silent resolve";
  road.StopNetSearch();
  EXPECT_EQ(windows.Calls("DnsServiceResolveCancel"), 1);
  EXPECT_EQ(windows.Calls("DnsServiceBrowseCancel"), 1);
  ExpectAllReleased();
  EXPECT_TRUE(Traced("NetSearch: resolve reply after the stop ignored"));
}

TEST_F(WindowsAddress, Ipv6OnlyPortsAndHostTargetsGiveDefinedRows) {
  InstallSystemLibrary();
  SimMdnsService v6 = Printer("LX-220 Six", "LX-220", "");
  v6.port = 0;
  v6.host = "lx220-six.local.";
  SimMdnsService odd = Printer("LX-220 Odd");
  odd.host = "bad host;calc.local.";
  odd.port = 65535;
  odd.announceDelayMs = 20;
  windows.services = {v6, odd};
  RecordingWindow listPage;
  road.SetListPage(&listPage);
  road.StartNetSearch(&page);
  ASSERT_TRUE(listPage.WaitForPosts(1));
  road.StopNetSearch();
  auto list = road.List().Copy();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].address, u"");
  EXPECT_EQ(list[0].hostTarget, u"lx220-six.local");
  EXPECT_EQ(list[0].port, 0);
  EXPECT_EQ(list[1].hostTarget, u"") << "installed by its address, nothing reaches a command line";
  EXPECT_EQ(list[1].address, u"192.0.2.10");
  EXPECT_EQ(list[1].port, 65535);
  EXPECT_TRUE(Traced("NetSearch: an IPv6-only answer has no IPv4 address"));
  ExpectAllReleased();
}

// An answer without an IPv4 address: the host target's A record by DnsQueryEx,
// answered late, at once, with AAAA only or not at all; a host target that
// is not a host name is never asked.
TEST_F(WindowsAddress, AnswersWithoutIpv4GetTheHostsARecordAndBadOnesStayWithout) {
  InstallSystemLibrary();
  auto sixOnly = [](const std::string& name, const std::string& host) {
    SimMdnsService s = Printer(name, "LX-220", "");
    s.host = host;
    return s;
  };
  windows.services = {sixOnly("LX-220 Late", "lx220-late.local."), sixOnly("LX-220 Cached", "lx220-cached.local."),
                      sixOnly("LX-220 V6", "lx220-v6.local."), sixOnly("LX-220 Unknown", "lx220-unknown.local."),
                      sixOnly("LX-220 Bad", "bad host;calc.local.")};
  windows.addresses["lx220-late.local"] = {"192.0.2.61", 40};
  SimDnsapi::AddressAnswer cached{"192.0.2.62"};
  cached.synchronous = true;
  windows.addresses["lx220-cached.local"] = cached;
  windows.addresses["lx220-v6.local"] = {""};
  RecordingWindow listPage;
  road.SetListPage(&listPage);
  road.StartNetSearch(&page);
  ASSERT_TRUE(WaitForTrace("address = 192.0.2.61"));
  EXPECT_TRUE(windows.WaitIdle());
  auto list = road.List().Copy();
  ASSERT_EQ(list.size(), 5u);
  std::map<std::u16string, std::u16string> addresses;
  for (const auto& r : list) addresses[r.name] = r.address;
  EXPECT_EQ(addresses[u"LX-220 Late"], u"192.0.2.61");
  EXPECT_EQ(addresses[u"LX-220 Cached"], u"192.0.2.62");
  EXPECT_EQ(addresses[u"LX-220 V6"], u"");
  EXPECT_EQ(addresses[u"LX-220 Unknown"], u"");
  EXPECT_EQ(addresses[u"LX-220 Bad"], u"");
  std::vector<std::u16string> queried = windows.Queried();
  std::sort(queried.begin(), queried.end());
  EXPECT_EQ(queried, (std::vector<std::u16string>{u"lx220-cached.local", u"lx220-late.local", u"lx220-unknown.local",
                                                  u"lx220-v6.local"}))
      << "the bad host target is never asked";
  for (const char* line :
       {"DnsQueryEx started for lx220-late.local", "address = 192.0.2.62",
        "DnsQueryEx for lx220-v6.local answered IPv6 addresses only", "DnsQueryEx callback failed status=9003",
        "NetSearch: no host name to ask for an IPv4 address; the row has none"})
    EXPECT_TRUE(Traced(line)) << line << "\n" << debug.All();
  // The late address reaches the shown list as news.
  EXPECT_GE(listPage.Posts().size(), 2u);
  road.StopNetSearch();
  EXPECT_EQ(windows.Calls("DnsCancelQuery"), 0) << "every query had answered";
  ExpectAllReleased();
}

TEST_F(WindowsAddress, WithoutDnsQueryExTheRowStaysWithoutAnAddress) {
  InstallSystemLibrary({"DnsQueryEx"});
  EXPECT_TRUE(dnsapi.Offers());
  SimMdnsService six = Printer("LX-220 Six", "LX-220", "");
  six.host = "lx220-six.local.";
  windows.services = {six};
  windows.addresses["lx220-six.local"] = {"192.0.2.60"};
  road.StartNetSearch(&page);
  ASSERT_TRUE(WaitForTrace("NetSearch: no DnsQueryEx; the row has no IPv4 address")) << debug.All();
  road.StopNetSearch();
  ASSERT_EQ(road.List().Size(), 1u);
  EXPECT_EQ(road.List().Copy()[0].address, u"");
  EXPECT_EQ(windows.Calls("DnsQueryEx"), 0);
  ExpectAllReleased();
}

// A stop cancels the queries still open without waiting for them; answers
// racing the cancel and callbacks after it are freed and change nothing.
TEST_F(WindowsStop, AddressQueriesAreCancelledAndLateAnswersChangeNothing) {
  InstallSystemLibrary();
  windows.replyRacesCancel = true;
  SimMdnsService slow = Printer("LX-220 Slow", "LX-220", "");
  slow.host = "lx220-slow.local.";
  SimMdnsService hanging = Printer("LX-220 Hanging", "LX-220", "");
  hanging.host = "lx220-hanging.local.";
  windows.services = {slow, hanging};
  windows.addresses["lx220-slow.local"] = {"192.0.2.63", 60};
  SimDnsapi::AddressAnswer silent;
  silent.silent = true;
  windows.addresses["lx220-hanging.local"] = silent;
  road.StartNetSearch(&page);
  ASSERT_TRUE(WaitForTrace("DnsQueryEx started for lx220-slow.local"));
  ASSERT_TRUE(WaitForTrace("DnsQueryEx started for lx220-hanging.local"));
  road.StopNetSearch();
  EXPECT_EQ(windows.Calls("DnsCancelQuery"), 2);
  EXPECT_TRUE(windows.WaitIdle());
  for (const auto& r : road.List().Copy()) EXPECT_EQ(r.address, u"") << Utf16ToUtf8(r.name);
  EXPECT_TRUE(Traced("NetSearch: address query cancelled"));
  EXPECT_TRUE(Traced("NetSearch: address reply after the stop ignored")) << debug.All();
  ExpectAllReleased();

  // A query still open when the engine goes: its cancellation's callback finds none.
  windows.replyRacesCancel = false;
  windows.services = {hanging};
  {
    NetSearch brief{os, dnssd, config, &dnsapi};
    brief.StartNetSearch(&page);
    ASSERT_TRUE(WaitForTrace("DnsQueryEx started for lx220-hanging.local"));
  }
  EXPECT_TRUE(windows.WaitIdle());
  EXPECT_EQ(windows.OpenRequests(), 0);
  EXPECT_EQ(windows.Faults(), 0);
}

TEST_F(WindowsStop, RepliesRacingTheCancelAreFreedAndNeverReachTheNextSearch) {
  InstallSystemLibrary();
  windows.replyRacesCancel = true;
  SimMdnsService slow = Printer("LX-220 Slow");
  slow.resolveDelayMs = 80;
  windows.services = {slow};
  road.StartNetSearch(&page);
  ASSERT_TRUE(WaitForTrace("DnsServiceBrowse found LX-220 Slow._pdl-datastream._tcp.local"));
  road.StopNetSearch();
  windows.services.clear();
  road.StartNetSearch(&page);
  EXPECT_TRUE(windows.WaitIdle());
  EXPECT_EQ(windows.UnfreedReplies(), 0);
  EXPECT_EQ(road.List().Size(), 0u) << debug.All();
  EXPECT_TRUE(Traced("NetSearch: resolve reply after the stop ignored"));
  road.StopNetSearch();
  ExpectAllReleased();
}

TEST_F(WindowsStop, AFloodIsBoundedAndALateCallbackAfterTheEngineIsGoneDoesNothing) {
  InstallSystemLibrary();
  for (int i = 0; i < 2000; ++i) windows.services.push_back(Printer("LX-220 #" + std::to_string(i)));
  {
    NetSearch brief{os, dnssd, config, &dnsapi};
    brief.StartNetSearch(&page);
    ASSERT_TRUE(WaitForTrace("NetSearch: 256 resolves started; LX-220 #256._pdl-datastream._tcp.local is not resolved"));
    EXPECT_TRUE(windows.WaitIdle(10000));
    EXPECT_EQ(brief.List().Size(), NetPrinterList::kMaxRecords);
    SimMdnsService hanging = Printer("LX-220 Hanging");
    hanging.resolveSilent = true;
    windows.services.clear();
    windows.Announce(hanging);
    ASSERT_TRUE(WaitForTrace("DnsServiceBrowse found LX-220 Hanging._pdl-datastream._tcp.local"));
  }
  // The engine is gone; the cancellations' callbacks come now and do nothing.
  EXPECT_TRUE(windows.WaitIdle());
  EXPECT_EQ(windows.OpenRequests(), 0);
  EXPECT_EQ(windows.Faults(), 0);
}

// What DnsQueryEx hands back: the first usable A record, whatever comes before it.
TEST(DnsapiRecords, AnAnswersFirstUsableARecordGivesTheAddress) {
  dnsapi::Record six = {}, empty = {}, short_ = {}, a = {};
  six.wType = dnsapi::kTypeAaaa;
  empty.wType = short_.wType = a.wType = dnsapi::kTypeA;
  empty.wDataLength = a.wDataLength = 4;
  short_.ipAddress = 0x0100000A;
  a.ipAddress = 0x3F0200C0;  // 192.0.2.63 in memory order on a little-endian host
  six.pNext = &empty;
  empty.pNext = &short_;
  short_.pNext = &a;
  EXPECT_EQ(AddressFromRecords(&six).address, u"192.0.2.63");
  short_.pNext = nullptr;
  EXPECT_TRUE(AddressFromRecords(&six).ipv6Only) << "no A record fit";
  EXPECT_FALSE(AddressFromRecords(nullptr).ipv6Only);
  a.pNext = &a;  // a broken list ends all the same
  EXPECT_EQ(AddressFromRecords(&a).address, u"192.0.2.63");
}

// The conversion alone, with what a hostile or broken answer can hold.
TEST(DnsapiRecords, BadInstancesGiveARowOrNoneAndSayWhy) {
  std::u16string name = u"LX-220\\032A._pdl-datastream._tcp.local";
  std::u16string host = u"lx220.local.";
  std::u16string k1 = u"", v1 = u"x", k2 = u"PRODUCT", k3 = u"product", v3 = u"second";
  std::u16string big(70000, u'p');
  char16_t* keys[] = {k1.data(), k2.data(), k3.data()};
  char16_t* values[] = {v1.data(), big.data(), v3.data()};
  uint32_t ip4 = 0x0A0200C0;  // 192.0.2.10 in memory order on a little-endian host
  dnsapi::ServiceInstance in = {};
  in.pszInstanceName = name.data();
  in.pszHostName = host.data();
  in.ip4Address = &ip4;
  in.wPort = 9100;
  in.dwPropertyCount = 3;
  in.keys = keys;
  in.values = values;
  InstanceRecord r = RecordFromInstance(in);
  EXPECT_EQ(r.refusal, nullptr);
  EXPECT_EQ(r.record.name, u"LX-220 A");
  EXPECT_EQ(r.record.hostTarget, u"lx220.local");
  EXPECT_EQ(r.record.product, u"") << "the first product key counts; its 70000 characters do not fit";
  EXPECT_NE(r.productNote, nullptr);

  values[1] = nullptr;  // a key without a value
  EXPECT_EQ(RecordFromInstance(in).record.product, u"");
  std::u16string lone = u"LX-220 \xD800._pdl-datastream._tcp.local";
  in.pszInstanceName = lone.data();
  EXPECT_EQ(RecordFromInstance(in).record.name, u"LX-220 \xFFFD");

  std::u16string empty, longName(300, u'L');
  for (std::u16string* bad : {&empty, &longName}) {
    in.pszInstanceName = bad->data();
    EXPECT_NE(RecordFromInstance(in).refusal, nullptr);
  }
  in.pszInstanceName = nullptr;
  in.keys = nullptr;
  EXPECT_NE(RecordFromInstance(in).refusal, nullptr);
}

}  // namespace
}  // namespace lx::test
