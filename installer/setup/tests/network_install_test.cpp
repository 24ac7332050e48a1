#include <gtest/gtest.h>

#include <algorithm>

#include "installer/engine/tests/engine_fixture.h"
#include "installer/setup/network_install.h"
#include "installer/ports/tcp_port.h"

namespace lx {
namespace {

using Page = INetInstallSink::Page;
using Ints = std::vector<int>;

const std::u16string kScript = u"C:\\Windows\\system32\\Printing_Admin_Scripts\\en-US\\prnport.vbs";
const std::u16string kInf = u"C:\\Medium\\amd64\\lx220.inf";

class RecordingNetSink : public INetInstallSink {
 public:
  void ShowPage(Page page, int step) override { pages.push_back({page, step}); }
  void SetStatusText(unsigned textId) override { texts.push_back(textId); }
  void SetProgress(int position) override { progress.push_back(position); }
  std::vector<std::pair<Page, int>> pages;
  std::vector<unsigned> texts;
  std::vector<int> progress;
};

class NetworkInstallTest : public EngineMachineTest {
 protected:
  void SetUp() override {
    EngineMachineTest::SetUp();
    debugEnabled = 1;
  }
  void Install(const std::u16string& address, const std::u16string& name = u"LX-220 NET",
               const std::u16string& driver = u"LX-220 Label") {
    start = machine.clock.now;
    InstallNetworkPrinter(os, net, state, address, name, driver);
  }
  // The "wait addport" numbers, in order.
  std::vector<int> PortWaits() const {
    std::vector<int> out;
    const std::u16string head = u"wait addport  time=";
    for (const auto& l : proc->debug.lines)
      if (l.compare(0, head.size(), head) == 0) out.push_back(std::stoi(std::string(l.begin() + head.size(), l.end())));
    return out;
  }
  bool FallbackRan() const { return Traced(u"AddHostNameToTcpPort " + address_); }
  void NoScriptAnywhere() {
    machine.files.RemoveFile(kScript);
  }

  RecordingNetSink net;
  uint64_t start = 0;
  std::u16string address_;
};

TEST_F(NetworkInstallTest, ScriptMakesThePortThenThePrinterIsInstalledAndDefault) {
  machine.tools.scriptDelayMs = 1800;  // delivered between the 3rd and 4th poll
  address_ = u"192.0.2.20";
  Install(address_);

  ASSERT_GE(machine.shell.launches.size(), 2u);
  const auto& script = machine.shell.launches[0];
  EXPECT_EQ(script.file, u"C:\\Windows\\system32\\cscript.exe");
  EXPECT_EQ(script.parameters, u"\"" + kScript + u"\" -a -r \"IP_192.0.2.20\" -h \"192.0.2.20\" -o raw");
  EXPECT_EQ(script.show, kSwHide);
  EXPECT_EQ(machine.tools.runs[0].action, u"-a");
  EXPECT_EQ(machine.spooler.tcpPorts[u"ip_192.0.2.20"].address, u"192.0.2.20");
  EXPECT_EQ(PortWaits(), (Ints{0, 1, 2}));
  EXPECT_FALSE(FallbackRan());

  const auto& printui = machine.shell.launches[1];
  EXPECT_EQ(printui.parameters, u"printui.dll PrintUIEntry /if /b \"LX-220 NET\" /r \"IP_192.0.2.20\" /m "
                                u"\"LX-220 Label\" /f \"" + kInf + u"\" /z");
  EXPECT_TRUE(Traced(u"OnInstallNetPrinter " + printui.parameters));
  SimPrinter* printer = machine.spooler.Find(u"LX-220 NET");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"IP_192.0.2.20");
  LetToolsRun();
  EXPECT_EQ(machine.spooler.defaultPrinter, u"LX-220 NET");

  EXPECT_EQ(net.progress, (Ints{0, 10, 20, 30, 40, 50, 60, 70, 80}));
  EXPECT_EQ(net.texts, (std::vector<unsigned>{147}));
  EXPECT_EQ(net.pages, (std::vector<std::pair<Page, int>>{{Page::kInstalling, 4}, {Page::kFinished, 6}}));
  EXPECT_EQ(state.target.portName, u"IP_192.0.2.20");
  EXPECT_TRUE(Traced(u"drivername: LX-220 Label"));
  EXPECT_TRUE(Traced(u"m_driverName: LX-220 Label"));
  // The model's language path is in force and has its suffix.
  EXPECT_EQ(os.registry->GetString(RegRoot::kLocalMachine, u"SOFTWARE\\LabelCo\\LX220", u"Suffix"), u"enus");
  // Like the other roads, it copies the installer before the entry names it.
  EXPECT_TRUE(machine.files.FileExists(u"C:\\Program Files\\LabelCo\\Setup\\Qelvin64.exe"));
  EXPECT_EQ(os.registry->GetString(RegRoot::kLocalMachine,
                                   u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabelDriver",
                                   u"UninstallString"),
            u"\"C:\\Program Files\\LabelCo\\Setup\\Qelvin64.exe\" /uninstall");
  EXPECT_EQ(state.outcome, Outcome::kInstalled);
}

TEST_F(NetworkInstallTest, ScriptThatNeverDeliversLeavesTwentyPollsThenTheMonitorAddsThePort) {
  NoScriptAnywhere();
  address_ = u"192.0.2.21";
  Install(address_, u"Big Label NET", u"LX-320 Label");

  EXPECT_EQ(machine.shell.launches[0].parameters,
            u"\"C:\\Windows\\system32\\Printing_Admin_Scripts\\th-TH\\prnport.vbs\" -a -r \"IP_192.0.2.21\" -h "
            u"\"192.0.2.21\" -o raw");
  EXPECT_FALSE(machine.tools.runs[0].accepted);
  Ints all;
  for (int n = 0; n < 20; ++n) all.push_back(n);
  EXPECT_EQ(PortWaits(), all);
  // The fallback comes right after the message with 19.
  auto& lines = proc->debug.lines;
  auto last = std::find(lines.begin(), lines.end(), u"wait addport  time=19");
  ASSERT_NE(last, lines.end());
  EXPECT_EQ(*(last + 1), u"AddHostNameToTcpPort 192.0.2.21");
  EXPECT_EQ(*(last + 2), u"XcvData AddPort success, IP_192.0.2.21");
  EXPECT_EQ(machine.spooler.tcpPorts[u"ip_192.0.2.21"].portNumber, 9100u);

  SimPrinter* printer = machine.spooler.Find(u"Big Label NET");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"IP_192.0.2.21");
  // A model with the accessory choice goes on to the accessories page.
  EXPECT_EQ(net.pages.back(), (std::pair<Page, int>{Page::kAccessories, 12}));
}

TEST_F(NetworkInstallTest, ExistingPortIsFoundAtTheFirstPoll) {
  ASSERT_EQ(machine.spooler.AddTcpPort(u"IP_192.0.2.22", {u"192.0.2.22"}), 0u);
  machine.tools.scriptDelayMs = 60000;
  address_ = u"192.0.2.22";
  Install(address_);
  EXPECT_TRUE(PortWaits().empty());
  EXPECT_FALSE(FallbackRan());
  // Four progress pauses, the one poll, then the installation goes on.
  EXPECT_EQ(machine.shell.launches[1].file, u"C:\\Windows\\system32\\rundll32.exe");
  EXPECT_NE(machine.spooler.Find(u"LX-220 NET"), nullptr);
}

TEST_F(NetworkInstallTest, SpoolerWithoutAnswerCountsAsMissingPortsAndTheFallbackRuns) {
  NoScriptAnywhere();
  machine.spooler.failListPorts = 1722u;  // the size query answers 0
  address_ = u"192.0.2.23";
  Install(address_);
  EXPECT_EQ(PortWaits().size(), 20u);
  EXPECT_FALSE(Traced(u"EnumPorts Failed, err=1722"));  // PortExists is not asked
  EXPECT_TRUE(Traced(u"XcvData AddPort success, IP_192.0.2.23"));
  EXPECT_EQ(machine.clock.now - start >= 4 * 50u + 20 * 500u, true);
}

TEST_F(NetworkInstallTest, HostNameGoesIntoTheHostFieldOfThePortTheMonitorAdds) {
  NoScriptAnywhere();
  address_ = u"lx220-0a1b.local.";
  Install(address_);
  ASSERT_TRUE(machine.spooler.tcpPorts.count(u"ip_lx220-0a1b.local."));
  EXPECT_EQ(machine.spooler.tcpPorts[u"ip_lx220-0a1b.local."].address, u"lx220-0a1b.local.");
  EXPECT_EQ(machine.spooler.Find(u"LX-220 NET")->info.portName, u"IP_lx220-0a1b.local.");
}

TEST_F(NetworkInstallTest, HostNameTooLongForThePortRecordSkipsTheFallback) {
  NoScriptAnywhere();
  address_ = std::u16string(50, u'p') + u".local";
  Install(address_);
  EXPECT_EQ(PortWaits().size(), 20u);
  EXPECT_TRUE(Traced(u"AddPort skipped, the name fits no port field: " + address_));
  EXPECT_TRUE(machine.spooler.tcpPorts.empty());
  // No port, no printer: nothing more runs, and the finish page says so.
  EXPECT_TRUE(Runs(u"rundll32.exe").empty());
  EXPECT_EQ(net.pages.back().first, Page::kFinished);
  EXPECT_EQ(state.outcome, Outcome::kPortNotCreated);
  EXPECT_TRUE(state.target.printerName.empty());
  EXPECT_TRUE(Traced(u"Installation failed: port IP_" + address_ + u" was not created"));
}

TEST_F(NetworkInstallTest, HostileAddressesReachNoCommandLine) {
  const std::u16string hostile[] = {u"x\" -d -r \"IP_y", u"a/b", u"/z", u"-d", u"%SystemRoot%",
                                    u"host\u0007name", u"a\r\nb", std::u16string(255, u'a')};
  for (const auto& address : hostile) {
    machine.shell.launches.clear();
    net.pages.clear();
    Install(address);
    EXPECT_TRUE(machine.shell.launches.empty()) << address.size();
    EXPECT_EQ(net.pages.back(), (std::pair<Page, int>{Page::kFinished, 6}));
    EXPECT_EQ(state.target.printerName, u"");
  }
  EXPECT_TRUE(Traced(u"Refused a network address that cannot be passed on a command line."));
  EXPECT_TRUE(machine.tools.runs.empty());
  EXPECT_TRUE(machine.spooler.tcpPorts.empty());
}

TEST_F(NetworkInstallTest, HostilePrinterNamesStayOneArgumentOfPrintUi) {
  machine.tools.scriptDelayMs = 100;
  // Blanks, a percent sign and switches inside a name travel as one argument.
  std::u16string address = u"192.0.2.30";
  for (const std::u16string name : {u"50% /z NET", u"Front desk /y"}) {
    Install(address, name);
    // The install command is the last start before the default-printer one.
    auto install = std::find_if(machine.tools.runs.rbegin(), machine.tools.runs.rend(),
                                [](const SimToolRun& r) { return r.argv.size() > 2 && r.argv[2] == u"/if"; });
    ASSERT_NE(install, machine.tools.runs.rend());
    const SimToolRun& run = *install;
    EXPECT_EQ(run.action, u"/if");
    ASSERT_EQ(run.argv.size(), 12u) << run.argv.size();
    EXPECT_EQ(run.argv[4], name);
    EXPECT_EQ(run.argv[6], u"IP_192.0.2.30");
    EXPECT_NE(machine.spooler.Find(name), nullptr);
  }
  for (const auto& r : machine.tools.runs) EXPECT_TRUE(r.action == u"-a" || r.action == u"/if" || r.action == u"/y");

  // A quote or a control character in the name: no printui line, no port.
  for (const std::u16string name : {u"Lab\" /dl /n \"Office", u"a\\\" /y /n \"b\\", u"tab\tname"}) {
    machine.tools.runs.clear();
    machine.shell.launches.clear();
    Install(u"192.0.2.31", name);
    EXPECT_TRUE(machine.shell.launches.empty());
    EXPECT_EQ(state.outcome, Outcome::kNameRefused);
    EXPECT_EQ(state.target.printerName, u"");
  }
}

}  // namespace
}  // namespace lx
