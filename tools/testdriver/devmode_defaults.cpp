#include "tools/testdriver/devmode_defaults.h"

#include <cstddef>
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
  // A foreign or older DEVMODE: take the fields it marks and holds within its
  // dmSize; keep our sizes and private part.
  const size_t inSize = in->dmSize;
  if (inSize < offsetof(DEVMODEW, dmFields) + sizeof(in->dmFields)) return;
#define LX_TAKE(flag, field)                                                              \
  if ((in->dmFields & (flag)) && offsetof(DEVMODEW, field) + sizeof(in->field) <= inSize) { \
    base->field = in->field;                                                               \
    base->dmFields |= (flag);                                                              \
  }
  LX_TAKE(DM_ORIENTATION, dmOrientation)
  LX_TAKE(DM_PAPERSIZE, dmPaperSize)
  LX_TAKE(DM_PAPERLENGTH, dmPaperLength)
  LX_TAKE(DM_PAPERWIDTH, dmPaperWidth)
  LX_TAKE(DM_COPIES, dmCopies)
  LX_TAKE(DM_PRINTQUALITY, dmPrintQuality)
  LX_TAKE(DM_YRESOLUTION, dmYResolution)
#undef LX_TAKE
}

}  // namespace lxtestdrv
