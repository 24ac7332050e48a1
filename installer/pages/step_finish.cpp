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

namespace {

// The result line and the note below it; no note is 0.
struct OutcomeTexts {
  unsigned result;
  unsigned note;
};

OutcomeTexts TextsOf(Outcome outcome, bool removal) {
  switch (outcome) {
    case Outcome::kInstalled: return {IDS_INSTALL_DONE, 0};
    case Outcome::kDriverOnly: return {IDS_INSTALL_DONE, IDS_PRINTER_NOT_CONNECTED};
    case Outcome::kRemoved: return {IDS_UNINSTALL_DONE, 0};
    case Outcome::kRemovalIncomplete: return {IDS_UNINSTALL_INCOMPLETE, IDS_REMOVAL_LEFT};
    case Outcome::kNameRefused: return {IDS_INSTALL_FAILED, IDS_FAIL_NAME};
    case Outcome::kPortNotCreated: return {IDS_INSTALL_FAILED, IDS_FAIL_PORT};
    case Outcome::kPrinterNotSeen: return {IDS_INSTALL_FAILED, IDS_FAIL_PRINTER};
    case Outcome::kDriverNotSeen: return {IDS_INSTALL_FAILED, IDS_FAIL_DRIVER};
    case Outcome::kNotStarted:
    case Outcome::kNone: break;  // an operation that reported nothing did not run
  }
  unsigned heading = removal ? IDS_UNINSTALL_INCOMPLETE : IDS_INSTALL_FAILED;
  return {heading, IDS_FAIL_NOT_STARTED};
}

}  // namespace

void CStepFinish::ShowOutcome(Outcome outcome, bool removal) {
  outcome_ = outcome;
  removal_ = removal;
  ApplyOutcome();
  // By now a model's own registry path for the language is in force.
  if (!removal && outcome != Outcome::kRemoved && outcome != Outcome::kRemovalIncomplete)
    WriteUiLanguageSuffix(os(), host_.state());
}

void CStepFinish::ApplyOutcome() {
  if (!view_) return;
  OutcomeTexts texts = TextsOf(outcome_, removal_);
  SetControlTexts(*view_, {{IDC_FINISH_RESULT, texts.result}});
  if (texts.note) SetControlTexts(*view_, {{IDC_FINISH_NOTE, texts.note}});
  view_->Show(IDC_FINISH_NOTE, texts.note != 0);
  // A test page needs a printer: only a real installation has one.
  view_->Show(IDC_PRINT_TEST_PAGE, outcome_ == Outcome::kInstalled && !host_.state().target.printerName.empty());
}

void CStepFinish::OnCommand(int controlId, int code) {
  if (controlId != IDC_PRINT_TEST_PAGE || code != kBnClicked) return;
  if (outcome_ != Outcome::kInstalled || host_.state().target.printerName.empty()) return;
  PrintTestPage(os(), host_.state().target.printerName);
  ShowMessage(IDS_TEST_PAGE_SENT, 0, kMbOkOnly);
}

void CStepFinish::OnReset() {
  if (!removed) return;
  if (ShowMessage(IDS_RESTART, 0, kMbOkCancel) != kIdOkAnswer) return;
  if (host_.session().ExitSession(kEwxReboot, 0))
    host_.state().restartStarted = true;
  else
    DebugTrace(os(), "Error code:%d", static_cast<int>(os().system->GetLastError()));
}

void CStepFinish::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_PRINT_TEST_PAGE, IDS_PRINT_TEST_PAGE},
                           {IDC_FINISH_RESULT, IDS_INSTALL_DONE},
                           {IDC_FINISH_NOTE, IDS_PRINTER_NOT_CONNECTED}});
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_COMPLETE);
  ApplyOutcome();
}

}  // namespace lx
