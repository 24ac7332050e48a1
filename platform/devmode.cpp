#include "platform/devmode.h"

#include <cstddef>

namespace lx {

namespace {
// DEVMODEW of the printer branch as Microsoft's reference declares it, to
// check the offsets used on the bytes (the Windows build checks the real one).
struct DevModeLayout {
  char16_t dmDeviceName[32];
  uint16_t dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra;
  uint32_t dmFields;
  int16_t dmOrientation, dmPaperSize, dmPaperLength, dmPaperWidth, dmScale, dmCopies, dmDefaultSource,
      dmPrintQuality;
  int16_t dmColor, dmDuplex, dmYResolution, dmTTOption, dmCollate;
  char16_t dmFormName[32];
  uint16_t dmLogPixels;
  uint32_t dmBitsPerPel, dmPelsWidth, dmPelsHeight, dmNup, dmDisplayFrequency, dmICMMethod, dmICMIntent,
      dmMediaType, dmDitherType, dmReserved1, dmReserved2, dmPanningWidth, dmPanningHeight;
};
static_assert(sizeof(DevModeLayout) == kDevModePublicSize, "DEVMODEW size");
static_assert(offsetof(DevModeLayout, dmSpecVersion) == kDmSpecVersionOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmDriverVersion) == kDmDriverVersionOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmSize) == kDmSizeOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmDriverExtra) == kDmDriverExtraOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmFields) == kDmFieldsOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmOrientation) == kDmOrientationOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmPaperSize) == kDmPaperSizeOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmPaperLength) == kDmPaperLengthOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmPaperWidth) == kDmPaperWidthOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmCopies) == kDmCopiesOffset, "DEVMODEW layout");
static_assert(offsetof(DevModeLayout, dmFormName) == kDmFormNameOffset, "DEVMODEW layout");
}  // namespace

uint16_t ReadU16(const DevModeBytes& b, size_t offset) {
  if (offset > b.size() || b.size() - offset < 2) return 0;
  return static_cast<uint16_t>(b[offset] | (b[offset + 1] << 8));
}

uint32_t ReadU32(const DevModeBytes& b, size_t offset) {
  if (offset > b.size() || b.size() - offset < 4) return 0;
  return static_cast<uint32_t>(b[offset]) | (static_cast<uint32_t>(b[offset + 1]) << 8) |
         (static_cast<uint32_t>(b[offset + 2]) << 16) | (static_cast<uint32_t>(b[offset + 3]) << 24);
}

bool WriteU16(DevModeBytes& b, size_t offset, uint16_t v) {
  if (offset > b.size() || b.size() - offset < 2) return false;
  b[offset] = static_cast<uint8_t>(v);
  b[offset + 1] = static_cast<uint8_t>(v >> 8);
  return true;
}

bool WriteU32(DevModeBytes& b, size_t offset, uint32_t v) {
  if (offset > b.size() || b.size() - offset < 4) return false;
  for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<uint8_t>(v >> (8 * i));
  return true;
}

std::optional<uint16_t> DevModeSize(const DevModeBytes& dm) {
  if (dm.size() < kDmSizeOffset + 2) return std::nullopt;
  return ReadU16(dm, kDmSizeOffset);
}

std::optional<uint16_t> DevModeDriverExtra(const DevModeBytes& dm) {
  if (dm.size() < kDmDriverExtraOffset + 2) return std::nullopt;
  return ReadU16(dm, kDmDriverExtraOffset);
}

bool DevModeIsConsistent(const DevModeBytes& dm) {
  auto size = DevModeSize(dm);
  auto extra = DevModeDriverExtra(dm);
  if (!size || !extra) return false;
  return *size >= kDmFieldsOffset && static_cast<size_t>(*size) + *extra == dm.size();
}

}  // namespace lx
