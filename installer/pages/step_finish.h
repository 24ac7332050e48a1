// The finish page: the outcome of the operation in words, the test page
// when a printer exists, and after a removal the restart question when the
// wizard closes.
#pragma once

#include "installer/pages/my_property_page.h"

namespace lx {

class CStepFinish : public CMyPropertyPage {
 public:
  explicit CStepFinish(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  void OnCommand(int controlId, int code) override;
  void OnReset() override;
  void RefreshTexts() override;

  // Shows what the operation achieved; `removal` tells which heading a
  // failure to start gets.
  void ShowOutcome(Outcome outcome, bool removal = false);

  bool removed = false;

 private:
  void ApplyOutcome();
  Outcome outcome_ = Outcome::kInstalled;
  bool removal_ = false;
};

}  // namespace lx
