#include "ui/fake/fake_dialog.h"

#include <algorithm>
#include <stdexcept>

#include "common/text.h"

namespace lx {

FakeDialog::FakeDialog(const RcScripts& scripts, IPropertyPage* page, const DialogTemplate* tmpl)
    : scripts_(scripts), page_(page) {
  if (!tmpl) return;
  templateId = tmpl->id;
  for (const auto& t : tmpl->controls) {
    FakeControl c;
    c.id = t.id;
    c.kind = t.kind;
    c.className = t.className;
    c.rect = DialogUnitsToPixels(t.dialogUnits);
    c.text = t.text;
    c.visible = t.visible;
    c.sorted = t.sorted;
    controls_.push_back(c);
  }
}

FakeControl* FakeDialog::Find(int id) {
  for (auto& c : controls_)
    if (c.id == id) return &c;
  return nullptr;
}

FakeControl& FakeDialog::At(int id) {
  if (auto* c = Find(id)) return *c;
  throw std::out_of_range("no control " + std::to_string(id) + " in template " +
                          std::to_string(templateId));
}

int FakeDialog::TopVisible(std::initializer_list<int> ids) {
  for (auto& c : controls_)
    if (c.visible && std::find(ids.begin(), ids.end(), c.id) != ids.end()) return c.id;
  return 0;
}

// Windows answers nothing for a missing control (GetDlgItem is null); the
// fake does the same and remembers the id so that a test can see the mistake.
#define LX_CONTROL_OR(id, ...)   \
  FakeControl* c = Find(id);     \
  if (!c) {                      \
    missingIds.push_back(id);    \
    return __VA_ARGS__;          \
  }

void FakeDialog::SetText(int id, const std::u16string& text) {
  LX_CONTROL_OR(id)
  c->text = text;
  c->selStart = c->selEnd = 0;
}

std::u16string FakeDialog::GetText(int id) {
  LX_CONTROL_OR(id, u"")
  if (c->kind == ControlKind::kComboBox)
    return c->curSel >= 0 ? c->items[c->curSel] : u"";
  return c->text;
}

void FakeDialog::Show(int id, bool show) {
  LX_CONTROL_OR(id)
  c->visible = show;
}

bool FakeDialog::IsVisible(int id) {
  LX_CONTROL_OR(id, false)
  return c->visible;
}

void FakeDialog::Enable(int id, bool enable) {
  LX_CONTROL_OR(id)
  c->enabled = enable;
}

bool FakeDialog::IsEnabled(int id) {
  LX_CONTROL_OR(id, false)
  return c->enabled;
}

void FakeDialog::SetCheck(int id, bool checked) {
  LX_CONTROL_OR(id)
  c->checked = checked;
}

bool FakeDialog::GetCheck(int id) {
  LX_CONTROL_OR(id, false)
  return c->checked;
}

Rect FakeDialog::GetControlRect(int id) {
  LX_CONTROL_OR(id, Rect{})
  return c->rect;
}

void FakeDialog::MoveControl(int id, const Rect& rect) {
  LX_CONTROL_OR(id)
  c->rect = rect;
}

void FakeDialog::SetFocus(int id) {
  LX_CONTROL_OR(id)
  for (auto& other : controls_) other.focused = false;
  c->focused = true;
}

int FakeDialog::FocusedControl() {
  for (const auto& c : controls_)
    if (c.focused) return c.id;
  return 0;
}

void FakeDialog::GetEditSelection(int id, int& start, int& end) {
  start = end = 0;
  LX_CONTROL_OR(id)
  start = c->selStart;
  end = c->selEnd;
}

void FakeDialog::SetEditSelection(int id, int start, int end) {
  LX_CONTROL_OR(id)
  // EM_SETSEL keeps both ends inside the text; -1 stands for its end.
  const int length = static_cast<int>(c->text.size());
  auto inside = [length](int at) { return at < 0 || at > length ? length : at; };
  c->selStart = inside(start);
  c->selEnd = inside(end);
  if (c->selStart > c->selEnd) std::swap(c->selStart, c->selEnd);
}

void FakeDialog::LimitText(int id, int characters) {
  LX_CONTROL_OR(id)
  c->limit = characters;
}

int FakeDialog::MeasureText(int id, const std::u16string& text) {
  LX_CONTROL_OR(id, 0)
  return static_cast<int>(text.size()) * 7;
}

int FakeDialog::ComboAdd(int id, const std::u16string& text) {
  LX_CONTROL_OR(id, -1)
  size_t at = c->items.size();
  if (c->sorted) {
    // CBS_SORT compares without regard to case.
    auto lower = ToLowerAscii(text);
    at = 0;
    while (at < c->items.size() && ToLowerAscii(c->items[at]) <= lower) ++at;
  }
  c->items.insert(c->items.begin() + static_cast<long>(at), text);
  c->itemData.insert(c->itemData.begin() + static_cast<long>(at), 0);
  if (c->curSel >= static_cast<int>(at)) ++c->curSel;
  return static_cast<int>(at);
}

int FakeDialog::ComboCount(int id) {
  LX_CONTROL_OR(id, 0)
  return static_cast<int>(c->items.size());
}

void FakeDialog::ComboReset(int id) {
  LX_CONTROL_OR(id)
  c->items.clear();
  c->itemData.clear();
  c->curSel = -1;
}

bool FakeDialog::ComboSetCurSel(int id, int index) {
  LX_CONTROL_OR(id, false)
  if (index < 0 || index >= static_cast<int>(c->items.size())) {
    c->curSel = -1;
    return false;
  }
  c->curSel = index;
  return true;
}

int FakeDialog::ComboGetCurSel(int id) {
  LX_CONTROL_OR(id, -1)
  return c->curSel;
}

std::u16string FakeDialog::ComboGetItemText(int id, int index) {
  LX_CONTROL_OR(id, u"")
  if (index < 0 || index >= static_cast<int>(c->items.size())) return u"";
  return c->items[index];
}

void FakeDialog::ComboSetItemData(int id, int index, intptr_t data) {
  LX_CONTROL_OR(id)
  if (index >= 0 && index < static_cast<int>(c->itemData.size())) c->itemData[index] = data;
}

intptr_t FakeDialog::ComboGetItemData(int id, int index) {
  LX_CONTROL_OR(id, -1)
  if (index < 0 || index >= static_cast<int>(c->itemData.size())) return -1;
  return c->itemData[index];
}

void FakeDialog::ListSetExtendedStyle(int id, uint32_t style) {
  LX_CONTROL_OR(id)
  c->extendedStyle = style;
}

void FakeDialog::ListInsertColumn(int id, int column, const std::u16string& title, int width) {
  LX_CONTROL_OR(id)
  size_t at = std::min(static_cast<size_t>(std::max(column, 0)), c->columns.size());
  c->columns.insert(c->columns.begin() + static_cast<long>(at), title);
  c->columnWidths.insert(c->columnWidths.begin() + static_cast<long>(at), width);
}

int FakeDialog::ListInsertItem(int id, int row, const std::u16string& text) {
  LX_CONTROL_OR(id, -1)
  size_t at = std::min(static_cast<size_t>(std::max(row, 0)), c->rows.size());
  std::vector<std::u16string> cells(std::max<size_t>(c->columns.size(), 1));
  cells[0] = text;
  c->rows.insert(c->rows.begin() + static_cast<long>(at), cells);
  c->selected.insert(c->selected.begin() + static_cast<long>(at), false);
  return static_cast<int>(at);
}

void FakeDialog::ListSetItemText(int id, int row, int column, const std::u16string& text) {
  LX_CONTROL_OR(id)
  if (row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) return;
  auto& cells = c->rows[row];
  if (column >= static_cast<int>(cells.size())) cells.resize(column + 1);
  cells[column] = text;
}

std::u16string FakeDialog::ListGetItemText(int id, int row, int column) {
  LX_CONTROL_OR(id, u"")
  if (row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0 ||
      column >= static_cast<int>(c->rows[row].size()))
    return u"";
  return c->rows[row][column];
}

int FakeDialog::ListItemCount(int id) {
  LX_CONTROL_OR(id, 0)
  return static_cast<int>(c->rows.size());
}

int FakeDialog::ListNextSelected(int id, int start) {
  LX_CONTROL_OR(id, -1)
  for (int i = std::max(start + 1, 0); i < static_cast<int>(c->selected.size()); ++i)
    if (c->selected[i]) return i;
  return -1;
}

void FakeDialog::ListDeleteItem(int id, int row) {
  LX_CONTROL_OR(id)
  if (row < 0 || row >= static_cast<int>(c->rows.size())) return;
  c->rows.erase(c->rows.begin() + row);
  c->selected.erase(c->selected.begin() + row);
  if (c->focusedRow == row) c->focusedRow = -1;
  else if (c->focusedRow > row) --c->focusedRow;
}

void FakeDialog::ListDeleteAllItems(int id) {
  LX_CONTROL_OR(id)
  c->rows.clear();
  c->selected.clear();
  c->focusedRow = -1;
  c->visibleRow = -1;
}

void FakeDialog::ListSelectItem(int id, int row) {
  LX_CONTROL_OR(id)
  if (row < 0 || row >= static_cast<int>(c->rows.size())) return;
  c->selected[row] = true;
  c->focusedRow = row;
  c->visibleRow = row;
}

// The templates' list views have WS_BORDER: one pixel on each side.
int FakeDialog::ClientWidth(int id) {
  LX_CONTROL_OR(id, 0)
  return std::max(c->rect.Width() - 2, 0);
}

void FakeDialog::ProgressSetRange(int id, int low, int high) {
  LX_CONTROL_OR(id)
  c->low = low;
  c->high = high;
}

void FakeDialog::ProgressSetPos(int id, int position) {
  LX_CONTROL_OR(id)
  c->position = std::clamp(position, c->low, std::max(c->low, c->high));
  c->positions.push_back(c->position);
}

void FakeDialog::TrackbarSetRange(int id, int low, int high) {
  LX_CONTROL_OR(id)
  c->low = low;
  c->high = high;
  c->position = std::clamp(c->position, low, std::max(low, high));
}

void FakeDialog::TrackbarSetPos(int id, int position) {
  LX_CONTROL_OR(id)
  c->position = std::clamp(position, c->low, std::max(c->low, c->high));
}

int FakeDialog::TrackbarGetPos(int id) {
  LX_CONTROL_OR(id, 0)
  return c->position;
}

void FakeDialog::TrackbarSetSteps(int id, int line, int page) {
  LX_CONTROL_OR(id)
  c->lineSize = line;
  c->pageSize = page;
}

void FakeDialog::SetRichText(int id, const std::string& rtf) {
  LX_CONTROL_OR(id)
  c->rtf = rtf;
}

bool FakeDialog::SetBitmap(int id, int bitmapId) {
  LX_CONTROL_OR(id, false)
  if (!scripts_.Bitmaps().count(bitmapId)) return false;
  if (c->bitmap) ++c->bitmapsReleased;
  c->bitmap = bitmapId;
  return true;
}

void FakeDialog::SetChildFont(const std::u16string& face, int tenthsOfPoint) {
  fontFace = face;
  fontTenths = tenthsOfPoint;
  ++fontsCreated;
}

void FakeDialog::SetAccessibleName(int id, const std::u16string& name) {
  LX_CONTROL_OR(id)
  c->accessibleName = name;
}

void FakeDialog::KeepKeys(int id) {
  LX_CONTROL_OR(id)
  c->keepsKeys = true;
}

void FakeDialog::PostToWindow(unsigned message, uintptr_t wParam, intptr_t lParam) {
  std::lock_guard<std::mutex> lock(postedLock_);
  posted_.push_back({message, wParam, lParam});
}

bool FakeDialog::TakePosted(Posted& out) {
  std::lock_guard<std::mutex> lock(postedLock_);
  if (posted_.empty()) return false;
  out = posted_.front();
  posted_.pop_front();
  return true;
}

bool FakeDialog::Usable(int id) {
  FakeControl* c = Find(id);
  return page_ && c && c->visible && c->enabled;
}

bool FakeDialog::Click(int id) {
  if (!Usable(id)) return false;
  FakeControl& c = At(id);
  if (c.kind == ControlKind::kCheckBox) c.checked = !c.checked;
  if (c.kind == ControlKind::kRadioButton) {
    // The pages have one radio group each: ticking one clears the others.
    c.checked = true;
    for (FakeControl& other : controls_)
      if (other.kind == ControlKind::kRadioButton && other.id != id) other.checked = false;
  }
  page_->OnCommand(id, kBnClicked);
  return true;
}

bool FakeDialog::SelectCombo(int id, int index) {
  if (!Usable(id) || !ComboSetCurSel(id, index)) return false;
  page_->OnCommand(id, kCbnSelChange);
  return true;
}

bool FakeDialog::SelectRow(int id, int row) {
  if (!Usable(id)) return false;
  FakeControl& c = At(id);
  if (row >= static_cast<int>(c.rows.size())) return false;
  // A plain click: only that row stays selected (-1 clicks below the rows).
  for (size_t i = 0; i < c.selected.size(); ++i) c.selected[i] = static_cast<int>(i) == row;
  page_->OnNotify(id, kLvnItemChanged);
  return true;
}

bool FakeDialog::ClickLink(int id) {
  if (!Usable(id)) return false;
  page_->OnNotify(id, kNmClick);
  return true;
}

bool FakeDialog::Type(int id, const std::u16string& text) {
  if (!Usable(id)) return false;
  FakeControl& c = At(id);
  c.text = c.limit > 0 && text.size() > static_cast<size_t>(c.limit) ? text.substr(0, c.limit) : text;
  c.selStart = c.selEnd = static_cast<int>(c.text.size());
  page_->OnCommand(id, kEnChange);
  return true;
}

bool FakeDialog::FocusEdit(int id) {
  if (!Usable(id) || At(id).kind != ControlKind::kEdit) return false;
  if (focusedEdit_ != 0 && focusedEdit_ != id) {
    int left = focusedEdit_;
    focusedEdit_ = 0;
    if (FakeControl* c = Find(left)) c->focused = false;
    page_->OnEditFocus(left, false);
  }
  focusedEdit_ = id;
  At(id).focused = true;
  page_->OnEditFocus(id, true);
  return true;
}

bool FakeDialog::Scroll(int id, int position) {
  if (!Usable(id) || At(id).kind != ControlKind::kTrackbar) return false;
  TrackbarSetPos(id, position);
  constexpr int kTbThumbPosition = 4;
  page_->OnScroll(id, kTbThumbPosition, false);
  return true;
}

bool TakeOnePosted(const FakePageViews& views, bool deliver) {
  for (const auto& [page, view] : views) {
    FakeDialog::Posted p;
    if (!view->TakePosted(p)) continue;
    if (deliver) view->page()->OnMessage(p.message, p.wParam, p.lParam);
    return true;
  }
  return false;
}

}  // namespace lx
