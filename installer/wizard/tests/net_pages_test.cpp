// The search page and the printer list page over the dns_sd double: the
// search road, the list's rebuild and merge, the ways out, and the network
// installation they start.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "installer/core/resource_ids.h"
#include "platform/win_errors.h"
#include "installer/wizard/tests/wizard_fixture.h"

namespace lx {
namespace {

using Rows = std::vector<std::vector<std::u16string>>;

std::string Config(int showSetting) {
  return "[Support_Driver]\r\nLX-220\r\n"
         "[LX-220]\r\nPRINTERNAME=LX-220 Label Printer\r\nDriverName=LX-220 Label\r\nHOSTNAME=LX-220\r\n"
         "InfName=lx220.inf\r\nShowSetting=" + std::to_string(showSetting) + "\r\n"
         "[Install]\r\nInfName=Driver\\lx220.inf\r\nSupportNet=1\r\nNetOnline=1\r\nPRODUCT=LX\r\nFilePath=Label Printer Driver\r\n"
         "[Debug]\r\nOpenDebug=1\r\n";
}

SimMdnsService Printer(const std::string& instance, const std::string& address, const std::string& host = "") {
  SimMdnsService s;
  s.instance = instance;
  s.host = host.empty() ? instance + ".local." : host;
  s.txt = SimTxt({"txtvers=1", "product=LX-220"});
  s.address = address;
  return s;
}

// One wizard on the network road; `search` false leaves the wizard without one.
struct NetRig : WizardRig {
  void Open(std::vector<SimMdnsService> printers, bool search = true, bool library = true, int showSetting = 0) {
    machine.files.AddFile(std::u16string(kSetupFolder) + u"\\Bonjour\\x64\\mDNSResponder.exe", "MZ");
    AddDriverPackage({"LX-220 Label"});
    WriteConfig(Config(showSetting));
    if (search && windowsRoad) {
      UseWindowsSearch();
      windows->services = std::move(printers);
    } else if (search) {
      UseNetSearch(library);
      mdns->services = std::move(printers);
    }
    StartWizard();
    GoToInstallType();
    ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
    ASSERT_EQ(view.CurrentPage(), &sheet().searchingPage);
  }
  FakeDialog& Searching() { return *view.ViewOf(sheet().searchingPage); }
  FakeDialog* List() { return view.ViewOf(sheet().netPrinterPage); }
  Rows ListRows() { return List() ? List()->At(IDC_NET_PRINTER_LIST).rows : Rows{}; }
  // WM_TIMER of a timer the search page has set.
  bool Fire(unsigned id) {
    if (!Searching().timers.count(id)) return false;
    sheet().searchingPage.OnTimer(id);
    return true;
  }
  // The seventh tick starts the search.
  void TickToSearch() { TickToSearchFrom(0); }
  void TickToSearchFrom(int ticked) {
    for (int i = ticked; i < 7; ++i) ASSERT_TRUE(Fire(kProgressTimerId));
    ASSERT_EQ(sheet().searchingPage.progress(), 35);
  }
  // Delivers posted messages until `done`; generous for loaded machines.
  bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      view.DeliverPosted();
      if (done()) return true;
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  bool OnList() { return view.CurrentPage() == &sheet().netPrinterPage; }
  bool Traced(const std::u16string& line) { return process->debug.Has(line); }
  // Waits, delivering nothing, until the search has taken in `done`; its
  // notice then waits in the queue.
  bool HeardUndelivered(const std::function<bool(const std::vector<NetPrinterRecord>&)>& done) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done(sheet().search()->List().Copy()))
      if (std::chrono::steady_clock::now() > until) return false;
      else std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The notice follows the record within the same reply.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return true;
  }
  bool OwnResponder() { return machine.services.Find(u"ZAX Bonjour Service") != nullptr; }
  void Announce(const SimMdnsService& printer) {
    if (windowsRoad) windows->Announce(printer);
    else mdns->Announce(printer);
  }
  bool windowsRoad = false;  // Windows' DNS-SD instead of dnssd.dll; before Open
};

class NetPagesTest : public ::testing::Test, public NetRig {};

TEST_F(NetPagesTest, OnePrinterShowsTheListAtOnceAndTheWindowEndMergesIntoIt) {
  Open({Printer("LX-220 Shop", "192.0.2.30")});
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  EXPECT_EQ(Searching().GetText(IDC_SEARCH_STATUS), u"Searching...");
  EXPECT_EQ(Searching().timerPeriods[kProgressTimerId], 200u);
  // The responder is made ready on the third tick, the search starts on the seventh.
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(Fire(kProgressTimerId));
  EXPECT_FALSE(OwnResponder());
  ASSERT_TRUE(Fire(kProgressTimerId));
  EXPECT_TRUE(OwnResponder());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Fire(kProgressTimerId));
  EXPECT_FALSE(sheet().search()->Searching());
  ASSERT_TRUE(Fire(kProgressTimerId));
  EXPECT_TRUE(sheet().search()->Searching());
  EXPECT_EQ(Searching().timerPeriods[kSearchWindowTimerId], 5000u);
  EXPECT_EQ(Searching().At(IDC_SEARCH_PROGRESS).position, 35);

  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  EXPECT_EQ(static_cast<int>(sheet().step), 8);
  EXPECT_EQ(Searching().At(IDC_SEARCH_PROGRESS).position, 100);
  auto& list = List()->At(IDC_NET_PRINTER_LIST);
  ASSERT_EQ(list.rows, (Rows{{u"LX-220 Shop", u"192.0.2.30", u"9100"}}));
  EXPECT_TRUE(list.selected[0]);
  EXPECT_EQ(list.focusedRow, 0);
  EXPECT_TRUE(view.ButtonEnabled(kIdWizNext));
  EXPECT_TRUE(List()->GetCheck(IDC_BY_HOSTNAME));
  EXPECT_EQ(List()->GetText(IDC_BY_HOSTNAME), u"Install by Hostname");
  int w = list.rect.Width() - 2;
  EXPECT_EQ(list.columnWidths, (std::vector<int>{w / 2, w / 3, w - w / 2 - w / 3}));
  EXPECT_EQ(list.columns, (std::vector<std::u16string>{En(IDS_HOSTNAME), En(IDS_IP_ADDRESS), En(IDS_PORT)}));
  // The found printer ends the progress timer.
  ASSERT_TRUE(Fire(kProgressTimerId));
  EXPECT_FALSE(Searching().timers.count(kProgressTimerId));

  // The end of the window merges into the page: the user's choices stay.
  ASSERT_TRUE(view.Click(IDC_BY_HOSTNAME));
  ASSERT_TRUE(view.SelectRow(IDC_NET_PRINTER_LIST, -1));
  list.rows[0][1] = u"stale";
  ASSERT_TRUE(Fire(kSearchWindowTimerId));
  ASSERT_TRUE(WaitFor([&] { return list.rows.size() == 1 && list.rows[0][1] == u"192.0.2.30"; }));
  EXPECT_FALSE(List()->GetCheck(IDC_BY_HOSTNAME));
  EXPECT_FALSE(list.selected[0]);
  EXPECT_TRUE(OnList());
}

TEST_F(NetPagesTest, TwoPrintersArriveThroughTheMergeAndLeavingTheRoadStopsTheSearch) {
  Open({Printer("LX-220 Shop", "192.0.2.30")});
  TickToSearch();
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  auto& list = List()->At(IDC_NET_PRINTER_LIST);
  ASSERT_TRUE(view.Click(IDC_BY_HOSTNAME));  // cleared by the user
  mdns->Announce(Printer("LX-220 Desk", "192.0.2.31"));
  ASSERT_TRUE(WaitFor([&] { return list.rows.size() == 2; }));
  EXPECT_EQ(list.rows[1], (std::vector<std::u16string>{u"LX-220 Desk", u"192.0.2.31", u"9100"}));
  // The merge leaves the selection and the box alone.
  EXPECT_TRUE(list.selected[0]);
  EXPECT_FALSE(list.selected[1]);
  EXPECT_FALSE(List()->GetCheck(IDC_BY_HOSTNAME));
  EXPECT_TRUE(OnList());

  // Back from the list page stops the search.
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);
  EXPECT_EQ(static_cast<int>(sheet().step), 3);
  EXPECT_FALSE(sheet().search()->Searching());
  // A late window end leaves the wizard where the user went.
  EXPECT_FALSE(Searching().timers.count(kSearchWindowTimerId));
  sheet().searchingPage.OnMessage(kWmNetSearchEnd, sheet().search()->Number(), 0);
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);

  // Manual Search leaves the road too: the options page ends the search.
  ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
  TickToSearch();
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  EXPECT_TRUE(sheet().search()->Searching());
  ASSERT_TRUE(view.Click(IDC_MANUAL_SEARCH));
  EXPECT_EQ(view.CurrentPage(), &sheet().setPrinter);
  EXPECT_EQ(static_cast<int>(sheet().step), 9);
  EXPECT_FALSE(sheet().search()->Searching());
}

// A notice acts only on the page it belongs to, and only for the search
// that runs: at step 9 and on the finish page nothing moves, also for the
// notices queued while the installation blocked the wizard.
TEST_F(NetPagesTest, NoticesAtTheOptionsOrTheFinishPageMoveNothing) {
  Open({Printer("LX-220 Shop", "192.0.2.30")});
  TickToSearch();
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  uintptr_t number = sheet().search()->Number();
  ASSERT_TRUE(view.Click(IDC_MANUAL_SEARCH));
  ASSERT_EQ(static_cast<int>(sheet().step), 9);
  for (unsigned m : {kWmNetSearchOne, kWmNetSearchMore, kWmNetSearchEnd}) Searching().PostToWindow(m, number, 0);
  List()->PostToWindow(kWmNetSearchMore, number, 0);
  mdns->Announce(Printer("LX-220 Desk", "192.0.2.31"));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  view.DeliverPosted();
  EXPECT_EQ(view.CurrentPage(), &sheet().setPrinter);
  EXPECT_EQ(sheet().search()->List().Size(), 1u) << "the stopped search hears nothing more";
  EXPECT_TRUE(Traced(u"CStepSearching: notice 1524 of an earlier search ignored"));

  // Again on the list, the printer is heard anew while the user installs it.
  ASSERT_TRUE(view.ClickBack());
  ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
  TickToSearch();
  ASSERT_TRUE(WaitFor([&] { return OnList() && ListRows().size() == 2; }));
  ASSERT_TRUE(view.Click(IDC_BY_HOSTNAME));
  mdns->Announce(Printer("LX-220 Shop", "192.0.2.45"));
  ASSERT_TRUE(HeardUndelivered([](const auto& records) { return records[0].address == u"192.0.2.45"; }));
  Searching().PostToWindow(kWmNetSearchOne, sheet().search()->Number(), 0);
  ASSERT_TRUE(view.ClickNext());
  RunUntilIdle();
  EXPECT_EQ(view.CurrentPage(), &sheet().finish);
  EXPECT_EQ(static_cast<int>(sheet().step), 6);
  EXPECT_TRUE(Traced(u"CStepSelectNetPrinter: notice of search " + Utf8ToUtf16(std::to_string(number + 1)) +
                     u" at step 6 ignored"));
}

// "Search Again" while a notice of the old search waits: the new search
// starts all the same, and the old one's notices stay ignored while it runs.
TEST_F(NetPagesTest, ALateNoticeAfterSearchAgainDoesNotStopTheNewSearch) {
  Open({Printer("LX-220 Shop", "192.0.2.30")});
  TickToSearch();
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  uintptr_t old = sheet().search()->Number();
  mdns->Announce(Printer("LX-220 Shop", "192.0.2.44"));
  ASSERT_TRUE(HeardUndelivered([](const auto& records) { return records[0].address == u"192.0.2.44"; }));
  ASSERT_TRUE(view.Click(IDC_SEARCH_AGAIN));
  ASSERT_EQ(view.CurrentPage(), &sheet().searchingPage);
  EXPECT_GE(view.DeliverPosted(), 1);
  EXPECT_EQ(view.CurrentPage(), &sheet().searchingPage);
  EXPECT_FALSE(sheet().searchingPage.done());

  // The new search's printers answer late (no thread runs now to race with).
  for (auto& service : mdns->services) service.announceDelayMs = 1500;
  TickToSearch();
  EXPECT_TRUE(sheet().search()->Searching());
  EXPECT_NE(sheet().search()->Number(), old);
  Searching().PostToWindow(kWmNetSearchOne, old, 0);
  view.DeliverPosted();
  EXPECT_EQ(view.CurrentPage(), &sheet().searchingPage);
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  EXPECT_EQ(ListRows(), (Rows{{u"LX-220 Shop", u"192.0.2.44", u"9100"}}));
}

// One row per name: a name heard again rewrites its row; at most 64 rows.
TEST_F(NetPagesTest, AnnouncementsOfAListedNameRewriteItsRowAndTheListHoldsAtMost64) {
  Open({Printer("LX-220 Shop", "192.0.2.30")});
  TickToSearch();
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  auto& list = List()->At(IDC_NET_PRINTER_LIST);
  ASSERT_EQ(list.rows.size(), 1u);
  // The printer moved: same row, new address, still chosen.
  mdns->Announce(Printer("LX-220 Shop", "192.0.2.44"));
  ASSERT_TRUE(WaitFor([&] { return list.rows.size() == 1 && list.rows[0][1] == u"192.0.2.44"; }));
  EXPECT_TRUE(list.selected[0]);
  // The same name in other letters on another port is the same row.
  SimMdnsService shouting = Printer("LX-220 SHOP", "192.0.2.44");
  shouting.port = 9101;
  mdns->Announce(shouting);
  ASSERT_TRUE(WaitFor([&] { return list.rows.size() == 1 && list.rows[0][2] == u"9101"; }));
  EXPECT_EQ(list.rows, (Rows{{u"LX-220 Shop", u"192.0.2.44", u"9101"}}));

  for (int i = 0; i < 70; ++i) mdns->Announce(Printer("LX-220 n" + std::to_string(i), "192.0.2.50"));
  ASSERT_TRUE(WaitFor([&] { return mdns->Calls("DNSServiceResolve") == 73 && list.rows.size() == 64; }));
  EXPECT_EQ(list.rows.back()[0], u"LX-220 n62");
  // The window's end merges the same rows.
  ASSERT_TRUE(Fire(kSearchWindowTimerId));
  view.DeliverPosted();
  EXPECT_EQ(list.rows.size(), 64u);
  EXPECT_EQ(list.rows[0], (std::vector<std::u16string>{u"LX-220 Shop", u"192.0.2.44", u"9101"}));
  EXPECT_TRUE(list.selected[0]);
  EXPECT_EQ(mdns->Faults(), 0);
}

TEST_F(NetPagesTest, BackFromTheSearchPageStopsTheSearchAndItsTimers) {
  Open({Printer("LX-220 Shop", "192.0.2.30")});
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(Fire(kProgressTimerId));
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);
  EXPECT_EQ(static_cast<int>(sheet().step), 3);
  // The hidden page's timer could otherwise start a search.
  EXPECT_TRUE(Searching().timers.empty());
  EXPECT_FALSE(sheet().search()->Searching());
  // Search again from the hub: a new search reaches the list.
  ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
  TickToSearch();
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  ASSERT_TRUE(view.Click(IDC_SEARCH_AGAIN));
  EXPECT_EQ(view.CurrentPage(), &sheet().searchingPage);
  EXPECT_EQ(static_cast<int>(sheet().step), 7);
  EXPECT_FALSE(sheet().search()->Searching());
}

TEST(NetPagesNoLibrary, SearchEndsAfterItsWindowWithAnEmptyList) {
  for (bool search : {true, false}) {
    SCOPED_TRACE(search ? "library missing" : "no search");
    NetRig rig;
    rig.Open({}, search, false);
    rig.TickToSearch();
    EXPECT_EQ(rig.Searching().timerPeriods[kSearchWindowTimerId], 5000u);
    rig.view.DeliverPosted();
    EXPECT_EQ(rig.view.CurrentPage(), &rig.sheet().searchingPage);
    ASSERT_TRUE(rig.Fire(kSearchWindowTimerId));
    ASSERT_TRUE(rig.WaitFor([&] { return rig.OnList(); }));
    EXPECT_TRUE(rig.ListRows().empty());
    EXPECT_FALSE(rig.view.ButtonEnabled(kIdWizNext));
    EXPECT_TRUE(rig.view.ButtonEnabled(kIdWizBack));
    // Off the search page a window end moves nothing, also one that counts.
    ASSERT_TRUE(rig.view.Click(IDC_MANUAL_SEARCH));
    rig.sheet().searchingPage.OnMessage(kWmNetSearchEnd, search ? rig.sheet().search()->Number() : 0, 0);
    EXPECT_EQ(rig.view.CurrentPage(), &rig.sheet().setPrinter);
  }
}

// By host name the port is named after the printer's host target and
// connects to it; a record without a usable one installs by its address.
TEST(NetPagesInstall, InstallsByHostNameOrAddressFromTheListPage) {
  const std::u16string script = u"C:\\Windows\\system32\\Printing_Admin_Scripts\\en-US\\prnport.vbs";
  struct Case {
    const char* what;
    const char* instance;
    const char* host;
    bool byHostName;
    bool script;  // without it the port monitor adds the port
    int showSetting;
    const char16_t* port;
  } cases[] = {
      {"address", "LX-220-0A1B", "lx220-0a1b.local.", false, true, 0, u"IP_192.0.2.30"},
      {"host name", "LX-220 Label Printer", "lx220-0a1b.local.", true, true, 1, u"IP_lx220-0a1b.local"},
      {"host name, by the monitor", "LX-220 Label Printer", "lx220-0a1b.local.", true, false, 0,
       u"IP_lx220-0a1b.local"},
      {"no usable host name", "LX-220 Shop", "lx 220.local.", true, true, 0, u"IP_192.0.2.30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    NetRig rig;
    rig.Open({Printer(c.instance, "192.0.2.30", c.host)}, true, true, c.showSetting);
    if (!c.script) rig.machine.files.RemoveFile(script);
    rig.TickToSearch();
    ASSERT_TRUE(rig.WaitFor([&] { return rig.OnList(); }));
    ASSERT_TRUE(rig.OwnResponder());
    EXPECT_EQ(rig.ListRows()[0][0], Utf8ToUtf16(c.instance));
    // Without a selection: the message, the page stays, the search is over
    // and the rows stay as they are.
    ASSERT_TRUE(rig.view.SelectRow(IDC_NET_PRINTER_LIST, -1));
    ASSERT_TRUE(rig.view.ClickNext());
    ASSERT_EQ(rig.view.boxes.size(), 1u);
    EXPECT_EQ(rig.view.boxes[0].text, u"Please select a port to configure first!");
    EXPECT_EQ(rig.view.boxes[0].caption, u"Tips");
    EXPECT_FALSE(rig.OwnResponder());
    EXPECT_FALSE(rig.sheet().search()->Searching());
    rig.view.DeliverPosted();
    EXPECT_TRUE(rig.OnList());
    EXPECT_FALSE(rig.List()->At(IDC_NET_PRINTER_LIST).selected[0]);

    ASSERT_TRUE(rig.view.SelectRow(IDC_NET_PRINTER_LIST, 0));
    if (!c.byHostName) ASSERT_TRUE(rig.view.Click(IDC_BY_HOSTNAME));
    ASSERT_TRUE(rig.view.ClickNext());
    rig.RunUntilIdle();
    EXPECT_EQ(rig.view.CurrentPage(), c.showSetting ? static_cast<IPropertyPage*>(&rig.sheet().accessories)
                                                    : &rig.sheet().finish);
    rig.machine.clock.Sleep(5000);
    SimPrinter* printer = rig.machine.spooler.Find(u"LX-220 Label Printer NET");
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->info.portName, c.port);
    EXPECT_EQ(printer->info.driverName, u"LX-220 Label");
    // Where the port connects: the script's -h, or the record's sztHostAddress.
    std::u16string connects = std::u16string(c.port).substr(3);
    EXPECT_EQ(rig.machine.spooler.tcpPorts[ToLowerAscii(c.port)].address, connects);
    EXPECT_EQ(rig.Traced(u"XcvData AddPort success, " + std::u16string(c.port)), !c.script);
    if (c.byHostName && connects == u"192.0.2.30") {
      EXPECT_TRUE(rig.Traced(u"LX-220 Shop has no usable host name; installing by its address 192.0.2.30"));
    }
  }
}

// Windows' DNS-SD road, with no dnssd.dll beside the installer: the same
// pages, notices and merges, and no responder step anywhere on the way.
TEST_F(NetPagesTest, OnWindowsDnsSdTheRoadRunsItsCourseWithoutAResponder) {
  windowsRoad = true;
  Open({Printer("LX-220 Shop", "192.0.2.30")});
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Fire(kProgressTimerId));
  EXPECT_TRUE(Traced(u"CStepSearching: Windows DNS-SD searches; no responder step"));
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(Fire(kProgressTimerId));
  ASSERT_TRUE(sheet().search()->Searching());
  EXPECT_TRUE(Traced(u"NetSearch: Windows DNS-SD (dnsapi.dll) searches"));
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  auto& list = List()->At(IDC_NET_PRINTER_LIST);
  ASSERT_EQ(list.rows, (Rows{{u"LX-220 Shop", u"192.0.2.30", u"9100"}}));
  EXPECT_TRUE(view.ButtonEnabled(kIdWizNext));

  Announce(Printer("LX-220 Desk", "192.0.2.31"));
  ASSERT_TRUE(WaitFor([&] { return list.rows.size() == 2; }));
  Announce(Printer("LX-220 Shop", "192.0.2.45"));
  ASSERT_TRUE(WaitFor([&] { return list.rows[0][1] == u"192.0.2.45"; }));
  EXPECT_EQ(list.rows[1], (std::vector<std::u16string>{u"LX-220 Desk", u"192.0.2.31", u"9100"}));
  ASSERT_TRUE(Fire(kSearchWindowTimerId));
  ASSERT_TRUE(WaitFor([&] { return list.rows.size() == 2 && OnList(); }));

  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);
  EXPECT_FALSE(sheet().search()->Searching());
  EXPECT_TRUE(windows->WaitIdle());
  EXPECT_EQ(windows->OpenRequests(), 0);
  EXPECT_EQ(windows->UnfreedReplies(), 0);

  ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
  TickToSearch();
  ASSERT_TRUE(WaitFor([&] { return OnList(); }));
  ASSERT_TRUE(view.Click(IDC_MANUAL_SEARCH));
  EXPECT_EQ(view.CurrentPage(), &sheet().setPrinter);
  EXPECT_FALSE(sheet().search()->Searching());
  EXPECT_FALSE(OwnResponder());
  EXPECT_EQ(machine.services.Find(u"Bonjour Service"), nullptr);
  EXPECT_EQ(windows->Faults(), 0);
}

TEST_F(NetPagesTest, OnWindowsDnsSdAPrinterInstallsByHostNameOrByItsAddress) {
  struct Case {
    const char* what;
    const char* host;
    bool byHostName;
    const char16_t* port;
  } cases[] = {
      {"host name", "lx220-0a1b.local.", true, u"IP_lx220-0a1b.local"},
      {"address", "lx220-0a1b.local.", false, u"IP_192.0.2.30"},
      {"a host name with a switch in it", "lx220 /q.local.", true, u"IP_192.0.2.30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    NetRig rig;
    rig.windowsRoad = true;
    rig.Open({Printer("LX-220 Label Printer", "192.0.2.30", c.host)});
    rig.TickToSearch();
    ASSERT_TRUE(rig.WaitFor([&] { return rig.OnList(); }));
    if (!c.byHostName) ASSERT_TRUE(rig.view.Click(IDC_BY_HOSTNAME));
    ASSERT_TRUE(rig.view.ClickNext());
    rig.RunUntilIdle();
    EXPECT_EQ(rig.view.CurrentPage(), &rig.sheet().finish);
    rig.machine.clock.Sleep(5000);
    SimPrinter* printer = rig.machine.spooler.Find(u"LX-220 Label Printer NET");
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->info.portName, c.port);
    EXPECT_FALSE(rig.OwnResponder());
    EXPECT_TRUE(rig.windows->WaitIdle());
    EXPECT_EQ(rig.windows->OpenRequests(), 0);
  }
}

}  // namespace
}  // namespace lx

namespace lx {
namespace {

// Service boundary: our responder service exists only while the search or
// its list is shown. Every way off either page, the sheet's Exit and close
// box included, leaves none registered; a search that cannot start or a
// responder that does not come up leaves none either.
TEST(NetPagesResponder, EveryWayOffTheNetworkRoadLeavesNoServiceBehind) {
  struct Way {
    const char* what;
    bool fromList;
    std::function<bool(NetRig&)> leave;
  } ways[] = {
      {"Back on the search page", false, [](NetRig& r) { return r.view.ClickBack(); }},
      {"Exit on the search page", false, [](NetRig& r) { return r.view.ClickCancel(); }},
      {"close box on the search page", false, [](NetRig& r) { return r.view.CloseBox(); }},
      {"Back on the list", true, [](NetRig& r) { return r.view.ClickBack(); }},
      {"Search Again", true, [](NetRig& r) { return r.view.Click(IDC_SEARCH_AGAIN); }},
      {"Manual Search", true, [](NetRig& r) { return r.view.Click(IDC_MANUAL_SEARCH); }},
      {"Exit on the list", true, [](NetRig& r) { return r.view.ClickCancel(); }},
      {"close box on the list", true, [](NetRig& r) { return r.view.CloseBox(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    NetRig rig;
    rig.Open({Printer("LX-220 Shop", "192.0.2.30")});
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(rig.Fire(kProgressTimerId));
    ASSERT_TRUE(rig.OwnResponder());
    if (way.fromList) {
      for (int i = 0; i < 4; ++i) ASSERT_TRUE(rig.Fire(kProgressTimerId));
      ASSERT_TRUE(rig.WaitFor([&] { return rig.OnList(); }));
      ASSERT_TRUE(rig.OwnResponder()) << "the list still merges what the search hears";
    }
    ASSERT_TRUE(way.leave(rig));
    EXPECT_FALSE(rig.OwnResponder());
    EXPECT_EQ(rig.machine.services.OpenHandles(), 0u);
  }
}

TEST(NetPagesResponder, AFailedSearchOrResponderLeavesNoServiceBehind) {
  for (bool library : {false, true}) {
    SCOPED_TRACE(library ? "the responder does not come up" : "dnssd.dll missing: the browse fails at once");
    NetRig rig;
    if (library) rig.machine.services.failures["StartServiceW"] = kErrorServiceRequestTimeout;
    rig.Open({Printer("LX-220 Shop", "192.0.2.30")}, true, library);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(rig.Fire(kProgressTimerId));
    EXPECT_EQ(rig.OwnResponder(), !library);
    rig.TickToSearchFrom(3);
    EXPECT_FALSE(rig.OwnResponder());
  }
}

}  // namespace
}  // namespace lx
