// PORT_DATA_1 of the Standard TCP/IP port monitor, as bytes with the Windows
// layout (964 bytes). WCHAR fields are fixed slots, NUL-terminated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lx {

constexpr size_t kPortData1Size = 964;
constexpr size_t kPd1PortNameOffset = 0;      // WCHAR[64]
constexpr size_t kPd1PortNameChars = 64;
constexpr size_t kPd1VersionOffset = 128;
constexpr size_t kPd1ProtocolOffset = 132;    // 1 raw, 2 LPR
constexpr size_t kPd1SizeOffset = 136;        // cbSize
constexpr size_t kPd1HostAddressOffset = 144; // WCHAR[49]
constexpr size_t kPd1HostAddressChars = 49;
constexpr size_t kPd1SnmpCommunityOffset = 242;  // WCHAR[33]
constexpr size_t kPd1SnmpCommunityChars = 33;
constexpr size_t kPd1DoubleSpoolOffset = 308;
constexpr size_t kPd1QueueOffset = 312;       // WCHAR[33]
constexpr size_t kPd1IpAddressOffset = 378;   // WCHAR[16]
constexpr size_t kPd1IpAddressChars = 16;
constexpr size_t kPd1PortNumberOffset = 952;
constexpr size_t kPd1SnmpEnabledOffset = 956;
constexpr size_t kPd1SnmpDevIndexOffset = 960;

constexpr uint32_t kProtocolRawTcp = 1;

// Reads a WCHAR slot up to its NUL (or the slot's end).
std::u16string ReadWideSlot(const std::vector<uint8_t>& b, size_t offset, size_t chars);
// Writes text into a WCHAR slot, cut to chars-1 and NUL-terminated.
void WriteWideSlot(std::vector<uint8_t>& b, size_t offset, size_t chars, const std::u16string& text);

}  // namespace lx
