// The port page: installation on a port the user picks from the computer's
// ports, with a driver from the model table and a printer name.
#pragma once

#include <vector>

#include "installer/pages/my_property_page.h"
#include "installer/ports/list_ports.h"

namespace lx {

constexpr uint32_t kSelectedRowBackground = 0xC8C8C8;

class CStepSelectPort : public CMyPropertyPage {
 public:
  explicit CStepSelectPort(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  intptr_t OnWizardNext() override;
  intptr_t OnWizardBack() override;
  void OnCommand(int controlId, int code) override;
  intptr_t OnNotify(int controlId, int code) override;
  uint32_t RowBackground(int listId, int row, bool selected) const override;
  void RefreshTexts() override;

 private:
  void ConfigureSelectedPort();
  void NameAfterDriver();
  std::vector<PortEntry> ports_;
};

}  // namespace lx
