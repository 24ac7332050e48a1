#include "installer/pages/step_set_wifi.h"

#include <cctype>

#include "common/text.h"
#include "installer/core/resource_ids.h"
#include "installer/ports/usb_ports.h"
#include "installer/usb/usb_channel.h"

namespace lx {

namespace {

// The frame's length byte holds name and password together; longer texts
// than a WiFi network allows would make it wrap, and the printer would read
// a wrong length. A name has at most 32 bytes, a passphrase 63 bytes of
// UTF-8 or a key of 64 hexadecimal digits. There is no lower bound: an open
// network has no password, and a short key is the printer's to refuse.
bool CredentialsFitTheFrame(const std::u16string& name, const std::u16string& password) {
  if (Utf16ToUtf8(name).size() > 32) return false;
  std::string key = Utf16ToUtf8(password);
  if (key.size() <= 63) return true;
  if (key.size() > 64) return false;
  for (char c : key)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

CStepSetWifi::CStepSetWifi(IWizardHost& host) : CMyPropertyPage(host, IDD_STEP_SET_WIFI) {}

void CStepSetWifi::OnSetActive() {
  RefreshTexts();
  SetSheetButtons(true, true, true);
  FocusAfterActivation(IDC_WIFI_NAME_EDIT);
}

intptr_t CStepSetWifi::OnWizardNext() {
  std::u16string name = view_->GetText(IDC_WIFI_NAME_EDIT);
  std::u16string password = view_->GetText(IDC_WIFI_PASSWORD_EDIT);
  if (name.empty()) {
    ShowMessage(IDS_WIFI_NAME_EMPTY, 0, kMbOkOnly);
    return kStay;
  }
  // Refused before anything is sent, with the message that sends the user
  // back to the texts typed rather than to the cable.
  if (!CredentialsFitTheFrame(name, password)) {
    ShowMessage(IDS_WIFI_TOO_LONG, 0, kMbOkOnly);
    return kStay;
  }
  std::u16string device = FindUsbPrinterDevicePath(os());
  bool sent = !device.empty() && SendWifiCredentials(os(), device, name, password);
  // A second "Connect" clicked during the 1.5 s hand-over would otherwise
  // reach the options page's "Install".
  host_.view().DropQueuedInput();
  if (!sent) {
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
