#include "installer/pages/step_finish.h"

#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "installer/engine/language_suffix.h"
#include "installer/engine/printer_queries.h"
#include "platform/system.h"

namespace lx {

CStepFinish::CStepFinish(IWizardHost& host) : CMyPropertyPage(host, IDD_STEP_FINISH) {}

void CStepFinish::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  SetSheetButtons(false, false, true);
  view.Show(IDC_FINISH_NOTE, false);
}

void CStepFinish::OnSetActive() {
  RefreshTexts();
  SetSheetButtons(false, false, true);
}

void CStepFinish::SetMode(Mode mode) {
  if (mode == Mode::kRemoved) {
    SetControlTexts(*view_, {{IDC_FINISH_RESULT, IDS_UNINSTALL_DONE}});
    view_->Show(IDC_PRINT_TEST_PAGE, false);
    return;
  }
  SetControlTexts(*view_, {{IDC_FINISH_RESULT, IDS_INSTALL_DONE}});
  if (!host_.state().target.portName.empty()) {
    view_->Show(IDC_PRINT_TEST_PAGE, true);
  } else {
    view_->Show(IDC_PRINT_TEST_PAGE, false);
    view_->Show(IDC_FINISH_NOTE, true);
  }
  // By now a model's own registry path for the language is in force.
  WriteUiLanguageSuffix(os(), host_.state());
}

void CStepFinish::OnCommand(int controlId, int code) {
  if (controlId != IDC_PRINT_TEST_PAGE || code != kBnClicked) return;
  PrintTestPage(os(), host_.state().target.printerName);
  ShowMessage(IDS_TEST_PAGE_SENT, 0, kMbOkOnly);
}

void CStepFinish::OnReset() {
  if (!removed) return;
  if (ShowMessage(IDS_RESTART, 0, kMbOkCancel) != kIdOkAnswer) return;
  if (!host_.session().ExitSession(kEwxReboot, 0))
    DebugTrace(os(), "Error code:%d", static_cast<int>(os().system->GetLastError()));
}

void CStepFinish::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_PRINT_TEST_PAGE, IDS_PRINT_TEST_PAGE},
                           {IDC_FINISH_RESULT, IDS_INSTALL_DONE},
                           {IDC_FINISH_NOTE, IDS_PRINTER_NOT_CONNECTED}});
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_COMPLETE);
}

}  // namespace lx
