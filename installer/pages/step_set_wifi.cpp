#include "installer/pages/step_set_wifi.h"

#include "installer/core/resource_ids.h"
#include "installer/ports/usb_ports.h"
#include "installer/usb/usb_channel.h"

namespace lx {

CStepSetWifi::CStepSetWifi(IWizardHost& host) : CMyPropertyPage(host, IDD_STEP_SET_WIFI) {}

void CStepSetWifi::OnSetActive() {
  RefreshTexts();
  SetSheetButtons(true, true, true);
}

intptr_t CStepSetWifi::OnWizardNext() {
  std::u16string name = view_->GetText(IDC_WIFI_NAME_EDIT);
  std::u16string password = view_->GetText(IDC_WIFI_PASSWORD_EDIT);
  if (name.empty()) {
    ShowMessage(IDS_WIFI_NAME_EMPTY, 0, kMbOkOnly);
    return kStay;
  }
  std::u16string device = FindUsbPrinterDevicePath(os());
  if (device.empty() || !SendWifiCredentials(os(), device, name, password)) {
    ShowMessage(IDS_WIFI_USB_NOT_CONNECTED, 0, kMbOkOnly);
    return kStay;
  }
  host_.GoTo(Step::kSetPrinter);
  return kStay;
}

intptr_t CStepSetWifi::OnWizardBack() {
  host_.GoTo(Step::kSetPrinter);
  return kStay;
}

void CStepSetWifi::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_WIFI_TITLE, IDS_WIFI_CONFIGURATION},
                           {IDC_WIFI_HEADING, IDS_ENTER_WIFI},
                           {IDC_WIFI_NAME_LABEL, IDS_WIFI_NAME},
                           {IDC_WIFI_PASSWORD_LABEL, IDS_WIFI_PASSWORD}});
  SetSheetButtonTexts(IDS_CONNECT, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
