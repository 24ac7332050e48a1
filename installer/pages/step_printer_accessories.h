// The accessories page: which external accessory is fitted to the printer
// just installed, so that its post-print action can be set. Shown after an
// installation of a model with the accessory choice; its only way on is Next.
#pragma once

#include "installer/pages/my_property_page.h"

namespace lx {

class CStepPrinterAccessories : public CMyPropertyPage {
 public:
  explicit CStepPrinterAccessories(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  void OnCommand(int controlId, int code) override;
  intptr_t OnWizardNext() override;
  void RefreshTexts() override;

  // The post-print action of the ticked choice (1 none, 2 peeler, 3 cutter);
  // 0 when none is ticked.
  int ChosenValue() const;
};

}  // namespace lx
