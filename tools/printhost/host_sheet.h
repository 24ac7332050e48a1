// The common property sheet as the print host offers it to the plug-in: each
// CPSFUNC_ADD_PROPSHEETPAGEW makes the page it is handed, CPSFUNC_SET_RESULT
// is recorded and answered, and Show runs the pages in a real PropertySheetW.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace printhost {

class HostSheet {
 public:
  HostSheet() = default;
  // Pages made but never shown are destroyed (their callbacks see the release).
  ~HostSheet();
  HostSheet(const HostSheet&) = delete;
  HostSheet& operator=(const HostSheet&) = delete;

  // The pfnComPropSheet of the sheet; hComPropSheet is the HostSheet.
  static LONG_PTR CALLBACK Function(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2);
  HANDLE handle() { return reinterpret_cast<HANDLE>(this); }

  // PropertySheetW, modal, with the pages made so far under `caption`;
  // answers what it returned. The sheet owns the pages from then on.
  INT_PTR Show(const std::wstring& caption, HWND owner = nullptr);

  std::vector<HPROPSHEETPAGE> pages;
  std::vector<std::wstring> titles;   // of each page added, in order
  std::vector<int> templates;         // template ids of each page added
  std::vector<LPARAM> results;        // every CPSFUNC_SET_RESULT, in order
  LONG_PTR setResultAnswer = 1;       // what CPSFUNC_SET_RESULT answers
  int acceptPages = 1000;             // pages after this many are refused
};

}  // namespace printhost
