// DEVMODEW kept as bytes: the public part with the Windows layout, followed by
// the driver's private part. Offsets are those of the Windows structure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lx {

using DevModeBytes = std::vector<uint8_t>;

constexpr size_t kDevModePublicSize = 220;  // sizeof(DEVMODEW)
constexpr size_t kDmDeviceNameOffset = 0;   // WCHAR[32]
constexpr size_t kDmSpecVersionOffset = 64;
constexpr size_t kDmDriverVersionOffset = 66;
constexpr size_t kDmSizeOffset = 68;
constexpr size_t kDmDriverExtraOffset = 70;
constexpr size_t kDmFieldsOffset = 72;
constexpr size_t kDmOrientationOffset = 76;
constexpr size_t kDmPaperSizeOffset = 78;
constexpr size_t kDmPaperLengthOffset = 80;
constexpr size_t kDmPaperWidthOffset = 82;
constexpr size_t kDmCopiesOffset = 86;
constexpr size_t kDmFormNameOffset = 102;  // WCHAR[32]
constexpr uint16_t kDmSpecVersion = 0x0401;

// dmSize and dmDriverExtra; nothing when the bytes are too short to hold them.
std::optional<uint16_t> DevModeSize(const DevModeBytes& dm);
std::optional<uint16_t> DevModeDriverExtra(const DevModeBytes& dm);
// True when dmSize + dmDriverExtra covers exactly the bytes given and dmSize
// holds at least the fields up to dmDriverExtra.
bool DevModeIsConsistent(const DevModeBytes& dm);

uint16_t ReadU16(const DevModeBytes& b, size_t offset);  // 0 past the end
uint32_t ReadU32(const DevModeBytes& b, size_t offset);  // 0 past the end
// Little-endian writes; false (nothing written) when they would pass the end.
bool WriteU16(DevModeBytes& b, size_t offset, uint16_t v);
bool WriteU32(DevModeBytes& b, size_t offset, uint32_t v);

}  // namespace lx
