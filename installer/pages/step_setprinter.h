// The printer options page: a network printer set up by hand, with a driver
// from the model table, a printer name and an IPv4 address typed or read
// from a printer attached by USB.
#pragma once

#include <optional>
#include <string>

#include "installer/pages/my_property_page.h"

namespace lx {

// The address read as "%d.%d.%d.%d%c" reads it: valid when exactly four
// numbers in 0..255 were read and nothing follows the fourth. Answers the
// canonical dotted form ("+1. 2.3.4" gives "1.2.3.4"), or nothing.
std::optional<std::u16string> ParseDottedAddress(const std::u16string& text);

class ModelTable;

// The driver entry of the printer at a USB device path: the first model
// whose PID, in lower case, the path holds. A model without a PID names no
// printer, so it is passed over rather than matching every path; 0 when no
// model matches.
int ModelIndexForDevicePath(const ModelTable& models, const std::u16string& devicePath);

class CStepSetprinter : public CMyPropertyPage {
 public:
  explicit CStepSetprinter(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  // "Install".
  intptr_t OnWizardNext() override;
  intptr_t OnWizardBack() override;
  void OnCommand(int controlId, int code) override;
  void RefreshTexts() override;

 private:
  void NameAfterDriver();
  // "IP Auto Get": mode 0 the printer's WiFi address, mode 1 its wired one.
  void ReadAddressFromUsb(int mode);
};

}  // namespace lx
