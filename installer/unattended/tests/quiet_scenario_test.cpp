#include <gtest/gtest.h>

#include "common/text.h"
#include "installer/core/app.h"
#include "installer/core/exit_codes.h"
#include "installer/core/resource_ids.h"
#include "installer/core/ui_language.h"
#include "installer/engine/protected_print.h"
#include "installer/engine/tests/engine_fixture.h"
#include "installer/unattended/quiet_install.h"
#include "platform/sim/sim_session.h"
#include "ui/fake/fake_desktop.h"
#include "ui/fake/rc_reader.h"

namespace lx {
namespace {

const std::u16string kEntryKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabelDriver";
const std::u16string kLog = u"C:\\Logs\\qelvin.log";

class NeverWizard : public IWizardRunner {
 public:
  void Run(bool) override { ++runs; }
  int runs = 0;
};

const std::map<unsigned, std::u16string>& Strings(const char* suffix) {
  static std::map<std::string, std::map<unsigned, std::u16string>> tables;
  auto& table = tables[suffix];
  if (table.empty()) {
    RcScripts scripts;
    EXPECT_TRUE(scripts.ReadDefines(std::string(LX_PAGES_RES_DIR) + "/../../core/resource_ids.h"));
    table = scripts.ReadStrings(std::string(LX_PAGES_RES_DIR) + "/strings_" + suffix + ".rc").value_or(table);
  }
  return table;
}

class QuietScenarioTest : public EngineMachineTest {
 protected:
  void SetUp() override {
    EngineMachineTest::SetUp();
    machine.files.CreateFolder(u"C:\\Logs");
    machine.spooler.AddPort(u"LPT1:");
    for (const char* suffix : {"enus", "ru"})
      for (const auto& [id, text] : Strings(suffix))
        proc->resources.AddString(id, FindUiLanguageBySuffix(Utf8ToUtf16(suffix))->WindowsLangId(), text);
  }
  // One whole program run, as Qelvin64.exe does it.
  int Run(const std::u16string& commandLine) {
    desktop = FakeDesktop();
    SimSession session(proc->system);
    QuietInstaller quiet(os, session, state);
    CCalvethApp app(os, desktop, &wizard, &quiet, state);
    app.InitInstance(commandLine);
    restarts = session.requests.size();
    return app.exitCode;
  }
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    std::string text = machine.files.ReadFile(kLog).value_or("");
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
      lines.push_back(text.substr(at, end - at));
    return lines;
  }
  std::string LastLogLine() {
    auto lines = LogLines();
    // "yyyy-mm-dd hh:mm:ss.mmm " before each line
    return lines.empty() ? "" : lines.back().substr(24);
  }
  bool NothingChanged() {
    return machine.shell.launches.empty() && !machine.spooler.HasDriver(u"LX-220 Label") &&
           !machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault) &&
           !machine.files.FileExists(u"C:\\Program Files\\LabelCo\\Setup\\Qelvin64.exe");
  }

  FakeDesktop desktop;
  NeverWizard wizard;
  size_t restarts = 0;
};

TEST_F(QuietScenarioTest, ChosenPortInstallsThePrinterWithoutAWindowAndLogsTheOutcome) {
  int code = Run(u"/quiet /port:LPT1: \"/model:LX-220 Label\" /name:\"Front desk\" /lang:de /log:" + kLog);
  EXPECT_EQ(code, kExitSuccess);
  SimPrinter* printer = machine.spooler.Find(u"Front desk");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"LPT1:");
  EXPECT_EQ(os.registry->GetString(RegRoot::kLocalMachine, u"SOFTWARE\\LabelCo\\LX220", u"Suffix"), u"de");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(wizard.runs, 0);
  auto lines = LogLines();
  ASSERT_GT(lines.size(), 5u);
  EXPECT_EQ(lines[0].substr(0, 24), "2026-12-10 09:30:00.000 ");
  EXPECT_EQ(lines[0].substr(24), "InitInstance ==>");  // the log was opened first
  EXPECT_EQ(LastLogLine(), "Result: installed, exit code 0");
  // The log holds the engine's trace, gated lines included.
  bool printui = false;
  for (const auto& l : lines) printui = printui || l.find("printui.dll PrintUIEntry /if") != std::string::npos;
  EXPECT_TRUE(printui);
  EXPECT_TRUE(Traced(u"Result: installed, exit code 0"));

  // Then the quiet removal, with no restart: 3010.
  EXPECT_EQ(Run(u"/quiet /uninstall /norestart /log:" + kLog), kExitRestartRequired);
  EXPECT_EQ(machine.spooler.Find(u"Front desk"), nullptr);
  EXPECT_FALSE(machine.spooler.HasDriver(u"LX-220 Label"));
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault));
  EXPECT_EQ(restarts, 0u);
  EXPECT_EQ(LastLogLine(), "Result: removed, exit code 3010");
  // Without /norestart the restart is started: 1641.
  EXPECT_EQ(Run(u"/quiet /uninstall"), kExitRestartStarted);
  EXPECT_EQ(restarts, 1u);
}

TEST_F(QuietScenarioTest, UsbRoadWithAndWithoutAPrinterAttached) {
  EXPECT_EQ(Run(u"/quiet /log:" + kLog + u" /usb"), kExitSuccess);
  EXPECT_EQ(LastLogLine(), "Result: driver installed without a printer, exit code 0");
  EXPECT_TRUE(machine.spooler.HasDriver(u"LX-220 Label"));
  EXPECT_EQ(machine.spooler.Find(u"Label"), nullptr);
  for (const SimToolRun* run : Runs(u"rundll32.exe")) EXPECT_EQ(run->action, u"/ia");

  machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0220\\LX0001", kUsbPath220}, 7);
  EXPECT_EQ(Run(u"-Q -USB /log:" + kLog), kExitSuccess);
  EXPECT_EQ(LastLogLine(), "Result: installed, exit code 0");
  ASSERT_NE(machine.spooler.Find(u"Label"), nullptr);
  EXPECT_EQ(machine.spooler.Find(u"Label")->info.portName, u"USB007");
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(QuietScenarioTest, NetworkRoadByHostNameAndAPortThatNeverAppears) {
  EXPECT_EQ(Run(u"/quiet /address:lx220-0a1b.local \"/model:LX-220 Label\" /log:" + kLog), kExitSuccess);
  ASSERT_NE(machine.spooler.Find(u"LX-220 Label NET"), nullptr);
  EXPECT_EQ(machine.spooler.Find(u"LX-220 Label NET")->info.portName, u"IP_lx220-0a1b.local");

  // No script and a name too long for the port monitor: no port, no printer.
  machine.files.RemoveFile(u"C:\\Windows\\system32\\Printing_Admin_Scripts\\en-US\\prnport.vbs");
  std::u16string host = std::u16string(50, u'p') + u".local";
  EXPECT_EQ(Run(u"/quiet /address:" + host + u" \"/model:LX-220 Label\" /log:" + kLog), kExitFailure);
  EXPECT_EQ(LastLogLine(), "Result: failed: the port was not created, exit code 1603");
  EXPECT_EQ(machine.spooler.Find(u"LX-220 Label NET (1)"), nullptr);
}

TEST_F(QuietScenarioTest, BadSwitchesGet87AndChangeNothing) {
  const std::u16string bad[] = {
      u"/quiet /usb /frobnicate",
      u"/quiet /usb /usb",
      u"/quiet /port:COM9: \"/model:LX-220 Label\"",
      u"/quiet /port:LPT1: /model:NoSuchModel",
      u"/quiet /usb /lang:xx",
      u"/quiet \"/address:a b;c\" \"/model:LX-220 Label\"",
      u"/quiet /usb /log:C:\\NoSuchFolder\\q.log",
      u"/quiet /uninstall /usb",
      u"/quiet /port:LPT1: \"/model:LX-220 Label\" \"/name:uninstall this\"",
      u"/quiet /model:" + std::u16string(32767, u'm'),
  };
  for (const auto& line : bad) {
    SCOPED_TRACE(Utf16ToUtf8(line.substr(0, 80)));
    EXPECT_EQ(Run(line), kExitBadCommandLine);
    EXPECT_TRUE(NothingChanged());
    EXPECT_TRUE(desktop.boxes.empty());
  }
  machine.files.SetAttributes(kLog, kFileAttributeReadOnly);
  machine.files.WriteFile(kLog, "old");
  machine.files.SetAttributes(kLog, kFileAttributeReadOnly);
  EXPECT_EQ(Run(u"/quiet /usb /log:" + kLog), kExitBadCommandLine);
  EXPECT_TRUE(Traced(u"The log file " + kLog + u" cannot be written"));
  EXPECT_TRUE(NothingChanged());
  machine.files.SetAttributes(kLog, kFileAttributeNormal);

  // The refusal is in the log when the log can be written.
  EXPECT_EQ(Run(u"/quiet /usb /bogus /log:" + kLog), kExitBadCommandLine);
  auto lines = LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2].substr(24), "Command line refused: /bogus: unknown switch");
  EXPECT_EQ(LastLogLine(), "Result: command line refused, exit code 87");

  // Not quiet: a message names the bad switch, in the user's language.
  proc->system.userUiLanguage = 1049;
  EXPECT_EQ(Run(u"/log:" + kLog + u" /bogus"), kExitBadCommandLine);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text.find(u"\u041D\u0435\u0432\u0435\u0440\u043D\u0430\u044F"), 0u);
  EXPECT_NE(desktop.boxes[0].text.find(u": /bogus\r\n"), std::u16string::npos);
  EXPECT_TRUE(NothingChanged());
  EXPECT_EQ(wizard.runs, 0);
}

TEST_F(QuietScenarioTest, HelpTextInEnglishAndRussian) {
  EXPECT_EQ(Run(u"/?"), kExitSuccess);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  const std::u16string& en = desktop.boxes[0].text;
  for (const char16_t* sw : {u"/quiet", u"/usb", u"/port:", u"/address:", u"/model:", u"/name:", u"/lang:", u"/log:",
                             u"/uninstall", u"/norestart", u"3010", u"1625", u"87 invalid"})
    EXPECT_NE(en.find(sw), std::u16string::npos) << Utf16ToUtf8(sw);
  proc->system.userUiLanguage = 1049;
  EXPECT_EQ(Run(u"-HELP"), kExitSuccess);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_NE(desktop.boxes[0].text.find(u"/norestart - \u043D\u0435 \u043F\u0435\u0440\u0435\u0437\u0430\u0433\u0440\u0443\u0436\u0430\u0442\u044C"),
            std::u16string::npos);
  EXPECT_EQ(wizard.runs, 0);
  EXPECT_TRUE(NothingChanged());
}

TEST_F(QuietScenarioTest, SecondInstanceGets1618WithoutAWindow) {
  auto first = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  bool existed = false;
  ASSERT_NE(first->sync.CreateNamedMutex(u"LabelInstaller", true, existed), Handle{});
  machine.files.WriteFile(kLog, "the first installer's line\r\n");
  EXPECT_EQ(Run(u"/quiet /usb /log:" + kLog), kExitAnotherRunning);
  // Both logs end up in one file: the first one's lines stay.
  EXPECT_EQ(LogLines().front(), "the first installer's line");
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(LastLogLine(), "Result: another installer is running, exit code 1618");
  EXPECT_TRUE(NothingChanged());
  // Interactive, the message as before, and the same code.
  EXPECT_EQ(Run(u""), kExitAnotherRunning);
  EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(QuietScenarioTest, ProtectedPrintModeStagesNothingButLetsTheRemovalRun) {
  machine.registry.CreateKey(RegRoot::kLocalMachine, kProtectedPrintPolicyKey, RegView::kDefault);
  machine.registry.SetDword(RegRoot::kLocalMachine, kProtectedPrintPolicyKey, kProtectedPrintPolicyValue, 1,
                            RegView::kDefault);
  EXPECT_EQ(Run(u"/quiet /port:LPT1: \"/model:LX-220 Label\" /log:" + kLog), kExitProtectedPrint);
  EXPECT_EQ(LastLogLine(), "Result: Windows protected print mode is on, exit code 1625");
  EXPECT_TRUE(NothingChanged());

  // The policy off, the system's own query on: the same.
  machine.registry.SetDword(RegRoot::kLocalMachine, kProtectedPrintPolicyKey, kProtectedPrintPolicyValue, 0,
                            RegView::kDefault);
  proc->system.protectedPrint = true;
  EXPECT_EQ(Run(u"/quiet /usb"), kExitProtectedPrint);
  EXPECT_TRUE(Traced(u"Windows protected print mode is on (IsProtectedPrintEnabled)"));
  EXPECT_TRUE(NothingChanged());

  EXPECT_EQ(Run(u"/quiet /uninstall /norestart"), kExitRestartRequired);
  proc->system.protectedPrint = false;
  EXPECT_EQ(Run(u"/quiet \"/model:LX-220 Label\""), kExitSuccess);
  EXPECT_TRUE(machine.spooler.HasDriver(u"LX-220 Label"));
}

}  // namespace
}  // namespace lx
