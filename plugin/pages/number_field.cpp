#include "plugin/pages/number_field.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "common/exact_decimal.h"
#include "common/format.h"

namespace lx {

namespace {

constexpr char16_t kUnsignedSet[] = u"0123456789.０１２３４５６７８９．";
constexpr char16_t kSignedSet[] = u"0123456789.-０１２３４５６７８９．－";

// The full-width forms the reading accepts, whatever field they are in.
char16_t HalfWidth(char16_t c) {
  if (c == u'\u3000') return u' ';
  if (c == u'\uFF0D') return u'-';
  if (c == u'\uFF0E') return u'.';
  if (c >= u'\uFF10' && c <= u'\uFF19') return static_cast<char16_t>(u'0' + (c - u'\uFF10'));
  return c;
}

bool IsWhite(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::u16string_view AllowedCharacters(NumberChars chars) {
  switch (chars) {
    case NumberChars::kUnsigned: return kUnsignedSet;
    case NumberChars::kSigned: return kSignedSet;
    default: return {};
  }
}

std::optional<TypedText> FilterTyped(std::u16string_view text, NumberChars chars, std::u16string_view unit,
                                     int selStart, int selEnd) {
  std::u16string_view allowed = AllowedCharacters(chars);
  if (allowed.empty()) return std::nullopt;
  // A field showing its value with the unit is being set, not typed into.
  // An empty unit would be found in every text.
  if (!unit.empty() && text.find(unit) != std::u16string_view::npos) return std::nullopt;
  const size_t half = allowed.size() / 2;
  TypedText out;
  out.selStart = selStart;
  out.selEnd = selEnd;
  bool changed = false;
  for (size_t i = 0; i < text.size(); ++i) {
    size_t at = allowed.find(text[i]);
    if (at == std::u16string_view::npos) {
      // Removed: positions behind it move one to the left.
      changed = true;
      if (static_cast<int>(i) < selStart) --out.selStart;
      if (static_cast<int>(i) < selEnd) --out.selEnd;
      continue;
    }
    if (at >= half) {
      changed = true;
      at -= half;
    }
    out.text.push_back(allowed[at]);
  }
  if (!changed) return std::nullopt;
  const int length = static_cast<int>(out.text.size());
  auto inside = [length](int p) { return p < 0 ? 0 : (p > length ? length : p); };
  out.selStart = inside(out.selStart);
  out.selEnd = inside(out.selEnd);
  return out;
}

// The number's digits are gathered as ASCII and converted exactly, as wcstod
// does in the "C" locale and whatever the process locale: "1.005" is
// 1.00499999999999989..., never 1.0050000000000001.
double ReadNumber(std::u16string_view text) {
  std::u16string mapped;
  mapped.reserve(text.size());
  for (char16_t c : text) mapped.push_back(HalfWidth(c));
  size_t i = 0;
  while (i < mapped.size() && IsWhite(mapped[i])) ++i;
  bool negative = false;
  if (i < mapped.size() && (mapped[i] == u'-' || mapped[i] == u'+')) negative = mapped[i++] == u'-';
  std::string digits;
  long long exponent = 0;  // of the last digit
  for (; i < mapped.size() && IsDigit(mapped[i]); ++i) digits.push_back(static_cast<char>(mapped[i]));
  bool any = !digits.empty();
  if (i < mapped.size() && mapped[i] == u'.') {
    for (++i; i < mapped.size() && IsDigit(mapped[i]); ++i) {
      any = true;
      digits.push_back(static_cast<char>(mapped[i]));
      --exponent;
    }
  }
  if (!any) return 0.0;
  if (i + 1 < mapped.size() && (mapped[i] == u'e' || mapped[i] == u'E')) {
    size_t j = i + 1;
    bool below = false;
    if (mapped[j] == u'-' || mapped[j] == u'+') below = mapped[j++] == u'-';
    long long e = 0;
    // Beyond a million the value is out of range either way.
    for (; j < mapped.size() && IsDigit(mapped[j]); ++j)
      if (e < 1000000) e = e * 10 + (mapped[j] - u'0');
    exponent += below ? -e : e;
  }
  double value = DecimalToDouble(digits, exponent);
  // Too large is held at the ceiling (too small has come out as 0).
  if (!std::isfinite(value) || value > 1e300) value = 1e300;
  return negative ? -value : value;
}

double RoundTo(double value, int decimals) {
  if (!std::isfinite(value)) return 0.0;
  const double scale = std::pow(10.0, decimals);
  const double scaled = value * scale;
  if (!std::isfinite(scaled)) return value;
  double r = scaled > 0 ? std::floor(scaled + 0.5) : std::ceil(scaled - 0.5);
  r /= scale;
  return std::fabs(r) < 0.00001 ? 0.0 : r;
}

std::u16string FocusText(std::u16string_view shown) {
  double value = RoundTo(ReadNumber(shown), 2);
  if (std::fabs(value) < 0.00001) return u"";
  return FormatW(u"%0.2f", value);
}

int FocusCaret(int selStart, int selEnd, int length) {
  if (selStart == selEnd && selStart >= 1 && selStart < length) return selStart - 1;
  if (selStart != selEnd && selEnd >= 1 && selEnd < length) return selEnd - 1;
  return length;
}

std::u16string FormatNumber(NumberFormat format, double value, std::u16string_view unit) {
  if (!std::isfinite(value)) value = 0.0;
  const std::u16string u(unit);
  switch (format) {
    case NumberFormat::kMillimetres2: return FormatW(u"%0.2f %s", value, u.c_str());
    case NumberFormat::kMillimetres1: return FormatW(u"%0.1f %s", value, u.c_str());
    case NumberFormat::kPlain2: return FormatW(u"%0.2f", value);
    case NumberFormat::kInteger: {
      if (value > 2147483647.0) value = 2147483647.0;
      if (value < -2147483648.0) value = -2147483648.0;
      return FormatW(u"%d", static_cast<int>(value));
    }
  }
  return u"";
}

}  // namespace lx
