#include "installer/pages/step_printer_accessories.h"

#include "installer/core/resource_ids.h"

namespace lx {

namespace {

struct Choice {
  int radio;
  int value;
  int bitmap;
};

constexpr Choice kChoices[] = {
    {IDC_ACCESSORY_NONE, 1, IDB_ACCESSORY_NONE},
    {IDC_ACCESSORY_PEELER, 2, IDB_ACCESSORY_PEELER},
    {IDC_ACCESSORY_CUTTER, 3, IDB_ACCESSORY_CUTTER},
};

}  // namespace

CStepPrinterAccessories::CStepPrinterAccessories(IWizardHost& host)
    : CMyPropertyPage(host, IDD_STEP_PRINTER_ACCESSORIES) {}

// The first choice is ticked, so that Next works at once.
void CStepPrinterAccessories::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  view.SetCheck(IDC_ACCESSORY_NONE, true);
  SetPictureBitmap(IDB_ACCESSORY_NONE);
}

void CStepPrinterAccessories::OnSetActive() {
  RefreshTexts();
  SetSheetButtons(false, true, true);
}

void CStepPrinterAccessories::OnCommand(int controlId, int code) {
  if (code != kBnClicked) return;
  for (const Choice& c : kChoices)
    if (c.radio == controlId) SetPictureBitmap(c.bitmap);
}

int CStepPrinterAccessories::ChosenValue() const {
  for (const Choice& c : kChoices)
    if (view_->GetCheck(c.radio)) return c.value;
  return 0;
}

intptr_t CStepPrinterAccessories::OnWizardNext() {
  int value = ChosenValue();
  if (value == 0) return kStay;
  const InstallTarget& target = host_.state().target;
  host_.StartAccessorySetting({value, target.printerName, target.driverName});
  return kStay;
}

void CStepPrinterAccessories::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_ACCESSORY_HEADING, IDS_ACCESSORY_HEADING},
                           {IDC_ACCESSORY_NONE, IDS_ACCESSORY_NONE},
                           {IDC_ACCESSORY_PEELER, IDS_ACCESSORY_PEELER},
                           {IDC_ACCESSORY_CUTTER, IDS_ACCESSORY_CUTTER}});
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
