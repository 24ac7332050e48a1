// The installing page: progress of the installation, removal or accessory
// setting that a worker runs.
#pragma once

#include "installer/pages/my_property_page.h"

namespace lx {

class CStepInstalling : public CMyPropertyPage {
 public:
  explicit CStepInstalling(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  void RefreshTexts() override;

  void SetStatusText(unsigned stringId);
  // PBM_SETPOS; called by the UI thread and by the workers.
  void SetProgress(int position);
};

}  // namespace lx
