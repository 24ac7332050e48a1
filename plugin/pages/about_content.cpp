#include "plugin/pages/about_content.h"

#include "plugin/resources/resource_ids.h"

namespace lx {

namespace {

// The UI languages (Turkish, Polish, Tagalog) whose About lines come from
// the module rather than from the configuration file.
bool ModuleSuppliesDriverLines(int uiLanguage) { return uiLanguage >= 7 && uiLanguage <= 9; }

}  // namespace

void ShowAboutContent(IDialogView& view, const AboutInfo& info, int uiLanguage, const PageTexts& texts) {
  const struct {
    int control;
    unsigned text;
  } labels[] = {{IDC_PRINT_LANGUAGE_LABEL, IDS_PRINT_LANGUAGE}, {IDC_FEED_OFFSET_LABEL, IDS_FEED_OFFSET},
                {IDC_USE_PRINTER_FEED, IDS_USE_PRINTER_SETTINGS}, {IDC_ABOUT_GROUP, IDS_ABOUT_GROUP},
                {IDC_SUPPORT, IDS_SUPPORT}};
  for (const auto& label : labels) {
    if (view.HasControl(label.control)) view.SetText(label.control, texts(label.text));
  }

  if (ModuleSuppliesDriverLines(uiLanguage)) {
    view.SetText(IDC_DRIVER_NAME, texts(IDS_BARCODE_DRIVER));
    view.SetText(IDC_DRIVER_TYPE, uiLanguage == 9 ? texts(IDS_DRIVER_TYPE) : info.driverType);
    view.SetText(IDC_DRIVER_VERSION, info.driverVersion);
    view.SetText(IDC_LEGAL_NOTICE, texts(info.legalNotice));
  } else {
    view.SetText(IDC_DRIVER_NAME, info.driverName);
    view.SetText(IDC_DRIVER_TYPE, info.driverType);
    view.SetText(IDC_DRIVER_VERSION, info.driverVersion);
    view.SetText(IDC_LEGAL_NOTICE, info.driverCopyright);
  }
  if (info.driverLink == 0) view.Show(IDC_SUPPORT, false);
}

void OpenSupport(IDialogView& view, IPageEnvironment& environment, const AboutInfo& info) {
  environment.Open(info.supportUrl);
  view.SheetChanged(false);
}

}  // namespace lx
