// The dialog seam: one window (a wizard page, or the sheet's own frame)
// addressed by numeric control ids. Pages are written against it once;
// ui/win32 binds it to real windows, ui/fake keeps every control in memory.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// Message box types and answers (MessageBoxW).
constexpr unsigned kMbOkOnly = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr int kIdOkAnswer = 1;
constexpr int kIdCancelAnswer = 2;

// List view extended styles used by the pages.
constexpr uint32_t kLvsExFullRowSelect = 0x20;
constexpr uint32_t kLvsExLabelTip = 0x4000;

class IDialogView {
 public:
  virtual ~IDialogView() = default;

  virtual bool HasControl(int id) = 0;
  virtual void SetText(int id, const std::u16string& text) = 0;
  // The window's own title (SetWindowTextW of the dialog).
  virtual void SetCaption(const std::u16string& text) = 0;
  virtual std::u16string GetText(int id) = 0;
  virtual void Show(int id, bool show) = 0;
  virtual bool IsVisible(int id) = 0;
  virtual void Enable(int id, bool enable) = 0;
  virtual bool IsEnabled(int id) = 0;
  // Check boxes and radio buttons (BM_SETCHECK / BM_GETCHECK).
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool GetCheck(int id) = 0;

  // Control rectangles in the window's client coordinates, in pixels
  // (GetWindowRect + ScreenToClient / MoveWindow).
  virtual Rect GetControlRect(int id) = 0;
  virtual void MoveControl(int id, const Rect& rect) = 0;
  virtual void SetFocus(int id) = 0;
  // The control of this window that has the keyboard focus (GetFocus,
  // GetDlgCtrlID); 0 when the focus is elsewhere.
  virtual int FocusedControl() = 0;

  // Edit fields. The selection in characters (EM_GETSEL / EM_SETSEL); start
  // equal to end is a caret. SetText puts the caret at the start, as
  // WM_SETTEXT does.
  virtual void GetEditSelection(int id, int& start, int& end) = 0;
  virtual void SetEditSelection(int id, int start, int end) = 0;
  // The most characters a user can type (EM_LIMITTEXT); SetText is not cut.
  virtual void LimitText(int id, int characters) = 0;
  // Width in pixels of `text` in the control's device context as it is,
  // no font selected (GetDC + GetTextExtentPoint32W); 0 without the control.
  virtual int MeasureText(int id, const std::u16string& text) = 0;

  // Combo boxes. ComboAdd answers the index the entry got (a sorted combo
  // places it by text). ComboSetCurSel with an index outside the list clears
  // the selection and answers false, as CB_SETCURSEL does.
  virtual int ComboAdd(int id, const std::u16string& text) = 0;
  virtual int ComboCount(int id) = 0;
  // Empties the list (CB_RESETCONTENT); no entry is selected then.
  virtual void ComboReset(int id) = 0;
  virtual bool ComboSetCurSel(int id, int index) = 0;
  virtual int ComboGetCurSel(int id) = 0;  // -1: none
  virtual std::u16string ComboGetItemText(int id, int index) = 0;
  // A number kept with an entry (CB_SETITEMDATA / CB_GETITEMDATA); -1 for
  // an index outside the list.
  virtual void ComboSetItemData(int id, int index, intptr_t data) = 0;
  virtual intptr_t ComboGetItemData(int id, int index) = 0;

  // List views in report mode.
  virtual void ListSetExtendedStyle(int id, uint32_t style) = 0;
  virtual void ListInsertColumn(int id, int column, const std::u16string& title, int width) = 0;
  virtual int ListInsertItem(int id, int row, const std::u16string& text) = 0;
  virtual void ListSetItemText(int id, int row, int column, const std::u16string& text) = 0;
  virtual std::u16string ListGetItemText(int id, int row, int column) = 0;
  virtual int ListItemCount(int id) = 0;
  // The first selected row after `start` (-1 searches from the top); -1 when none.
  virtual int ListNextSelected(int id, int start) = 0;
  // LVM_DELETEITEM / LVM_DELETEALLITEMS.
  virtual void ListDeleteItem(int id, int row) = 0;
  virtual void ListDeleteAllItems(int id) = 0;
  // Selects and focuses the row and scrolls it into view (LVM_SETITEMSTATE,
  // LVM_ENSUREVISIBLE).
  virtual void ListSelectItem(int id, int row) = 0;
  // The width of the control's client area in pixels (GetClientRect).
  virtual int ClientWidth(int id) = 0;

  // Progress bars (PBM_SETRANGE / PBM_SETPOS). A worker thread may set the
  // position; the binding brings it to the window's thread.
  virtual void ProgressSetRange(int id, int low, int high) = 0;
  virtual void ProgressSetPos(int id, int position) = 0;

  // Trackbars (TBM_SETRANGEMIN/MAX, TBM_SETPOS, TBM_GETPOS); positions are
  // kept inside the range.
  virtual void TrackbarSetRange(int id, int low, int high) = 0;
  virtual void TrackbarSetPos(int id, int position) = 0;
  virtual int TrackbarGetPos(int id) = 0;
  // How far the arrow keys and Page Up/Down move the thumb (TBM_SETLINESIZE,
  // TBM_SETPAGESIZE).
  virtual void TrackbarSetSteps(int id, int line, int page) = 0;

  // Rich edit: replaces the content with an RTF document (EM_STREAMIN, SF_RTF).
  virtual void SetRichText(int id, const std::string& rtf) = 0;
  // A bitmap of the program's resources into a picture control (STM_SETIMAGE);
  // the bitmap shown before is released. False when it cannot be loaded
  // (the control is then left as it was). Scaled for the window's DPI
  // (GetDpiForWindow where there is one, else LOGPIXELSY); a centring
  // picture (SS_CENTERIMAGE) no larger than its control.
  virtual bool SetBitmap(int id, int bitmapId) = 0;
  // Creates the window's font for the window's DPI and sends it to every
  // direct child (WM_SETFONT).
  virtual void SetChildFont(const std::u16string& face, int tenthsOfPoint) = 0;
  // The name a screen reader gives the control, for a control no static text
  // names (IAccPropServices::SetHwndPropStr, PROPID_ACC_NAME; oleacc through
  // CoCreateInstance, so nothing fails where it is missing).
  virtual void SetAccessibleName(int id, const std::u16string& name) = 0;
  // The control takes typed characters and the arrow keys itself: its
  // WM_GETDLGCODE also answers DLGC_WANTCHARS | DLGC_WANTARROWS
  // (SetWindowSubclass), so the dialog manager neither reads a character
  // typed there as another control's mnemonic nor moves the focus by arrows.
  virtual void KeepKeys(int id) = 0;
  // A high-contrast scheme is on (SystemParametersInfoW SPI_GETHIGHCONTRAST,
  // HCF_HIGHCONTRASTON).
  virtual bool HighContrast() = 0;

  // Timers of this window (SetTimer / KillTimer); they arrive as OnTimer.
  virtual void SetTimer(unsigned timerId, unsigned milliseconds) = 0;
  virtual void KillTimer(unsigned timerId) = 0;
  // PostMessageW to this window; arrives as OnMessage. Safe from any thread.
  virtual void PostToWindow(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
  // PSM_CHANGED / PSM_UNCHANGED to the sheet holding this page: enables or
  // disables its Apply button for this page.
  virtual void SheetChanged(bool changed) = 0;
};

}  // namespace lx
