#include "ui/win32/win32_sheet.h"

#include <algorithm>

#include "common/text.h"
#include "platform/win32/wide.h"

namespace lx {

namespace {

// Messages posted to the sheet by its workers (WM_USER+500 and up), and the
// sheet's own set-up, run once the native sheet has finished its own.
constexpr UINT kFirstPostedMessage = WM_USER + 500;
constexpr UINT kLastPostedMessage = WM_USER + 799;
constexpr UINT kSheetSetUp = WM_APP + 1;

thread_local Win32SheetView* g_starting = nullptr;

ControlKind KindOf(HWND control) {
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

bool IsCtlColor(UINT message) {
  return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT ||
         message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORDLG;
}

// Paints as the colours say and answers the brush.
INT_PTR ApplyColors(HDC dc, const ControlColors& colors, HBRUSH brush) {
  SetTextColor(dc, colors.text);
  SetBkColor(dc, colors.background);
  if (colors.transparent) SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(brush);
}

}  // namespace

Win32SheetView::Win32SheetView(HINSTANCE resources)
    : resources_(resources), frame_(nullptr, resources) {}

Win32SheetView::~Win32SheetView() {
  for (auto& [page, host] : hosts_)
    if (host->brush) DeleteObject(host->brush);
  if (sheetBrush_) DeleteObject(sheetBrush_);
}

void Win32SheetView::SetCaption(const std::u16string& caption) {
  caption_ = caption;
  if (window_) SendMessageW(window_, PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(W(caption_)));
}

Win32SheetView::PageHost& Win32SheetView::HostOf(IWizardPage& page) {
  auto& host = hosts_[&page];
  if (!host) {
    host = std::make_unique<PageHost>();
    host->sheet = this;
    host->page = &page;
    host->view = std::make_unique<Win32DialogView>(nullptr, resources_);
    // The page's white brush lives as long as the page.
    host->brush = CreateSolidBrush(RGB(255, 255, 255));
  }
  return *host;
}

HPROPSHEETPAGE Win32SheetView::CreateHandle(PageHost& host) {
  PROPSHEETPAGEW psp = {};
  psp.dwSize = sizeof(psp);
  // A wizard's title bar shows the current page's title: every page carries the sheet's caption.
  psp.dwFlags = PSP_USETITLE;
  psp.pszTitle = W(caption_);
  psp.hInstance = resources_;
  psp.pszTemplate = MAKEINTRESOURCEW(host.page->TemplateId());
  psp.pfnDlgProc = PageProc;
  psp.lParam = reinterpret_cast<LPARAM>(&host);
  host.handle = CreatePropertySheetPageW(&psp);
  return host.handle;
}

void Win32SheetView::AddPage(IWizardPage& page) {
  if (std::find(pages_.begin(), pages_.end(), &page) != pages_.end()) return;
  pages_.push_back(&page);
  PageHost& host = HostOf(page);
  if (window_) SendMessageW(window_, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(CreateHandle(host)));
}

void Win32SheetView::RemovePage(IWizardPage& page) {
  auto it = std::find(pages_.begin(), pages_.end(), &page);
  if (it == pages_.end()) return;
  int index = static_cast<int>(it - pages_.begin());
  pages_.erase(it);
  PageHost& host = HostOf(page);
  if (window_ && host.handle) SendMessageW(window_, PSM_REMOVEPAGE, index, reinterpret_cast<LPARAM>(host.handle));
  host.handle = nullptr;
}

void Win32SheetView::SetCurrentPage(IWizardPage& page) {
  auto it = std::find(pages_.begin(), pages_.end(), &page);
  if (it == pages_.end()) return;
  if (!window_) {
    startPage_ = static_cast<int>(it - pages_.begin());
    return;
  }
  SendMessageW(window_, PSM_SETCURSEL, 0, reinterpret_cast<LPARAM>(HostOf(page).handle));
}

// Sent, not posted (the PropSheet_SetWizButtons macro posts): the buttons are
// in their new state when the call returns.
void Win32SheetView::SetWizardButtons(uint32_t flags) {
  if (window_) SendMessageW(window_, PSM_SETWIZBUTTONS, 0, flags);
}

void Win32SheetView::BringToFront() {
  if (!window_) return;
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

int Win32SheetView::ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned type) {
  return MessageBoxW(window_, W(text), W(caption), type);
}

// After the wizard has closed there is no window and the message is lost.
void Win32SheetView::PostSheetMessage(unsigned message) {
  if (HWND sheet = window_.load()) PostMessageW(sheet, message, 0, 0);
}

void Win32SheetView::EndWizard() {
  if (closing_ || !window_) return;
  closing_ = true;
  SendMessageW(window_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

HWND Win32SheetView::PageWindow(const IWizardPage& page) const {
  auto it = hosts_.find(&page);
  return it == hosts_.end() ? nullptr : it->second->view->window();
}

void Win32SheetView::RunModal(ISheetEvents& events, IWizardPage& firstPage) {
  events_ = &events;
  closing_ = false;
  std::vector<HPROPSHEETPAGE> handles;
  for (IWizardPage* page : pages_) handles.push_back(CreateHandle(HostOf(*page)));
  auto first = std::find(pages_.begin(), pages_.end(), &firstPage);
  startPage_ = first == pages_.end() ? 0 : static_cast<int>(first - pages_.begin());

  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof(header);
  // With a Help button the wizard keeps room at the right; the sheet hides
  // the button and its widened Cancel button takes that room.
  header.dwFlags = PSH_WIZARD | PSH_USECALLBACK | PSH_HASHELP;
  header.hInstance = resources_;
  header.pszCaption = W(caption_);
  header.nPages = static_cast<UINT>(handles.size());
  header.nStartPage = static_cast<UINT>(startPage_);
  header.phpage = handles.data();
  header.pfnCallback = SheetCallback;
  g_starting = this;
  PropertySheetW(&header);
  g_starting = nullptr;
  window_ = nullptr;
  frame_.Attach(nullptr);
  for (auto& [page, host] : hosts_) {
    host->handle = nullptr;
    host->view->Attach(nullptr);
  }
}

void Win32SheetView::AttachSheet(HWND sheet) {
  if (window_ == sheet) return;
  window_ = sheet;
  frame_.Attach(sheet);
  SetWindowSubclass(sheet, SheetSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
  PostMessageW(sheet, kSheetSetUp, 0, 0);
}

int CALLBACK Win32SheetView::SheetCallback(HWND window, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && g_starting) g_starting->AttachSheet(window);
  return 0;
}

LRESULT CALLBACK Win32SheetView::SheetSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Win32SheetView*>(data);
  if (message == kSheetSetUp) {
    if (self->events_) self->events_->OnInitDialog();
    return 0;
  }
  if (message >= kFirstPostedMessage && message <= kLastPostedMessage) {
    if (self->events_ && !self->closing_) self->events_->OnSheetMessage(message, wParam, lParam);
    return 0;
  }
  if (IsCtlColor(message) && self->events_) {
    HWND control = reinterpret_cast<HWND>(lParam);
    ControlColors colors = self->events_->CtlColor(GetDlgCtrlID(control), KindOf(control));
    // One white brush, made at the first request and kept.
    if (!self->sheetBrush_) self->sheetBrush_ = CreateSolidBrush(RGB(255, 255, 255));
    return ApplyColors(reinterpret_cast<HDC>(wParam), colors, self->sheetBrush_);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, SheetSubclass, 1);
  return DefSubclassProc(window, message, wParam, lParam);
}

INT_PTR Win32SheetView::OnPageNotify(PageHost& host, HWND page, NMHDR* header) {
  LRESULT result = 0;
  switch (header->code) {
    case PSN_SETACTIVE:
      host.page->OnSetActive();
      break;
    case PSN_KILLACTIVE:
      result = FALSE;
      break;
    case PSN_WIZNEXT:
      if (events_) events_->OnWizardNext();
      result = -1;  // the portable sheet has made its move, if any
      break;
    case PSN_WIZBACK:
      if (events_) events_->OnWizardBack();
      result = -1;
      break;
    case PSN_QUERYCANCEL:
      if (!closing_) {
        closing_ = true;
        if (events_) events_->OnCancel();
      }
      result = FALSE;  // let it close
      break;
    case PSN_RESET:
      break;  // answered by OnCancel above
    case NM_CUSTOMDRAW: {
      if (KindOf(header->hwndFrom) != ControlKind::kListView) return FALSE;
      auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
      } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        int row = static_cast<int>(draw->nmcd.dwItemSpec);
        bool selected = SendMessageW(header->hwndFrom, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
        draw->clrText = RGB(0, 0, 0);
        draw->clrTextBk = host.page->RowBackground(static_cast<int>(header->idFrom), row, selected);
        // Our colour instead of the system's highlight.
        draw->nmcd.uItemState &= ~CDIS_SELECTED;
        result = CDRF_NEWFONT;
      }
      break;
    }
    default:
      result = host.page->OnNotify(static_cast<int>(header->idFrom), static_cast<int>(header->code));
      break;
  }
  SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK Win32SheetView::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* psp = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
    auto* host = reinterpret_cast<PageHost*>(psp->lParam);
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(host));
    host->sheet->AttachSheet(GetParent(window));
    host->view->Attach(window);
    host->page->OnInitDialog(*host->view);
    return TRUE;
  }
  auto* host = reinterpret_cast<PageHost*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!host) return FALSE;
  switch (message) {
    case WM_COMMAND:
      host->page->OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      return host->sheet->OnPageNotify(*host, window, reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
      host->page->OnTimer(static_cast<unsigned>(wParam));
      return TRUE;
    default:
      break;
  }
  if (IsCtlColor(message)) {
    HWND control = message == WM_CTLCOLORDLG ? window : reinterpret_cast<HWND>(lParam);
    ControlColors colors = host->page->CtlColor(GetDlgCtrlID(control), KindOf(control));
    return ApplyColors(reinterpret_cast<HDC>(wParam), colors, host->brush);
  }
  if (message >= kFirstPostedMessage && message <= kLastPostedMessage) {
    host->page->OnMessage(message, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

}  // namespace lx
