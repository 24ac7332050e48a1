#include "plugin/pages/document_about_page.h"

#include "platform/profile.h"
#include "plugin/pages/about_content.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

namespace {

AboutInfo ReadInfo(const PageContext& context) {
  const PluginPlatform* platform = context.module.platform;
  if (platform == nullptr || platform->profile == nullptr) return AboutInfo();
  return ReadAboutInfo(*platform->profile, context.module.configPath, context.module.uiLanguage);
}

}  // namespace

DocumentAboutPage::DocumentAboutPage(PageContext& context)
    : DocumentPage(context, IDD_ABOUT_PAGE, kHelpAbout), info_(ReadInfo(context)) {}

void DocumentAboutPage::InitPage() {
  PageContext& page = context();
  ShowAboutContent(view(), info_, page.module.uiLanguage, [&page](unsigned id) { return page.Text(id); });
  if (info_.offset == 0) {
    for (int id : kAboutOptionalControls) {
      if (view().HasControl(id)) view().Show(id, false);
    }
  }
  if (info_.showLogo == 0) {
    view().Show(IDC_LOGO, false);
  } else if (context().env) {
    context().env->ShowPicture(view(), IDC_LOGO, static_cast<int>(info_.logoBitmap), false);
  }
}

bool DocumentAboutPage::HandleCommand(int controlId, int code) {
  if (controlId == IDC_SUPPORT && code == kBnClicked && context().env) OpenSupport(view(), *context().env, info_);
  // The support button changes nothing the sheet applies.
  return false;
}

void DocumentAboutPage::Released() {
  if (context().env) context().env->ReleasePictures(view());
}

}  // namespace lx
