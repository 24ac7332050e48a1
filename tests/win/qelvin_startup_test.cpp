// The real installer program under Wine: its start-up traces and the
// single-instance rule between two real processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "tests/win/process_driver.h"

namespace lx::testing {
namespace {

// A copy of the installer in a folder of its own, with a cfgSetup.ini.
class QelvinStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeTempFolder(L"qelvin");
    exe = folder + L"\\" + TEXT(QELVIN_EXE);
    std::wstring built = ThisExeFolder() + L"\\..\\installer\\" + TEXT(QELVIN_EXE);
    ASSERT_TRUE(CopyFileW(built.c_str(), exe.c_str(), FALSE)) << GetLastError();
  }
  void WriteConfig(const char* text) {
    HANDLE h = CreateFileW((folder + L"\\cfgSetup.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(h, text, static_cast<DWORD>(strlen(text)), &done, nullptr);
    CloseHandle(h);
  }
  static bool Has(const TracedRun& run, const std::string& line) {
    return std::find(run.traces.begin(), run.traces.end(), line) != run.traces.end();
  }

  std::wstring folder;
  std::wstring exe;
};

TEST_F(QelvinStartup, TracesStartUpAndGatesDebugLines) {
  WriteConfig("[Debug]\r\nOpenDebug=0\r\n");
  TracedRun quiet = RunTraced(L"\"" + exe + L"\" /uninstall", folder, nullptr, nullptr, 30000);
  ASSERT_FALSE(quiet.timedOut);
  EXPECT_EQ(quiet.exitCode, 0u);
  EXPECT_TRUE(Has(quiet, "InitInstance ==>"));
  EXPECT_FALSE(Has(quiet, "InitIniData  <=="));

  WriteConfig("[Debug]\r\nOpenDebug=1\r\n");
  TracedRun loud = RunTraced(L"\"" + exe + L"\"", folder, nullptr, nullptr, 30000);
  ASSERT_FALSE(loud.timedOut);
  EXPECT_TRUE(Has(loud, "InitInstance ==>"));
  EXPECT_TRUE(Has(loud, "InitIniData  <=="));
  std::string path = "szPath  == ";
  EXPECT_TRUE(std::any_of(loud.traces.begin(), loud.traces.end(), [&](const std::string& l) {
    return l.rfind(path, 0) == 0 && l.find("cfgSetup.ini") != std::string::npos;
  }));
}

// The first installer is held while it runs (stopped on its firmware-path
// trace, after it took the mutex); a second one started then shows the
// message, ends, and the first goes on to its normal end.
TEST_F(QelvinStartup, SecondInstanceShowsTheMessageAndEnds) {
  WriteConfig("[Debug]\r\nOpenDebug=1\r\n");
  bool secondChecked = false;
  std::wstring boxText;
  DWORD secondExit = STILL_ACTIVE;
  auto onTrace = [&](const std::string& line) {
    if (line.rfind("FwUpatePath=", 0) != 0 || secondChecked) return;
    secondChecked = true;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));
    HWND box = nullptr;
    for (int i = 0; i < 300 && !box; ++i) {
      box = FindProcessWindow(pi.dwProcessId, L"#32770");
      if (!box) Sleep(100);
    }
    ASSERT_NE(box, nullptr) << "no message box from the second instance";
    boxText = WindowTexts(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    GetExitCodeProcess(pi.hProcess, &secondExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  };
  TracedRun first = RunTraced(L"\"" + exe + L"\"", folder, onTrace, nullptr, 60000);
  ASSERT_TRUE(secondChecked);
  EXPECT_NE(boxText.find(L"The program is running."), std::wstring::npos) << std::string(boxText.begin(), boxText.end());
  EXPECT_EQ(secondExit, 0u);
  EXPECT_FALSE(first.timedOut);
  EXPECT_EQ(first.exitCode, 0u);
}

}  // namespace
}  // namespace lx::testing
