#include "installer/pages/step_select_port.h"

#include "installer/core/resource_ids.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

namespace {
constexpr int kColumnWidth = 150;
}  // namespace

CStepSelectPort::CStepSelectPort(IWizardHost& host) : CMyPropertyPage(host, IDD_STEP_SELECT_PORT) {}

void CStepSelectPort::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  view.Show(IDC_PORT_ADD, false);
  view.ListSetExtendedStyle(IDC_PORT_LIST, kLvsExFullRowSelect | kLvsExLabelTip);
  view.ListInsertColumn(IDC_PORT_LIST, 0, Text(IDS_PORT_NAME), kColumnWidth);
  view.ListInsertColumn(IDC_PORT_LIST, 1, Text(IDS_DESCRIBE), kColumnWidth);
  ports_ = ListPorts(os());
  for (size_t i = 0; i < ports_.size(); ++i) {
    int row = view.ListInsertItem(IDC_PORT_LIST, static_cast<int>(i), ports_[i].name);
    view.ListSetItemText(IDC_PORT_LIST, row, 1, ports_[i].description);
  }
  AddDriverNames(IDC_DRIVER_COMBO);
  view.ComboSetCurSel(IDC_DRIVER_COMBO, 0);
  NameAfterDriver();
}

// The printer name follows the chosen driver; with no driver (an empty model
// table) the box stays empty.
void CStepSelectPort::NameAfterDriver() {
  int index = view_->ComboGetCurSel(IDC_DRIVER_COMBO);
  if (index < 0) return;
  view_->SetText(IDC_PRINTER_NAME_EDIT, view_->ComboGetItemText(IDC_DRIVER_COMBO, index) + u" C");
}

void CStepSelectPort::OnSetActive() {
  RefreshTexts();
  SetSheetButtons(true, false, true);
}

void CStepSelectPort::OnCommand(int controlId, int code) {
  if (controlId == IDC_DRIVER_COMBO && code == kCbnSelChange) NameAfterDriver();
  if (controlId == IDC_PORT_CONFIGURE && code == kBnClicked) ConfigureSelectedPort();
}

intptr_t CStepSelectPort::OnNotify(int controlId, int code) {
  if (controlId == IDC_PORT_LIST && code == kLvnItemChanged)
    SetSheetButtons(true, view_->ListNextSelected(IDC_PORT_LIST, -1) >= 0, true);
  return 0;
}

uint32_t CStepSelectPort::RowBackground(int, int, bool selected) const {
  return selected ? kSelectedRowBackground : 0xFFFFFF;
}

void CStepSelectPort::ConfigureSelectedPort() {
  int row = view_->ListNextSelected(IDC_PORT_LIST, -1);
  if (row < 0) {
    ShowMessage(IDS_SELECT_PORT_FIRST, IDS_TIPS, kMbOkOnly);
    return;
  }
  std::u16string port = view_->ListGetItemText(IDC_PORT_LIST, row, 0);
  if (os().spooler->Configure(host_.view().WindowHandle(), port)) return;
  uint32_t error = os().system->GetLastError();
  if (error == kErrorInvalidParameter)
    ShowMessage(IDS_PORT_IN_USE, IDS_CONFIGURING_PORTS, kMbOkOnly);
  else if (error == kErrorNotSupported)
    ShowMessage(IDS_PORT_NOT_SUPPORTED, IDS_CONFIGURING_PORTS, kMbOkOnly);
}

intptr_t CStepSelectPort::OnWizardNext() {
  std::u16string printerName = view_->GetText(IDC_PRINTER_NAME_EDIT);
  std::u16string driverName = view_->GetText(IDC_DRIVER_COMBO);
  int row = view_->ListNextSelected(IDC_PORT_LIST, -1);
  if (row < 0) {
    ShowMessage(IDS_SELECT_PORT_FIRST, IDS_TIPS, kMbOkOnly);
    return kStay;
  }
  host_.StartPortInstall({driverName, printerName, view_->ListGetItemText(IDC_PORT_LIST, row, 0)});
  return kStay;
}

intptr_t CStepSelectPort::OnWizardBack() {
  host_.GoTo(Step::kInstallerType);
  return kStay;
}

void CStepSelectPort::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_PORT_TITLE, IDS_SPECIFYING_PORTS},
                           {IDC_PORT_HEADING, IDS_PORT_HEADING},
                           {IDC_DRIVER_LABEL, IDS_DRIVER_NAME},
                           {IDC_PRINTER_NAME_LABEL, IDS_PRINTER_NAME},
                           {IDC_PORT_CONFIGURE, IDS_CONFIGURATION}});
  // The heading above the list names it; the field before it is the name's.
  view_->SetAccessibleName(IDC_PORT_LIST, Text(IDS_PORT_HEADING));
  SetSheetButtonTexts(IDS_INSTALL, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
