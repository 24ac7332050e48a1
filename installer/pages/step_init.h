// The language page: the UI language of the wizard and of the driver's
// settings pages is chosen here.
#pragma once

#include <vector>

#include "installer/core/ui_language.h"
#include "installer/pages/my_property_page.h"

namespace lx {

class CStepInit : public CMyPropertyPage {
 public:
  explicit CStepInit(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  intptr_t OnWizardNext() override;
  void RefreshTexts() override;

  // The rows offered, in list order.
  const std::vector<const UiLanguage*>& Offered() const { return offered_; }

 private:
  void SelectLanguage(int languageId);
  std::vector<const UiLanguage*> offered_;
};

}  // namespace lx
