// Under Wine (or Windows): our own responder service is created, started,
// found running, stopped and deleted through the real service manager, with
// a stand-in service program where the installer ships the responder, in a
// folder with blanks; the service runs the copy in the installation folder
// under Program Files. A service left pointing at another program is
// repaired. Every service and file the test makes is removed again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/discovery/responder_service.h"
#include "platform/debug_output.h"
#include "platform/files.h"
#include "platform/service_control.h"
#include "platform/win32/win32_os.h"

namespace lx {
namespace {

const std::wstring kStandin = L"Z:" LX_RESPONDER_STANDIN;

std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

class Trace : public IDebugOutput {
 public:
  void OutputA(const std::string& text) override { lines.push_back(Utf8ToUtf16(text)); }
  void OutputW(const std::u16string& text) override { lines.push_back(text); }
  std::vector<std::u16string> lines;
};

// The installer's module path is where the test says it is.
class PlacedSystem : public Win32System {
 public:
  std::u16string ModuleFileName() override { return module; }
  std::u16string module;
};

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ResponderServiceWin : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    root = std::wstring(temp) + L"lx responder " + std::to_wstring(::GetCurrentProcessId());
    setup = root + L"\\Setup\\";
    program = setup + L"Bonjour\\x64\\mDNSResponder.exe";
    // Where an unquoted path would send the manager first.
    planted = std::wstring(temp) + L"lx.exe";
    for (auto dir : {root, root + L"\\Setup", setup + L"Bonjour", setup + L"Bonjour\\x64"})
      ASSERT_TRUE(::CreateDirectoryW(dir.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(::CopyFileW(kStandin.c_str(), program.c_str(), FALSE)) << ::GetLastError();
    plantedHere = !Exists(planted) && ::CopyFileW(kStandin.c_str(), planted.c_str(), TRUE);
    system.module = U16(setup + L"Qelvin64.exe");
    os = platform.os();
    os.system = &system;
    os.debug = &trace;
    debugEnabled = 1;
    std::wstring folder = L"LxResponder Test " + std::to_wstring(::GetCurrentProcessId());
    StartUpConfig().install.FilePath = U16(folder);
    auto programFiles = os.files->GetFolderPath(KnownFolder::kProgramFiles);
    ASSERT_TRUE(programFiles);
    installFolder = std::wstring(programFiles->begin(), programFiles->end()) + L"\\" + folder;
    installed = installFolder + L"\\Bonjour\\x64\\mDNSResponder.exe";
    RemoveOwnResponder(os);  // one left by an earlier run
    ASSERT_TRUE(WaitUntilGone());
    trace.lines.clear();
  }
  void TearDown() override {
    RemoveOwnResponder(os);
    EXPECT_TRUE(WaitUntilGone());
    debugEnabled = 0;
    // The service's process may take a moment to end and free its file.
    for (int i = 0; i < 50 && Exists(installed) && !::DeleteFileW(installed.c_str()); ++i) ::Sleep(100);
    ::DeleteFileW((installFolder + L"\\Bonjour\\x64\\started.txt").c_str());
    for (auto dir : {installFolder + L"\\Bonjour\\x64", installFolder + L"\\Bonjour", installFolder})
      ::RemoveDirectoryW(dir.c_str());
    EXPECT_FALSE(Exists(installFolder));
    StartUpConfig() = InstallerConfig();
    ::DeleteFileW(program.c_str());
    ::DeleteFileW((setup + L"Bonjour\\x64\\started.txt").c_str());
    if (plantedHere) {
      for (int i = 0; i < 50 && Exists(planted) && !::DeleteFileW(planted.c_str()); ++i) ::Sleep(100);
      ::DeleteFileW((planted.substr(0, planted.find_last_of(L'\\') + 1) + L"started.txt").c_str());
    }
    for (auto dir : {setup + L"Bonjour\\x64", setup + L"Bonjour", root + L"\\Setup", root})
      ::RemoveDirectoryW(dir.c_str());
    EXPECT_FALSE(Exists(root));
  }

  // True once the manager no longer knows our service.
  bool WaitUntilGone() {
    for (int i = 0; i < 50; ++i) {
      SC_HANDLE m = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
      SC_HANDLE s = m ? ::OpenServiceW(m, L"ZAX Bonjour Service", SERVICE_QUERY_STATUS) : nullptr;
      DWORD error = ::GetLastError();
      if (s) ::CloseServiceHandle(s);
      if (m) ::CloseServiceHandle(m);
      if (m && !s && error == ERROR_SERVICE_DOES_NOT_EXIST) return true;
      ::Sleep(100);
    }
    return false;
  }
  DWORD StateOfOwn() {
    SC_HANDLE m = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE s = m ? ::OpenServiceW(m, L"ZAX Bonjour Service", SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS st = {};
    BOOL ok = s && ::QueryServiceStatus(s, &st);
    if (s) ::CloseServiceHandle(s);
    if (m) ::CloseServiceHandle(m);
    return ok ? st.dwCurrentState : 0;
  }
  bool WaitForState(DWORD state) {
    for (int i = 0; i < 50; ++i, ::Sleep(100))
      if (StateOfOwn() == state) return true;
    return false;
  }

  Win32Os platform;
  PlacedSystem system;
  Trace trace;
  Os os;
  std::wstring root, setup, program, planted, installFolder, installed;
  bool plantedHere = false;
};

TEST_F(ResponderServiceWin, OurServiceIsCreatedStartedFoundStoppedAndDeleted) {
  const std::u16string path = U16(installed);
  EXPECT_EQ(EnsureResponderRunning(os), 0) << "Wine has no system Bonjour Service";
  EXPECT_EQ(trace.lines, (std::vector<std::u16string>{u"Bonjour Service Not found", u"ZAX Bonjour Service Not found"}));
  trace.lines.clear();
  ASSERT_EQ(InstallOwnResponder(os), 1);
  EXPECT_EQ(trace.lines, (std::vector<std::u16string>{u"Start Bonjour Service", u"bonjour Path=" + path,
                                                        u"StartService success"}));
  ASSERT_TRUE(WaitForState(SERVICE_RUNNING));
  EXPECT_TRUE(Exists(installFolder + L"\\Bonjour\\x64\\started.txt")) << "the installed copy ran";
  EXPECT_FALSE(Exists(setup + L"Bonjour\\x64\\started.txt")) << "the medium's copy ran as a service";
  if (plantedHere) {
    EXPECT_FALSE(Exists(planted.substr(0, planted.find_last_of(L'\\') + 1) + L"started.txt"))
        << "the blank in the folder sent the manager to another program";
  }

  trace.lines.clear();
  EXPECT_EQ(EnsureResponderRunning(os), 1);
  EXPECT_EQ(trace.lines, (std::vector<std::u16string>{u"Bonjour Service Not found", u"Found ZAX Bonjour Service",
                                                        u"Service already running"}));
  RemoveOwnResponder(os);
  EXPECT_TRUE(WaitUntilGone());
}

TEST_F(ResponderServiceWin, AServiceLeftPointingAtAGoneFolderIsRepaired) {
  IServices& sc = *os.services;
  ScHandle m = sc.OpenSCManagerW(kScManagerAllAccess);
  ASSERT_NE(m, 0u);
  std::u16string gone = u"\"" + U16(root) + u"\\Gone\\mDNSResponder.exe\"";
  ScHandle s = sc.CreateServiceW(m, kOwnResponderService, kOwnResponderService, kServiceAllAccess,
                                 kServiceWin32OwnProcess, kServiceDemandStart, kServiceErrorNormal, gone);
  ASSERT_NE(s, 0u) << ::GetLastError();
  sc.CloseServiceHandle(s);
  sc.CloseServiceHandle(m);

  // The real manager hands back a path longer than any fixed buffer.
  s = sc.OpenServiceW(m = sc.OpenSCManagerW(kScManagerAllAccess), kOwnResponderService, kServiceAllAccess);
  std::u16string longPath = u"\"C:\\" + std::u16string(3000, u'x') + u".exe\"";
  ASSERT_TRUE(sc.ChangeServiceConfigW(s, kServiceNoChange, kServiceNoChange, kServiceNoChange, longPath));
  EXPECT_EQ(sc.QueryServiceConfigW(s).value_or(ServiceConfig{}).binaryPath, longPath);
  ASSERT_TRUE(sc.ChangeServiceConfigW(s, kServiceNoChange, kServiceNoChange, kServiceNoChange, gone));
  sc.CloseServiceHandle(s);
  sc.CloseServiceHandle(m);

  // Found with another program: not started as found, repaired to our copy.
  EXPECT_EQ(EnsureResponderRunning(os), 0);
  trace.lines.clear();
  ASSERT_EQ(InstallOwnResponder(os), 1);
  const std::u16string path = U16(installed);
  EXPECT_EQ(trace.lines, (std::vector<std::u16string>{
                             u"Start Bonjour Service", u"bonjour Path=" + path, u"Service already exists, try open",
                             u"ZAX Bonjour Service runs another program: " + gone, u"Service path updated: " + path,
                             u"StartService success"}));
  EXPECT_TRUE(WaitForState(SERVICE_RUNNING));
}

}  // namespace
}  // namespace lx
