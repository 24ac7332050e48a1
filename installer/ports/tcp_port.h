// TCP/IP ports of the raw protocol for network printers: their names, the
// prnport.vbs command that creates them, and the Standard TCP/IP port
// monitor's AddPort as the fallback.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/os.h"

namespace lx {

constexpr uint32_t kRawPortNumber = 9100;

// "IP_" + the address unchanged.
std::u16string MakeTcpPortName(const std::u16string& address);

// Addresses come from any host on the link and end up on elevated command
// lines: only a host name or a dotted address of at most 253 characters of
// letters, digits, '-', '.', '_' or non-ASCII letters, not starting with '-'
// or '.', is passed on.
bool IsPassableNetworkAddress(const std::u16string& address);
// Four decimal parts of 0 to 255.
bool IsDottedIPv4(const std::u16string& address);

// "\"<script>\" -a -r \"<port>\" -h \"<address>\" -o raw"; nothing for an
// address that IsPassableNetworkAddress refuses or a script path with a quote.
std::optional<std::u16string> PrnPortAddParameters(const std::u16string& scriptPath,
                                                   const std::u16string& address);

// The PORT_DATA_1 record that adds "IP_<address>" on port 9100, raw: the
// address in sztHostAddress, and in sztIPAddress as well when it is dotted.
// Nothing when the port name or the address does not fit its field.
std::optional<std::vector<uint8_t>> MakeRawPortData(const std::u16string& address);

// True when the spooler lists a port of exactly that name (letter case counts).
bool PortExists(const Os& os, const std::u16string& portName);
// XcvData "AddPort" on the Standard TCP/IP monitor; true when the call
// succeeded and the monitor answered success.
bool AddTcpPortByXcv(const Os& os, const std::u16string& address);

// prnport.vbs in the first locale folder of System32\Printing_Admin_Scripts
// that has it; the last candidate when none has.
std::u16string FindPrnPortScript(const Os& os);
// System32\cscript.exe.
std::u16string GetScriptHostPath(const Os& os);

}  // namespace lx
