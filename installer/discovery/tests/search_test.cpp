// The search road: start, admission, count notices, the search window, the
// library beside the installer and nowhere else.
#include "installer/discovery/service_names.h"
#include "installer/discovery/tests/discovery_fixture.h"

namespace lx::test {
namespace {

using Search = DiscoveryTest;

TEST_F(Search, OnePrinterIsListedWithItsAddressBeforeTheNotice) {
  InstallLibrary();
  mdns.services = {Printer("LX-220 Label Printer")};
  search.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(1));
  EXPECT_EQ(page.Posts(), std::vector<unsigned>{kWmNetSearchOne});
  auto list = search.List().Copy();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, u"LX-220 Label Printer");
  EXPECT_EQ(list[0].port, 9100);
  EXPECT_EQ(list[0].product, u"LX-220");
  EXPECT_EQ(list[0].address, u"192.0.2.10");
  EXPECT_TRUE(Traced("LX-220\\032Label\\032Printer._pdl-datastream._tcp.local."));
  EXPECT_TRUE(Traced("product = LX-220"));
  EXPECT_EQ(page.timers, (std::vector<std::pair<unsigned, uint32_t>>{{kSearchWindowTimerId, 5000}}));

  search.OnSearchWindowEnd();
  EXPECT_EQ(page.Posts().back(), kWmNetSearchEnd);
  EXPECT_EQ(page.killed, std::vector<unsigned>{kSearchWindowTimerId});
  search.StopNetSearch();
  EXPECT_EQ(search.List().Size(), 1u) << "the list outlives the search";
  EXPECT_TRUE(WaitForNoLiveRefs());
  EXPECT_EQ(mdns.Faults(), 0);
}

TEST_F(Search, MoreReachesTheListPageAndDroppedInstancesStillCount) {
  InstallLibrary();
  RecordingWindow listPage;
  search.SetListPage(&listPage);
  SimMdnsService stranger = Printer("Office Laser");
  stranger.announceDelayMs = 20;
  SimMdnsService second = Printer("LX-320 Shipping", "LX-320", "192.0.2.11");
  second.announceDelayMs = 40;
  SimMdnsService noProduct = Printer("LX-220 Old");
  noProduct.txt = SimTxt({"note=none"});
  noProduct.announceDelayMs = 60;
  mdns.services = {Printer("LX-220 Dock"), stranger, second, noProduct};
  search.StartNetSearch(&page);
  ASSERT_TRUE(listPage.WaitForPosts(2));
  search.StopNetSearch();
  // One printer, a dropped one (the notice again), then two on the list page.
  EXPECT_EQ(page.Posts(), (std::vector<unsigned>{kWmNetSearchOne, kWmNetSearchOne}));
  EXPECT_EQ(listPage.Posts(), (std::vector<unsigned>{kWmNetSearchMore, kWmNetSearchMore}));
  auto list = search.List().Copy();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].name, u"LX-320 Shipping");
  EXPECT_EQ(list[1].address, u"192.0.2.11");
}

TEST_F(Search, EmptyProductAndHostNamesAdmitEveryInstanceOncePerName) {
  config.install.PRODUCT.clear();
  config.models[u"LX220"].HOSTNAME.clear();
  InstallLibrary();
  SimMdnsService bare = Printer("Office Laser");
  bare.txt.clear();
  SimMdnsService again = bare;
  again.announceDelayMs = 30;
  SimMdnsService other = Printer("Office Inkjet");
  other.txt.clear();
  other.announceDelayMs = 60;
  mdns.services = {bare, again, other};
  search.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(3));
  search.StopNetSearch();
  auto list = search.List().Copy();
  ASSERT_EQ(list.size(), 2u) << "the second announcement updates the first record";
  EXPECT_EQ(list[0].name, u"Office Laser");
  EXPECT_EQ(list[1].name, u"Office Inkjet");
  EXPECT_EQ(list[0].product, u"");
  // Without a notify-independent list page, MORE goes to the search page.
  EXPECT_EQ(page.Posts(), (std::vector<unsigned>{kWmNetSearchOne, kWmNetSearchOne, kWmNetSearchMore}));
}

TEST_F(Search, MissingLibraryEndsTheWindowWithAnEmptyList) {
  // Only in the current directory: a full path never finds it there.
  libraries.currentDirectory = u"C:\\Users\\Public\\Downloads";
  libraries.Install(u"C:\\Users\\Public\\Downloads\\dnssd.dll", SimDnssd::Entries());
  EXPECT_FALSE(dnssd.Load(DnssdLibraryPath(os)));
  EXPECT_EQ(DnssdLibraryPath(os), u"C:\\Setup\\dnssd.dll");
  EXPECT_TRUE(libraries.loaded.empty());
  // The same file by its plain name would have been taken.
  EXPECT_NE(libraries.Load(u"dnssd.dll"), 0u);

  search.StartNetSearch(&page);
  EXPECT_TRUE(Traced("DNSServiceBrowse Fail error=-65563"));
  EXPECT_FALSE(search.Searching());
  EXPECT_EQ(mdns.Calls("DNSServiceBrowse"), 0);
  search.OnSearchWindowEnd();
  EXPECT_EQ(page.Posts(), std::vector<unsigned>{kWmNetSearchEnd});
  EXPECT_EQ(search.List().Size(), 0u);
}

TEST_F(Search, MissingAddressLookupKeepsTheRecordWithoutAddress) {
  // As Avahi's library: no DNSServiceGetAddrInfo.
  InstallLibrary({"DNSServiceGetAddrInfo"});
  mdns.services = {Printer("LX-220 Dock")};
  search.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(1));
  search.StopNetSearch();
  auto list = search.List().Copy();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].address, u"");
  EXPECT_EQ(mdns.Calls("DNSServiceGetAddrInfo"), 0);
}

// Each search has its own number, carried by its notices; a stopped one,
// or one started before, is no longer current.
TEST_F(Search, RestartEmptiesTheListNumbersTheSearchAndADeadWindowStartsNothing) {
  InstallLibrary();
  mdns.services = {Printer("LX-220 Dock")};
  EXPECT_FALSE(search.IsCurrent(0));
  search.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(1));
  const uint32_t first = search.Number();
  EXPECT_NE(first, 0u);
  EXPECT_TRUE(search.IsCurrent(first));
  search.OnSearchWindowEnd();
  EXPECT_EQ(page.Numbers(), (std::vector<uintptr_t>{first, first}));
  search.StopNetSearch();
  EXPECT_FALSE(search.IsCurrent(first)) << "stopped";
  search.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(3));
  EXPECT_EQ(search.Number(), first + 1);
  EXPECT_FALSE(search.IsCurrent(first));
  EXPECT_TRUE(search.IsCurrent(first + 1));
  EXPECT_EQ(page.Numbers().back(), first + 1);
  page.killed.clear();
  RecordingWindow gone;
  gone.live = false;
  search.StartNetSearch(&gone);
  EXPECT_EQ(search.List().Size(), 1u) << "a dead window leaves the list alone";
  EXPECT_EQ(page.killed, std::vector<unsigned>{kSearchWindowTimerId});
  EXPECT_TRUE(gone.timers.empty());
  EXPECT_EQ(mdns.Calls("DNSServiceBrowse"), 2);
  EXPECT_FALSE(search.IsCurrent(first + 1)) << "a dead window's search never starts";

  mdns.services = {};
  search.StartNetSearch(&page);
  EXPECT_EQ(search.List().Size(), 0u);
  search.StopNetSearch();
  EXPECT_TRUE(WaitForNoLiveRefs());
}

TEST_F(Search, ModelLookupByPrefixDiffersFromTheFilter) {
  ModelTable models = config.Models();
  EXPECT_TRUE(ServiceNameHasModel(models, u"Dock LX-320"));
  EXPECT_FALSE(ServiceNameHasModel(models, u"lx-320 dock")) << "case counts";
  NetModelMatch inMiddle = MatchModelByServiceName(models, u"Dock LX-320");
  EXPECT_EQ(inMiddle.printerName, u"");
  EXPECT_EQ(inMiddle.driverName, u"");
  NetModelMatch byPrefix = MatchModelByServiceName(models, u"LX-320 Dock");
  EXPECT_EQ(byPrefix.printerName, u"LX-320 Label");
  EXPECT_EQ(byPrefix.driverName, u"LX-320 Driver");
  EXPECT_EQ(MatchModelByServiceName(models, u"LX-3").printerName, u"") << "shorter than the prefix";
}

}  // namespace
}  // namespace lx::test
