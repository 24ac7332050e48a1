#include "plugin/pages/paper_dialog.h"

#include <algorithm>
#include <optional>

#include "plugin/papers/paper_store.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

namespace {

constexpr int kIdCancel = 2;     // the close box
constexpr int kIdHelp = 1043;    // a help button, where a template has one
constexpr double kMaxSize = kPaperMaxSizeMm;
constexpr double kMinWidth = kPaperMinWidthMm;
constexpr double kMinLength = kPaperMinLengthMm;

double ClampSize(double value, double low) { return std::clamp(value, low, kMaxSize); }

}  // namespace

PaperDialog::PaperDialog(PageContext& context, int32_t number)
    : DocumentPage(context, IDD_PAPER_DIALOG, kHelpPaper, false), number_(number) {
  AddNumberField({IDC_PAPERDLG_WIDTH, NumberFormat::kMillimetres2, NumberChars::kUnsigned, 6,
                  [](double v) { return ClampSize(v, kMinWidth); }});
  AddNumberField({IDC_PAPERDLG_LENGTH, NumberFormat::kMillimetres2, NumberChars::kUnsigned, 7,
                  [](double v) { return ClampSize(v, kMinLength); }});
}

intptr_t RunPaperDialog(PageContext& context, IDialogView& owner, int32_t number) {
  if (!context.env || !context.papers) return kPaperDialogCancelled;
  PaperDialog dialog(context, number);
  intptr_t result = context.env->RunModal(owner, dialog);
  // A dialog that could not be made changed nothing.
  return result < 0 ? kPaperDialogCancelled : result;
}

void PaperDialog::InitPage() {
  SetTexts({{IDC_PAPERDLG_PAPER_GROUP, IDS_PAPER_GROUP},
            {IDC_PAPERDLG_NAME_LABEL, IDS_PAPER_NAME},
            {IDC_PAPERDLG_SIZE_GROUP, IDS_SIZE_GROUP},
            {IDC_PAPERDLG_WIDTH_LABEL, IDS_WIDTH},
            {IDC_PAPERDLG_LENGTH_LABEL, IDS_LENGTH},
            {IDC_PAPERDLG_OK, IDS_OK},
            {IDC_PAPERDLG_CANCEL, IDS_CANCEL}});
  view().LimitText(IDC_PAPERDLG_NAME, kPaperNameChars - 1);
  if (number_ == kNewPaper) {
    view().SetCaption(context().Text(IDS_NEW_PAPER_TITLE));
    view().SetText(IDC_PAPERDLG_NAME, u"");
    ShowNumber(IDC_PAPERDLG_WIDTH, 56.0);
    ShowNumber(IDC_PAPERDLG_LENGTH, 152.4);
    return;
  }
  std::optional<FoundPaper> found;
  {
    PaperLock hold = context().LockPapers();
    found = FindPaperByNumber(*context().papers, number_);
  }
  if (!found) {
    End(kPaperDialogCancelled);
    return;
  }
  view().SetCaption(context().Text(IDS_EDIT_PAPER_TITLE));
  view().SetText(IDC_PAPERDLG_NAME, PaperName(found->record));
  ShowNumber(IDC_PAPERDLG_WIDTH, found->record.width);
  ShowNumber(IDC_PAPERDLG_LENGTH, found->record.height);
  if (number_ == kUserPaperNumber) view().Enable(IDC_PAPERDLG_NAME, false);
}

bool PaperDialog::HandleCommand(int controlId, int code) {
  if (code != kBnClicked) return false;
  switch (controlId) {
    case IDC_PAPERDLG_OK:
      Ok();
      return true;
    case IDC_PAPERDLG_CANCEL:
    case kIdCancel:
      End(kPaperDialogCancelled);
      return true;
    case kIdHelp:
      ShowHelp(context(), kHelpPaper);
      return true;
    default:
      return false;
  }
}

bool PaperDialog::HandleEditFocus(int controlId, bool gained) {
  if (controlId != IDC_PAPERDLG_NAME || gained) return false;
  view().SetText(IDC_PAPERDLG_NAME, view().GetText(IDC_PAPERDLG_NAME));
  return true;
}

double PaperDialog::FieldValue(int control, double low) {
  return RoundTo(ClampSize(ReadNumber(view().GetText(control)), low), 2);
}

void PaperDialog::Ok() {
  std::u16string name = view().GetText(IDC_PAPERDLG_NAME).substr(0, kPaperNameChars - 1);
  // The fields as they would be left, also when OK comes while one has the focus.
  const float width = static_cast<float>(FieldValue(IDC_PAPERDLG_WIDTH, kMinWidth));
  const float length = static_cast<float>(FieldValue(IDC_PAPERDLG_LENGTH, kMinLength));
  // The message box waits for the user, so the store is changed under the
  // lock and what to tell is told after it.
  const Outcome outcome = Store(name, width, length);
  if (outcome.message != 0) return Tell(outcome.message);
  End(outcome.result);
}

PaperDialog::Outcome PaperDialog::Store(const std::u16string& name, float width, float length) {
  PaperLock hold = context().LockPapers();
  PaperStore& store = *context().papers;
  if (number_ == kNewPaper) {
    const int32_t number = NextPaperNumber(store);
    // Another sheet may have taken the last number while this one was open.
    if (number == 0) return {0, IDS_PAPER_NUMBERS_USED};
    if (name.empty()) return {0, IDS_PAPER_NAME_EMPTY};
    if (!IsPaperNameFree(store, name)) return {0, IDS_PAPER_NAME_EXISTS};
    if (!AddPaper(store, MakePaperRecord(number, name, width, length, false))) return {kPaperDialogCancelled, 0};
    return {number, 0};
  }
  auto found = FindPaperByNumber(store, number_);
  if (!found) return {kPaperDialogCancelled, 0};
  if (name.empty()) return {0, IDS_PAPER_NAME_EMPTY};
  if (!IsPaperNameFree(store, name, number_)) return {0, IDS_PAPER_NAME_EXISTS};
  PaperRecord record = found->record;
  SetPaperName(record, name);
  record.width = width;
  record.height = length;
  ReplacePaper(store, found->index, record);
  store.dirty = true;
  return {number_, 0};
}

void PaperDialog::Tell(unsigned messageId) {
  context().env->MessageBox(view(), context().Text(messageId), context().Text(IDS_HINT_CAPTION), kMbOkOnly);
}

void PaperDialog::End(intptr_t result) { context().env->EndModal(view(), result); }

}  // namespace lx
