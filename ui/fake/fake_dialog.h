// In-memory windows for tests: every control of a page is built from its
// template and keeps what a user would see (text, visibility, enabling,
// check marks, list contents, selection, progress, pictures, documents).
#pragma once

#include <deque>
#include <map>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "ui/dialog_view.h"
#include "ui/fake/rc_reader.h"
#include "ui/property_page.h"

namespace lx {

struct FakeControl {
  int id = 0;
  ControlKind kind = ControlKind::kOther;
  std::u16string className;
  Rect rect;  // pixels
  std::u16string text;
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  bool focused = false;
  // Edit field.
  int selStart = 0, selEnd = 0;
  int limit = 0;  // 0: the system's default
  // Combo box.
  bool sorted = false;
  std::vector<std::u16string> items;
  std::vector<intptr_t> itemData;  // beside items
  int curSel = -1;
  // List view.
  uint32_t extendedStyle = 0;
  std::vector<std::u16string> columns;
  std::vector<int> columnWidths;
  std::vector<std::vector<std::u16string>> rows;
  std::vector<bool> selected;
  int focusedRow = -1;
  int visibleRow = -1;  // the row last scrolled into view
  // Progress bar and trackbar.
  int low = 0, high = 100, position = 0;
  std::vector<int> positions;  // every position set, in order
  int lineSize = 1, pageSize = 0;  // trackbar steps; 0: the control's own page size
  // Rich edit and picture.
  std::string rtf;
  int bitmap = 0;  // 0: none
  int bitmapsReleased = 0;
  std::u16string accessibleName;  // set by the page; empty: the screen reader's own
  bool keepsKeys = false;         // typed characters and arrows stay with it
};

class FakeDialog : public IDialogView {
 public:
  // `scripts` answers which bitmaps exist.
  FakeDialog(const RcScripts& scripts, IPropertyPage* page, const DialogTemplate* tmpl);

  // IDialogView
  bool HasControl(int id) override { return Find(id) != nullptr; }
  void SetText(int id, const std::u16string& text) override;
  void SetCaption(const std::u16string& text) override { caption = text; }
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
  // Every character is 7 pixels wide.
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
  void TrackbarSetSteps(int id, int line, int page) override;
  int TrackbarGetPos(int id) override;
  void SetRichText(int id, const std::string& rtf) override;
  bool SetBitmap(int id, int bitmapId) override;
  void SetChildFont(const std::u16string& face, int tenthsOfPoint) override;
  void SetAccessibleName(int id, const std::u16string& name) override;
  void KeepKeys(int id) override;
  bool HighContrast() override { return highContrast; }
  void SetTimer(unsigned timerId, unsigned milliseconds) override {
    timers.insert(timerId);
    timerPeriods[timerId] = milliseconds;
  }
  void KillTimer(unsigned timerId) override { timers.erase(timerId); }
  void PostToWindow(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  void SheetChanged(bool changed) override { sheetChanged = changed; }

  // The user's actions on this window's controls, delivered to its page as
  // the window system would. Each answers false when the control is not
  // there for the user (absent, hidden or disabled), and then does nothing.
  bool Click(int id);
  bool SelectCombo(int id, int index);
  bool SelectRow(int id, int row);
  bool ClickLink(int id);
  // Replaces the field's text with `text` as typed (the caret after it,
  // cut at the field's limit), then EN_CHANGE.
  bool Type(int id, const std::u16string& text);
  // Puts the focus into an edit field: the field that had it loses it first.
  bool FocusEdit(int id);
  // Drags a trackbar's thumb to `position` (TB_THUMBPOSITION).
  bool Scroll(int id, int position);

  // For tests.
  FakeControl* Find(int id);
  FakeControl& At(int id);  // throws when the page has no such control
  // The topmost visible control among `ids` (z-order of the template), or 0.
  int TopVisible(std::initializer_list<int> ids);
  // Adds a control the template does not hold (the sheet's own buttons).
  void AddControl(const FakeControl& control) { controls_.push_back(control); }
  // Posted messages, taken by the sheet's pump.
  struct Posted {
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
  };
  bool TakePosted(Posted& out);

  IPropertyPage* page() const { return page_; }
  int templateId = 0;
  std::u16string caption;
  std::u16string fontFace;
  int fontTenths = 0;
  int fontsCreated = 0;
  bool sheetChanged = false;  // the last PSM_CHANGED / PSM_UNCHANGED
  bool highContrast = false;  // the scheme the tests put on
  std::set<unsigned> timers;
  std::map<unsigned, unsigned> timerPeriods;  // the last period set for each id
  std::vector<int> missingIds;  // ids asked for that the window does not have

 private:
  bool Usable(int id);
  const RcScripts& scripts_;
  IPropertyPage* page_;
  int focusedEdit_ = 0;
  std::vector<FakeControl> controls_;
  std::mutex postedLock_;
  std::deque<Posted> posted_;
};

// The windows a sheet has built, by page.
using FakePageViews = std::map<const IPropertyPage*, std::unique_ptr<FakeDialog>>;
// Takes one message posted to any of the windows and, when `deliver`, hands
// it to the window's page (a closed sheet loses it); false when none waits.
bool TakeOnePosted(const FakePageViews& views, bool deliver);

}  // namespace lx
