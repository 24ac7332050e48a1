#include "ui/win32/win32_sheet.h"

#include <algorithm>

#include "common/text.h"
#include "platform/win32/wide.h"

namespace lx {

namespace {

// The sheet's own set-up, run once the native sheet has finished its own.
constexpr UINT kSheetSetUp = WM_APP + 1;

thread_local Win32SheetView* g_starting = nullptr;

}  // namespace

Win32SheetView::Win32SheetView(HINSTANCE resources)
    : resources_(resources), frame_(nullptr, resources) {}

Win32SheetView::~Win32SheetView() {
  if (sheetBrush_) DeleteObject(sheetBrush_);
}

void Win32SheetView::SetCaption(const std::u16string& caption) {
  caption_ = caption;
  if (window_) SendMessageW(window_, PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(W(caption_)));
}

Win32SheetView::PageSlot& Win32SheetView::SlotOf(IPropertyPage& page) {
  PageSlot& slot = slots_[&page];
  if (!slot.host) {
    slot.host = std::make_unique<Win32PageHost>(page, resources_);
    slot.host->SetSheetNotifyHandler([this](UINT code, LRESULT& result) { return OnSheetNotify(code, result); });
    slot.host->SetOnSheetFound([this](HWND sheet) { AttachSheet(sheet); });
  }
  return slot;
}

// A wizard's title bar shows the current page's title: every page carries the sheet's caption.
HPROPSHEETPAGE Win32SheetView::CreateHandle(PageSlot& slot) {
  slot.handle = slot.host->Create(caption_);
  return slot.handle;
}

void Win32SheetView::AddPage(IPropertyPage& page) {
  if (std::find(pages_.begin(), pages_.end(), &page) != pages_.end()) return;
  pages_.push_back(&page);
  PageSlot& slot = SlotOf(page);
  if (window_) SendMessageW(window_, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(CreateHandle(slot)));
}

void Win32SheetView::RemovePage(IPropertyPage& page) {
  auto it = std::find(pages_.begin(), pages_.end(), &page);
  if (it == pages_.end()) return;
  int index = static_cast<int>(it - pages_.begin());
  pages_.erase(it);
  PageSlot& slot = SlotOf(page);
  if (window_ && slot.handle) SendMessageW(window_, PSM_REMOVEPAGE, index, reinterpret_cast<LPARAM>(slot.handle));
  slot.handle = nullptr;
}

void Win32SheetView::SetCurrentPage(IPropertyPage& page) {
  auto it = std::find(pages_.begin(), pages_.end(), &page);
  if (it == pages_.end()) return;
  if (!window_) {
    startPage_ = static_cast<int>(it - pages_.begin());
    return;
  }
  SendMessageW(window_, PSM_SETCURSEL, 0, reinterpret_cast<LPARAM>(SlotOf(page).handle));
}

// Sent, not posted (the PropSheet_SetWizButtons macro posts): the buttons are
// in their new state when the call returns.
void Win32SheetView::SetWizardButtons(uint32_t flags) {
  if (!window_) return;
  SendMessageW(window_, PSM_SETWIZBUTTONS, 0, flags);
  // With Next off the sheet makes its cancel button the default, and an Enter
  // meant for the page (the agreement not yet ticked, an installation
  // running) would end the wizard. Next stays the default: Enter does
  // nothing until Next can act; Esc is still the cancel.
  if (!(flags & (PSWIZB_NEXT | PSWIZB_FINISH))) SendMessageW(window_, DM_SETDEFID, kIdWizNext, 0);
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

// Posted and sent messages stay: only the user's input goes.
void Win32SheetView::DropQueuedInput() {
  static const UINT kRanges[][2] = {
      {WM_KEYFIRST, WM_KEYLAST}, {WM_MOUSEFIRST, WM_MOUSELAST}, {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  MSG message;
  for (const auto& range : kRanges)
    while (PeekMessageW(&message, nullptr, range[0], range[1], PM_REMOVE)) {
    }
}

void Win32SheetView::EndWizard() {
  if (closing_ || !window_) return;
  closing_ = true;
  SendMessageW(window_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

HWND Win32SheetView::PageWindow(const IPropertyPage& page) const {
  auto it = slots_.find(&page);
  return it == slots_.end() ? nullptr : it->second.host->window();
}

void Win32SheetView::RunModal(ISheetEvents& events, IPropertyPage& firstPage) {
  events_ = &events;
  closing_ = false;
  std::vector<HPROPSHEETPAGE> handles;
  for (IPropertyPage* page : pages_) handles.push_back(CreateHandle(SlotOf(*page)));
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
  for (auto& [page, slot] : slots_) {
    slot.handle = nullptr;
    slot.host->view().Attach(nullptr);
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
  if (IsCtlColorMessage(message) && self->events_) {
    HWND control = reinterpret_cast<HWND>(lParam);
    ControlColors colors = self->events_->CtlColor(GetDlgCtrlID(control), ControlKindOf(control));
    if (colors.system) return DefSubclassProc(window, message, wParam, lParam);
    // One white brush, made at the first request and kept.
    if (!self->sheetBrush_) self->sheetBrush_ = CreateSolidBrush(RGB(255, 255, 255));
    return ApplyControlColors(reinterpret_cast<HDC>(wParam), colors, self->sheetBrush_);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, SheetSubclass, 1);
  return DefSubclassProc(window, message, wParam, lParam);
}

// The portable sheet makes the moves and decides the closing; the native
// sheet makes none of its own.
bool Win32SheetView::OnSheetNotify(UINT code, LRESULT& result) {
  switch (code) {
    case PSN_WIZNEXT:
      if (events_) events_->OnWizardNext();
      result = -1;
      return true;
    case PSN_WIZBACK:
      if (events_) events_->OnWizardBack();
      result = -1;
      return true;
    case PSN_QUERYCANCEL:
      if (!closing_) {
        closing_ = true;
        if (events_) events_->OnCancel();
      }
      result = FALSE;  // let it close
      return true;
    case PSN_RESET:
      result = 0;  // answered by OnCancel above
      return true;
    default:
      return false;
  }
}

}  // namespace lx
