#include "installer/ports/usb_port_rules.h"

#include "common/format.h"
#include "common/text.h"
#include "installer/core/installer_config.h"
#include "platform/guid.h"

namespace lx {

bool ModelIdOccursInDeviceId(const std::u16string& instanceId) {
  ModelTable models = g_config.Models();
  return models.AnyPidIn(instanceId) && models.AnyVidIn(instanceId);
}

bool IsAcceptedUsbInstanceId(const std::u16string& id) {
  if (!ModelIdOccursInDeviceId(id)) return false;
  // USB\VID_xxxx&PID_yyyy&MI_nn\...: index 21 follows the product digits; an
  // ampersand there starts an interface suffix, and only interface 00 prints.
  if (!Contains(id, u"MI_00") && id.size() > 21 && id[21] == u'&') return false;
  if (Contains(id, u"PI_")) return false;
  return true;
}

std::u16string GetDeviceParametersKey(const std::u16string& devicePath) {
  std::u16string path = CutToBuffer(devicePath, 260);
  for (char16_t& c : path)
    if (c == u'\\') c = u'#';
  return FormatW(u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\%s\\%s\\#\\Device Parameters",
                 GuidToString(kGuidDevInterfaceUsbPrint).c_str(), path.c_str());
}

std::u16string UsbPortName(uint32_t portNumber) {
  return FormatW(u"USB%03d", static_cast<int>(portNumber));
}

}  // namespace lx
