// PrintUIEntry stand-in for tests under Wine (never shipped): rundll32 calls
// PrintUIEntryW with everything after the entry-point name.
#include <windows.h>

#include <string>

#include "tools/printui/command.h"
#include "tools/printui/spooler_actions.h"
#include "tools/printui/trace.h"

extern "C" DWORD WINAPI PrintUIEntryW(HWND window, HINSTANCE instance, LPCWSTR commandLine, int show) {
  printui::Trace(L"command line [%ls]", commandLine ? commandLine : L"");
  std::vector<std::wstring> args = printui::SplitArguments(commandLine);
  for (size_t i = 0; i < args.size(); ++i) printui::Trace(L"argument %u [%ls]", (unsigned)i, args[i].c_str());
  printui::Command cmd = printui::ParseArguments(args);
  if (!cmd.error.empty()) {
    printui::Trace(L"rejected: %ls", cmd.error.c_str());
    return ERROR_INVALID_PARAMETER;
  }
  DWORD result = printui::Perform(cmd);
  printui::Trace(L"%ls finished with error %lu", printui::ActionName(cmd.action), result);
  return result;
}

extern "C" DWORD WINAPI PrintUIEntry(HWND window, HINSTANCE instance, LPCSTR commandLine, int show) {
  printui::Trace(L"ANSI entry");
  std::wstring wide;
  if (commandLine) {
    int n = MultiByteToWideChar(CP_ACP, 0, commandLine, -1, nullptr, 0);
    if (n > 0) {
      wide.resize(n);
      MultiByteToWideChar(CP_ACP, 0, commandLine, -1, &wide[0], n);
      wide.resize(n - 1);
    }
  }
  return PrintUIEntryW(window, instance, wide.c_str(), show);
}
