// The dialog seam over a real window: controls found with GetDlgItem and
// driven with their window messages.
#pragma once

#include <windows.h>

#include "ui/dialog_view.h"

namespace lx {

class Win32DialogView : public IDialogView {
 public:
  Win32DialogView(HWND window, HINSTANCE resources) : window_(window), resources_(resources) {}
  ~Win32DialogView() override;
  Win32DialogView(const Win32DialogView&) = delete;
  Win32DialogView& operator=(const Win32DialogView&) = delete;

  HWND window() const { return window_; }
  void Attach(HWND window) { window_ = window; }

  bool HasControl(int id) override { return Item(id) != nullptr; }
  void SetCaption(const std::u16string& text) override;
  void SetText(int id, const std::u16string& text) override;
  std::u16string GetText(int id) override;
  void Show(int id, bool show) override;
  bool IsVisible(int id) override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) override;
  void SetCheck(int id, bool checked) override;
  bool GetCheck(int id) override;
  Rect GetControlRect(int id) override;
  void MoveControl(int id, const Rect& rect) override;
  void SetFocus(int id) override;
  int FocusedControl() override;
  void GetEditSelection(int id, int& start, int& end) override;
  void SetEditSelection(int id, int start, int end) override;
  void LimitText(int id, int characters) override;
  int MeasureText(int id, const std::u16string& text) override;
  int ComboAdd(int id, const std::u16string& text) override;
  int ComboCount(int id) override;
  void ComboReset(int id) override;
  bool ComboSetCurSel(int id, int index) override;
  int ComboGetCurSel(int id) override;
  std::u16string ComboGetItemText(int id, int index) override;
  void ComboSetItemData(int id, int index, intptr_t data) override;
  intptr_t ComboGetItemData(int id, int index) override;
  void ListSetExtendedStyle(int id, uint32_t style) override;
  void ListInsertColumn(int id, int column, const std::u16string& title, int width) override;
  int ListInsertItem(int id, int row, const std::u16string& text) override;
  void ListSetItemText(int id, int row, int column, const std::u16string& text) override;
  std::u16string ListGetItemText(int id, int row, int column) override;
  int ListItemCount(int id) override;
  int ListNextSelected(int id, int start) override;
  void ListDeleteItem(int id, int row) override;
  void ListDeleteAllItems(int id) override;
  void ListSelectItem(int id, int row) override;
  int ClientWidth(int id) override;
  void ProgressSetRange(int id, int low, int high) override;
  void ProgressSetPos(int id, int position) override;
  void TrackbarSetRange(int id, int low, int high) override;
  void TrackbarSetPos(int id, int position) override;
  int TrackbarGetPos(int id) override;
  void TrackbarSetSteps(int id, int line, int page) override;
  void SetRichText(int id, const std::string& rtf) override;
  bool SetBitmap(int id, int bitmapId) override;
  void SetChildFont(const std::u16string& face, int tenthsOfPoint) override;
  void SetAccessibleName(int id, const std::u16string& name) override;
  void KeepKeys(int id) override;
  bool HighContrast() override;
  void SetTimer(unsigned timerId, unsigned milliseconds) override;
  void KillTimer(unsigned timerId) override;
  void PostToWindow(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  void SheetChanged(bool changed) override;

 private:
  HWND Item(int id) const { return window_ ? GetDlgItem(window_, id) : nullptr; }
  HWND window_;
  HINSTANCE resources_;
  HFONT font_ = nullptr;
};

}  // namespace lx
