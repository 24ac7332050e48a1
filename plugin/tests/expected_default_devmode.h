// The bytes of a default private DEVMODE written over a zeroed buffer, spelled
// out from the record's layout rather than from the code that writes it.
// Shared by the host tests and the print host test of the real DLL.
#pragma once

#include <array>
#include <cstdint>

namespace lx::testing {

inline std::array<uint8_t, 148> ExpectedDefaultPrivateDevmode() {
  struct Put {
    unsigned offset;
    uint8_t b[4];
  };
  static const Put kNonZero[] = {
      {0x00, {0x94, 0x00, 0x00, 0x00}},  // dwSize 148
      {0x04, {0x31, 0x4C, 0x5A, 0x51}},  // dwSignature 'QZL1'
      {0x08, {0x01, 0x00, 0x00, 0x00}},  // dwVersion 1
      {0x0C, {0xFF, 0xFF, 0x00, 0x00}},  // paperId -1 (2 bytes), then 2 unused
      {0x20, {0x01, 0x00, 0x00, 0x00}},  // useDeviceSettings 1
      {0x44, {0x08, 0x00, 0x00, 0x00}},  // density 8
      {0x54, {0x03, 0x00, 0x00, 0x00}},  // speed 3
      {0x68, {0x01, 0x00, 0x00, 0x00}},  // reserved68 1
      {0x74, {0x00, 0x00, 0x00, 0x40}},  // gapHeight 2.0f
      {0x78, {0x66, 0x66, 0xE6, 0x3F}},  // grayFactor 1.8f
      {0x88, {0x01, 0x00, 0x00, 0x00}},  // postAction 1 (tear-off)
      {0x90, {0x01, 0x00, 0x00, 0x00}},  // postActionInterval 1
  };
  std::array<uint8_t, 148> bytes{};
  for (const Put& p : kNonZero) {
    for (unsigned i = 0; i < 4; ++i) bytes[p.offset + i] = p.b[i];
  }
  return bytes;
}

}  // namespace lx::testing
