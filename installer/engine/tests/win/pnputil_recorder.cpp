// Plays pnputil.exe, which Wine lacks, for the removal test: writes the
// arguments it was started with (one per line) into a new file in the folder
// named by LX_E2E_PNPUTIL_LOG, and deletes nothing.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  wchar_t folder[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(L"LX_E2E_PNPUTIL_LOG", folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 2;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return 3;
  std::wstring text;
  for (int i = 1; i < count; ++i) text += std::wstring(argv[i]) + L"\n";
  LocalFree(argv);
  // One file per start: the removal starts several at once.
  std::wstring path = std::wstring(folder) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(GetTickCount64()) + L".txt";
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 4;
  DWORD written = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(f);
  return 0;
}
