// Walks the real installer's wizard from another process with a user's
// moves: a language chosen, the agreement ticked, "Other port Install".
// For the Wine tests of the medium and the demonstration.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lx::testing {

class WizardWalk {
 public:
  explicit WizardWalk(DWORD processId) : pid_(processId) {}

  // Waits for the wizard: the process's window with a Next button.
  bool FindSheet(DWORD ms);
  HWND sheet() const { return sheet_; }

  // The current page once it holds `controlId` and shows; null after `ms`.
  HWND WaitForPage(int controlId, DWORD ms = 15000);
  void Press(int psbtn);
  static void Click(HWND page, int id);
  bool Enabled(int buttonId);

  // Brings the window (the sheet by default) to the top, redraws it and
  // writes what the screen shows of it to `path` as a BMP.
  bool Shot(const std::wstring& path, HWND window = nullptr);

  // From the language page to the port page, choosing the language list's
  // entry `languageIndex`. `onPage` sees each page's short name
  // ("language", "welcome", "install-type", "port") once it is ready.
  // Answers the port page, or null with the page that did not come in
  // `error`.
  HWND ToPortPage(int languageIndex, const std::function<void(const wchar_t*)>& onPage, std::string* error);

 private:
  DWORD pid_;
  HWND sheet_ = nullptr;
};

}  // namespace lx::testing
