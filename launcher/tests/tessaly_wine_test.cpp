// The real launcher under Wine on a medium laid out in a folder whose name
// has a blank: the library it copies, the installer it starts (found among
// the running processes by its full path), and its trace when the copy fails.
// "--launcher=<path>" puts another build in place of this tree's: the
// shipped 32-bit launcher, driven from this 64-bit test program.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>

#include "tests/win/process_driver.h"

namespace lx::testing {
namespace {

std::string ReadAll(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string out(4096, '\0');
  DWORD got = 0;
  ReadFile(h, &out[0], static_cast<DWORD>(out.size()), &got, nullptr);
  CloseHandle(h);
  out.resize(got);
  return out;
}

void WriteAll(const std::wstring& path, const std::string& text) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD done = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
  CloseHandle(h);
}

// Full image paths of the running processes with that file name.
std::vector<std::pair<DWORD, std::wstring>> ProcessesNamed(const wchar_t* name) {
  std::vector<std::pair<DWORD, std::wstring>> found;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e)) {
    if (lstrcmpiW(e.szExeFile, name) != 0) continue;
    HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, e.th32ProcessID);
    wchar_t path[MAX_PATH] = {};
    DWORD n = MAX_PATH;
    if (p && QueryFullProcessImageNameW(p, 0, path, &n)) found.emplace_back(e.th32ProcessID, path);
    if (p) CloseHandle(p);
  }
  CloseHandle(snap);
  return found;
}

void EndProcess(DWORD pid) {
  HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!p) return;
  TerminateProcess(p, 0);
  WaitForSingleObject(p, 10000);
  CloseHandle(p);
}

class TessalyOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& [pid, path] : ProcessesNamed(L"Qelvin64.exe")) EndProcess(pid);
    root = MakeTempFolder(L"Label Driver ");
    std::wstring built = ThisExeFolder();
    std::wstring launcher = CommandLineOption(L"launcher");
    if (launcher.empty()) launcher = built + L"\\Tessaly.exe";
    ASSERT_TRUE(CopyFileW(launcher.c_str(), (root + L"\\Tessaly.exe").c_str(), FALSE)) << GetLastError();
    for (const wchar_t* dir : {L"\\Setup", L"\\Setup\\Bonjour", L"\\Setup\\Bonjour\\x64", L"\\Setup\\Bonjour\\x86"})
      CreateDirectoryW((root + dir).c_str(), nullptr);
    WriteAll(root + L"\\Setup\\Bonjour\\x64\\dnssd.dll", "library for x64");
    WriteAll(root + L"\\Setup\\Bonjour\\x86\\dnssd.dll", "library for x86");
    std::wstring installer = built + L"\\..\\installer\\Qelvin64.exe";
    ASSERT_TRUE(CopyFileW(installer.c_str(), (root + L"\\Setup\\Qelvin64.exe").c_str(), FALSE));
    WriteAll(root + L"\\Setup\\cfgSetup.ini", "[Debug]\r\nOpenDebug=0\r\n");
  }

  // Runs the launcher with `directory` as its current folder; answers the
  // full paths of the installers it started (each is ended again).
  std::vector<std::wstring> Launch(const std::wstring& directory, TracedRun& run) {
    // The bound is wide: a 32-bit launcher under QEMU takes a minute or two
    // to start; it ends as soon as the installer is started.
    run = RunTraced(L"\"" + root + L"\\Tessaly.exe\"", directory, nullptr, nullptr, 300000);
    std::vector<std::wstring> started;
    for (int i = 0; i < 100 && started.empty(); ++i) {
      for (auto& [pid, path] : ProcessesNamed(L"Qelvin64.exe")) {
        started.push_back(path);
        EndProcess(pid);
      }
      if (started.empty()) Sleep(100);
    }
    return started;
  }
  static bool Traced(const TracedRun& run, const std::string& line) {
    return std::find(run.traces.begin(), run.traces.end(), line) != run.traces.end();
  }

  std::wstring root;
};

TEST_F(TessalyOnWine, FromTheMediumRootCopiesTheX64LibraryAndStartsTheMediumsInstaller) {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  ASSERT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64) << "a 64-bit Wine prefix is expected";

  TracedRun run;
  std::vector<std::wstring> started = Launch(root, run);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(ReadAll(root + L"\\Setup\\dnssd.dll"), "library for x64");
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(lstrcmpiW(started[0].c_str(), (root + L"\\Setup\\Qelvin64.exe").c_str()), 0) << started[0];
  EXPECT_FALSE(Traced(run, "Copy dnssd Fail"));
}

TEST_F(TessalyOnWine, FromAnotherFolderStillStartsTheMediumsInstaller) {
  // A program of the installer's name where the current folder points.
  std::wstring elsewhere = MakeTempFolder(L"elsewhere");
  CreateDirectoryW((elsewhere + L"\\SETUP").c_str(), nullptr);
  ASSERT_TRUE(CopyFileW((root + L"\\Setup\\Qelvin64.exe").c_str(), (elsewhere + L"\\SETUP\\Qelvin64.exe").c_str(), FALSE));
  WriteAll(elsewhere + L"\\SETUP\\cfgSetup.ini", "[Debug]\r\nOpenDebug=0\r\n");

  TracedRun run;
  std::vector<std::wstring> started = Launch(elsewhere, run);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(lstrcmpiW(started[0].c_str(), (root + L"\\Setup\\Qelvin64.exe").c_str()), 0) << started[0];
  EXPECT_EQ(ReadAll(root + L"\\Setup\\dnssd.dll"), "library for x64");
  EXPECT_EQ(ReadAll(elsewhere + L"\\SETUP\\dnssd.dll"), "<missing>");
}

TEST_F(TessalyOnWine, ACopyThatCannotBeWrittenIsTracedAndTheInstallerStillStarts) {
  // The copy's target cannot be written, as on a write-protected medium.
  // Wine running as root writes read-only files, so the target is held
  // open without sharing instead.
  WriteAll(root + L"\\Setup\\dnssd.dll", "mastered copy");
  HANDLE held = CreateFileW((root + L"\\Setup\\dnssd.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  TracedRun run;
  std::vector<std::wstring> started = Launch(root, run);
  CloseHandle(held);
  EXPECT_TRUE(Traced(run, "Copy dnssd Fail"));
  EXPECT_EQ(ReadAll(root + L"\\Setup\\dnssd.dll"), "mastered copy");
  EXPECT_EQ(started.size(), 1u);
}

}  // namespace
}  // namespace lx::testing
