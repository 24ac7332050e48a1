// The installer's exchanges with a label printer on USB, over its printer
// interface opened as a device: handing it WiFi credentials and asking it
// for the IPv4 address it has on WiFi or on its wired port. Both run on the
// UI thread and block it for their fixed waits; each opens the device for
// its own exchange only. Every write and read has a time limit, and all of
// an exchange's I/O together takes at most one second beyond its waits, so
// a silent or stuck printer cannot hang the wizard.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

// The preamble, 1000 ms, the credentials, 500 ms. False when the path or the
// name is empty, the device cannot be opened, or a frame did not go out
// whole in its time; nothing is read back.
bool SendWifiCredentials(const Os& os, const std::u16string& devicePath, const std::u16string& wifiName,
                         const std::u16string& password);

constexpr int kAddressOfWifi = 0;
constexpr int kAddressOfWiredPort = 1;

// Mode 0 probes the answer format first (any mode but 0 and 1 asks for the
// WiFi address without the probe); the answer to the address query read
// 200 ms after it. Only an answer to the query just sent counts: stale ones
// are passed over. Empty text when the path is empty or the device cannot be
// opened; "0.0.0.0" (or empty, for answer format 2) when no answer came, a
// read or write failed, or the time ran out.
std::u16string QueryPrinterAddress(const Os& os, const std::u16string& devicePath, int mode);

}  // namespace lx
