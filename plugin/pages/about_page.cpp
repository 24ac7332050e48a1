#include "plugin/pages/about_page.h"

namespace lx {

void AboutPage::OnInitDialog(IDialogView& view) { view_ = &view; }

}  // namespace lx
