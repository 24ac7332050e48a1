#include "tests/win/process_driver.h"

#include <shellapi.h>

#include <commctrl.h>
#include <prsht.h>

namespace lx::testing {

namespace {

std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  std::string out;
  if (info.fUnicode) {
    std::wstring w(info.nDebugStringLength, L'\0');
    SIZE_T got = 0;
    ReadProcessMemory(process, info.lpDebugStringData, &w[0], w.size() * sizeof(wchar_t), &got);
    w.resize(got / sizeof(wchar_t));
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    out.resize(n);
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &out[0], n, nullptr, nullptr);
  } else {
    out.resize(info.nDebugStringLength);
    SIZE_T got = 0;
    ReadProcessMemory(process, info.lpDebugStringData, &out[0], out.size(), &got);
    out.resize(got);
  }
  while (!out.empty() && out.back() == '\0') out.pop_back();
  return out;
}

}  // namespace

TracedRun RunTraced(const std::wstring& commandLine, const std::wstring& directory,
                    const std::function<void(const std::string&)>& onTrace,
                    const std::function<void(DWORD)>& onIdle, DWORD timeoutMs,
                    const std::function<void(DWORD)>& onStarted) {
  TracedRun run;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = commandLine;
  if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &si, &pi)) {
    run.exitCode = GetLastError();
    return run;
  }
  if (onStarted) onStarted(pi.dwProcessId);
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    DEBUG_EVENT ev{};
    if (!WaitForDebugEvent(&ev, 100)) {
      if (onIdle) onIdle(pi.dwProcessId);
      if (GetTickCount64() > deadline && !run.timedOut) {
        run.timedOut = true;
        TerminateProcess(pi.hProcess, 1);
      }
      continue;
    }
    DWORD status = DBG_CONTINUE;
    switch (ev.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        if (ev.u.CreateProcessInfo.hFile) CloseHandle(ev.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (ev.u.LoadDll.hFile) CloseHandle(ev.u.LoadDll.hFile);
        break;
      case OUTPUT_DEBUG_STRING_EVENT: {
        std::string line = ReadDebugString(pi.hProcess, ev.u.DebugString);
        run.traces.push_back(line);
        if (onTrace) onTrace(line);
        break;
      }
      case EXCEPTION_DEBUG_EVENT: {
        DWORD code = ev.u.Exception.ExceptionRecord.ExceptionCode;
        // A 32-bit program's first breakpoint reaches a 64-bit debugger as
        // STATUS_WX86_BREAKPOINT.
        if (code != EXCEPTION_BREAKPOINT && code != 0x4000001Fu) status = DBG_EXCEPTION_NOT_HANDLED;
        // Severity "error": a fault, not a notice such as a thread name.
        if ((code & 0xC0000000u) == 0xC0000000u) run.faults.push_back(code);
        break;
      }
      default:
        break;
    }
    if (ev.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
      run.exitCode = ev.u.ExitProcess.dwExitCode;
      ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, status);
      break;
    }
    ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, status);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

namespace {
struct FindData {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};
BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<FindData*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == d->pid && IsWindowVisible(hwnd) && (!d->cls || lstrcmpW(cls, d->cls) == 0)) {
    d->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
BOOL CALLBACK CollectText(HWND hwnd, LPARAM lp) {
  wchar_t text[1024] = {};
  GetWindowTextW(hwnd, text, 1024);
  *reinterpret_cast<std::wstring*>(lp) += std::wstring(text) + L"\n";
  return TRUE;
}
}  // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
  FindData d{processId, className, nullptr};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&d));
  return d.found;
}

bool CloseWizard(DWORD processId) {
  HWND sheet = FindProcessWindow(processId, L"#32770");
  if (!sheet) return false;
  return PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0) != FALSE;
}

std::wstring WindowTexts(HWND window) {
  std::wstring out;
  CollectText(window, reinterpret_cast<LPARAM>(&out));
  EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&out));
  return out;
}

std::wstring CommandLineOption(const wchar_t* name) {
  const std::wstring prefix = std::wstring(L"--") + name + L"=";
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring value;
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg.rfind(prefix, 0) == 0) value = arg.substr(prefix.size());
  }
  LocalFree(argv);
  return value;
}

std::wstring MakeTempFolder(const wchar_t* prefix) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + prefix + std::to_wstring(GetCurrentProcessId()) + L"_" +
                      std::to_wstring(GetTickCount64());
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

std::wstring ThisExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\'));
}

}  // namespace lx::testing
