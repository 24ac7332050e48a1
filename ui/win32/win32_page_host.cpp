#include "ui/win32/win32_page_host.h"

#include "common/text.h"
#include "platform/win32/wide.h"

namespace lx {

ControlKind ControlKindOf(HWND control) {
  wchar_t name[64] = {};
  GetClassNameW(control, name, 64);
  std::u16string cls = ToLowerAscii(U(name));
  LONG style = GetWindowLongW(control, GWL_STYLE);
  if (cls == u"static") return (style & SS_TYPEMASK) == SS_BITMAP ? ControlKind::kPicture : ControlKind::kStatic;
  if (cls == u"button") {
    LONG type = style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) return ControlKind::kCheckBox;
    if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) return ControlKind::kRadioButton;
    return ControlKind::kButton;
  }
  if (cls == u"edit") return ControlKind::kEdit;
  if (cls == u"combobox") return ControlKind::kComboBox;
  if (cls == u"syslistview32") return ControlKind::kListView;
  if (cls == u"msctls_trackbar32") return ControlKind::kTrackbar;
  if (cls == u"msctls_progress32") return ControlKind::kProgressBar;
  if (cls == u"richedit20w") return ControlKind::kRichEdit;
  if (cls == u"syslink") return ControlKind::kLink;
  return ControlKind::kOther;
}

bool IsCtlColorMessage(UINT message) {
  return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT ||
         message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORDLG;
}

INT_PTR ApplyControlColors(HDC dc, const ControlColors& colors, HBRUSH brush) {
  SetTextColor(dc, colors.text);
  SetBkColor(dc, colors.background);
  if (colors.transparent) SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(brush);
}

Win32PageHost::Win32PageHost(IPropertyPage& page, HINSTANCE resources)
    : page_(page), resources_(resources), view_(nullptr, resources) {}

Win32PageHost::~Win32PageHost() {
  if (brush_) DeleteObject(brush_);
}

PROPSHEETPAGEW Win32PageHost::Describe(const std::u16string& title, HANDLE activationContext) {
  title_ = title;
  PROPSHEETPAGEW psp = {};
  psp.dwSize = sizeof(psp);
  psp.dwFlags = PSP_USETITLE | PSP_USECALLBACK;
  psp.hInstance = resources_;
  psp.pszTemplate = MAKEINTRESOURCEW(page_.TemplateId());
  psp.pszTitle = W(title_);
  psp.pfnDlgProc = PageProc;
  psp.pfnCallback = PageCallback;
  psp.lParam = reinterpret_cast<LPARAM>(this);
  if (activationContext != INVALID_HANDLE_VALUE && activationContext != nullptr) {
    psp.dwFlags |= PSP_USEFUSIONCONTEXT;
    psp.hActCtx = activationContext;
  }
  return psp;
}

HPROPSHEETPAGE Win32PageHost::Create(const std::u16string& title, HANDLE activationContext) {
  PROPSHEETPAGEW psp = Describe(title, activationContext);
  return CreatePropertySheetPageW(&psp);
}

UINT CALLBACK Win32PageHost::PageCallback(HWND, UINT message, LPPROPSHEETPAGEW psp) {
  auto* host = psp ? reinterpret_cast<Win32PageHost*>(psp->lParam) : nullptr;
  if (!host) return 1;
  if (message == PSPCB_CREATE) return host->page_.OnPageCreate() ? 1 : 0;
  if (message == PSPCB_RELEASE) {
    host->page_.OnPageRelease();
    // The host may be gone once this returns.
    if (auto released = std::move(host->released_)) released();
  }
  return 1;
}

INT_PTR Win32PageHost::OnNotify(HWND window, NMHDR* header) {
  LRESULT result = 0;
  if (sheetNotify_ && sheetNotify_(header->code, result)) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
  }
  switch (header->code) {
    case PSN_SETACTIVE:
      page_.OnSetActive();
      break;
    case PSN_KILLACTIVE:
      result = page_.OnKillActive() ? TRUE : FALSE;
      break;
    case PSN_APPLY:
      result = page_.OnApply();
      break;
    case PSN_RESET:
      page_.OnReset();
      break;
    case PSN_HELP:
      page_.OnHelp();
      break;
    case PSN_WIZNEXT:
      result = page_.OnWizardNext();
      break;
    case PSN_WIZBACK:
      result = page_.OnWizardBack();
      break;
    case PSN_QUERYCANCEL:
      result = FALSE;  // let it close
      break;
    case NM_CUSTOMDRAW: {
      if (ControlKindOf(header->hwndFrom) != ControlKind::kListView) return FALSE;
      auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
      } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        int row = static_cast<int>(draw->nmcd.dwItemSpec);
        bool selected = SendMessageW(header->hwndFrom, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
        draw->clrText = RGB(0, 0, 0);
        draw->clrTextBk = page_.RowBackground(static_cast<int>(header->idFrom), row, selected);
        // Our colour instead of the system's highlight.
        draw->nmcd.uItemState &= ~CDIS_SELECTED;
        result = CDRF_NEWFONT;
      }
      break;
    }
    default:
      result = page_.OnNotify(static_cast<int>(header->idFrom), static_cast<int>(header->code));
      break;
  }
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

bool DispatchPageEvent(IPropertyPage& page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      int code = HIWORD(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      if ((code == EN_SETFOCUS || code == EN_KILLFOCUS) && control &&
          ControlKindOf(control) == ControlKind::kEdit) {
        page.OnEditFocus(id, code == EN_SETFOCUS);
      } else {
        page.OnCommand(id, code);
      }
      return true;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      // Only scrolling controls; the page itself has no scroll bars.
      HWND control = reinterpret_cast<HWND>(lParam);
      if (!control) return false;
      page.OnScroll(GetDlgCtrlID(control), LOWORD(wParam), message == WM_VSCROLL);
      return true;
    }
    case WM_TIMER:
      page.OnTimer(static_cast<unsigned>(wParam));
      return true;
    case WM_HELP:
      page.OnHelp();
      return true;
    default:
      break;
  }
  if (message >= kFirstPostedMessage && message <= kLastPostedMessage) {
    page.OnMessage(message, wParam, lParam);
    return true;
  }
  return false;
}

INT_PTR Win32PageHost::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DispatchPageEvent(page_, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_NOTIFY:
      return OnNotify(window, reinterpret_cast<NMHDR*>(lParam));
    case WM_NCDESTROY:
      view_.Attach(nullptr);
      return FALSE;
    default:
      break;
  }
  if (IsCtlColorMessage(message)) {
    HWND control = message == WM_CTLCOLORDLG ? window : reinterpret_cast<HWND>(lParam);
    ControlColors colors = page_.CtlColor(GetDlgCtrlID(control), ControlKindOf(control));
    if (colors.system) return FALSE;
    // The page's white brush lives as long as its host.
    if (!brush_) brush_ = CreateSolidBrush(RGB(255, 255, 255));
    return ApplyControlColors(reinterpret_cast<HDC>(wParam), colors, brush_);
  }
  return FALSE;
}

INT_PTR CALLBACK Win32PageHost::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* psp = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
    auto* host = reinterpret_cast<Win32PageHost*>(psp->lParam);
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(host));
    if (host->sheetFound_) host->sheetFound_(GetParent(window));
    host->view_.Attach(window);
    host->page_.OnInitDialog(host->view_);
    return TRUE;
  }
  auto* host = reinterpret_cast<Win32PageHost*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!host) return FALSE;
  return host->Dispatch(window, message, wParam, lParam);
}

}  // namespace lx
