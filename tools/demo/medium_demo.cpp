// The demonstration's driver: starts the medium's Tessaly.exe, finds the
// installer it starts, walks that wizard to the port page keeping a
// screenshot of each page, closes it and prints the screenshots' paths.
// usage: medium_demo <medium folder> <screenshot folder>
#include <windows.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/win/window_driver.h"
#include "tests/win/wizard_walk.h"

namespace {

using lx::testing::WaitUntil;
using lx::testing::WizardWalk;

// A running installer whose program lies in `folder`, or 0.
DWORD FindInstallerIn(const std::wstring& folder) {
  DWORD found = 0;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32FirstW(snap, &e); ok && !found; ok = Process32NextW(snap, &e)) {
    if (lstrcmpiW(e.szExeFile, L"Qelvin64.exe") != 0 && lstrcmpiW(e.szExeFile, L"Qelvin32.exe") != 0) continue;
    HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, e.th32ProcessID);
    wchar_t path[MAX_PATH] = {};
    DWORD n = MAX_PATH;
    if (p && QueryFullProcessImageNameW(p, 0, path, &n) && n > folder.size() &&
        CompareStringOrdinal(path, static_cast<int>(folder.size()), folder.c_str(), static_cast<int>(folder.size()),
                             TRUE) == CSTR_EQUAL)
      found = e.th32ProcessID;
    if (p) CloseHandle(p);
  }
  CloseHandle(snap);
  return found;
}

int Fail(const char* what) {
  std::fprintf(stderr, "demo: %s\n", what);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return Fail("usage: medium_demo <medium folder> <screenshot folder>");
  std::wstring medium = argv[1], shots = argv[2];
  while (!medium.empty() && medium.back() == L'\\') medium.pop_back();
  CreateDirectoryW(shots.c_str(), nullptr);

  // Started as Explorer would start it: from its own folder.
  std::wstring cmd = L"\"" + medium + L"\\Tessaly.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, medium.c_str(), &si, &pi))
    return Fail("Tessaly.exe does not start");
  std::printf("demo: Tessaly.exe started\n");
  // The shipped launcher is 32-bit: where QEMU runs it, its start alone
  // takes a minute or two.
  WaitForSingleObject(pi.hProcess, 300000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  DWORD installer = 0;
  if (!WaitUntil([&] { return (installer = FindInstallerIn(medium + L"\\Setup\\")) != 0; }, 15000))
    return Fail("the launcher started no installer from the medium's Setup folder");
  std::printf("demo: the launcher started the medium's installer (process %lu)\n", installer);

  WizardWalk walk(installer);
  if (!walk.FindSheet(30000)) return Fail("the installer shows no wizard");
  std::vector<std::wstring> written;
  bool allWritten = true;
  std::string error;
  HWND port = walk.ToPortPage(
      0,
      [&](const wchar_t* page) {
        std::wstring path = shots + L"\\" + std::to_wstring(written.size() + 1) + L"-" + page + L".bmp";
        if (walk.Shot(path)) written.push_back(path);
        else allWritten = false;
      },
      &error);
  walk.Press(PSBTN_CANCEL);
  for (const std::wstring& path : written) std::printf("%ls\n", path.c_str());
  if (!port) return Fail(error.c_str());
  if (!allWritten) return Fail("a screenshot could not be written");
  return 0;
}
