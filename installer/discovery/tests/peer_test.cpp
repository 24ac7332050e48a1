// The real peer road: the search through the host's own dns_sd library
// (Avahi's) finds a printer that a separate mDNS responder announces on a
// link of network namespaces that mdns_peer.sh makes and removes, and the
// wizard, on a simulated machine, installs it by its host name.
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "installer/core/resource_ids.h"
#include "installer/discovery/tests/discovery_fixture.h"
#include "installer/wizard/tests/wizard_fixture.h"
#include "platform/posix/posix_network.h"

namespace lx::test {
namespace {

constexpr int kSkip = 77;

std::string SelfPath() {
  char path[4096] = {};
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, n) : std::string();
}

// The host's own sockets and a trace the search's threads may share.
struct RealStack {
  LockedTrace trace;
  PosixSockets sockets;
  Os os;
  RealStack() {
    os.debug = &trace;
    os.sockets = &sockets;
  }
};

// The host's dns_sd library, loaded once for the life of the process, as in
// the installer.
DnssdBinding& HostBinding() {
  static PosixLibraries libraries;
  static DnssdBinding* kept = new DnssdBinding(&libraries);
  if (!kept->Loaded()) kept->Load(u"libdns_sd.so.1");
  return *kept;
}

// Inside the client namespace: the engine against the real stack.
void FindAnnouncedPrinter() {
  InstallerConfig config;
  ModelEntry model = NetModel(u"LX-220", u"LX-220 Label", u"LX-220 Driver");
  config.modelNames = {u"LX220"};
  config.models[u"LX220"] = model;
  config.modelCount = 1;
  config.install.PRODUCT = u"LX-220";
  RealStack stack;
  LockedTrace& trace = stack.trace;
  Os& os = stack.os;
  debugEnabled = 1;
  DnssdBinding& dnssd = HostBinding();
  ASSERT_TRUE(dnssd.Loaded());
  // Avahi's library lacks the address lookup: the binding answers for it.
  dnssd::ServiceRef none = nullptr;
  EXPECT_EQ(dnssd.GetAddrInfo(&none, 0, 0, dnssd::kProtocolIPv4, "x.local.", nullptr, nullptr),
            dnssd::kServiceNotRunning);

  NetSearch search(os, dnssd, config);
  RecordingWindow page;
  search.StartNetSearch(&page);
  ASSERT_TRUE(search.Searching()) << "the browse did not start (is avahi-daemon on the bus?)";
  bool found = page.WaitForPosts(1, 10000);
  search.StopNetSearch();
  debugEnabled = 0;
  ASSERT_TRUE(found) << "no printer heard within 10 s; trace:\n" << trace.All();
  auto list = search.List().Copy();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, u"LX-220 Label Printer");
  EXPECT_EQ(list[0].port, 9100);
  EXPECT_EQ(list[0].product, u"LX-220");
  EXPECT_EQ(list[0].address, u"");
  EXPECT_EQ(list[0].hostTarget, u"lx220-peer.local");
  EXPECT_TRUE(trace.Has("LX-220\\032Label\\032Printer._pdl-datastream._tcp.local."))
      << "the real stack reports the full name escaped";
  EXPECT_EQ(page.Posts().front(), kWmNetSearchOne);
  std::printf("found \"%s\" port %d product \"%s\"\n", Utf16ToUtf8(list[0].name).c_str(), list[0].port,
              Utf16ToUtf8(list[0].product).c_str());
}

// Inside the client namespace: the whole network road of the wizard, with
// the real stack's search. Avahi's library has no address lookup, so only
// the host name can install this printer.
void InstallByHostName() {
  // The search outlives the rig, whose end stops it.
  RealStack stack;
  LockedTrace& trace = stack.trace;
  ASSERT_TRUE(HostBinding().Loaded());
  NetSearch search(stack.os, HostBinding(), StartUpConfig());
  WizardRig rig;
  rig.machine.files.AddFile(std::u16string(kSetupFolder) + u"\\Bonjour\\x64\\mDNSResponder.exe", "MZ");
  rig.AddDriverPackage({"LX-220 Label"});
  rig.WriteConfig(
      "[Support_Driver]\r\nLX-220\r\n"
      "[LX-220]\r\nPRINTERNAME=LX-220 Label Printer\r\nDriverName=LX-220 Label\r\nHOSTNAME=LX-220\r\n"
      "InfName=lx220.inf\r\nShowSetting=0\r\n"
      "[Install]\r\nInfName=Driver\\lx220.inf\r\nSupportNet=1\r\nNetOnline=1\r\nPRODUCT=LX-220\r\n"
      "[Debug]\r\nOpenDebug=1\r\n");
  rig.UseNetSearch(search);
  rig.StartWizard();
  rig.GoToInstallType();
  ASSERT_TRUE(rig.view.Click(IDC_NET_INSTALL));
  CStepSearching& searching = rig.sheet().searchingPage;
  for (int i = 0; i < 7; ++i) searching.OnTimer(kProgressTimerId);
  ASSERT_TRUE(search.Searching()) << trace.All();
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (rig.view.CurrentPage() != &rig.sheet().netPrinterPage && std::chrono::steady_clock::now() < until) {
    rig.view.DeliverPosted();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(rig.view.CurrentPage(), &rig.sheet().netPrinterPage) << "no printer listed; trace:\n" << trace.All();
  FakeDialog& list = rig.page();
  ASSERT_EQ(list.At(IDC_NET_PRINTER_LIST).rows,
            (std::vector<std::vector<std::u16string>>{{u"LX-220 Label Printer", u"", u"9100"}}));
  ASSERT_TRUE(list.GetCheck(IDC_BY_HOSTNAME));
  ASSERT_TRUE(rig.view.ClickNext());
  rig.RunUntilIdle();
  rig.machine.clock.Sleep(5000);
  EXPECT_EQ(rig.view.CurrentPage(), &rig.sheet().finish);
  SimPrinter* printer = rig.machine.spooler.Find(u"LX-220 Label Printer NET");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"IP_lx220-peer.local");
  EXPECT_EQ(rig.machine.spooler.tcpPorts[u"ip_lx220-peer.local"].address, u"lx220-peer.local");
  std::printf("installed \"%s\" on %s\n", Utf16ToUtf8(printer->info.printerName).c_str(),
              Utf16ToUtf8(printer->info.portName).c_str());
}

TEST(RealPeer, FindsAPrinterAnnouncedOnTheLinkAndInstallsItByHostName) {
  if (std::getenv("LX_PEER_INSIDE")) {
    FindAnnouncedPrinter();
    if (!HasFailure()) InstallByHostName();
    return;
  }
  const char* script = std::getenv("LX_PEER_SCRIPT");
  ASSERT_NE(script, nullptr) << "LX_PEER_SCRIPT names mdns_peer.sh";
  std::string command = std::string(script) + " " + SelfPath() +
                        " --gtest_filter=RealPeer.FindsAPrinterAnnouncedOnTheLinkAndInstallsItByHostName 2>&1";
  FILE* out = popen(command.c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::string text;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, out)) text += buffer;
  int status = pclose(out);
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::printf("%s", text.c_str());
  if (code == kSkip) GTEST_SKIP() << text;
  EXPECT_EQ(code, 0) << text;
}

}  // namespace
}  // namespace lx::test
