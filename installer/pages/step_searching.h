// The search page: a progress bar while the mDNS responder is made ready and
// the network search runs; the first printer found, or the end of the
// search window, leads to the printer list page.
#pragma once

#include "installer/pages/my_property_page.h"
#include "installer/pages/page_search_sink.h"

namespace lx {

constexpr unsigned kProgressTimerId = 1;
constexpr unsigned kProgressPeriodMs = 200;

class CStepSearching : public CMyPropertyPage {
 public:
  explicit CStepSearching(IWizardHost& host);
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override;
  intptr_t OnWizardNext() override { return kStay; }
  intptr_t OnWizardBack() override;
  void OnTimer(unsigned timerId) override;
  void OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  void RefreshTexts() override;

  int progress() const { return progress_; }
  bool done() const { return done_ != 0; }

 private:
  void StartSearch();
  void SetProgress(int value);
  void ShowList();

  PageSearchSink sink_{*this};
  int progress_ = 0;
  int done_ = 0;
};

}  // namespace lx
