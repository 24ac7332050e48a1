// The installer's exchanges with a label printer on USB, over its printer
// interface opened as a device: handing it WiFi credentials and asking it
// for the IPv4 address it has on WiFi or on its wired port. Both run on the
// UI thread and block it for their fixed waits; each opens the device for
// its own exchange only.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

// The preamble, 1000 ms, the credentials, 500 ms. False when the path or the
// name is empty or the device cannot be opened; the writes' results are not
// examined and nothing is read back.
bool SendWifiCredentials(const Os& os, const std::u16string& devicePath, const std::u16string& wifiName,
                         const std::u16string& password);

constexpr int kAddressOfWifi = 0;
constexpr int kAddressOfWiredPort = 1;

// Mode 0 probes the answer format first (any mode but 0 and 1 asks for the
// WiFi address without the probe); the answer to the address query read
// 200 ms after it. Empty text when the path is empty or the device cannot be
// opened; "0.0.0.0" (or empty, for answer format 2) when the printer says
// nothing.
std::u16string QueryPrinterAddress(const Os& os, const std::u16string& devicePath, int mode);

}  // namespace lx
