// The network search's notices and timer, bound to one page's window.
#pragma once

#include "installer/discovery/net_search_sink.h"
#include "installer/pages/my_property_page.h"

namespace lx {

class PageSearchSink : public INetSearchSink {
 public:
  explicit PageSearchSink(const CMyPropertyPage& page) : page_(page) {}
  // The window exists once the page has been built; it lives as long as the sheet.
  bool IsWindow() override { return page_.view() != nullptr; }
  void Post(unsigned message, uintptr_t search) override {
    if (IDialogView* view = page_.view()) view->PostToWindow(message, search, 0);
  }
  bool SetTimer(unsigned id, uint32_t periodMs) override {
    IDialogView* view = page_.view();
    if (!view) return false;
    view->SetTimer(id, periodMs);
    return true;
  }
  void KillTimer(unsigned id) override {
    if (IDialogView* view = page_.view()) view->KillTimer(id);
  }

 private:
  const CMyPropertyPage& page_;
};

}  // namespace lx
