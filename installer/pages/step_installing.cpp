#include "installer/pages/step_installing.h"

#include "installer/core/resource_ids.h"

namespace lx {

CStepInstalling::CStepInstalling(IWizardHost& host) : CMyPropertyPage(host, IDD_STEP_INSTALLING) {}

void CStepInstalling::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  SetSheetButtons(false, false, true);
  view.ProgressSetRange(IDC_INSTALL_PROGRESS, 0, 100);
  view.ProgressSetPos(IDC_INSTALL_PROGRESS, 0);
  // It holds the focus while the installation runs: a letter, a space or an
  // arrow typed then must neither press a button by its mnemonic nor move on.
  view.KeepKeys(IDC_INSTALL_PROGRESS);
}

// The page is left only by the worker's completion, so Back and Next stay
// off whichever page showed before.
void CStepInstalling::OnSetActive() {
  RefreshTexts();
  SetSheetButtons(false, false, true);
  // With Back and Next off the sheet would focus Exit, and an Enter or Space
  // meant for the page would end the wizard. On the progress bar they do
  // nothing; Tab still reaches Exit.
  FocusAfterActivation(IDC_INSTALL_PROGRESS);
}

void CStepInstalling::SetStatusText(unsigned stringId) {
  if (view_) SetControlTexts(*view_, {{IDC_INSTALL_STATUS, stringId}});
}

void CStepInstalling::SetProgress(int position) {
  if (view_) view_->ProgressSetPos(IDC_INSTALL_PROGRESS, position);
}

void CStepInstalling::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_INSTALL_STATUS, IDS_INSTALLING}});
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
