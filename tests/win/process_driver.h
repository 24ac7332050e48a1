// Runs a Windows program as its debugger so that a test reads its
// OutputDebugString lines, and finds and presses its windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lx::testing {

struct TracedRun {
  DWORD exitCode = STILL_ACTIVE;
  bool timedOut = false;
  std::vector<std::string> traces;
  // Error exceptions the program raised (access violations and the like),
  // first chance included, in order.
  std::vector<DWORD> faults;
};

// `onTrace` sees each line while the program is stopped on it; `onIdle`
// runs about every 100 ms with the program's process id. The program is
// killed after `timeoutMs`. `onStarted`, when given, learns the process id
// as soon as the program exists.
TracedRun RunTraced(const std::wstring& commandLine, const std::wstring& directory,
                    const std::function<void(const std::string&)>& onTrace,
                    const std::function<void(DWORD)>& onIdle, DWORD timeoutMs,
                    const std::function<void(DWORD)>& onStarted = nullptr);

// Presses the Cancel ("Exit") button of the program's wizard, if it shows one.
bool CloseWizard(DWORD processId);

// A top-level window of the process with that class, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className);
// The window's own text and its children's, one per line.
std::wstring WindowTexts(HWND window);

// The value of "--name=value" on this program's command line, or empty.
std::wstring CommandLineOption(const wchar_t* name);

// A fresh folder under the temporary folder.
std::wstring MakeTempFolder(const wchar_t* prefix);
std::wstring ThisExeFolder();

}  // namespace lx::testing
