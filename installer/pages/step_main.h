// The welcome pages: the user agrees to the licence agreement and the
// privacy policy of the chosen language before the wizard goes on. Three
// forms, chosen by the configuration: documents shown beside a tall picture
// (CStepMain), documents without picture (CStepMainNoPic), or a wide picture
// with the documents opened as PDF files outside (CStepMainNoLP).
#pragma once

#include <string>

#include "installer/pages/my_property_page.h"

namespace lx {

class CStepWelcome : public CMyPropertyPage {
 public:
  // Fills licencePath and privacyPath for the language and puts that
  // language in force (English when the id has no row).
  void SetDocumentPaths(int languageId);

  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  intptr_t OnWizardNext() override;
  intptr_t OnWizardBack() override { return kMoveDefault; }
  void OnCommand(int controlId, int code) override;
  intptr_t OnNotify(int controlId, int code) override;
  void RefreshTexts() override;

  std::u16string licencePath;
  std::u16string privacyPath;

 protected:
  CStepWelcome(IWizardHost& host, int templateId, int licenceViewId, int privacyViewId, bool pdf);
  virtual void OnLicenceLink();
  virtual void OnPrivacyLink();
  // Streams both documents into their views.
  void LoadDocuments();
  int licenceViewId_;
  int privacyViewId_;

 private:
  void UpdateNext();
  bool pdf_;
};

class CStepMain : public CStepWelcome {
 public:
  explicit CStepMain(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
};

class CStepMainNoPic : public CStepWelcome {
 public:
  explicit CStepMainNoPic(IWizardHost& host);
  void OnSetActive() override;
};

class CStepMainNoLP : public CStepWelcome {
 public:
  explicit CStepMainNoLP(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;

 protected:
  void OnLicenceLink() override;
  void OnPrivacyLink() override;
};

// The path with a final ".rtf" (any letter case) replaced by ".pdf".
std::u16string PdfFormOf(const std::u16string& path);

}  // namespace lx
