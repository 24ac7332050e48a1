#include "installer/pages/step_setprinter.h"

#include "common/text.h"
#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
#include "installer/ports/usb_ports.h"
#include "installer/usb/usb_channel.h"

namespace lx {

namespace {

// isspace of the C locale, which %d skips before a number.
bool IsScanSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// One %d: blanks, an optional sign, at least one digit. A number too large
// for any field is read as out of range rather than wrapped.
bool ScanNumber(const std::u16string& text, size_t& pos, long& value) {
  while (pos < text.size() && IsScanSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) negative = text[pos++] == u'-';
  size_t first = pos;
  long magnitude = 0;
  while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
    if (magnitude <= 255) magnitude = magnitude * 10 + (text[pos] - u'0');
    ++pos;
  }
  if (pos == first) return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

std::optional<std::u16string> ParseDottedAddress(const std::u16string& text) {
  size_t pos = 0;
  std::u16string canonical;
  for (int field = 0; field < 4; ++field) {
    if (field > 0) {
      if (pos >= text.size() || text[pos] != u'.') return std::nullopt;
      ++pos;
      canonical += u'.';
    }
    long value = 0;
    if (!ScanNumber(text, pos, value) || value < 0 || value > 255) return std::nullopt;
    canonical += Utf8ToUtf16(std::to_string(value));
  }
  // The %c: any character at all after the fourth number makes five fields.
  if (pos != text.size()) return std::nullopt;
  return canonical;
}

int ModelIndexForDevicePath(const ModelTable& models, const std::u16string& devicePath) {
  for (int i = 0; i < models.Count(); ++i) {
    const ModelEntry* model = models.At(i);
    if (model && !model->PID.empty() && Contains(devicePath, ToLowerAscii(model->PID))) return i;
  }
  return 0;
}

CStepSetprinter::CStepSetprinter(IWizardHost& host) : CMyPropertyPage(host, IDD_STEP_SETPRINTER) {}

void CStepSetprinter::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  AddDriverNames(IDC_DRIVER_COMBO);
  view.ComboSetCurSel(IDC_DRIVER_COMBO, 0);
  NameAfterDriver();
  view.SetFocus(IDC_PRINTER_IP_EDIT);
  view.Show(IDC_BY_HOSTNAME, false);
}

// With no driver (an empty model table) the name stays as it is.
void CStepSetprinter::NameAfterDriver() {
  int index = view_->ComboGetCurSel(IDC_DRIVER_COMBO);
  if (index < 0) return;
  view_->SetText(IDC_PRINTER_NAME_EDIT, view_->ComboGetItemText(IDC_DRIVER_COMBO, index) + u" NET");
}

void CStepSetprinter::OnSetActive() {
  // Whichever page led here, the network road's search ends: its notices
  // must move neither this page nor an installation started from it.
  if (NetSearch* search = host_.search()) search->StopNetSearch();
  RefreshTexts();
  SetSheetButtons(true, true, true);
  FocusAfterActivation(IDC_PRINTER_IP_EDIT);
}

void CStepSetprinter::OnCommand(int controlId, int code) {
  if (controlId == IDC_DRIVER_COMBO && code == kCbnSelChange) NameAfterDriver();
  if (code != kBnClicked) return;
  if (controlId == IDC_WIFI_CONFIGURATOR) host_.GoTo(Step::kWifi);
  if (controlId == IDC_IP_AUTO_WIFI) ReadAddressFromUsb(kAddressOfWifi);
  if (controlId == IDC_IP_AUTO_NET) ReadAddressFromUsb(kAddressOfWiredPort);
}

void CStepSetprinter::ReadAddressFromUsb(int mode) {
  std::u16string device = FindUsbPrinterDevicePath(os());
  if (device.empty()) {
    ShowMessage(IDS_WIFI_USB_NOT_CONNECTED, 0, kMbOkOnly);
    return;
  }
  std::u16string address = QueryPrinterAddress(os(), device, mode);
  // What was clicked or typed while the printer was asked belongs to no
  // page the user could see react.
  host_.view().DropQueuedInput();
  if (address.empty() || address == u"0.0.0.0") {
    ShowMessage(IDS_WIFI_IP_EMPTY, 0, kMbOkOnly);
    return;
  }
  view_->SetText(IDC_PRINTER_IP_EDIT, address);
  view_->ComboSetCurSel(IDC_DRIVER_COMBO, ModelIndexForDevicePath(g_config.Models(), device));
  NameAfterDriver();
}

intptr_t CStepSetprinter::OnWizardNext() {
  // The canonical form goes on: the text as typed may carry blanks or a sign
  // that would end up in the port's name and host address.
  std::optional<std::u16string> address = ParseDottedAddress(view_->GetText(IDC_PRINTER_IP_EDIT));
  if (!address) {
    ShowMessage(IDS_INVALID_IP, 0, kMbOkOnly);
    return kStay;
  }
  int index = view_->ComboGetCurSel(IDC_DRIVER_COMBO);
  std::u16string driverName = index >= 0 ? view_->ComboGetItemText(IDC_DRIVER_COMBO, index) : std::u16string();
  host_.InstallNetworkPrinter(*address, view_->GetText(IDC_PRINTER_NAME_EDIT), driverName);
  // The installation has shown its own page, so the sheet does not move.
  return kStay;
}

intptr_t CStepSetprinter::OnWizardBack() {
  host_.GoTo(Step::kInstallerType);
  return kStay;
}

void CStepSetprinter::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_OPTIONS_TITLE, IDS_PRINTER_OPTIONS},
                           {IDC_OPTIONS_HEADING, IDS_ENTER_PRINTER_IP},
                           {IDC_DRIVER_LABEL, IDS_DRIVER_NAME},
                           {IDC_PRINTER_NAME_LABEL, IDS_PRINTER_NAME},
                           {IDC_PRINTER_IP_LABEL, IDS_PRINTER_IP},
                           {IDC_IP_AUTO_WIFI, IDS_IP_AUTO_WIFI},
                           {IDC_IP_AUTO_NET, IDS_IP_AUTO_NET},
                           {IDC_WIFI_CONFIGURATOR, IDS_WIFI_CONFIGURATOR},
                           {IDC_SET_DEFAULT_PRINTER, IDS_SET_DEFAULT_PRINTER}});
  SetSheetButtonTexts(IDS_INSTALL, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
