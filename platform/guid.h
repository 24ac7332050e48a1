// GUID with the Windows layout, and its registry text form.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};
static_assert(sizeof(Guid) == 16, "GUID layout");

bool operator==(const Guid& a, const Guid& b);
inline bool operator!=(const Guid& a, const Guid& b) { return !(a == b); }

// StringFromGUID2's form: braces, upper-case hex, 38 characters.
std::u16string GuidToString(const Guid& g);

// GUID_DEVINTERFACE_USBPRINT
constexpr Guid kGuidDevInterfaceUsbPrint = {
    0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};

}  // namespace lx
