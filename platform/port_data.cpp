#include "platform/port_data.h"

namespace lx {

namespace {
// PORT_DATA_1 as Microsoft's reference declares it (tcpxcv.h), to check the
// offsets the record is written with.
struct PortData1Layout {
  char16_t sztPortName[64];
  uint32_t dwVersion, dwProtocol, cbSize, dwReserved;
  char16_t sztHostAddress[49];
  char16_t sztSNMPCommunity[33];
  uint32_t dwDoubleSpool;
  char16_t sztQueue[33];
  char16_t sztIPAddress[16];
  uint8_t Reserved[540];
  uint32_t dwPortNumber, dwSNMPEnabled, dwSNMPDevIndex;
};
static_assert(sizeof(PortData1Layout) == kPortData1Size, "PORT_DATA_1 size");
static_assert(offsetof(PortData1Layout, dwVersion) == kPd1VersionOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, dwProtocol) == kPd1ProtocolOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, cbSize) == kPd1SizeOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, sztHostAddress) == kPd1HostAddressOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, sztSNMPCommunity) == kPd1SnmpCommunityOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, dwDoubleSpool) == kPd1DoubleSpoolOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, sztQueue) == kPd1QueueOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, sztIPAddress) == kPd1IpAddressOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, dwPortNumber) == kPd1PortNumberOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, dwSNMPEnabled) == kPd1SnmpEnabledOffset, "PORT_DATA_1 layout");
static_assert(offsetof(PortData1Layout, dwSNMPDevIndex) == kPd1SnmpDevIndexOffset, "PORT_DATA_1 layout");
}  // namespace

std::u16string ReadWideSlot(const std::vector<uint8_t>& b, size_t offset, size_t chars) {
  std::u16string out;
  for (size_t i = 0; i < chars; ++i) {
    size_t at = offset + 2 * i;
    if (at + 2 > b.size()) break;
    char16_t c = static_cast<char16_t>(b[at] | (b[at + 1] << 8));
    if (c == 0) break;
    out += c;
  }
  return out;
}

void WriteWideSlot(std::vector<uint8_t>& b, size_t offset, size_t chars, const std::u16string& text) {
  if (chars == 0) return;
  if (b.size() < offset + 2 * chars) b.resize(offset + 2 * chars, 0);
  size_t n = text.size() < chars - 1 ? text.size() : chars - 1;
  for (size_t i = 0; i < chars; ++i) {
    char16_t c = i < n ? text[i] : 0;
    b[offset + 2 * i] = static_cast<uint8_t>(c);
    b[offset + 2 * i + 1] = static_cast<uint8_t>(c >> 8);
  }
}

}  // namespace lx
