// The document sheet's About page: the driver lines and support button of
// both About pages, with the brand's logo unless the configuration file
// hides it, and the optional controls hidden when it says Offset=0.
#pragma once

#include "plugin/core/about_info.h"
#include "plugin/pages/document_page.h"

namespace lx {

class DocumentAboutPage : public DocumentPage {
 public:
  // The configuration file's About keys are read here.
  explicit DocumentAboutPage(PageContext& context);

 protected:
  void InitPage() override;
  bool HandleCommand(int controlId, int code) override;
  void Released() override;

 private:
  AboutInfo info_;
};

}  // namespace lx
