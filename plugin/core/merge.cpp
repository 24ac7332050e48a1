#include "plugin/core/merge.h"

#include <algorithm>
#include <cstring>

#include "common/text.h"

namespace lx {

namespace {

// A flag counts only when the field it announces lies inside the DEVMODE the
// caller gave; an older, shorter DEVMODE does not carry the later fields.
bool Has(const DEVMODEW& dm, DWORD flag, size_t fieldEnd) {
  return (dm.dmFields & flag) != 0 && dm.dmSize >= fieldEnd;
}

#define FIELD_END(f) (offsetof(DEVMODEW, f) + sizeof(DEVMODEW::f))

bool UserSizeInBounds(const DEVMODEW& in) {
  return in.dmPaperWidth >= kMinUserWidth && in.dmPaperWidth <= kMaxUserSize &&
         in.dmPaperLength >= kMinUserLength && in.dmPaperLength <= kMaxUserSize;
}

void TakeUserSize(const DEVMODEW& in, DEVMODEW& out) {
  out.dmPaperWidth = in.dmPaperWidth;
  out.dmPaperLength = in.dmPaperLength;
  out.dmPaperSize = DMPAPER_USER;
  std::memset(out.dmFormName, 0, sizeof out.dmFormName);
  out.dmFields |= DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
  out.dmFields &= ~static_cast<DWORD>(DM_FORMNAME);
}

const char16_t* Wide(const WCHAR* s) { return reinterpret_cast<const char16_t*>(s); }

std::u16string FormName(const DEVMODEW& dm) {
  return std::u16string(Wide(dm.dmFormName), StrLen16(Wide(dm.dmFormName), CCHFORMNAME));
}

bool SameDevice(const DEVMODEW& a, const DEVMODEW& b) {
  for (size_t i = 0; i < CCHDEVICENAME; ++i) {
    if (a.dmDeviceName[i] != b.dmDeviceName[i]) return false;
    if (a.dmDeviceName[i] == 0) return true;
  }
  return true;
}

void MergePaper(const DEVMODEW& in, DEVMODEW& out, IPaperLookup* papers) {
  const DWORD sizeFlags = DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
  const bool hasSize = Has(in, DM_PAPERSIZE, FIELD_END(dmPaperSize));
  const bool hasForm = Has(in, DM_FORMNAME, FIELD_END(dmFormName));
  if ((in.dmFields & sizeFlags) != 0 &&
      (in.dmPaperSize == DMPAPER_USER || in.dmPaperSize == 0) && UserSizeInBounds(in)) {
    TakeUserSize(in, out);
    return;
  }
  if (!hasSize && !hasForm) return;

  std::optional<PaperInfo> paper;
  if (papers != nullptr) {
    if (hasSize) paper = papers->FindByNumber(in.dmPaperSize);
    if (!paper && hasForm) paper = papers->FindByName(FormName(in));
  }
  if (paper) {
    out.dmFields |= sizeFlags | DM_FORMNAME;
    // The record's own number: a paper found by its name must not keep a
    // number that names another paper or none.
    out.dmPaperSize = static_cast<short>(paper->number);
    out.dmPaperWidth = static_cast<short>(paper->widthTenths);
    out.dmPaperLength = static_cast<short>(paper->lengthTenths);
    CopyToBuffer(reinterpret_cast<char16_t*>(out.dmFormName), CCHFORMNAME, paper->name);
    return;
  }
  if (Has(in, DM_PAPERWIDTH, FIELD_END(dmPaperWidth)) &&
      Has(in, DM_PAPERLENGTH, FIELD_END(dmPaperLength)) && UserSizeInBounds(in)) {
    TakeUserSize(in, out);
  }
}

}  // namespace

bool MergeDevmode(const DEVMODEW* pubIn, DEVMODEW* pubOut, const void* privIn,
                  size_t privInAvailable, PrivateDevmode* privOut, IPaperLookup* papers) {
  if (pubIn == nullptr || pubOut == nullptr || privIn == nullptr || privOut == nullptr) {
    return false;
  }
  const DEVMODEW& in = *pubIn;
  DEVMODEW& out = *pubOut;
  ConvertPrivateDevmode(privIn, privInAvailable, *privOut);

  // Never claim more than the DEVMODE this driver lays out: the core driver
  // finds its private parts behind dmSize.
  out.dmSize = std::min<WORD>(std::max(out.dmSize, in.dmSize), sizeof(DEVMODEW));

  if (Has(in, DM_ORIENTATION, FIELD_END(dmOrientation))) {
    out.dmFields |= DM_ORIENTATION;
    const bool known = in.dmOrientation == DMORIENT_PORTRAIT ||
                       in.dmOrientation == DMORIENT_LANDSCAPE;
    out.dmOrientation = known ? in.dmOrientation : DMORIENT_PORTRAIT;
  }
  MergePaper(in, out, papers);
  if (Has(in, DM_COPIES, FIELD_END(dmCopies))) {
    out.dmFields |= DM_COPIES;
    out.dmCopies = in.dmCopies;
  }
  if (Has(in, DM_COLOR, FIELD_END(dmColor))) {
    out.dmFields |= DM_COLOR;
    if (SameDevice(in, out)) out.dmColor = DMCOLOR_COLOR;
  }
  if (Has(in, DM_DUPLEX, FIELD_END(dmDuplex))) {
    out.dmFields |= DM_DUPLEX;
    out.dmDuplex = DMDUP_SIMPLEX;
  }
  if (Has(in, DM_YRESOLUTION, FIELD_END(dmYResolution))) {
    out.dmFields |= DM_YRESOLUTION;
    out.dmYResolution = (in.dmYResolution > 0 && SameDevice(in, out)) ? in.dmYResolution : 0;
  }
  if (Has(in, DM_COLLATE, FIELD_END(dmCollate))) {
    out.dmFields |= DM_COLLATE;
    out.dmCollate = in.dmCollate;
  }
  ValidatePrivateDevmode(*privOut);
  return true;
}

}  // namespace lx
