// The printer sheet's About page: the About template of the language module
// under the About title. The driver texts, support button, logo and help it
// will show come with the page's content; until then it shows the template as
// it is and answers no help.
#pragma once

#include "plugin/resources/resource_ids.h"
#include "ui/property_page.h"

namespace lx {

class AboutPage : public IPropertyPage {
 public:
  // The string id of the page's tab title.
  static constexpr unsigned kTitleId = IDS_ABOUT_TITLE;

  int TemplateId() const override { return IDD_ABOUT_PAGE; }
  void OnInitDialog(IDialogView& view) override;
  bool IsBuilt() const override { return view_ != nullptr; }
  void OnSetActive() override {}
  void OnPageRelease() override { view_ = nullptr; }

 private:
  IDialogView* view_ = nullptr;
};

}  // namespace lx
