#include "tools/testdriver/devmode_defaults.h"

#include <cstring>

namespace lxtestdrv {

void FillDefaultDevmode(DEVMODEW* out, const wchar_t* printerName) {
  std::memset(out, 0, kTotalSize);
  if (printerName) {
    // dmDeviceName holds 32 characters including the terminator.
    lstrcpynW(out->dmDeviceName, printerName, CCHDEVICENAME);
  }
  out->dmSpecVersion = DM_SPECVERSION;
  out->dmDriverVersion = 0x0100;
  out->dmSize = sizeof(DEVMODEW);
  out->dmDriverExtra = kPrivateSize;
  out->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
  out->dmOrientation = DMORIENT_PORTRAIT;
  out->dmPaperSize = DMPAPER_USER;
  out->dmCopies = 1;
  out->dmPrintQuality = 203;
  out->dmYResolution = 203;
}

bool IsOwnDevmode(const DEVMODEW* dm) {
  return dm && dm->dmSize == sizeof(DEVMODEW) && dm->dmDriverExtra == kPrivateSize;
}

void MergeDevmode(DEVMODEW* base, const DEVMODEW* in) {
  if (!in) return;
  if (IsOwnDevmode(in)) {
    std::memcpy(base, in, kTotalSize);
    return;
  }
  // A foreign or older DEVMODE: take its public fields, keep our sizes and private part.
  size_t n = in->dmSize < sizeof(DEVMODEW) ? in->dmSize : sizeof(DEVMODEW);
  std::memcpy(base, in, n);
  base->dmSize = sizeof(DEVMODEW);
  base->dmDriverExtra = kPrivateSize;
}

}  // namespace lxtestdrv
