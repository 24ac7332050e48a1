// The printer tools as the simulated machine runs them: arguments split as
// Windows splits them, effects after their delay of virtual time, and lines
// they do not understand doing nothing.
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

const char kInf[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
    "[Zorv.NTamd64]\r\n\"LX-220\" = LX220, USBPRINT\\ZorvLX-220A1B2\r\n";

class SimToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.files.AddFile(u"C:\\Medium\\amd64\\lx220.inf", kInf);
    machine.spooler.DefineDriver({u"LX-220", DevModeBytes(148, 0), 0x0600, {u"lx220ui.dll", u"lx220.gpd"}});
    machine.spooler.AddPort(u"USB001", u"USB Monitor", u"Virtual printer port for USB");
  }
  intptr_t Run(const std::u16string& file, const std::u16string& params) {
    return proc->os.shell->Execute(u"open", file, params, u"", kSwShowNormal);
  }
  bool Exists(const std::u16string& name) { return machine.spooler.Find(name) != nullptr; }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
};

TEST_F(SimToolsTest, InstallActsWhenTheClockPassesItsDelay) {
  machine.tools.printUiDelayMs = 1200;
  EXPECT_GT(Run(u"rundll32", u"printui.dll PrintUIEntry /if /b \"Label\" /r \"USB001\" /m \"LX-220\" "
                             u"/f \"C:\\Medium\\amd64\\lx220.inf\" /z"),
            32);
  // Polling as the installer does, 500 ms at a time.
  EXPECT_FALSE(Exists(u"Label"));
  proc->os.clock->Sleep(500);
  proc->os.clock->Sleep(500);
  EXPECT_FALSE(Exists(u"Label"));
  proc->os.clock->Sleep(500);
  ASSERT_TRUE(Exists(u"Label"));
  EXPECT_EQ(machine.tools.runs[0].actedAt, 1200u);
  EXPECT_EQ(machine.clock.now, 1500u);
  EXPECT_EQ(machine.spooler.Find(u"Label")->info.portName, u"USB001");
  // The package is published in the OEM INF store; installing it again
  // reuses its name.
  EXPECT_EQ(machine.tools.OemInfs(), std::vector<std::u16string>{u"oem0.inf"});
  EXPECT_TRUE(machine.files.FileExists(u"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\lx220.gpd"));
  Run(u"rundll32", u"printui.dll,PrintUIEntry /ia /m \"LX-220\" /f \"C:\\Medium\\amd64\\lx220.inf\" ");
  proc->os.clock->Sleep(2000);
  EXPECT_EQ(machine.tools.runs[1].result, 0u);
  EXPECT_EQ(machine.tools.OemInfs(), std::vector<std::u16string>{u"oem0.inf"});
}

TEST_F(SimToolsTest, AUtf16InfIsReadToo) {
  std::u16string text = u"\xFEFF[Zorv.NTamd64]\r\n\"LX-220\" = LX220, USBPRINT\\ZorvLX-220A1B2\r\n";
  std::string bytes;
  for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  machine.files.AddFile(u"C:\\Medium\\amd64\\wide.inf", bytes);
  Run(u"rundll32", u"printui.dll PrintUIEntry /ia /m \"LX-220\" /f \"C:\\Medium\\amd64\\wide.inf\" ");
  proc->os.clock->Sleep(2000);
  EXPECT_EQ(machine.tools.runs[0].result, 0u);
  EXPECT_TRUE(machine.spooler.HasDriver(u"LX-220"));
}

TEST_F(SimToolsTest, InstallFailsForAModelTheInfDoesNotNameOrAMissingPort) {
  Run(u"rundll32", u"printui.dll PrintUIEntry /if /b \"A\" /r \"USB001\" /m \"LX-999\" /f \"C:\\Medium\\amd64\\lx220.inf\" /z");
  Run(u"rundll32", u"printui.dll PrintUIEntry /if /b \"B\" /r \"USB002\" /m \"LX-220\" /f \"C:\\Medium\\amd64\\lx220.inf\" /z");
  Run(u"rundll32", u"printui.dll PrintUIEntry /ia /m \"LX-220\" /f \"C:\\Medium\\nothere.inf\" ");
  proc->os.clock->Sleep(5000);
  ASSERT_EQ(machine.tools.runs.size(), 3u);
  EXPECT_EQ(machine.tools.runs[0].result, 1797u);
  EXPECT_EQ(machine.tools.runs[1].result, 1796u);
  EXPECT_EQ(machine.tools.runs[2].result, 2u);
  EXPECT_FALSE(Exists(u"A"));
  EXPECT_FALSE(Exists(u"B"));
}

TEST_F(SimToolsTest, DeleteDefaultAndTestPageCommands) {
  machine.spooler.InstallDriver(u"LX-220");
  machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220");
  machine.tools.printUiDelayMs = 300;
  Run(u"rundll32", u"printui.dll PrintUIEntry /y /n \"Label\"");
  Run(u"rundll32", u"printui.dll PrintUIEntry /n \"Label\" /k");
  proc->os.clock->Sleep(500);
  EXPECT_EQ(machine.spooler.defaultPrinter, u"Label");
  EXPECT_EQ(machine.spooler.testPages, std::vector<std::u16string>{u"Label"});
  // A driver in use stays; after its printer is gone it can be deleted.
  Run(u"rundll32", u"printui.dll PrintUIEntry /dd /m \"LX-220\" /q");
  proc->os.clock->Sleep(500);
  EXPECT_TRUE(machine.spooler.HasDriver(u"LX-220"));
  Run(u"rundll32", u"printui.dll PrintUIEntry /dl /n \"Label\" /q");
  proc->os.clock->Sleep(100);
  Run(u"rundll32", u"printui.dll PrintUIEntry /dd /m \"LX-220\" /q");
  proc->os.clock->Sleep(500);
  EXPECT_FALSE(Exists(u"Label"));
  EXPECT_FALSE(machine.spooler.HasDriver(u"LX-220"));
  EXPECT_TRUE(machine.spooler.defaultPrinter.empty());
}

TEST_F(SimToolsTest, AQuoteInAPrinterNameBecomesOtherArgumentsAndThenNothingHappens) {
  machine.spooler.InstallDriver(u"LX-220");
  machine.spooler.AddPrinter(u"Office", u"USB001", u"LX-220");
  std::u16string name = u"Lab\" /dl /n \"Office";
  Run(u"rundll32", u"printui.dll PrintUIEntry /y /n \"" + name + u"\"");
  proc->os.clock->Sleep(5000);
  const SimToolRun& run = machine.tools.runs.back();
  EXPECT_EQ(run.argv, (std::vector<std::u16string>{u"printui.dll", u"PrintUIEntry", u"/y", u"/n", u"Lab", u"/dl",
                                                   u"/n", u"Office"}));
  EXPECT_FALSE(run.accepted);  // two actions in one line
  EXPECT_TRUE(Exists(u"Office"));
  EXPECT_TRUE(machine.spooler.defaultPrinter.empty());
}

TEST_F(SimToolsTest, UnknownSwitchesAndMalformedLinesDoNothing) {
  machine.spooler.InstallDriver(u"LX-220");
  machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220");
  for (const char16_t* line : {u"printui.dll PrintUIEntry /y /n \"Label\" /@",
                               u"printui.dll PrintUIEntry /y /n",              // value missing
                               u"printui.dll PrintUIEntry /Y /n \"Label\"",    // /Y is a flag, not /y
                               u"printui.dll printuientry /y /n \"Label\"",    // entry names are exact
                               u"shell32.dll,PrintUIEntry /y /n \"Label\"",
                               u"printui.dll PrintUIEntry Label /y"}) {
    Run(u"rundll32", line);
  }
  proc->os.clock->Sleep(10000);
  for (const auto& run : machine.tools.runs) EXPECT_FALSE(run.accepted);
  EXPECT_TRUE(machine.spooler.defaultPrinter.empty());
  // The joined form of a value is understood.
  Run(u"rundll32", u"printui.dll,PrintUIEntry /y /n\"Label\"");
  proc->os.clock->Sleep(2000);
  EXPECT_EQ(machine.spooler.defaultPrinter, u"Label");
}

TEST_F(SimToolsTest, PnpUtilDeletesAPublishedPackageByName) {
  machine.files.AddFile(u"C:\\Windows\\INF\\oem3.inf", kInf);
  machine.files.AddFile(u"C:\\Windows\\INF\\oem4.inf", "other");
  Run(u"C:\\Windows\\System32\\pnputil.exe", u" -f -d oem3.inf");
  Run(u"C:\\Windows\\System32\\pnputil.exe", u" -f -d C:\\Windows\\INF\\oem4.inf");  // a path is refused
  Run(u"C:\\Windows\\System32\\pnputil.exe", u" -x oem4.inf");
  // A path to where no pnputil lies starts nothing.
  EXPECT_EQ(Run(u"C:\\Windows\\SysWOW64\\pnputil.exe", u" -f -d oem4.inf"), 2);
  EXPECT_TRUE(machine.files.FileExists(u"C:\\Windows\\INF\\oem3.inf"));
  proc->os.clock->Sleep(500);
  EXPECT_FALSE(machine.files.FileExists(u"C:\\Windows\\INF\\oem3.inf"));
  EXPECT_TRUE(machine.files.FileExists(u"C:\\Windows\\INF\\oem4.inf"));
  EXPECT_TRUE(machine.tools.runs[0].accepted);
  EXPECT_FALSE(machine.tools.runs[1].accepted);
  EXPECT_FALSE(machine.tools.runs[2].accepted);
}

TEST_F(SimToolsTest, ThePortScriptAddsARawTcpPort) {
  const std::u16string script = u"C:\\Windows\\System32\\Printing_Admin_Scripts\\en-US\\prnport.vbs";
  machine.tools.scriptDelayMs = 3000;
  Run(u"C:\\Windows\\System32\\cscript.exe",
      u"\"" + script + u"\" -a -r \"IP_10.0.0.7\" -h \"10.0.0.7\" -o raw");
  Run(u"C:\\Windows\\System32\\cscript.exe", u"\"C:\\elsewhere\\prnport.vbs\" -a -r \"IP_10.0.0.8\" -h \"10.0.0.8\"");
  proc->os.clock->Sleep(2500);
  EXPECT_FALSE(machine.spooler.HasPort(u"IP_10.0.0.7"));
  proc->os.clock->Sleep(500);
  EXPECT_TRUE(machine.spooler.HasPort(u"IP_10.0.0.7"));
  EXPECT_EQ(machine.spooler.tcpPorts[u"ip_10.0.0.7"].address, u"10.0.0.7");
  EXPECT_FALSE(machine.spooler.HasPort(u"IP_10.0.0.8"));
}

}  // namespace
}  // namespace lx
