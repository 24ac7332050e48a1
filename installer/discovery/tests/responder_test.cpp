// The responder service on the simulated machine, by road: a system service
// that runs or can be started, our own service absent, present or pointing
// at a folder that is gone, the failures of each call, and the removal.
#include <gtest/gtest.h>

#include <vector>

#include "common/text.h"
#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/discovery/dnssd_binding.h"
#include "installer/discovery/responder_service.h"
#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

using Lines = std::vector<std::u16string>;

constexpr char16_t kSetup[] = u"C:\\My Setup\\Setup\\";
const std::u16string kShipped = std::u16string(kSetup) + u"Bonjour\\x64\\mDNSResponder.exe";
// The copy our service runs, in the installation folder.
const std::u16string kResponder = u"C:\\Program Files\\Label Printer Driver\\Bonjour\\x64\\mDNSResponder.exe";
const std::u16string kQuoted = u"\"" + kResponder + u"\"";

class ResponderTest : public ::testing::Test {
 protected:
  ResponderTest() {
    debugEnabled = 1;
    StartUpConfig() = InstallerConfig();
    StartUpConfig().install.FilePath = u"Label Printer Driver";
    machine.files.AddFile(kShipped, "MZ");
  }
  ~ResponderTest() override {
    debugEnabled = 0;
    StartUpConfig() = InstallerConfig();
  }

  const Os& os() { return proc->os; }
  Lines Trace() { return proc->debug.lines; }
  SimService& AddService(const char16_t* name, std::u16string binaryPath, uint32_t state) {
    SimService s;
    s.displayName = name;
    s.binaryPath = std::move(binaryPath);
    s.state = state;
    return machine.services.Add(name, s);
  }
  SimService* Own() { return machine.services.Find(kOwnResponderService); }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(std::u16string(kSetup) + u"Qelvin64.exe");
};

TEST_F(ResponderTest, ARunningSystemServiceIsUsedAndNothingIsCreated) {
  AddService(u"Bonjour Service", u"\"C:\\Program Files\\Bonjour\\mDNSResponder.exe\"", kServiceRunning);
  EXPECT_TRUE(PrepareResponder(os()));
  EXPECT_EQ(Trace(), (Lines{u"Found Bonjour Service", u"Service already running"}));
  EXPECT_EQ(Own(), nullptr);
  EXPECT_EQ(machine.clock.now, 0u);

  RemoveOwnResponder(os());  // Next on the list page: nothing of ours to delete
  EXPECT_EQ(machine.services.Find(u"Bonjour Service")->state, kServiceRunning);
  EXPECT_FALSE(machine.services.Find(u"Bonjour Service")->markedForDelete);
  EXPECT_EQ(machine.services.OpenHandles(), 0u);
}

TEST_F(ResponderTest, AStoppedSystemServiceIsStartedOrElseOursIsCreatedQuoted) {
  machine.files.AddFile(u"C:\\Bonjour\\mDNSResponder.exe", "MZ");
  AddService(u"Bonjour Service", u"C:\\Bonjour\\mDNSResponder.exe", kServiceStopped);
  EXPECT_EQ(EnsureResponderRunning(os()), 1);
  EXPECT_EQ(Trace(), (Lines{u"Found Bonjour Service", u"Service exists but not running, try StartService...",
                            u"StartService success (existing)"}));
  EXPECT_EQ(machine.services.Find(u"Bonjour Service")->state, kServiceRunning);

  // Its program gone: our own one, although a "C:\My.exe" waits for an
  // unquoted path in a folder with blanks.
  proc->debug.lines.clear();
  machine.services.Find(u"Bonjour Service")->state = kServiceStopped;
  machine.files.RemoveFile(u"C:\\Bonjour\\mDNSResponder.exe");
  machine.files.AddFile(u"C:\\My.exe", "MZ");
  EXPECT_TRUE(PrepareResponder(os()));
  EXPECT_EQ(Trace(), (Lines{u"Found Bonjour Service", u"Service exists but not running, try StartService...",
                            u"StartService failed (2)", u"Bonjour Service 运行异常", u"Start Bonjour Service",
                            u"bonjour Path=" + kResponder, u"StartService success", u"Bonjour Success"}));
  ASSERT_NE(Own(), nullptr);
  EXPECT_EQ(Own()->displayName, u"ZAX Bonjour Service");
  EXPECT_EQ(Own()->binaryPath, kQuoted);
  EXPECT_EQ(Own()->runningProgram, kResponder);
  EXPECT_EQ(Own()->type, kServiceWin32OwnProcess);
  EXPECT_EQ(Own()->startType, kServiceDemandStart);
  EXPECT_EQ(Own()->errorControl, kServiceErrorNormal);
  EXPECT_EQ(machine.clock.now, 1000u);  // after the failed start, before ours
  EXPECT_EQ(machine.services.OpenHandles(), 0u);
}

TEST_F(ResponderTest, OurOwnServiceIsFoundAndStartedOrCreatedWhenAbsent) {
  EXPECT_EQ(EnsureResponderRunning(os()), 0);
  EXPECT_EQ(Trace(), (Lines{u"Bonjour Service Not found", u"ZAX Bonjour Service Not found"}));
  EXPECT_EQ(InstallOwnResponder(os()), 1);
  EXPECT_EQ(Own()->state, kServiceRunning);

  proc->debug.lines.clear();
  Own()->state = kServiceStopped;
  EXPECT_EQ(EnsureResponderRunning(os()), 1);
  EXPECT_EQ(Trace(), (Lines{u"Bonjour Service Not found", u"Found ZAX Bonjour Service",
                            u"Service exists but not running, try StartService...",
                            u"StartService success (existing)"}));

  // Started again while it runs: the existing one is reused, and the start's
  // "already running" counts as a failure as the manager reports it.
  proc->debug.lines.clear();
  EXPECT_EQ(InstallOwnResponder(os()), 0);
  EXPECT_EQ(Trace(), (Lines{u"Start Bonjour Service", u"bonjour Path=" + kResponder,
                            u"Service already exists, try open", u"StartService failed (1056), retry once",
                            u"StartService still failed (1056)"}));
}

TEST_F(ResponderTest, AServiceLeftPointingAtAGoneFolderIsRepairedAndStarted) {
  AddService(kOwnResponderService, u"\"D:\\Old Medium\\Setup\\Bonjour\\x64\\mDNSResponder.exe\"", kServiceStopped);
  EXPECT_TRUE(PrepareResponder(os()));
  EXPECT_EQ(Trace(), (Lines{u"Bonjour Service Not found", u"Found ZAX Bonjour Service",
                            u"ZAX Bonjour Service does not run the installed responder; not started as found",
                            u"Bonjour Service 运行异常", u"Start Bonjour Service", u"bonjour Path=" + kResponder,
                            u"Service already exists, try open",
                            u"ZAX Bonjour Service runs another program: "
                            u"\"D:\\Old Medium\\Setup\\Bonjour\\x64\\mDNSResponder.exe\"",
                            u"Service path updated: " + kResponder, u"StartService success", u"Bonjour Success"}));
  EXPECT_EQ(Own()->binaryPath, kQuoted);
  EXPECT_EQ(Own()->runningProgram, kResponder);
  EXPECT_EQ(Own()->startType, kServiceDemandStart);
  EXPECT_EQ(machine.clock.now, 500u);
  EXPECT_EQ(machine.services.OpenHandles(), 0u);
}

TEST_F(ResponderTest, EachFailingCallEndsWithItsTraceAndResult) {
  machine.services.administrator = false;
  EXPECT_FALSE(PrepareResponder(os()));
  EXPECT_EQ(Trace(), (Lines{u"Bonjour Service 运行异常", u"OpenSCManager failed (5)", u"Bonjour Fail"}));
  machine.services.administrator = true;

  proc->debug.lines.clear();
  AddService(u"Other", u"x.exe", kServiceStopped).displayName = u"ZAX Bonjour Service";
  EXPECT_EQ(InstallOwnResponder(os()), 0);
  EXPECT_EQ(Trace(), (Lines{u"Start Bonjour Service", u"bonjour Path=" + kResponder,
                            u"Create Service Failed, err = 1078"}));

  proc->debug.lines.clear();
  machine.services.Find(u"Other")->displayName = u"Other";
  AddService(kOwnResponderService, u"\"D:\\Gone\\mDNSResponder.exe\"", kServiceStopped);
  machine.services.failures["ChangeServiceConfigW"] = kErrorAccessDenied;
  EXPECT_EQ(InstallOwnResponder(os()), 0);
  // The repair refused: the service is not started with the program it names.
  EXPECT_EQ(Trace(), (Lines{u"Start Bonjour Service", u"bonjour Path=" + kResponder,
                            u"Service already exists, try open",
                            u"ZAX Bonjour Service runs another program: \"D:\\Gone\\mDNSResponder.exe\"",
                            u"ChangeServiceConfig failed, err=5; ZAX Bonjour Service not started"}));
  EXPECT_EQ(Own()->starts, 0);
  machine.services.failures.clear();

  // A start that fails otherwise is retried once, without touching the path.
  proc->debug.lines.clear();
  Own()->binaryPath = kQuoted;
  Own()->failsToStart = kErrorServiceRequestTimeout;
  EXPECT_EQ(InstallOwnResponder(os()), 0);
  EXPECT_EQ(Trace(), (Lines{u"Start Bonjour Service", u"bonjour Path=" + kResponder,
                            u"Service already exists, try open", u"StartService failed (1053), retry once",
                            u"StartService still failed (1053)"}));
  EXPECT_EQ(Own()->starts, 2);

  proc->debug.lines.clear();
  machine.services.failures = {{"QueryServiceStatus", kErrorAccessDenied}};
  Own()->failsToStart = 0;
  EXPECT_EQ(EnsureResponderRunning(os()), 1);  // status unknown: started
  EXPECT_EQ(Trace()[2], u"Service exists but not running, try StartService...");
  machine.services.failures = {{"OpenSCManagerW", 1115}};
  proc->debug.lines.clear();
  EXPECT_EQ(EnsureResponderRunning(os()), 0);
  EXPECT_TRUE(Trace().empty());
  EXPECT_EQ(machine.services.OpenHandles(), 0u);
}

TEST_F(ResponderTest, RemovalStopsAndDeletesOnlyOurService) {
  AddService(u"Bonjour Service", u"C:\\B.exe", kServiceRunning);
  ASSERT_EQ(InstallOwnResponder(os()), 1);
  uint64_t before = machine.clock.now;
  RemoveOwnResponder(os());
  EXPECT_EQ(Own(), nullptr);
  EXPECT_EQ(machine.clock.now - before, 500u);
  EXPECT_EQ(machine.services.Find(u"Bonjour Service")->state, kServiceRunning);
  RemoveOwnResponder(os());  // nothing left: no pause
  EXPECT_EQ(machine.clock.now - before, 500u);

  // A stopped one is deleted too; without rights nothing happens.
  AddService(kOwnResponderService, kQuoted, kServiceStopped);
  machine.services.failures = {{"OpenSCManagerW", kErrorAccessDenied}};
  RemoveOwnResponder(os());
  EXPECT_NE(Own(), nullptr);
  machine.services.failures.clear();
  RemoveOwnResponder(os());
  EXPECT_EQ(Own(), nullptr);
  EXPECT_EQ(machine.services.OpenHandles(), 0u);
}

TEST(ResponderProgram, FolderOfTheInstallerAndWordSizeOfTheMachine) {
  SimMachine machine;
  auto proc = machine.StartProcess(u"Qelvin64.exe");
  // No folder in the module path: no bare name, which would be looked for.
  EXPECT_EQ(OwnResponderProgram(proc->os), u"");
  EXPECT_TRUE(proc->debug.Has(u"Module path \"Qelvin64.exe\" has no folder; no Bonjour\\x64\\mDNSResponder.exe"));
  SimMachine x86;
  x86.MakeThirtyTwoBit();
  auto proc32 = x86.StartProcess(u"E:\\Setup\\Qelvin32.exe", 32);
  EXPECT_EQ(OwnResponderProgram(proc32->os), u"E:\\Setup\\Bonjour\\x86\\mDNSResponder.exe");
  EXPECT_EQ(ServiceCommandLine(u"C:\\a b\\m.exe"), u"\"C:\\a b\\m.exe\"");
  EXPECT_EQ(ServiceCommandLine(u"C:\\a\" -x \"b.exe"), u"");
}

// Service boundary: a service of our name with any other program line is
// never started as found; it is stopped, repaired to our installed copy, or,
// when that is refused, left unstarted and removed.
TEST_F(ResponderTest, AServiceOfOurNameWithAnotherProgramIsRepairedOrRefusedNeverStartedAsFound) {
  const std::u16string planted = u"C:\\Users\\Public\\responder.exe";
  machine.files.AddFile(planted, "MZ");
  machine.files.AddFile(kResponder, "MZ");
  for (const std::u16string& line : {std::u16string(), std::u16string(u"mDNSResponder.exe"), kResponder,
                                     kQuoted + u" -x", planted, u"\"" + kShipped + u"\"",
                                     u"\"C:\\" + std::u16string(40000, u'x') + u".exe\""}) {
    SCOPED_TRACE(Utf16ToUtf8(line.substr(0, 80)));
    SimService& found = AddService(kOwnResponderService, line, line == planted ? kServiceRunning : kServiceStopped);
    if (line == planted) found.runningProgram = planted;
    EXPECT_EQ(EnsureResponderRunning(os()), 0);
    EXPECT_EQ(Own()->starts, 0);
    EXPECT_TRUE(PrepareResponder(os()));
    EXPECT_EQ(Own()->binaryPath, kQuoted);
    EXPECT_EQ(Own()->runningProgram, kResponder);
    EXPECT_EQ(Own()->starts, 1);
    RemoveOwnResponder(os());
  }
  for (const char* failing : {"ChangeServiceConfigW", "QueryServiceConfigW"}) {
    SCOPED_TRACE(failing);
    AddService(kOwnResponderService, planted, kServiceStopped);
    machine.services.failures = {{failing, kErrorAccessDenied}};
    EXPECT_EQ(InstallOwnResponder(os()), 0);
    EXPECT_EQ(Own()->starts, 0);
    EXPECT_FALSE(PrepareResponder(os()));
    EXPECT_EQ(Own(), nullptr);
    machine.services.failures.clear();
  }
  EXPECT_TRUE(ServiceRunsProgram(u"\"c:\\program files\\LABEL printer driver\\bonjour\\x64\\mdnsresponder.exe\"",
                                 kResponder));
}

// Our program is copied into Program Files; an installation folder outside
// it, or none, registers nothing. A cut module path names no file beside
// the installer.
TEST_F(ResponderTest, TheProgramIsCopiedIntoProgramFilesOrNothingIsRegistered) {
  machine.files.AddFile(kShipped, "MZ shipped");
  ASSERT_EQ(InstallOwnResponder(os()), 1);
  EXPECT_EQ(machine.files.ReadFile(kResponder), std::optional<std::string>("MZ shipped"));
  RemoveOwnResponder(os());
  for (const char16_t* filePath : {u"", u"C:\\Users\\Public\\Bonjour", u"..\\..\\Users\\Public", u".."}) {
    StartUpConfig().install.FilePath = filePath;
    EXPECT_FALSE(PrepareResponder(os())) << Utf16ToUtf8(filePath);
    EXPECT_EQ(Own(), nullptr);
  }
  EXPECT_TRUE(proc->debug.Has(u"No installation folder under Program Files for the responder"));

  std::u16string cut = u"C:\\" + std::u16string(250, u'd') + u"\\Setup\\Qelvin64.exe";
  auto cutProc = machine.StartProcess(cut);
  EXPECT_EQ(OwnResponderProgram(cutProc->os), u"");
  EXPECT_EQ(DnssdLibraryPath(cutProc->os), u"");
  EXPECT_TRUE(cutProc->debug.Has(u"Module path cut at MAX_PATH; no dnssd.dll: " + cut.substr(0, 259)));
}

}  // namespace
}  // namespace lx
