#include "plugin/pages/about_page.h"

#include "plugin/pages/document_page.h"

namespace lx {

namespace {

// Controls a brand's template may carry for the document sheet only (the
// print language, advanced and feed-offset controls).
constexpr int kDocumentOnlyControls[] = {1104, 1071, 1021, 1106, 1105, 1110};

}  // namespace

AboutPage::AboutPage(std::unique_ptr<IPageEnvironment> environment, PageTexts texts, AboutInfo info, int uiLanguage,
                     std::u16string helpFile)
    : environment_(std::move(environment)),
      texts_(std::move(texts)),
      info_(std::move(info)),
      uiLanguage_(uiLanguage),
      helpFile_(std::move(helpFile)) {}

void AboutPage::OnInitDialog(IDialogView& view) {
  view_ = &view;
  ShowAboutContent(view, info_, uiLanguage_, texts_);
  if (view.HasControl(1071)) view.SetText(1071, texts_(IDS_ADVANCED_GROUP));
  for (int id : kDocumentOnlyControls) {
    if (view.HasControl(id)) view.Show(id, false);
  }
  for (int id : kAboutOptionalControls) {
    if (view.HasControl(id)) view.Show(id, false);
  }
}

void AboutPage::OnCommand(int controlId, int code) {
  if (controlId == IDC_SUPPORT && code == kBnClicked && view_ != nullptr && environment_) {
    OpenSupport(*view_, *environment_, info_);
  }
}

void AboutPage::OnHelp() {
  if (environment_) environment_->ShowHelp(helpFile_, kHelpPrinterAbout);
}

}  // namespace lx
