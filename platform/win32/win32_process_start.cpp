#include "platform/win32/win32_process_start.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace lx {

bool Win32ProcessStart::Start(const std::u16string& application, const std::u16string& commandLine,
                                      int show) {
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION pi = {};
  // CreateProcessW may write into the command line.
  std::u16string line = commandLine;
  if (!::CreateProcessW(W(application), reinterpret_cast<wchar_t*>(&line[0]), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &si, &pi))
    return false;
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return true;
}

}  // namespace lx
