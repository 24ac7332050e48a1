// One property page on a real window: the page's dialog procedure and page
// callback turn window messages into IPropertyPage events. The wizard sheet
// hosts its pages with it, and the plug-in hosts the pages it adds to the
// common property sheet (CPSFUNC_ADD_PROPSHEETPAGEW) with it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "ui/property_page.h"
#include "ui/win32/win32_dialog.h"

namespace lx {

// The kind of a control, from its window class and style.
ControlKind ControlKindOf(HWND control);
bool IsCtlColorMessage(UINT message);
// Paints as the colours say and answers the brush.
INT_PTR ApplyControlColors(HDC dc, const ControlColors& colors, HBRUSH brush);

// Messages posted to pages and to the wizard sheet (WM_USER+500 and up).
constexpr UINT kFirstPostedMessage = WM_USER + 500;
constexpr UINT kLastPostedMessage = WM_USER + 799;

// The events a page answers in any dialog that shows it, a sheet's page or a
// modal dialog: commands, edit focus, scrolling controls, timers, help and
// posted messages. False when `message` is none of them.
bool DispatchPageEvent(IPropertyPage& page, UINT message, WPARAM wParam, LPARAM lParam);

class Win32PageHost {
 public:
  // `resources`: the module holding the page's template.
  Win32PageHost(IPropertyPage& page, HINSTANCE resources);
  ~Win32PageHost();
  Win32PageHost(const Win32PageHost&) = delete;
  Win32PageHost& operator=(const Win32PageHost&) = delete;

  // In a wizard the sheet decides the moves and the closing: it sees every
  // notification first and answers true, with the result, for those it takes
  // (PSN_WIZNEXT, PSN_WIZBACK, PSN_QUERYCANCEL, PSN_RESET).
  using SheetNotifyHandler = std::function<bool(UINT code, LRESULT& result)>;
  void SetSheetNotifyHandler(SheetNotifyHandler handler) { sheetNotify_ = std::move(handler); }
  // Called once the page has been released (PSPCB_RELEASE), after the page's
  // own OnPageRelease; a host owned by its page may delete both here.
  void SetOnReleased(std::function<void()> released) { released_ = std::move(released); }
  // Called with the sheet's window when the first page window is built.
  void SetOnSheetFound(std::function<void(HWND)> found) { sheetFound_ = std::move(found); }

  // A page description whose dialog procedure and callback drive the page;
  // with an activation context the page's controls are made in it. The title
  // stays valid while the host lives.
  PROPSHEETPAGEW Describe(const std::u16string& title, HANDLE activationContext = INVALID_HANDLE_VALUE);
  // CreatePropertySheetPageW of the description; null when it fails.
  HPROPSHEETPAGE Create(const std::u16string& title, HANDLE activationContext = INVALID_HANDLE_VALUE);

  IPropertyPage& page() { return page_; }
  Win32DialogView& view() { return view_; }
  // The page's window, or null before it is built and after it is gone.
  HWND window() const { return view_.window(); }

 private:
  INT_PTR OnNotify(HWND window, NMHDR* header);
  INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static UINT CALLBACK PageCallback(HWND window, UINT message, LPPROPSHEETPAGEW page);

  IPropertyPage& page_;
  HINSTANCE resources_;
  Win32DialogView view_;
  SheetNotifyHandler sheetNotify_;
  std::function<void()> released_;
  std::function<void(HWND)> sheetFound_;
  std::u16string title_;
  HBRUSH brush_ = nullptr;
};

}  // namespace lx
