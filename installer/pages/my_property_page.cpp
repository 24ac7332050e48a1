#include "installer/pages/my_property_page.h"

#include "installer/core/installer_config.h"
#include "installer/core/sheet_manage.h"
#include "installer/core/ui_language.h"
#include "installer/core/ui_strings.h"

namespace lx {

namespace {
constexpr int kRussian = 2;
}

std::u16string CMyPropertyPage::PageFontFace(int languageId) {
  return languageId == kRussian ? u"Times New Roman" : u"MS Shell Dlg";
}

int CMyPropertyPage::PageFontTenths(int languageId) { return languageId == kRussian ? 82 : 72; }

const Os& CMyPropertyPage::os() const { return sheet_.os(); }

void CMyPropertyPage::OnInitDialog(IDialogView& view) {
  view_ = &view;
  ApplyPageFont();
  if (view_->HasControl(kIdLogo)) ShowHeaderLogo();
}

void CMyPropertyPage::ApplyPageFont() {
  view_->SetChildFont(PageFontFace(g_lang), PageFontTenths(g_lang));
}

void CMyPropertyPage::ShowHeaderLogo() {
  int showLogo = g_config.install.ShowLogo;
  if (showLogo == 3) {
    Rect r = view_->GetControlRect(kIdLogo);
    r.left -= 60;
    r.right -= 60;
    view_->MoveControl(kIdLogo, r);
  } else if (showLogo == 0) {
    view_->Show(kIdLogo, false);
  }
  view_->SetBitmap(kIdLogo, g_config.logoBitmapId);
}

void CMyPropertyPage::SetControlTexts(IDialogView& target, std::initializer_list<TextPair> pairs) {
  for (const auto& [controlId, stringId] : pairs) {
    std::u16string text = Text(stringId);
    if (!text.empty()) target.SetText(controlId, text);
  }
}

void CMyPropertyPage::SetSheetButtonTexts(unsigned nextId, unsigned backId, unsigned cancelId) {
  SetControlTexts(sheet_.view().Frame(), {{kIdWizNext, nextId}, {kIdWizBack, backId}, {kIdCancel, cancelId}});
}

void CMyPropertyPage::SetSheetButtons(bool back, bool next, bool cancel) {
  sheet_.view().SetWizardButtons((back ? kPswizbBack : 0) | (next ? kPswizbNext : 0));
  sheet_.view().Frame().Enable(kIdCancel, cancel);
}

void CMyPropertyPage::SetPictureBitmap(int bitmapId) {
  view_->SetBitmap(kIdAccessoryPicture, bitmapId);
}

std::u16string CMyPropertyPage::Text(unsigned stringId) const { return LoadUiString(os(), stringId); }

int CMyPropertyPage::ShowMessage(unsigned textId, unsigned captionId, unsigned type) {
  return sheet_.view().ShowMessageBox(Text(textId), captionId ? Text(captionId) : u"", type);
}

ControlColors CMyPropertyPage::CtlColor(int, ControlKind kind) const {
  ControlColors colors;
  colors.transparent = kind == ControlKind::kStatic || kind == ControlKind::kPicture;
  return colors;
}

}  // namespace lx
