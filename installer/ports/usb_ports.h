// Finding the spooler port and the device path of an attached label printer
// of a configured model, through the USB printer device interfaces.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

struct UsbPortInfo {
  std::u16string portName;    // "USB" and at least three digits
  std::u16string instanceId;  // USB\VID_xxxx&PID_yyyy\serial
  std::u16string devicePath;  // what the USB command channel opens
};

// Fills `info` from the first accepted printer with a readable "Port Number".
// False only when the device list cannot be obtained; `info` stays empty when
// nothing is found.
bool FindUsbPrinterPort(const Os& os, UsbPortInfo& info);

// Device path of the first accepted printer whose interface can be read;
// empty when there is none.
std::u16string FindUsbPrinterDevicePath(const Os& os);

}  // namespace lx
