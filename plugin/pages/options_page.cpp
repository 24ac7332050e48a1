#include "plugin/pages/options_page.h"

#include <string>

#include "common/format.h"
#include "plugin/pages/feature_controls.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

namespace {

constexpr int kMostDensity = 15;

// Classes 2 and 4 print at eight speeds, the others at four.
int MostSpeed(int modelClass) { return modelClass == 2 || modelClass == 4 ? 7 : 3; }

std::u16string Decimal(int value) { return FormatW(u"%d", value); }

}  // namespace

OptionsPage::OptionsPage(PageContext& context) : DocumentPage(context, IDD_OPTIONS_PAGE, kHelpOptions) {}

void OptionsPage::InitPage() {
  SetTexts({{IDC_PRINTER_OPTIONS_GROUP, IDS_PRINTER_OPTIONS_GROUP},
            {IDC_USE_PRINTER_SPEED, IDS_USE_PRINTER_SPEED},
            {IDC_SPEED_LABEL, IDS_SPEED},
            {IDC_DENSITY_LABEL, IDS_DENSITY},
            {IDC_SPEED_VALUE, IDS_SPEED_VALUE},
            {IDC_DENSITY_VALUE, IDS_DENSITY_VALUE},
            {IDC_PRINT_LANGUAGE_LABEL, IDS_PRINT_LANGUAGE},
            {IDC_ADVANCED_GROUP, IDS_ADVANCED_GROUP}});
  if (context().features) FillFeatureList(view(), IDC_PRINT_LANGUAGE, Slot(kFeaturePrinterLanguage));
  view().TrackbarSetRange(IDC_DENSITY, 0, kMostDensity);
  view().TrackbarSetRange(IDC_SPEED, 0, MostSpeed(context().modelClass()));
  view().TrackbarSetSteps(IDC_DENSITY, 1, 1);
  view().TrackbarSetSteps(IDC_SPEED, 1, 1);
}

void OptionsPage::ShowState() {
  const PrivateDevmode& live = *context().live;
  bool useDevice = context().features && IsCurrentOption(Slot(kFeaturePrinterSetting), "ON");
  view().SetCheck(IDC_USE_PRINTER_SPEED, useDevice);
  view().TrackbarSetPos(IDC_SPEED, live.speed);
  view().SetText(IDC_SPEED_VALUE, Decimal(live.speed));
  view().TrackbarSetPos(IDC_DENSITY, live.density);
  view().SetText(IDC_DENSITY_VALUE, Decimal(live.density));
  if (context().features) ShowFeatureSelection(view(), IDC_PRINT_LANGUAGE, Slot(kFeaturePrinterLanguage));
  EnableSliders(useDevice);
}

void OptionsPage::EnableSliders(bool useDevice) {
  for (int id : {IDC_SPEED, IDC_DENSITY, IDC_SPEED_LABEL, IDC_DENSITY_LABEL, IDC_SPEED_VALUE, IDC_DENSITY_VALUE}) {
    view().Enable(id, !useDevice);
  }
}

bool OptionsPage::HandleCommand(int controlId, int code) {
  PrivateDevmode& live = *context().live;
  if (controlId == IDC_USE_PRINTER_SPEED && code == kBnClicked) {
    bool useDevice = view().GetCheck(IDC_USE_PRINTER_SPEED);
    live.useDeviceSettings = useDevice ? 1 : 0;
    if (context().features) SelectOption(Slot(kFeaturePrinterSetting), useDevice ? "ON" : "OFF");
    EnableSliders(useDevice);
    return true;
  }
  if (controlId == IDC_PRINT_LANGUAGE && code == kCbnSelChange && context().features) {
    TakeFeatureSelection(view(), IDC_PRINT_LANGUAGE, Slot(kFeaturePrinterLanguage));
    return true;
  }
  return false;
}

// The slider's own position: a trackbar has taken the thumb's position by
// the time it reports the move.
bool OptionsPage::HandleScroll(int controlId, int) {
  PrivateDevmode& live = *context().live;
  if (controlId != IDC_DENSITY && controlId != IDC_SPEED) return false;
  int position = view().TrackbarGetPos(controlId);
  if (controlId == IDC_DENSITY && position != live.density) {
    live.density = position;
    view().SetText(IDC_DENSITY_VALUE, Decimal(position));
    if (context().features) SelectOption(Slot(kFeatureOutputDensity), "LEVEL" + std::to_string(position));
  } else if (controlId == IDC_SPEED && position != live.speed) {
    live.speed = position;
    view().SetText(IDC_SPEED_VALUE, Decimal(position));
    if (context().features) SelectOption(Slot(kFeatureOutputRate), "IN" + std::to_string(position));
  }
  return true;
}

bool OptionsPage::DiffersFromBackup() {
  if (!context().features) return false;
  for (FeatureIndex index : {kFeaturePrinterLanguage, kFeaturePrinterSetting, kFeatureOutputDensity, kFeatureOutputRate}) {
    if (FeatureChanged(Slot(index))) return true;
  }
  return false;
}

}  // namespace lx
