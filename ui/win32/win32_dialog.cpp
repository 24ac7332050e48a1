#include "ui/win32/win32_dialog.h"

#include <commctrl.h>
#include <oleacc.h>
#include <richedit.h>

#include <vector>

#include "platform/win32/wide.h"

namespace lx {

namespace {

std::u16string WindowText(HWND window) {
  if (!window) return u"";
  int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  int got = GetWindowTextW(window, buffer.data(), length + 1);
  return U(buffer.data(), static_cast<size_t>(got > 0 ? got : 0));
}

struct StreamSource {
  const std::string* bytes;
  size_t position;
};

// Hands the rich edit as many bytes as it asks for, until the document ends.
DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  size_t left = source->bytes->size() - source->position;
  size_t n = left < static_cast<size_t>(wanted) ? left : static_cast<size_t>(wanted);
  memcpy(buffer, source->bytes->data() + source->position, n);
  source->position += n;
  *given = static_cast<LONG>(n);
  return 0;
}

// The DPI the window is drawn for: its monitor's under per-monitor awareness
// (GetDpiForWindow, Windows 10 1607 and later), the system's before.
int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow)
    if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  HDC dc = GetDC(window);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return dpi > 0 ? dpi : 96;
}

// The bitmap at `dpi`; a centring picture keeps within `room` (its control).
HBITMAP ScaledBitmap(HBITMAP bitmap, int dpi, const RECT* room) {
  BITMAP info = {};
  if (!GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return bitmap;
  int cx = MulDiv(info.bmWidth, dpi, 96), cy = MulDiv(info.bmHeight, dpi, 96);
  if (room) {
    int roomX = room->right - room->left, roomY = room->bottom - room->top;
    if (roomX > 0 && roomY > 0 && (cx > roomX || cy > roomY)) {
      // The smaller of the two ratios, so that both sides fit.
      if (static_cast<long long>(roomX) * info.bmHeight <= static_cast<long long>(roomY) * info.bmWidth) {
        cx = roomX;
        cy = MulDiv(info.bmHeight, roomX, info.bmWidth);
      } else {
        cy = roomY;
        cx = MulDiv(info.bmWidth, roomY, info.bmHeight);
      }
    }
  }
  if (cx == info.bmWidth && cy == info.bmHeight) return bitmap;
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
  HBITMAP scaled = CreateCompatibleBitmap(screen, cx, cy);
  ReleaseDC(nullptr, screen);
  if (!scaled) {
    DeleteDC(from);
    DeleteDC(to);
    return bitmap;
  }
  HGDIOBJ oldFrom = SelectObject(from, bitmap), oldTo = SelectObject(to, scaled);
  SetStretchBltMode(to, HALFTONE);
  SetBrushOrgEx(to, 0, 0, nullptr);
  StretchBlt(to, 0, 0, cx, cy, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(from, oldFrom);
  SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
  DeleteObject(bitmap);
  return scaled;
}

// CLSID_AccPropServices, IID_IAccPropServices and PROPID_ACC_NAME, defined
// here so that nothing links oleacc.
const CLSID kAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const GUID kPropIdAccName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

}  // namespace

Win32DialogView::~Win32DialogView() {
  if (font_) DeleteObject(font_);
}

void Win32DialogView::SetCaption(const std::u16string& text) {
  if (window_) SetWindowTextW(window_, W(text));
}

void Win32DialogView::SetText(int id, const std::u16string& text) {
  if (HWND item = Item(id)) SetWindowTextW(item, W(text));
}

std::u16string Win32DialogView::GetText(int id) { return WindowText(Item(id)); }

void Win32DialogView::Show(int id, bool show) {
  if (HWND item = Item(id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

// The control's own style: a page that is not in front still reports what it will show.
bool Win32DialogView::IsVisible(int id) {
  HWND item = Item(id);
  return item && (GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32DialogView::Enable(int id, bool enable) {
  if (HWND item = Item(id)) EnableWindow(item, enable ? TRUE : FALSE);
}

bool Win32DialogView::IsEnabled(int id) {
  HWND item = Item(id);
  return item && IsWindowEnabled(item);
}

void Win32DialogView::SetCheck(int id, bool checked) {
  if (HWND item = Item(id)) SendMessageW(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32DialogView::GetCheck(int id) {
  HWND item = Item(id);
  return item && SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

Rect Win32DialogView::GetControlRect(int id) {
  HWND item = Item(id);
  if (!item) return {};
  RECT r;
  GetWindowRect(item, &r);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

void Win32DialogView::MoveControl(int id, const Rect& rect) {
  if (HWND item = Item(id)) MoveWindow(item, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void Win32DialogView::SetFocus(int id) {
  if (HWND item = Item(id)) ::SetFocus(item);
}

int Win32DialogView::FocusedControl() {
  HWND focus = ::GetFocus();
  return focus != nullptr && window_ != nullptr && ::IsChild(window_, focus) ? ::GetDlgCtrlID(focus) : 0;
}

int Win32DialogView::ComboAdd(int id, const std::u16string& text) {
  HWND item = Item(id);
  return item ? static_cast<int>(SendMessageW(item, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text)))) : -1;
}

void Win32DialogView::ComboReset(int id) {
  if (HWND item = Item(id)) SendMessageW(item, CB_RESETCONTENT, 0, 0);
}

int Win32DialogView::ComboCount(int id) {
  HWND item = Item(id);
  return item ? static_cast<int>(SendMessageW(item, CB_GETCOUNT, 0, 0)) : 0;
}

bool Win32DialogView::ComboSetCurSel(int id, int index) {
  HWND item = Item(id);
  return item && SendMessageW(item, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != CB_ERR;
}

int Win32DialogView::ComboGetCurSel(int id) {
  HWND item = Item(id);
  LRESULT r = item ? SendMessageW(item, CB_GETCURSEL, 0, 0) : CB_ERR;
  return r == CB_ERR ? -1 : static_cast<int>(r);
}

void Win32DialogView::ComboSetItemData(int id, int index, intptr_t data) {
  if (HWND item = Item(id)) SendMessageW(item, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

intptr_t Win32DialogView::ComboGetItemData(int id, int index) {
  HWND item = Item(id);
  LRESULT r = item ? SendMessageW(item, CB_GETITEMDATA, static_cast<WPARAM>(index), 0) : CB_ERR;
  return r == CB_ERR ? -1 : static_cast<intptr_t>(r);
}

std::u16string Win32DialogView::ComboGetItemText(int id, int index) {
  HWND item = Item(id);
  if (!item) return u"";
  LRESULT length = SendMessageW(item, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return u"";
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  LRESULT got = SendMessageW(item, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  return got == CB_ERR ? u"" : U(buffer.data(), static_cast<size_t>(got));
}

void Win32DialogView::ListSetExtendedStyle(int id, uint32_t style) {
  if (HWND item = Item(id)) SendMessageW(item, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
}

void Win32DialogView::ListInsertColumn(int id, int column, const std::u16string& title, int width) {
  HWND item = Item(id);
  if (!item) return;
  std::u16string text = title;
  LVCOLUMNW c = {};
  c.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
  c.fmt = LVCFMT_LEFT;
  c.cx = width;
  c.pszText = const_cast<wchar_t*>(W(text));
  SendMessageW(item, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
}

int Win32DialogView::ListInsertItem(int id, int row, const std::u16string& text) {
  HWND item = Item(id);
  if (!item) return -1;
  std::u16string copy = text;
  LVITEMW it = {};
  it.mask = LVIF_TEXT;
  it.iItem = row;
  it.pszText = const_cast<wchar_t*>(W(copy));
  return static_cast<int>(SendMessageW(item, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
}

void Win32DialogView::ListSetItemText(int id, int row, int column, const std::u16string& text) {
  HWND item = Item(id);
  if (!item) return;
  std::u16string copy = text;
  LVITEMW it = {};
  it.iSubItem = column;
  it.pszText = const_cast<wchar_t*>(W(copy));
  SendMessageW(item, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&it));
}

std::u16string Win32DialogView::ListGetItemText(int id, int row, int column) {
  HWND item = Item(id);
  if (!item) return u"";
  // LVM_GETITEMTEXTW cuts to the buffer: grow until the text fits.
  for (size_t size = 256; size <= 65536; size *= 4) {
    std::vector<wchar_t> buffer(size);
    LVITEMW it = {};
    it.iSubItem = column;
    it.pszText = buffer.data();
    it.cchTextMax = static_cast<int>(size);
    LRESULT got = SendMessageW(item, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&it));
    if (static_cast<size_t>(got) + 1 < size) return U(buffer.data(), static_cast<size_t>(got));
  }
  return u"";
}

int Win32DialogView::ListItemCount(int id) {
  HWND item = Item(id);
  return item ? static_cast<int>(SendMessageW(item, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int Win32DialogView::ListNextSelected(int id, int start) {
  HWND item = Item(id);
  return item ? static_cast<int>(SendMessageW(item, LVM_GETNEXTITEM, static_cast<WPARAM>(start), LVNI_SELECTED))
              : -1;
}

void Win32DialogView::ListDeleteItem(int id, int row) {
  if (HWND item = Item(id)) SendMessageW(item, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

void Win32DialogView::ListDeleteAllItems(int id) {
  if (HWND item = Item(id)) SendMessageW(item, LVM_DELETEALLITEMS, 0, 0);
}

void Win32DialogView::ListSelectItem(int id, int row) {
  HWND item = Item(id);
  if (!item) return;
  LVITEMW it = {};
  it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  it.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(item, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&it));
  SendMessageW(item, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void Win32DialogView::GetEditSelection(int id, int& start, int& end) {
  DWORD first = 0, last = 0;
  if (HWND item = Item(id)) SendMessageW(item, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
  start = static_cast<int>(first);
  end = static_cast<int>(last);
}

void Win32DialogView::SetEditSelection(int id, int start, int end) {
  if (HWND item = Item(id)) SendMessageW(item, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void Win32DialogView::LimitText(int id, int characters) {
  if (HWND item = Item(id)) SendMessageW(item, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

int Win32DialogView::MeasureText(int id, const std::u16string& text) {
  HWND item = Item(id);
  if (item == nullptr) return 0;
  HDC dc = GetDC(item);
  if (dc == nullptr) return 0;
  SIZE size = {};
  BOOL ok = GetTextExtentPoint32W(dc, W(text), static_cast<int>(text.size()), &size);
  ReleaseDC(item, dc);
  return ok ? size.cx : 0;
}

int Win32DialogView::ClientWidth(int id) {
  HWND item = Item(id);
  RECT r = {};
  if (!item || !GetClientRect(item, &r)) return 0;
  return r.right - r.left;
}

void Win32DialogView::ProgressSetRange(int id, int low, int high) {
  if (HWND item = Item(id)) SendMessageW(item, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

// Workers call this too: SendMessageW runs the change on the window's thread.
void Win32DialogView::ProgressSetPos(int id, int position) {
  if (HWND item = Item(id)) SendMessageW(item, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32DialogView::TrackbarSetRange(int id, int low, int high) {
  HWND item = Item(id);
  if (!item) return;
  SendMessageW(item, TBM_SETRANGEMIN, FALSE, low);
  SendMessageW(item, TBM_SETRANGEMAX, TRUE, high);
}

void Win32DialogView::TrackbarSetPos(int id, int position) {
  if (HWND item = Item(id)) SendMessageW(item, TBM_SETPOS, TRUE, position);
}

int Win32DialogView::TrackbarGetPos(int id) {
  HWND item = Item(id);
  return item ? static_cast<int>(SendMessageW(item, TBM_GETPOS, 0, 0)) : 0;
}

void Win32DialogView::TrackbarSetSteps(int id, int line, int page) {
  if (HWND item = Item(id)) {
    SendMessageW(item, TBM_SETLINESIZE, 0, line);
    SendMessageW(item, TBM_SETPAGESIZE, 0, page);
  }
}

void Win32DialogView::SetRichText(int id, const std::string& rtf) {
  HWND item = Item(id);
  if (!item) return;
  StreamSource source{&rtf, 0};
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = ReadStream;
  SendMessageW(item, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

bool Win32DialogView::SetBitmap(int id, int bitmapId) {
  HWND item = Item(id);
  if (!item) return false;
  HBITMAP bitmap = LoadBitmapW(resources_, MAKEINTRESOURCEW(bitmapId));
  if (!bitmap) return false;
  RECT room = {};
  const bool centred = (GetWindowLongW(item, GWL_STYLE) & SS_CENTERIMAGE) != 0 && GetClientRect(item, &room);
  bitmap = ScaledBitmap(bitmap, WindowDpi(window_), centred ? &room : nullptr);
  auto old = reinterpret_cast<HBITMAP>(
      SendMessageW(item, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  if (old && old != bitmap) DeleteObject(old);
  return true;
}

void Win32DialogView::SetChildFont(const std::u16string& face, int tenthsOfPoint) {
  if (!window_) return;
  int height = -MulDiv(tenthsOfPoint, WindowDpi(window_), 720);
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, W(face));
  if (!font) return;
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (font_) DeleteObject(font_);
  font_ = font;
}

void Win32DialogView::SetAccessibleName(int id, const std::u16string& name) {
  HWND item = Item(id);
  if (!item) return;
  IAccPropServices* services = nullptr;
  HRESULT hr = CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                reinterpret_cast<void**>(&services));
  if (hr == CO_E_NOTINITIALIZED && SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    hr = CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                          reinterpret_cast<void**>(&services));
  if (FAILED(hr) || !services) return;
  // The annotation stays with the window until it is destroyed.
  services->SetHwndPropStr(item, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kPropIdAccName, W(name));
  services->Release();
}

namespace {

LRESULT CALLBACK KeepKeysProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_GETDLGCODE) return DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTCHARS | DLGC_WANTARROWS;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, KeepKeysProc, id);
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void Win32DialogView::KeepKeys(int id) {
  if (HWND item = Item(id)) SetWindowSubclass(item, KeepKeysProc, 1, 0);
}

bool Win32DialogView::HighContrast() {
  HIGHCONTRASTW contrast = {sizeof(contrast)};
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void Win32DialogView::SetTimer(unsigned timerId, unsigned milliseconds) {
  if (window_) ::SetTimer(window_, timerId, milliseconds, nullptr);
}

void Win32DialogView::KillTimer(unsigned timerId) {
  if (window_) ::KillTimer(window_, timerId);
}

void Win32DialogView::PostToWindow(unsigned message, uintptr_t wParam, intptr_t lParam) {
  if (window_) PostMessageW(window_, message, wParam, lParam);
}

void Win32DialogView::SheetChanged(bool changed) {
  if (!window_) return;
  SendMessageW(GetParent(window_), changed ? PSM_CHANGED : PSM_UNCHANGED,
               reinterpret_cast<WPARAM>(window_), 0);
}

}  // namespace lx
