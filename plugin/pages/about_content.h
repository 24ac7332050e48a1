// What both About pages show: the driver lines of the configuration file
// (or, for the UI languages 7 to 9, the module's own lines and the brand's
// legal notice) and the support button with the brand's address.
#pragma once

#include <functional>
#include <string>

#include "plugin/core/about_info.h"
#include "plugin/pages/page_environment.h"
#include "ui/dialog_view.h"

namespace lx {

// String `id` of the resource module; empty when it has none.
using PageTexts = std::function<std::u16string(unsigned id)>;

// The group, label and button texts, the four driver lines, and the support
// button hidden when the file has DriverLink=0. Controls the template lacks
// are skipped.
void ShowAboutContent(IDialogView& view, const AboutInfo& info, int uiLanguage, const PageTexts& texts);

// The support button: opens brand B's own address for LogoData 1 and 3,
// otherwise "Web"; the sheet's Apply button is then told nothing changed.
void OpenSupport(IDialogView& view, IPageEnvironment& environment, const AboutInfo& info);

// Controls a brand's About template may carry beyond the standard ones:
// hidden on the document sheet when the file says Offset=0, always on the
// printer sheet.
inline constexpr int kAboutOptionalControls[] = {1056, 1108, 1130};

}  // namespace lx
