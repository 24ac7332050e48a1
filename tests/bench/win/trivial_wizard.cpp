// The least a wizard program does: a wizard property sheet with one empty
// page, with the installer's kind of manifest. Installer start-up is
// measured against it.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// An empty dialog template in memory: no resource script needed.
struct EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu, windowClass, title;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  static EmptyTemplate page{};
  page.header.style = WS_CHILD | DS_CONTROL;
  page.header.cx = 317;
  page.header.cy = 193;
  PROPSHEETPAGEW psp{};
  psp.dwSize = sizeof psp;
  psp.dwFlags = PSP_DLGINDIRECT;
  psp.hInstance = instance;
  psp.pResource = &page.header;
  psp.pfnDlgProc = PageProc;
  HPROPSHEETPAGE pages[1] = {CreatePropertySheetPageW(&psp)};
  PROPSHEETHEADERW psh{};
  psh.dwSize = sizeof psh;
  psh.dwFlags = PSH_WIZARD;
  psh.hInstance = instance;
  psh.pszCaption = L"Wizard";
  psh.nPages = 1;
  psh.phpage = pages;
  return static_cast<int>(PropertySheetW(&psh));
}
