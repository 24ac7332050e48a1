#include "tools/printui/standin_setup.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

#include "tools/printui/spooler_actions.h"

namespace printui {

namespace {

// Paths of the built modules, given by the build as Unix paths; Wine maps the
// Unix root to drive Z:.
const wchar_t kStandInDll[] = L"Z:" LX_PRINTUI_STANDIN_DLL;
const wchar_t kTestDriverDll[] = L"Z:" LX_TESTDRIVER_DLL;

bool SameContents(const std::wstring& a, const std::wstring& b) {
  auto read = [](const std::wstring& path, std::vector<char>& out) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(f, nullptr), got = 0;
    out.resize(size);
    bool ok = size != INVALID_FILE_SIZE && (size == 0 || ReadFile(f, out.data(), size, &got, nullptr)) && got == size;
    CloseHandle(f);
    return ok;
  };
  std::vector<char> x, y;
  return read(a, x) && read(b, y) && x == y;
}

// A module that a running rundll32 still has loaded cannot be replaced; an
// identical copy in place is as good.
bool CopyModule(const std::wstring& from, const std::wstring& to, std::wstring* error) {
  if (SameContents(from, to)) return true;
  if (CopyFileW(from.c_str(), to.c_str(), FALSE)) return true;
  if (error) *error = L"cannot copy " + from + L" to " + to + L", error " + std::to_wstring(GetLastError());
  return false;
}

void AddDllOverride() {
  const wchar_t kOverride[] = L"printui=n,b";
  std::wstring value;
  DWORD n = GetEnvironmentVariableW(L"WINEDLLOVERRIDES", nullptr, 0);
  if (n) {
    value.resize(n);
    value.resize(GetEnvironmentVariableW(L"WINEDLLOVERRIDES", &value[0], n));
  }
  if (value.find(kOverride) != std::wstring::npos) return;
  if (!value.empty()) value += L";";
  value += kOverride;
  SetEnvironmentVariableW(L"WINEDLLOVERRIDES", value.c_str());
}

}  // namespace

bool InstallStandIn(std::wstring* error) {
  wchar_t system[MAX_PATH] = {};
  if (!GetSystemDirectoryW(system, MAX_PATH)) {
    if (error) *error = L"no system directory";
    return false;
  }
  // A 32-bit process writing to system32 lands in syswow64, where a 32-bit
  // rundll32 looks.
  if (!CopyModule(kStandInDll, std::wstring(system) + L"\\printui.dll", error)) return false;

  wchar_t drivers[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(drivers), sizeof(drivers), &needed)) {
    if (error) *error = L"no printer-driver directory, error " + std::to_wstring(GetLastError());
    return false;
  }
  CreateDirectoryW(drivers, nullptr);
  if (!CopyModule(kTestDriverDll, std::wstring(drivers) + L"\\" + kTestDriverModule, error)) return false;

  AddDllOverride();
  return true;
}

namespace {

bool LocalPortCommand(const wchar_t* command, const std::wstring& name) {
  HANDLE xcv = nullptr;
  PRINTER_DEFAULTSW access{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
  if (!OpenPrinterW(const_cast<LPWSTR>(L",XcvMonitor Local Port"), &xcv, &access)) return false;
  DWORD needed = 0, status = ERROR_INVALID_FUNCTION;
  BOOL ok = XcvDataW(xcv, command, reinterpret_cast<BYTE*>(const_cast<wchar_t*>(name.c_str())),
                     static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)), nullptr, 0, &needed, &status);
  ClosePrinter(xcv);
  return ok && status == ERROR_SUCCESS;
}

}  // namespace

bool AddLocalPort(const std::wstring& name) { return LocalPortCommand(L"AddPort", name); }
bool DeleteLocalPort(const std::wstring& name) { return LocalPortCommand(L"DeletePort", name); }

}  // namespace printui
