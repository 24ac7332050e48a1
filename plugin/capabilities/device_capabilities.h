// The plug-in's answers to DeviceCapabilities: the label sizes of the paper
// store and a few fixed facts of the label printers. Other queries are left
// to the core driver.
#pragma once

#include <cstdint>

#include "plugin/oem/win_types.h"
#include "plugin/papers/paper_persistence.h"

namespace lx {

inline constexpr uint16_t kDcPapers = 2;
inline constexpr uint16_t kDcPaperSize = 3;
inline constexpr uint16_t kDcMinExtent = 4;
inline constexpr uint16_t kDcMaxExtent = 5;
inline constexpr uint16_t kDcDuplex = 7;
inline constexpr uint16_t kDcPaperNames = 16;
inline constexpr uint16_t kDcCopies = 18;
inline constexpr uint16_t kDcCollate = 22;
inline constexpr uint16_t kDcColorDevice = 32;

inline constexpr size_t kPaperNameSlotChars = 64;

// `deviceName` may be null. For the paper codes the count goes into the low
// 16 bits of *result (the high bits stay as passed) and `output`, when
// given, receives one entry per record in store order: a 16-bit number, a
// POINT of two 32-bit tenths of a millimetre, or a 64-character name slot.
// A fill writes no more entries than the same thread's last count call for
// that printer answered (fewer when the store has shrunk since), and
// answers the number it wrote. The store is read under its context's lock.
// S_OK for every code answered; E_NOTIMPL, result untouched, for the rest.
HRESULT AnswerDeviceCapabilities(PaperContext& papers, const char16_t* deviceName, uint16_t code,
                                 void* output, uint32_t* result);

}  // namespace lx
