// The install-type page, the wizard's hub: USB installation, network
// installation, installation on another port, or removal.
#pragma once

#include "installer/pages/my_property_page.h"

namespace lx {

class CStepInstallerType : public CMyPropertyPage {
 public:
  explicit CStepInstallerType(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  intptr_t OnWizardBack() override { return kMoveDefault; }
  void OnCommand(int controlId, int code) override;
  void RefreshTexts() override;

  bool uninstallOnly = false;

 private:
  void CloseGaps(int supportNet, int supportOther);
  void MoveInto(int button, int place);
};

}  // namespace lx
