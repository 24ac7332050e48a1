// The simulated service control manager: lifecycle, the program a binary
// path runs, deletion marking and the errors Windows gives.
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

constexpr char16_t kProgram[] = u"C:\\My Setup\\Bonjour\\x64\\mDNSResponder.exe";

class SimServicesTest : public ::testing::Test {
 protected:
  SimServicesTest() { machine.files.AddFile(kProgram, "MZ"); }
  uint32_t LastError() { return proc->os.system->GetLastError(); }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\My Setup\\Qelvin64.exe");
  IServices& sc = *proc->os.services;
};

TEST_F(SimServicesTest, CreateStartStopDeleteGoesWhenTheLastHandleCloses) {
  ScHandle m = sc.OpenSCManagerW(kScManagerAllAccess);
  ASSERT_NE(m, 0u);
  ScHandle s = sc.CreateServiceW(m, u"Own", u"Own", kServiceAllAccess, kServiceWin32OwnProcess, kServiceDemandStart,
                                kServiceErrorNormal, u"\"" + std::u16string(kProgram) + u"\"");
  ASSERT_NE(s, 0u);
  EXPECT_EQ(sc.CreateServiceW(m, u"OWN", u"Other", kServiceAllAccess, kServiceWin32OwnProcess, kServiceDemandStart,
                             kServiceErrorNormal, u"x.exe"), 0u);
  EXPECT_EQ(LastError(), kErrorServiceExists);
  EXPECT_EQ(sc.CreateServiceW(m, u"Two", u"own", kServiceAllAccess, kServiceWin32OwnProcess, kServiceDemandStart,
                             kServiceErrorNormal, u"x.exe"), 0u);
  EXPECT_EQ(LastError(), kErrorDuplicateServiceName);

  ServiceStatus st;
  ASSERT_TRUE(sc.QueryServiceStatus(s, st));
  EXPECT_EQ(st.currentState, kServiceStopped);
  EXPECT_FALSE(sc.ControlService(s, kServiceControlStop, st));
  EXPECT_EQ(LastError(), kErrorServiceNotActive);
  ASSERT_TRUE(sc.StartServiceW(s));
  EXPECT_EQ(machine.services.Find(u"own")->runningProgram, kProgram);
  EXPECT_FALSE(sc.StartServiceW(s));
  EXPECT_EQ(LastError(), kErrorServiceAlreadyRunning);

  ASSERT_TRUE(sc.DeleteService(s));
  EXPECT_FALSE(sc.DeleteService(s));
  EXPECT_EQ(LastError(), kErrorServiceMarkedForDelete);
  ScHandle again = sc.OpenServiceW(m, u"Own", kServiceAllAccess);  // still there while running
  ASSERT_NE(again, 0u);
  EXPECT_TRUE(sc.CloseServiceHandle(again));
  EXPECT_TRUE(sc.ControlService(s, kServiceControlStop, st));
  EXPECT_EQ(st.currentState, kServiceStopped);
  EXPECT_FALSE(sc.StartServiceW(s));
  EXPECT_EQ(LastError(), kErrorServiceMarkedForDelete);
  EXPECT_EQ(sc.CreateServiceW(m, u"Own", u"Own", kServiceAllAccess, kServiceWin32OwnProcess, kServiceDemandStart,
                             kServiceErrorNormal, u"x.exe"), 0u);
  EXPECT_EQ(LastError(), kErrorServiceMarkedForDelete);
  EXPECT_TRUE(sc.CloseServiceHandle(s));
  EXPECT_EQ(machine.services.Find(u"Own"), nullptr);
  EXPECT_EQ(sc.OpenServiceW(m, u"Own", kServiceAllAccess), 0u);
  EXPECT_EQ(LastError(), kErrorServiceDoesNotExist);
  EXPECT_TRUE(sc.CloseServiceHandle(m));
  EXPECT_FALSE(sc.CloseServiceHandle(m));
  EXPECT_EQ(LastError(), kErrorInvalidHandle);
  EXPECT_EQ(machine.services.OpenHandles(), 0u);
}

TEST_F(SimServicesTest, AStartRunsTheProgramCreateProcessWouldFind) {
  // Unquoted, "C:\My Setup\..." is tried as "C:\My.exe" first.
  EXPECT_EQ(machine.services.ProgramOf(kProgram), kProgram);
  machine.files.AddFile(u"C:\\My.exe", "MZ");
  EXPECT_EQ(machine.services.ProgramOf(kProgram), u"C:\\My.exe");
  EXPECT_EQ(machine.services.ProgramOf(u"\"" + std::u16string(kProgram) + u"\" -arg"), kProgram);
  EXPECT_EQ(machine.services.ProgramOf(u"\"C:\\My Setup\\Bonjour\\x64\\mDNSResponder\""), kProgram);

  SimService gone;
  gone.binaryPath = u"\"C:\\Old\\mDNSResponder.exe\"";
  machine.services.Add(u"Old", gone);
  ScHandle m = sc.OpenSCManagerW(kScManagerAllAccess);
  ScHandle s = sc.OpenServiceW(m, u"old", kServiceStart | kServiceChangeConfig);
  ASSERT_NE(s, 0u);
  EXPECT_FALSE(sc.StartServiceW(s));
  EXPECT_EQ(LastError(), kErrorFileNotFound);
  ASSERT_TRUE(sc.ChangeServiceConfigW(s, kServiceNoChange, kServiceNoChange, kServiceNoChange,
                                     u"\"" + std::u16string(kProgram) + u"\""));
  EXPECT_EQ(machine.services.Find(u"Old")->startType, kServiceDemandStart);
  EXPECT_TRUE(sc.StartServiceW(s));
  ServiceStatus st;
  EXPECT_FALSE(sc.QueryServiceStatus(s, st));  // opened without the query right
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  sc.CloseServiceHandle(s);
  sc.CloseServiceHandle(m);
}

TEST_F(SimServicesTest, RightsAndChosenFailures) {
  machine.services.administrator = false;
  EXPECT_EQ(sc.OpenSCManagerW(kScManagerAllAccess), 0u);
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  ScHandle m = sc.OpenSCManagerW(kScManagerConnect);
  ASSERT_NE(m, 0u);
  EXPECT_EQ(sc.CreateServiceW(m, u"A", u"A", kServiceAllAccess, kServiceWin32OwnProcess, kServiceDemandStart,
                             kServiceErrorNormal, kProgram), 0u);
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  EXPECT_FALSE(sc.StartServiceW(m));  // a manager handle is no service handle
  EXPECT_EQ(LastError(), kErrorInvalidHandle);
  sc.CloseServiceHandle(m);

  machine.services.administrator = true;
  machine.services.failures["OpenSCManagerW"] = 1115;
  EXPECT_EQ(sc.OpenSCManagerW(kScManagerAllAccess), 0u);
  EXPECT_EQ(LastError(), 1115u);
}

}  // namespace
}  // namespace lx

namespace lx {
namespace {

// The configuration reads back whole, and needs the query-config right.
TEST_F(SimServicesTest, TheConfigurationReadsBackWithTheQueryConfigRight) {
  ScHandle m = sc.OpenSCManagerW(kScManagerAllAccess);
  std::u16string longPath = u"\"C:\\" + std::u16string(40000, u'a') + u".exe\" -x";
  ScHandle s = sc.CreateServiceW(m, u"Own", u"Own", kServiceAllAccess, kServiceWin32OwnProcess, kServiceDemandStart,
                                kServiceErrorNormal, longPath);
  std::optional<ServiceConfig> config = sc.QueryServiceConfigW(s);
  ASSERT_TRUE(config);
  EXPECT_EQ(config->binaryPath, longPath);
  EXPECT_EQ(config->startType, kServiceDemandStart);
  ScHandle statusOnly = sc.OpenServiceW(m, u"Own", kServiceQueryStatus);
  EXPECT_FALSE(sc.QueryServiceConfigW(statusOnly));
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  for (ScHandle h : {statusOnly, s, m}) sc.CloseServiceHandle(h);
}

}  // namespace
}  // namespace lx
