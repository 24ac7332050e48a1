// The finish page: the result, the test page, and after a removal the
// restart question when the wizard closes.
#pragma once

#include "installer/pages/my_property_page.h"

namespace lx {

class CStepFinish : public CMyPropertyPage {
 public:
  enum class Mode { kInstalled, kRemoved };

  explicit CStepFinish(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  void OnCommand(int controlId, int code) override;
  void OnReset() override;
  void RefreshTexts() override;

  void SetMode(Mode mode);

  bool removed = false;
};

}  // namespace lx
