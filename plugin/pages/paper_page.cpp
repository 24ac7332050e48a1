#include "plugin/pages/paper_page.h"

#include <cstring>

#include "common/format.h"
#include "common/text.h"
#include "plugin/pages/paper_dialog.h"
#include "plugin/papers/paper_store.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

namespace {

constexpr char kPortrait[] = "PORTRAIT";
// The paper group's text goes to 1117 as on the paper dialog; the page's own
// template gives its group no id, so it keeps the template's caption.
constexpr int kPaperGroup = 1117;
constexpr char kLandscape[] = "LANDSCAPE_CC90";

FeatureSlot* Slot(PageContext& c, FeatureIndex index) {
  return c.features ? &c.features->slots[index] : nullptr;
}

bool IsCurrent(PageContext& c, FeatureIndex index, const char* option) {
  FeatureSlot* slot = Slot(c, index);
  return slot && IsCurrentOption(*slot, option);
}

void Select(PageContext& c, FeatureIndex index, const char* option) {
  if (FeatureSlot* slot = Slot(c, index)) SelectOption(*slot, option);
}

}  // namespace

int PaperPreviewNumber(bool rotate180, bool landscape, bool mirror, bool negative) {
  return IDB_PREVIEW_FIRST + 8 * rotate180 + 4 * landscape + 2 * mirror + negative;
}

PaperPage::PaperPage(PageContext& context) : DocumentPage(context, IDD_PAPER_PAGE, kHelpPaper) {}

void PaperPage::InitPage() {
  SetTexts({{IDC_PAPER_LIST_LABEL, IDS_PAPER_NAME},
            {IDC_PAPER_NEW, IDS_PAPER_NEW},
            {IDC_PAPER_EDIT, IDS_PAPER_EDIT},
            {IDC_PAPER_DELETE, IDS_PAPER_DELETE},
            {IDC_PORTRAIT, IDS_PORTRAIT},
            {IDC_LANDSCAPE, IDS_LANDSCAPE},
            {IDC_PORTRAIT_180, IDS_PORTRAIT_180},
            {IDC_LANDSCAPE_180, IDS_LANDSCAPE_180},
            {IDC_MIRROR, IDS_MIRROR},
            {IDC_NEGATIVE, IDS_NEGATIVE},
            {kPaperGroup, IDS_PAPER_GROUP},
            {IDC_PREVIEW_GROUP, IDS_PREVIEW_GROUP},
            {IDC_ORIENTATION_GROUP, IDS_ORIENTATION_GROUP},
            {IDC_EFFECT_GROUP, IDS_EFFECT_GROUP}});
  FillList(context().live ? context().live->paperId : -1);
}

// The entries are made under the paper lock and shown after it.
void PaperPage::FillList(int32_t number) {
  IDialogView& v = view();
  std::vector<std::pair<std::u16string, int32_t>> entries;
  int selected = 0;
  {
    PaperLock hold = context().LockPapers();
    if (const PaperStore* store = context().papers) {
      const std::u16string& unit = context().module.unitText;
      for (size_t i = 0; i < store->records.size(); ++i) {
        const PaperRecord& r = store->records[i];
        entries.emplace_back(FormatW(u"%s (%.1f %s x %.1f %s) ", PaperName(r).c_str(), RoundTo(r.width, 1),
                                     unit.c_str(), RoundTo(r.height, 1), unit.c_str()),
                             r.number);
        if (r.number == number) selected = static_cast<int>(i);
      }
    }
  }
  v.ComboReset(IDC_PAPER_LIST);
  for (const auto& [text, paperNumber] : entries) {
    const int at = v.ComboAdd(IDC_PAPER_LIST, text);
    v.ComboSetItemData(IDC_PAPER_LIST, at, paperNumber);
  }
  v.ComboSetCurSel(IDC_PAPER_LIST, selected);
  FollowSelection();
}

// Built-in sizes can be neither edited nor deleted.
void PaperPage::FollowSelection() {
  const int32_t number = SelectedNumber();
  bool own = false;
  {
    PaperLock hold = context().LockPapers();
    own = SelectedOwnPaper(number).has_value();
  }
  view().Enable(IDC_PAPER_EDIT, own);
  view().Enable(IDC_PAPER_DELETE, own);
}

int32_t PaperPage::SelectedNumber() {
  const int index = view().ComboGetCurSel(IDC_PAPER_LIST);
  return index < 0 ? -1 : static_cast<int32_t>(view().ComboGetItemData(IDC_PAPER_LIST, index));
}

std::optional<FoundPaper> PaperPage::SelectedOwnPaper(int32_t number) {
  const PaperStore* store = context().papers;
  if (!store || number < 0) return std::nullopt;
  std::optional<FoundPaper> found = FindPaperByNumber(*store, number);
  if (!found || found->record.builtIn) return std::nullopt;
  return found;
}

// Refilled at every activation: another sheet of the printer may have
// added, changed or deleted sizes meanwhile.
void PaperPage::ShowState() {
  PageContext& c = context();
  const bool rotated = c.live && c.live->rotate180 == 1;
  const bool portrait = IsCurrent(c, kFeatureOrientation, kPortrait);
  const int checked = portrait ? (rotated ? IDC_PORTRAIT_180 : IDC_PORTRAIT)
                               : (rotated ? IDC_LANDSCAPE_180 : IDC_LANDSCAPE);
  for (int id : {IDC_PORTRAIT, IDC_LANDSCAPE, IDC_PORTRAIT_180, IDC_LANDSCAPE_180}) view().SetCheck(id, id == checked);
  view().SetCheck(IDC_MIRROR, IsCurrent(c, kFeatureImageMirror, "MIRROR_ON"));
  view().SetCheck(IDC_NEGATIVE, IsCurrent(c, kFeatureImageNegative, "NEGATIVE_ON"));
  if (c.papers && c.live) FillList(c.live->paperId);
  ShowPreview();
}

void PaperPage::ShowPreview() {
  PageContext& c = context();
  if (!c.env || !c.live) return;
  const int number = PaperPreviewNumber(c.live->rotate180 != 0, !IsCurrent(c, kFeatureOrientation, kPortrait),
                                        c.live->mirror != 0, c.live->negative != 0);
  c.env->ShowPicture(view(), IDC_PREVIEW, number, false);
}

void PaperPage::Orientation(bool landscape, bool rotate180) {
  Select(context(), kFeatureOrientation, landscape ? kLandscape : kPortrait);
  context().live->rotate180 = rotate180 ? 1 : 0;
  ShowPreview();
}

bool PaperPage::HandleCommand(int controlId, int code) {
  PageContext& c = context();
  if (!c.live) return false;
  PaperStore* store = c.papers;
  if (controlId == IDC_PAPER_LIST) {
    if (code != kCbnSelChange || !store) return false;
    const int32_t number = SelectedNumber();
    {
      PaperLock hold = c.LockPapers();
      if (number >= 0 && FindPaperByNumber(*store, number)) c.live->paperId = static_cast<int16_t>(number);
    }
    FollowSelection();
    return true;
  }
  if (code != kBnClicked) return false;
  switch (controlId) {
    case IDC_PAPER_NEW: {
      bool numberLeft = false;
      {
        PaperLock hold = c.LockPapers();
        numberLeft = store && NextPaperNumber(*store) != 0;
      }
      if (!numberLeft) {
        // No dialog to fill in for nothing: the user learns why at once.
        if (c.env && store)
          c.env->MessageBox(view(), c.Text(IDS_PAPER_NUMBERS_USED), c.Text(IDS_HINT_CAPTION), kMbOkOnly);
        return true;
      }
      const intptr_t made = RunPaperDialog(c, view(), kNewPaper);
      if (made == kPaperDialogCancelled) return true;
      c.live->paperId = static_cast<int16_t>(made);
      FillList(static_cast<int32_t>(made));
      return true;
    }
    case IDC_PAPER_EDIT: {
      const int32_t number = SelectedNumber();
      {
        PaperLock hold = c.LockPapers();
        if (!SelectedOwnPaper(number)) return false;
      }
      // The dialog waits for the user: the lock is not held across it.
      const intptr_t edited = RunPaperDialog(c, view(), number);
      if (edited != kPaperDialogCancelled) FillList(static_cast<int32_t>(edited));
      return true;
    }
    case IDC_PAPER_DELETE: {
      const int32_t number = SelectedNumber();
      {
        PaperLock hold = c.LockPapers();
        std::optional<FoundPaper> found = SelectedOwnPaper(number);
        if (!found) return false;
        const int index = found->index;
        RemovePaperAt(*store, index);
        // The record that moved into its place, or the new last one.
        const int next = index < store->count() ? index : store->count() - 1;
        c.live->paperId = static_cast<int16_t>(next >= 0 ? store->records[next].number : -1);
      }
      FillList(c.live->paperId);
      return true;
    }
    case IDC_PORTRAIT:
    case IDC_LANDSCAPE:
    case IDC_PORTRAIT_180:
    case IDC_LANDSCAPE_180:
      if (!view().GetCheck(controlId)) return false;
      Orientation(controlId == IDC_LANDSCAPE || controlId == IDC_LANDSCAPE_180,
                  controlId == IDC_PORTRAIT_180 || controlId == IDC_LANDSCAPE_180);
      return true;
    case IDC_MIRROR: {
      const bool on = view().GetCheck(IDC_MIRROR);
      c.live->mirror = on ? 1 : 0;
      Select(c, kFeatureImageMirror, on ? "MIRROR_ON" : "MIRROR_OFF");
      ShowPreview();
      return true;
    }
    case IDC_NEGATIVE: {
      const bool on = view().GetCheck(IDC_NEGATIVE);
      c.live->negative = on ? 1 : 0;
      Select(c, kFeatureImageNegative, on ? "NEGATIVE_ON" : "NEGATIVE_OFF");
      ShowPreview();
      return true;
    }
    default:
      return false;
  }
}

void PaperPage::WritePublicPaper(int32_t number) {
  PageContext& c = context();
  DEVMODEW* dm = c.publicDm;
  if (!dm || !c.papers) return;
  PaperLock hold = c.LockPapers();
  auto found = FindPaperByNumber(*c.papers, number);
  if (!found) return;
  const PaperRecord& r = found->record;
  dm->dmPaperSize = static_cast<short>(r.number);
  if (r.number <= kUserPaperNumber) {
    dm->dmFields |= DM_PAPERSIZE;
    dm->dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME);
  } else {
    dm->dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    dm->dmFields &= ~(DM_PAPERSIZE | DM_FORMNAME);
  }
  dm->dmPaperWidth = MmToTenths(r.width);
  dm->dmPaperLength = MmToTenths(r.height);
  std::memset(dm->dmFormName, 0, sizeof dm->dmFormName);
  CopyToBuffer(reinterpret_cast<char16_t*>(dm->dmFormName), CCHFORMNAME, PaperName(r));
  dm->dmFields |= DM_FORMNAME;
}

bool PaperPage::Apply() {
  PageContext& c = context();
  if (c.live && c.papers) {
    const int32_t number = SelectedNumber();
    PaperLock hold = c.LockPapers();
    if (number >= 0 && FindPaperByNumber(*c.papers, number)) c.live->paperId = static_cast<int16_t>(number);
  }
  if (!ApplyPages(c)) return false;
  if (c.live && c.publicDm && c.live->collate != c.publicDm->dmCollate) {
    c.publicDm->dmFields |= DM_COLLATE;
    c.publicDm->dmCollate = c.live->collate;
  }
  if (c.features) RereadFeatures(*c.features);
  if (c.live) WritePublicPaper(c.live->paperId);
  bool saveFailed = false;
  if (c.papers && c.module.papers) {
    PaperLock hold = c.LockPapers();
    saveFailed = c.papers->count() > 0 && c.papers->dirty &&
                 !SavePaperStoreIfChanged(*c.module.papers, *c.papers, false, false);
  }
  if (saveFailed) {
    // The sizes stay in the store, dirty, for this sheet and a later save.
    c.Trace(u"SavePaper Fail");
    if (c.env) c.env->MessageBox(view(), c.Text(IDS_PAPER_NOT_SAVED), c.Text(IDS_HINT_CAPTION), kMbOkOnly);
  }
  return ApplyPages(c);
}

// Cancel keeps the sizes made in this process, unsaved.
void PaperPage::Reset() {
  PaperLock hold = context().LockPapers();
  if (context().papers) context().papers->dirty = false;
}

bool PaperPage::DiffersFromBackup() {
  PageContext& c = context();
  if (!c.live) return false;
  const PrivateDevmode& b = c.backup();
  const FeatureSlot* orientation = Slot(c, kFeatureOrientation);
  PaperLock hold = c.LockPapers();
  return (orientation && orientation->current != orientation->reported) || c.live->rotate180 != b.rotate180 ||
         c.live->mirror != b.mirror || c.live->negative != b.negative || c.live->paperId != b.paperId ||
         (c.papers && c.papers->dirty);
}

void PaperPage::Released() {
  if (context().env) context().env->ReleasePictures(view());
}

}  // namespace lx
