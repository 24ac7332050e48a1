// One label size as the plug-in stores it: a 124-byte little-endian record,
// also the unit of the stored block (records back to back).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lx {

inline constexpr int32_t kUserPaperNumber = 256;  // DMPAPER_USER: the free size
inline constexpr size_t kPaperNameChars = 32;     // 31 characters and the NUL
// The sizes a label may have, in millimetres, and the numbers a record may carry.
inline constexpr float kPaperMinWidthMm = 25.0f;
inline constexpr float kPaperMinLengthMm = 3.0f;
inline constexpr float kPaperMaxSizeMm = 1778.0f;
inline constexpr int32_t kPaperMaxNumber = 32767;  // dmPaperSize is a short

struct PaperRecord {
  int32_t number;                // dmPaperSize value, unique in the store
  int32_t numberCopy;            // the number for built-in records, 0 for users'
  int32_t reserved08;
  uint8_t reserved0C[8];
  char16_t name[kPaperNameChars];  // unique in the store
  float width;                   // millimetres
  float height;                  // millimetres (label length)
  uint8_t reserved5C[8];
  int32_t reserved64;
  float reserved68;
  float reserved6C;
  uint8_t reserved70[8];
  uint8_t builtIn;  // 1: the Paper page neither edits nor deletes it
  uint8_t reserved79[3];
};

// The stored block is these bytes; every reader and writer relies on them.
static_assert(sizeof(PaperRecord) == 124, "paper record size");
static_assert(offsetof(PaperRecord, number) == 0x00, "paper record layout");
static_assert(offsetof(PaperRecord, numberCopy) == 0x04, "paper record layout");
static_assert(offsetof(PaperRecord, reserved08) == 0x08, "paper record layout");
static_assert(offsetof(PaperRecord, reserved0C) == 0x0C, "paper record layout");
static_assert(offsetof(PaperRecord, name) == 0x14, "paper record layout");
static_assert(offsetof(PaperRecord, width) == 0x54, "paper record layout");
static_assert(offsetof(PaperRecord, height) == 0x58, "paper record layout");
static_assert(offsetof(PaperRecord, reserved5C) == 0x5C, "paper record layout");
static_assert(offsetof(PaperRecord, reserved64) == 0x64, "paper record layout");
static_assert(offsetof(PaperRecord, reserved68) == 0x68, "paper record layout");
static_assert(offsetof(PaperRecord, reserved6C) == 0x6C, "paper record layout");
static_assert(offsetof(PaperRecord, reserved70) == 0x70, "paper record layout");
static_assert(offsetof(PaperRecord, builtIn) == 0x78, "paper record layout");
static_assert(offsetof(PaperRecord, reserved79) == 0x79, "paper record layout");
static_assert(sizeof(float) == 4 && sizeof(char16_t) == 2, "record field widths");

// A zeroed record with these fields; the name is cut to 31 characters.
PaperRecord MakePaperRecord(int32_t number, std::u16string_view name, float widthMm,
                            float heightMm, bool builtIn);

// Why a stored record cannot be taken (a number outside 1..32767, a size
// that is not finite or outside the limits, a built-in flag other than 0
// or 1), or null when it can. Uniqueness is the store's to check.
const char16_t* PaperRecordFault(const PaperRecord& record);

// The record's name up to its NUL, never past the 32nd character.
std::u16string PaperName(const PaperRecord& record);
void SetPaperName(PaperRecord& record, std::u16string_view name);

// Millimetres to tenths of a millimetre: round to two decimals, times ten,
// round half away from zero; kept as a 16-bit value as DEVMODE does.
int16_t MmToTenths(double millimetres);

}  // namespace lx
