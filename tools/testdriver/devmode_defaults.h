// The DEVMODE of the test driver: the public 220 bytes followed by a 148-byte
// driver-private part, the size the label driver's own DEVMODE has.
#pragma once
#include <windows.h>

namespace lxtestdrv {

constexpr WORD kPrivateSize = 148;
constexpr DWORD kTotalSize = sizeof(DEVMODEW) + kPrivateSize;
static_assert(sizeof(DEVMODEW) == 220, "DEVMODEW layout");

// Writes the driver's default settings for the printer into out (kTotalSize bytes).
void FillDefaultDevmode(DEVMODEW* out, const wchar_t* printerName);

// True when dm is one of ours: public and private size both as this driver makes them.
bool IsOwnDevmode(const DEVMODEW* dm);

// Applies a caller's DEVMODE on top of base (kTotalSize bytes): one of ours
// replaces everything, a foreign one contributes only the public fields it
// marks in dmFields and that lie within its dmSize.
void MergeDevmode(DEVMODEW* base, const DEVMODEW* in);

}  // namespace lxtestdrv
