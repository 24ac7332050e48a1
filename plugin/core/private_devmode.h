// The plug-in's own part of every DEVMODE of the driver: 148 bytes behind the
// public DEVMODE and the core driver's private part. The print path and the
// installer's post-print patch read it by offset, so the layout is fixed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/oem/oem_types.h"

namespace lx {

inline constexpr uint32_t kPrivateDevmodeSize = 148;
inline constexpr uint32_t kPluginSignature = 0x515A4C31;  // 'QZL1'
inline constexpr uint32_t kPrivateDevmodeVersion = 1;

#pragma pack(push, 4)
struct PrivateDevmode {
  OEM_DMEXTRAHEADER header;    // 0x00 dwSize, dwSignature, dwVersion
  int16_t paperId;             // 0x0C paper number in the store, -1 none
  uint8_t unused0E[2];         // 0x0E no meaning
  int32_t rotate180;           // 0x10
  int32_t mirror;              // 0x14
  int32_t negative;            // 0x18
  int32_t reserved1C;          // 0x1C
  int32_t useDeviceSettings;   // 0x20
  int32_t reserved24;          // 0x24
  int32_t reserved28;          // 0x28
  float reserved2C;            // 0x2C
  float reserved30;            // 0x30
  float reserved34;            // 0x34
  float reserved38;            // 0x38
  float reserved3C;            // 0x3C
  float reserved40;            // 0x40
  int32_t density;             // 0x44
  float offsetX;               // 0x48 millimetres
  float offsetY;               // 0x4C millimetres
  int16_t collate;             // 0x50
  uint8_t unused52[2];         // 0x52 no meaning
  int32_t speed;               // 0x54
  int32_t reserved58;          // 0x58
  float feedOffset;            // 0x5C millimetres
  int32_t reserved60;          // 0x60
  float reserved64;            // 0x64
  int32_t reserved68;          // 0x68
  int32_t modelClassValue;     // 0x6C
  int32_t halftone;            // 0x70
  float gapHeight;             // 0x74 millimetres
  float grayFactor;            // 0x78
  int32_t boldLines;           // 0x7C
  int32_t imageOption2;        // 0x80
  int32_t paperSaving;         // 0x84
  int32_t postAction;          // 0x88 0 none, 1 tear, 2 peel, 3 cut
  int32_t postActionTiming;    // 0x8C
  int32_t postActionInterval;  // 0x90
};
#pragma pack(pop)

static_assert(sizeof(PrivateDevmode) == kPrivateDevmodeSize, "private DEVMODE size");
static_assert(offsetof(PrivateDevmode, header.dwSignature) == 0x04, "layout");
static_assert(offsetof(PrivateDevmode, header.dwVersion) == 0x08, "layout");
static_assert(offsetof(PrivateDevmode, paperId) == 0x0C, "layout");
static_assert(offsetof(PrivateDevmode, rotate180) == 0x10, "layout");
static_assert(offsetof(PrivateDevmode, mirror) == 0x14, "layout");
static_assert(offsetof(PrivateDevmode, negative) == 0x18, "layout");
static_assert(offsetof(PrivateDevmode, reserved1C) == 0x1C, "layout");
static_assert(offsetof(PrivateDevmode, useDeviceSettings) == 0x20, "layout");
static_assert(offsetof(PrivateDevmode, reserved24) == 0x24, "layout");
static_assert(offsetof(PrivateDevmode, reserved28) == 0x28, "layout");
static_assert(offsetof(PrivateDevmode, reserved2C) == 0x2C, "layout");
static_assert(offsetof(PrivateDevmode, reserved30) == 0x30, "layout");
static_assert(offsetof(PrivateDevmode, reserved34) == 0x34, "layout");
static_assert(offsetof(PrivateDevmode, reserved38) == 0x38, "layout");
static_assert(offsetof(PrivateDevmode, reserved3C) == 0x3C, "layout");
static_assert(offsetof(PrivateDevmode, reserved40) == 0x40, "layout");
static_assert(offsetof(PrivateDevmode, density) == 0x44, "layout");
static_assert(offsetof(PrivateDevmode, offsetX) == 0x48, "layout");
static_assert(offsetof(PrivateDevmode, offsetY) == 0x4C, "layout");
static_assert(offsetof(PrivateDevmode, collate) == 0x50, "layout");
static_assert(offsetof(PrivateDevmode, speed) == 0x54, "layout");
static_assert(offsetof(PrivateDevmode, reserved58) == 0x58, "layout");
static_assert(offsetof(PrivateDevmode, feedOffset) == 0x5C, "layout");
static_assert(offsetof(PrivateDevmode, reserved60) == 0x60, "layout");
static_assert(offsetof(PrivateDevmode, reserved64) == 0x64, "layout");
static_assert(offsetof(PrivateDevmode, reserved68) == 0x68, "layout");
static_assert(offsetof(PrivateDevmode, modelClassValue) == 0x6C, "layout");
static_assert(offsetof(PrivateDevmode, halftone) == 0x70, "layout");
static_assert(offsetof(PrivateDevmode, gapHeight) == 0x74, "layout");
static_assert(offsetof(PrivateDevmode, grayFactor) == 0x78, "layout");
static_assert(offsetof(PrivateDevmode, boldLines) == 0x7C, "layout");
static_assert(offsetof(PrivateDevmode, imageOption2) == 0x80, "layout");
static_assert(offsetof(PrivateDevmode, paperSaving) == 0x84, "layout");
static_assert(offsetof(PrivateDevmode, postAction) == 0x88, "layout");
static_assert(offsetof(PrivateDevmode, postActionTiming) == 0x8C, "layout");
static_assert(offsetof(PrivateDevmode, postActionInterval) == 0x90, "layout");
// The installer patches the post-print action by its distance from the end.
static_assert(kPrivateDevmodeSize - offsetof(PrivateDevmode, postAction) == 12, "layout");

// Writes the defaults; rotate180, modelClassValue, halftone and the bytes
// without meaning keep what the buffer held.
void DefaultPrivateDevmode(PrivateDevmode& dm);

// Converts a private part of unknown origin. `in` may be null; `inAvailable`
// is how many bytes the caller's buffer really holds from `in` on. The input
// is used only when at least its header is readable, its claimed size covers
// the header and its signature matches the output's; then the first
// min(claimed size, available, 148) bytes are taken. `in` and `out` may alias.
void ConvertPrivateDevmode(const void* in, size_t inAvailable, PrivateDevmode& out);

// Forces the header, gives every float that is NaN or infinite its default,
// and brings every field with a rule into its range.
void ValidatePrivateDevmode(PrivateDevmode& dm);

}  // namespace lx
