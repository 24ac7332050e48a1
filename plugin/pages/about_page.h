// The printer sheet's About page: the driver lines of the configuration file
// and the support button, without the logo and without the document pages'
// optional controls; F1 opens help context 2000.
#pragma once

#include <memory>
#include <string>

#include "plugin/core/about_info.h"
#include "plugin/pages/about_content.h"
#include "plugin/pages/page_environment.h"
#include "plugin/resources/resource_ids.h"
#include "ui/property_page.h"

namespace lx {

class AboutPage : public IPropertyPage {
 public:
  // The string id of the page's tab title.
  static constexpr unsigned kTitleId = IDS_ABOUT_TITLE;

  // `info` is read from the configuration file when the page is made.
  AboutPage(std::unique_ptr<IPageEnvironment> environment, PageTexts texts, AboutInfo info, int uiLanguage,
            std::u16string helpFile);

  int TemplateId() const override { return IDD_ABOUT_PAGE; }
  void OnInitDialog(IDialogView& view) override;
  bool IsBuilt() const override { return view_ != nullptr; }
  void OnSetActive() override {}
  void OnCommand(int controlId, int code) override;
  void OnHelp() override;
  void OnPageRelease() override { view_ = nullptr; }
  // The printer sheet's page in the system's dialog colours, as the others.
  ControlColors CtlColor(int, ControlKind) const override { return kSystemColors; }

 private:
  std::unique_ptr<IPageEnvironment> environment_;
  PageTexts texts_;
  AboutInfo info_;
  int uiLanguage_;
  std::u16string helpFile_;
  IDialogView* view_ = nullptr;
};

}  // namespace lx
