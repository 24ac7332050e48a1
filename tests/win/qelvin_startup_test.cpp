// The real installer program under Wine: its start-up traces, its first
// page, and the single-instance rule between two real processes.
// "--installer=<path>" puts another build in place of this tree's (the
// 32-bit installer, driven from this 64-bit test program).
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cwctype>
#include <cstring>

#include "installer/core/resource_ids.h"
#include "tests/win/process_driver.h"
#include "tests/win/wizard_walk.h"

namespace lx::testing {
namespace {

// A copy of the installer in a folder of its own, with a cfgSetup.ini.
class QelvinStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeTempFolder(L"qelvin");
    std::wstring built = CommandLineOption(L"installer");
    if (built.empty()) built = ThisExeFolder() + L"\\..\\installer\\" + TEXT(QELVIN_EXE);
    exe = folder + built.substr(built.find_last_of(L"\\/"));
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
  // Starts the installer without a debugger; false when it could not start.
  bool Start(PROCESS_INFORMATION& pi) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    return CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi);
  }
  static HWND WaitForWindow(DWORD pid) {
    for (int i = 0; i < 300; ++i) {
      if (HWND w = FindProcessWindow(pid, L"#32770")) return w;
      Sleep(100);
    }
    return nullptr;
  }

  std::wstring folder;
  std::wstring exe;
};

TEST_F(QelvinStartup, TracesStartUpAndGatesDebugLines) {
  auto closeWizard = [](DWORD pid) { CloseWizard(pid); };
  WriteConfig("[Debug]\r\nOpenDebug=0\r\n");
  TracedRun quiet = RunTraced(L"\"" + exe + L"\" /uninstall", folder, nullptr, closeWizard, 60000);
  ASSERT_FALSE(quiet.timedOut);
  EXPECT_EQ(quiet.exitCode, 1602u);  // closed before any operation
  EXPECT_TRUE(Has(quiet, "InitInstance ==>"));
  EXPECT_FALSE(Has(quiet, "InitIniData  <=="));

  WriteConfig("[Debug]\r\nOpenDebug=1\r\n");
  TracedRun loud = RunTraced(L"\"" + exe + L"\"", folder, nullptr, closeWizard, 60000);
  ASSERT_FALSE(loud.timedOut);
  EXPECT_EQ(loud.exitCode, 1602u);
  EXPECT_TRUE(Has(loud, "InitInstance ==>"));
  EXPECT_TRUE(Has(loud, "InitIniData  <=="));
  std::string path = "szPath  == ";
  EXPECT_TRUE(std::any_of(loud.traces.begin(), loud.traces.end(), [&](const std::string& l) {
    return l.rfind(path, 0) == 0 && l.find("cfgSetup.ini") != std::string::npos;
  }));
}

// Started as a user starts it, the installer shows its wizard on the
// language page with languages to choose from, and Exit ends it with code
// 1602, the user's cancellation. The bound is wide: a 32-bit installer under QEMU takes a minute or two
// to start.
TEST_F(QelvinStartup, ShowsTheLanguagePageFirst) {
  WriteConfig("[Debug]\r\nOpenDebug=0\r\n");
  // Not as its debugger: a message sent to a program stopped on a trace line
  // would wait for ever.
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(Start(pi));
  struct Ended {
    PROCESS_INFORMATION& pi;
    ~Ended() {
      if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  } ended{pi};
  WizardWalk walk(pi.dwProcessId);
  ASSERT_TRUE(walk.FindSheet(300000)) << "the installer shows no wizard";
  HWND page = walk.WaitForPage(IDC_LANGUAGE_COMBO, 60000);
  ASSERT_NE(page, nullptr) << "the first page is not the language page";
  EXPECT_GT(SendDlgItemMessageW(page, IDC_LANGUAGE_COMBO, CB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(CloseWizard(pi.dwProcessId));
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 1602u);
}

std::string Ascii(const std::wstring& w) { return std::string(w.begin(), w.end()); }
std::wstring Lower(std::wstring p) {
  for (wchar_t& c : p) c = c == L'/' ? L'\\' : static_cast<wchar_t>(towlower(c));
  return p;
}

// The modules a running process has loaded, by full path, lower case.
std::vector<std::wstring> LoadedModules(HANDLE process) {
  HMODULE modules[512];
  DWORD bytes = 0;
  std::vector<std::wstring> out;
  if (!K32EnumProcessModules(process, modules, sizeof modules, &bytes)) return out;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
    wchar_t path[MAX_PATH] = {};
    if (!K32GetModuleFileNameExW(process, modules[i], path, MAX_PATH)) continue;
    out.push_back(Lower(path));
  }
  return out;
}

// Libraries planted beside the elevated installer and in the folder it is
// started from are never loaded: Riched20 comes from the system folder by
// its full path, WINSPOOL.DRV is delay-loaded after the search was limited
// to System32, and dnssd.dll is only ever taken from beside the program.
TEST_F(QelvinStartup, LoadsNoLibraryPlantedBesideItOrInTheCurrentFolder) {
  WriteConfig("[Debug]\r\nOpenDebug=0\r\n");
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  // Any library of the right word size stands for a planted one.
  const std::wstring stand = std::wstring(system) + L"\\version.dll";
  const std::wstring current = MakeTempFolder(L"qelvin-cwd");
  for (const wchar_t* name : {L"Riched20.dll", L"WINSPOOL.DRV"})
    ASSERT_TRUE(CopyFileW(stand.c_str(), (folder + L"\\" + name).c_str(), FALSE));
  for (const wchar_t* name : {L"Riched20.dll", L"WINSPOOL.DRV", L"dnssd.dll"})
    ASSERT_TRUE(CopyFileW(stand.c_str(), (current + L"\\" + name).c_str(), FALSE));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  ASSERT_TRUE(CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, current.c_str(), &si, &pi));
  WizardWalk walk(pi.dwProcessId);
  bool shown = walk.FindSheet(300000) && walk.WaitForPage(IDC_LANGUAGE_COMBO, 60000) != nullptr;
  std::vector<std::wstring> modules = LoadedModules(pi.hProcess);
  CloseWizard(pi.dwProcessId);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  ASSERT_TRUE(shown) << "the installer shows no language page";
  ASSERT_FALSE(modules.empty());

  const std::wstring besides = Lower(folder) + L"\\", cwd = Lower(current) + L"\\";
  for (const std::wstring& m : modules) {
    EXPECT_TRUE(m == Lower(exe) || m.rfind(besides, 0) != 0) << "loaded from beside the installer: " << Ascii(m);
    EXPECT_NE(m.rfind(cwd, 0), 0u) << "loaded from the current folder: " << Ascii(m);
  }
  EXPECT_NE(std::find(modules.begin(), modules.end(), Lower(std::wstring(system) + L"\\riched20.dll")), modules.end())
      << "Riched20.dll is not the system folder's";
}

// While the first installer shows its wizard, a second one shows the
// message and ends; the first goes on and ends normally when closed.
TEST_F(QelvinStartup, SecondInstanceShowsTheMessageAndEnds) {
  WriteConfig("[Debug]\r\nOpenDebug=0\r\n");
  PROCESS_INFORMATION first{};
  ASSERT_TRUE(Start(first));
  HWND sheet = WaitForWindow(first.dwProcessId);
  ASSERT_NE(sheet, nullptr) << "the first installer shows no wizard";

  PROCESS_INFORMATION second{};
  ASSERT_TRUE(Start(second));
  HWND box = WaitForWindow(second.dwProcessId);
  ASSERT_NE(box, nullptr) << "no message box from the second installer";
  std::wstring text = WindowTexts(box);
  EXPECT_NE(text.find(L"The program is running."), std::wstring::npos) << std::string(text.begin(), text.end());
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(second.hProcess, &code);
  EXPECT_EQ(code, 1618u);

  // The first is untouched: still running, its wizard still there.
  EXPECT_EQ(WaitForSingleObject(first.hProcess, 500), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(IsWindow(sheet));
  EXPECT_TRUE(CloseWizard(first.dwProcessId));
  EXPECT_EQ(WaitForSingleObject(first.hProcess, 20000), WAIT_OBJECT_0);
  GetExitCodeProcess(first.hProcess, &code);
  EXPECT_EQ(code, 1602u);
  for (auto* pi : {&first, &second}) {
    CloseHandle(pi->hThread);
    CloseHandle(pi->hProcess);
  }
}

}  // namespace
}  // namespace lx::testing
