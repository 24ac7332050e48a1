#include "installer/pages/my_property_page.h"

#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
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

const Os& CMyPropertyPage::os() const { return host_.os(); }

void CMyPropertyPage::OnInitDialog(IDialogView& view) {
  view_ = &view;
  ApplyPageFont();
  if (view_->HasControl(IDC_LOGO)) ShowHeaderLogo();
}

void CMyPropertyPage::ApplyPageFont() {
  int language = host_.state().language;
  view_->SetChildFont(PageFontFace(language), PageFontTenths(language));
}

void CMyPropertyPage::ShowHeaderLogo() {
  int showLogo = g_config.install.ShowLogo;
  if (showLogo == 3) {
    Rect r = view_->GetControlRect(IDC_LOGO);
    r.left -= 60;
    r.right -= 60;
    view_->MoveControl(IDC_LOGO, r);
  } else if (showLogo == 0) {
    view_->Show(IDC_LOGO, false);
  }
  view_->SetBitmap(IDC_LOGO, g_config.logoBitmapId);
}

void CMyPropertyPage::SetControlTexts(IDialogView& target, std::initializer_list<TextPair> pairs) {
  for (const auto& [controlId, stringId] : pairs) {
    std::u16string text = Text(stringId);
    if (!text.empty()) target.SetText(controlId, text);
  }
}

void CMyPropertyPage::SetSheetButtonTexts(unsigned nextId, unsigned backId, unsigned cancelId) {
  SetControlTexts(host_.view().Frame(), {{kIdWizNext, nextId}, {kIdWizBack, backId}, {kIdCancel, cancelId}});
}

void CMyPropertyPage::SetSheetButtons(bool back, bool next, bool cancel) {
  host_.view().SetWizardButtons((back ? kPswizbBack : 0) | (next ? kPswizbNext : 0));
  host_.view().Frame().Enable(kIdCancel, cancel);
}

void CMyPropertyPage::AddDriverNames(int comboId) {
  ModelTable models = g_config.Models();
  for (int i = 0; i < models.Count(); ++i)
    if (const ModelEntry* model = models.At(i)) view_->ComboAdd(comboId, model->DriverName);
}

void CMyPropertyPage::SetPictureBitmap(int bitmapId) {
  view_->SetBitmap(IDC_ACCESSORY_PICTURE, bitmapId);
}

std::u16string CMyPropertyPage::Text(unsigned stringId) const { return LoadUiString(os(), stringId); }

int CMyPropertyPage::ShowMessage(unsigned textId, unsigned captionId, unsigned type) {
  return host_.view().ShowMessageBox(Text(textId), captionId ? Text(captionId) : u"", type);
}

namespace {
constexpr unsigned kWmFocusField = 0x0400 + 510;
}

void CMyPropertyPage::FocusAfterActivation(int controlId) {
  view_->PostToWindow(kWmFocusField, static_cast<uintptr_t>(controlId), 0);
}

void CMyPropertyPage::OnMessage(unsigned message, uintptr_t wParam, intptr_t) {
  if (message == kWmFocusField && view_) view_->SetFocus(static_cast<int>(wParam));
}

std::u16string CMyPropertyPage::ShownLinkText(const std::u16string& text) {
  std::u16string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, u"<a>") == 0) {
      i += 2;
    } else if (text.compare(i, 4, u"</a>") == 0) {
      i += 3;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

ControlColors CMyPropertyPage::CtlColor(int, ControlKind kind) const {
  if (view_ && view_->HighContrast()) return kSystemColors;
  ControlColors colors;
  colors.transparent = kind == ControlKind::kStatic || kind == ControlKind::kPicture;
  return colors;
}

}  // namespace lx
