// The printer list page: the printers the network search found, the choice
// between installing by host name or by address, a new search, manual
// entry, and the network installation of the chosen printer.
#pragma once

#include <vector>

#include "installer/discovery/net_printer_list.h"
#include "installer/pages/my_property_page.h"
#include "installer/pages/page_search_sink.h"

namespace lx {

class CStepSelectNetPrinter : public CMyPropertyPage {
 public:
  explicit CStepSelectNetPrinter(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  intptr_t OnWizardNext() override;
  intptr_t OnWizardBack() override;
  void OnCommand(int controlId, int code) override;
  void OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  void RefreshTexts() override;

 private:
  std::vector<NetPrinterRecord> Records() const;
  void Rebuild();
  void Merge();
  void StopSearch();
  // The host target of the record listed under `name`; empty without one.
  std::u16string HostNameOf(const std::u16string& name) const;

  PageSearchSink sink_{*this};
};

}  // namespace lx
