#include "plugin/pages/document_page.h"

namespace lx {

bool ApplyPages(PageContext& context) {
  if (context.features && FAILED(CommitFeatures(*context.features))) return false;
  if (context.env && context.env->SetSheetResult(kCpsuiOk) == kSheetResultFailed) return false;
  if (context.live) context.backup() = *context.live;
  return true;
}

void ShowHelp(PageContext& context, unsigned helpContext) {
  if (context.env) context.env->ShowHelp(context.HelpFilePath(), helpContext);
}

DocumentPage::DocumentPage(PageContext& context, int templateId, unsigned helpContext, bool sheetPage)
    : context_(context), templateId_(templateId), helpContext_(helpContext), sheetPage_(sheetPage), holdsReference_(sheetPage) {
  if (holdsReference_) context_.AddRef();
}

DocumentPage::~DocumentPage() { EndReference(); }

void DocumentPage::EndReference() {
  if (!holdsReference_) return;
  holdsReference_ = false;
  context_.Release();
}

void DocumentPage::OnInitDialog(IDialogView& view) {
  view_ = &view;
  for (const NumberField& field : fields_)
    if (field.limit > 0) view.LimitText(field.control, field.limit);
  InitPage();
}

void DocumentPage::OnSetActive() {
  if (view_) ShowState();
}

// The focused field never gets EN_KILLFOCUS before the sheet asks.
bool DocumentPage::OnKillActive() {
  if (!view_) return false;
  TakeFocusedField();
  UpdateChanged();
  return false;
}

// Only a page whose window exists is asked to apply.
intptr_t DocumentPage::OnApply() {
  if (!view_) return kPsnretNoError;
  TakeFocusedField();
  return Apply() ? kPsnretNoError : kPsnretInvalid;
}

void DocumentPage::OnHelp() { ShowHelp(context_, helpContext_); }

void DocumentPage::OnCommand(int controlId, int code) {
  if (!view_) return;
  if (code == kEnChange)
    if (NumberField* field = FieldOf(controlId)) {
      Typed(*field);
      return;
    }
  if (HandleCommand(controlId, code)) UpdateChanged();
}

void DocumentPage::OnEditFocus(int controlId, bool gained) {
  if (!view_) return;
  if (NumberField* field = FieldOf(controlId)) {
    if (gained) {
      Focused(*field);
    } else {
      Left(*field);
      UpdateChanged();
    }
    return;
  }
  if (HandleEditFocus(controlId, gained)) UpdateChanged();
}

void DocumentPage::OnScroll(int controlId, int code, bool) {
  if (view_ && HandleScroll(controlId, code)) UpdateChanged();
}

void DocumentPage::OnPageRelease() {
  if (view_) Released();
  view_ = nullptr;
  EndReference();
}

void DocumentPage::SetTexts(std::initializer_list<ControlText> texts) {
  for (const ControlText& t : texts) view_->SetText(t.control, context_.Text(t.stringId));
}

void DocumentPage::ShowNumber(int control, double value) {
  if (NumberField* field = FieldOf(control))
    view_->SetText(control, FormatNumber(field->format, value, context_.module.unitText));
}

// A modal dialog has no sheet to tell.
void DocumentPage::UpdateChanged() {
  if (view_ && sheetPage_) view_->SheetChanged(DiffersFromBackup());
}

NumberField* DocumentPage::FieldOf(int control) {
  for (NumberField& field : fields_)
    if (field.control == control) return &field;
  return nullptr;
}

void DocumentPage::Typed(NumberField& field) {
  int start = 0, end = 0;
  view_->GetEditSelection(field.control, start, end);
  auto filtered = FilterTyped(view_->GetText(field.control), field.chars, context_.module.unitText, start, end);
  if (!filtered) return;
  view_->SetText(field.control, filtered->text);
  view_->SetEditSelection(field.control, filtered->selStart, filtered->selEnd);
}

void DocumentPage::Focused(NumberField& field) {
  int start = 0, end = 0;
  view_->GetEditSelection(field.control, start, end);
  std::u16string text = FocusText(view_->GetText(field.control));
  view_->SetText(field.control, text);
  int caret = FocusCaret(start, end, static_cast<int>(text.size()));
  view_->SetEditSelection(field.control, caret, caret);
}

void DocumentPage::TakeFocusedField() {
  NumberField* field = FieldOf(view_->FocusedControl());
  if (!field) return;
  Left(*field);
  std::u16string text = FocusText(view_->GetText(field->control));
  view_->SetText(field->control, text);
  view_->SetEditSelection(field->control, static_cast<int>(text.size()), static_cast<int>(text.size()));
}

void DocumentPage::Left(NumberField& field) {
  double value = ReadNumber(view_->GetText(field.control));
  if (field.leave) value = field.leave(value);
  view_->SetText(field.control, FormatNumber(field.format, value, context_.module.unitText));
}

}  // namespace lx
