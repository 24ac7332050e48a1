// The WiFi page: a network's name and password handed to the printer on USB.
// Reached from the printer options page only, and always back to it.
#pragma once

#include "installer/pages/my_property_page.h"

namespace lx {

class CStepSetWifi : public CMyPropertyPage {
 public:
  explicit CStepSetWifi(IWizardHost& host);
  void OnSetActive() override;
  // "Connect".
  intptr_t OnWizardNext() override;
  intptr_t OnWizardBack() override;
  void RefreshTexts() override;
};

}  // namespace lx
