#include "plugin/pages/number_field.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

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

// The number's text is gathered as ASCII and converted by std::from_chars,
// which is exactly rounded and ignores the locale, as wcstod is in the "C"
// locale: "1.005" is 1.00499999999999989..., never 1.0050000000000001.
double ReadNumber(std::u16string_view text) {
  std::u16string mapped;
  mapped.reserve(text.size());
  for (char16_t c : text) mapped.push_back(HalfWidth(c));
  size_t i = 0;
  while (i < mapped.size() && IsWhite(mapped[i])) ++i;
  bool negative = false;
  if (i < mapped.size() && (mapped[i] == u'-' || mapped[i] == u'+')) negative = mapped[i++] == u'-';
  std::string number;
  bool digits = false;
  for (; i < mapped.size() && IsDigit(mapped[i]); ++i) {
    digits = true;
    number.push_back(static_cast<char>(mapped[i]));
  }
  if (i < mapped.size() && mapped[i] == u'.') {
    number.push_back('.');
    for (++i; i < mapped.size() && IsDigit(mapped[i]); ++i) {
      digits = true;
      number.push_back(static_cast<char>(mapped[i]));
    }
  }
  if (!digits) return 0.0;
  // Where the first significant digit stands, as a power of ten, to tell an
  // overflow from an underflow when the conversion finds the text out of range.
  long long magnitude = 0;
  {
    const size_t point = number.find('.');
    const size_t whole = point == std::string::npos ? number.size() : point;
    const size_t first = number.find_first_not_of("0.");
    if (first != std::string::npos)
      magnitude = first < whole ? static_cast<long long>(whole - first) : -static_cast<long long>(first - whole - 1);
  }
  if (i + 1 < mapped.size() && (mapped[i] == u'e' || mapped[i] == u'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (mapped[j] == u'-' || mapped[j] == u'+') exponent.push_back(static_cast<char>(mapped[j++]));
    if (j < mapped.size() && IsDigit(mapped[j])) {
      long long e = 0;
      for (; j < mapped.size() && IsDigit(mapped[j]); ++j) {
        exponent.push_back(static_cast<char>(mapped[j]));
        if (e < 1000000) e = e * 10 + (mapped[j] - u'0');
      }
      magnitude += exponent[1] == '-' ? -e : e;
      number += exponent;
    }
  }
  double value = 0.0;
  auto r = std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
  // Out of range: too small reads as 0, too large is held at the ceiling.
  if (r.ec == std::errc::result_out_of_range) value = magnitude > 0 ? 1e300 : 0.0;
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
