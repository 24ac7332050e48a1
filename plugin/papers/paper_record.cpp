#include "plugin/papers/paper_record.h"

#include <cmath>
#include <cstring>

#include "common/text.h"

namespace lx {

namespace {

// Half away from zero; a result that is zero but for float noise is zero.
double RoundWhole(double value) {
  double r = value > 0 ? std::floor(value + 0.5) : std::ceil(value - 0.5);
  return std::fabs(r) < 0.00001 ? 0.0 : r;
}

double RoundDecimals(double value, int decimals) {
  double scale = std::pow(10.0, decimals);
  return RoundWhole(value * scale) / scale;
}

}  // namespace

PaperRecord MakePaperRecord(int32_t number, std::u16string_view name, float widthMm,
                            float heightMm, bool builtIn) {
  PaperRecord r;
  std::memset(&r, 0, sizeof r);
  r.number = number;
  r.numberCopy = builtIn ? number : 0;
  SetPaperName(r, name);
  r.width = widthMm;
  r.height = heightMm;
  r.builtIn = builtIn ? 1 : 0;
  return r;
}

const char16_t* PaperRecordFault(const PaperRecord& record) {
  if (record.number < 1 || record.number > kPaperMaxNumber) return u"number out of range";
  // The comparisons are false for NaN, so it is refused with the infinities.
  if (!(record.width >= kPaperMinWidthMm && record.width <= kPaperMaxSizeMm)) return u"width out of range";
  if (!(record.height >= kPaperMinLengthMm && record.height <= kPaperMaxSizeMm)) return u"length out of range";
  if (record.builtIn > 1) return u"built-in flag not 0 or 1";
  return nullptr;
}

std::u16string PaperName(const PaperRecord& record) {
  return std::u16string(record.name, StrLen16(record.name, kPaperNameChars));
}

void SetPaperName(PaperRecord& record, std::u16string_view name) {
  std::memset(record.name, 0, sizeof record.name);
  CopyToBuffer(record.name, kPaperNameChars, name);
}

int16_t MmToTenths(double millimetres) {
  double tenths = RoundWhole(RoundDecimals(millimetres, 2) * 10.0);
  // Stored sizes come from outside: a value that is not a number gives 0, a
  // huge one is held at the 32-bit range before the 16-bit store wraps it.
  if (std::isnan(tenths)) return 0;
  if (tenths > 2147483647.0) tenths = 2147483647.0;
  if (tenths < -2147483648.0) tenths = -2147483648.0;
  uint32_t whole = static_cast<uint32_t>(static_cast<int64_t>(tenths));
  return static_cast<int16_t>(static_cast<uint16_t>(whole & 0xFFFFu));
}

}  // namespace lx
