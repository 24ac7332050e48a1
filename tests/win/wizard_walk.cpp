#include "tests/win/wizard_walk.h"

#include <commctrl.h>
#include <prsht.h>

#include "installer/core/resource_ids.h"
#include "tests/win/window_driver.h"

namespace lx::testing {

bool WizardWalk::FindSheet(DWORD ms) {
  return WaitUntil([&] { return (sheet_ = FindWindowWithControl(pid_, IDC_SHEET_NEXT)) != nullptr; }, ms);
}

HWND WizardWalk::WaitForPage(int controlId, DWORD ms) {
  HWND page = nullptr;
  WaitUntil(
      [&] {
        page = CurrentPage(sheet_);
        return page && GetDlgItem(page, controlId) && IsWindowVisible(page);
      },
      ms);
  return page && GetDlgItem(page, controlId) ? page : nullptr;
}

void WizardWalk::Press(int psbtn) { PostMessageW(sheet_, PSM_PRESSBUTTON, psbtn, 0); }

void WizardWalk::Click(HWND page, int id) { PostMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }

bool WizardWalk::Enabled(int buttonId) { return IsWindowEnabled(GetDlgItem(sheet_, buttonId)) != FALSE; }

bool WizardWalk::Shot(const std::wstring& path, HWND window) {
  HWND target = window ? window : sheet_;
  SetWindowPos(target, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // Wine paints the other process's windows asynchronously.
  Sleep(400);
  return SaveScreenshot(target, path);
}

HWND WizardWalk::ToPortPage(int languageIndex, const std::function<void(const wchar_t*)>& onPage,
                            std::string* error) {
  auto fail = [&](const char* what) -> HWND {
    if (error) *error = what;
    return nullptr;
  };
  HWND page = WaitForPage(IDC_LANGUAGE_COMBO);
  if (!page) return fail("no language page");
  HWND combo = GetDlgItem(page, IDC_LANGUAGE_COMBO);
  if (SendMessageW(combo, CB_SETCURSEL, languageIndex, 0) != languageIndex) return fail("no such language entry");
  if (onPage) onPage(L"language");
  Press(PSBTN_NEXT);

  page = WaitForPage(IDC_AGREE_CHECK);
  if (!page) return fail("no welcome page");
  Click(page, IDC_AGREE_CHECK);
  if (!WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 5000)) return fail("ticking the agreement leaves Next off");
  if (onPage) onPage(L"welcome");
  Press(PSBTN_NEXT);

  page = WaitForPage(IDC_OTHER_PORT_INSTALL);
  if (!page) return fail("no install-type page");
  if (onPage) onPage(L"install-type");
  Click(page, IDC_OTHER_PORT_INSTALL);

  page = WaitForPage(IDC_PORT_LIST);
  if (!page) return fail("no port page");
  // The port list fills from the spooler after the page shows.
  WaitUntil([&] { return ListFindItem(GetDlgItem(page, IDC_PORT_LIST), L"FILE:") >= 0; }, 5000);
  if (onPage) onPage(L"port");
  return page;
}

}  // namespace lx::testing
