#include "installer/pages/step_main.h"

#include "common/format.h"
#include "common/text.h"
#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
#include "installer/core/ui_language.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace lx {

namespace {
constexpr size_t kPathChars = 260;
constexpr size_t kAddressChars = 520;
constexpr LangId kEnglishUs = 1033;
}  // namespace

std::u16string PdfFormOf(const std::u16string& path) {
  size_t dot = path.rfind(u'.');
  if (dot == std::u16string::npos || !EqualsIgnoreCase(path.substr(dot), u".rtf")) return path;
  return path.substr(0, dot) + u".pdf";
}

CStepWelcome::CStepWelcome(IWizardHost& host, int templateId, int licenceViewId, int privacyViewId,
                           bool pdf)
    : CMyPropertyPage(host, templateId),
      licenceViewId_(licenceViewId),
      privacyViewId_(privacyViewId),
      pdf_(pdf) {}

void CStepWelcome::SetDocumentPaths(int languageId) {
  std::u16string folder = ProgramFolder(os());
  const UiLanguage* row = FindUiLanguageById(languageId);
  if (row) {
    ApplyUiLanguage(os(), *row);
    licencePath = FormatW(u"%s\\%s", folder.c_str(), row->licenceFile);
    privacyPath = FormatW(u"%s\\%s", folder.c_str(), row->privacyFile);
  } else {
    os().system->SetThreadUILanguage(kEnglishUs);
    licencePath = FormatW(u"%s\\English\\licence.rtf", folder.c_str());
    privacyPath = FormatW(u"%s\\English\\privacy.rtf", folder.c_str());
  }
  licencePath = CutToBuffer(licencePath, kPathChars);
  privacyPath = CutToBuffer(privacyPath, kPathChars);
  if (pdf_) {
    licencePath = PdfFormOf(licencePath);
    privacyPath = PdfFormOf(privacyPath);
  }
}

void CStepWelcome::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  host_.view().SetWizardButtons(kPswizbBack);
}

void CStepWelcome::OnSetActive() {
  SetDocumentPaths(host_.state().language);
  RefreshTexts();
  UpdateNext();
}

void CStepWelcome::UpdateNext() { SetSheetButtons(true, view_->GetCheck(IDC_AGREE_CHECK), true); }

intptr_t CStepWelcome::OnWizardNext() {
  return view_->GetCheck(IDC_AGREE_CHECK) ? kMoveDefault : kStay;
}

void CStepWelcome::OnCommand(int controlId, int code) {
  if (controlId == IDC_AGREE_CHECK && code == kBnClicked) UpdateNext();
}

intptr_t CStepWelcome::OnNotify(int controlId, int code) {
  if (code != kNmClick) return 0;
  if (controlId == IDC_LICENCE_LINK) OnLicenceLink();
  if (controlId == IDC_PRIVACY_LINK) OnPrivacyLink();
  return 0;
}

void CStepWelcome::OnLicenceLink() {
  view_->Show(licenceViewId_, true);
  view_->Show(privacyViewId_, false);
}

void CStepWelcome::OnPrivacyLink() {
  view_->Show(licenceViewId_, false);
  view_->Show(privacyViewId_, true);
}

// A document that is missing or cannot be read leaves its view empty rather
// than showing the one of the language chosen before.
void CStepWelcome::LoadDocuments() {
  for (auto [viewId, path] : {std::pair{licenceViewId_, &licencePath}, {privacyViewId_, &privacyPath}}) {
    auto bytes = os().files->ReadFile(*path);
    view_->SetRichText(viewId, bytes ? *bytes : std::string());
  }
}

void CStepWelcome::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_WELCOME_TEXT, IDS_WELCOME},
                           {IDC_LICENCE_LINK, IDS_LICENCE_LINK},
                           {IDC_PRIVACY_LINK, IDS_PRIVACY_LINK}});
  // No static text names the documents and the agree box: a screen reader
  // reads them by the links' texts.
  const std::u16string licence = ShownLinkText(Text(IDS_LICENCE_LINK));
  view_->SetAccessibleName(licenceViewId_, licence);
  view_->SetAccessibleName(IDC_AGREE_CHECK, licence);
  view_->SetAccessibleName(privacyViewId_, ShownLinkText(Text(IDS_PRIVACY_LINK)));
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_EXIT);
}

CStepMain::CStepMain(IWizardHost& host)
    : CStepWelcome(host, IDD_STEP_MAIN, IDC_MAIN_LICENCE_VIEW, IDC_PRIVACY_VIEW, false) {}

void CStepMain::OnInitDialog(IDialogView& view) {
  CStepWelcome::OnInitDialog(view);
  // The template's third rich edit is not used on this form and would cover
  // the documents.
  view.Show(IDC_LICENCE_VIEW, false);
  view.SetBitmap(IDC_WELCOME_PICTURE, g_config.sideBitmapId);
}

void CStepMain::OnSetActive() {
  CStepWelcome::OnSetActive();
  LoadDocuments();
  // The privacy view lies above the licence view, but overlapping siblings
  // paint in no set order: left visible, the licence view drew over the
  // privacy policy while the privacy view took the clicks and scrolling.
  view_->Show(licenceViewId_, false);
  view_->Show(privacyViewId_, true);
}

CStepMainNoPic::CStepMainNoPic(IWizardHost& host)
    : CStepWelcome(host, IDD_STEP_MAIN_NOPIC, IDC_LICENCE_VIEW, IDC_PRIVACY_VIEW, false) {}

void CStepMainNoPic::OnSetActive() {
  CStepWelcome::OnSetActive();
  LoadDocuments();
  view_->Show(licenceViewId_, false);
  view_->Show(privacyViewId_, true);
}

CStepMainNoLP::CStepMainNoLP(IWizardHost& host)
    : CStepWelcome(host, IDD_STEP_MAIN_NOLP, 0, 0, true) {}

void CStepMainNoLP::OnInitDialog(IDialogView& view) {
  CStepWelcome::OnInitDialog(view);
  view.SetBitmap(IDC_WELCOME_PICTURE, IDB_WELCOME_NOLP);
}

void CStepMainNoLP::OnLicenceLink() {
  if (os().shell->Execute(u"open", licencePath, u"", u"", kSwShowNormal) <= 32)
    host_.view().ShowMessageBox(u"OpenFail mLicencePath", u"", kMbOkOnly);
}

void CStepMainNoLP::OnPrivacyLink() {
  std::u16string address = CutToBuffer(FormatW(u"file:///%s", privacyPath.c_str()), kAddressChars);
  if (os().shell->Execute(u"open", address, u"", u"", kSwShowNormal) <= 32)
    host_.view().ShowMessageBox(u"OpenFail mPrivacyPolicyPath", u"", kMbOkOnly);
}

}  // namespace lx
