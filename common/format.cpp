#include "common/format.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/exact_decimal.h"
#include "common/text.h"

namespace lx {

namespace {

// One conversion's flags, width and precision, parsed from the format.
struct Conversion {
  std::string flags;
  int width = -1;
  int precision = -1;
  enum Size { kDefault, kShort, kLong, kLongLong } size = kDefault;
  char conv = 0;
};

template <typename Ch>
const Ch* ParseConversion(const Ch* p, Conversion& conv, va_list& args) {
  while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0') {
    conv.flags += static_cast<char>(*p++);
  }
  if (*p == '*') {
    conv.width = va_arg(args, int);
    if (conv.width < 0) {
      conv.flags += '-';
      conv.width = -conv.width;
    }
    ++p;
  } else {
    while (*p >= '0' && *p <= '9') conv.width = (conv.width < 0 ? 0 : conv.width * 10) + (*p++ - '0');
  }
  if (*p == '.') {
    ++p;
    conv.precision = 0;
    if (*p == '*') {
      conv.precision = va_arg(args, int);
      ++p;
    } else {
      while (*p >= '0' && *p <= '9') conv.precision = conv.precision * 10 + (*p++ - '0');
    }
  }
  if (*p == 'h') {
    conv.size = Conversion::kShort;
    ++p;
  } else if (*p == 'l') {
    ++p;
    conv.size = Conversion::kLong;
    if (*p == 'l') {
      conv.size = Conversion::kLongLong;
      ++p;
    }
  } else if (*p == 'I' && p[1] == '6' && p[2] == '4') {
    conv.size = Conversion::kLongLong;
    p += 3;
  } else if (*p == 'z' || *p == 'I') {
    conv.size = sizeof(size_t) == 8 ? Conversion::kLongLong : Conversion::kDefault;
    ++p;
  }
  conv.conv = static_cast<char>(*p);
  return *p ? p + 1 : p;
}

bool Has(const Conversion& conv, char flag) { return conv.flags.find(flag) != std::string::npos; }

// The sign or prefix, zero padding and width around a conversion's body, as
// printf lays them out: zeros go between the two.
template <typename Str>
Str Lay(const Conversion& conv, const Str& lead, const Str& body, bool zeros) {
  const size_t len = lead.size() + body.size();
  const size_t width = conv.width > 0 ? static_cast<size_t>(conv.width) : 0;
  if (width <= len) return lead + body;
  if (Has(conv, '-')) return lead + body + Str(width - len, ' ');
  if (zeros) return lead + Str(width - len, '0') + body;
  return Str(width - len, ' ') + lead + body;
}

std::string Digits(unsigned long long v, unsigned base, bool upper) {
  const char* symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string reversed;
  do {
    reversed.push_back(symbols[v % base]);
    v /= base;
  } while (v != 0);
  return std::string(reversed.rbegin(), reversed.rend());
}

// %d %i %u %x %X %o with C's flags and precision (the least number of
// digits; none for 0 at precision 0, and then no zero padding either).
std::string FormatInteger(const Conversion& conv, va_list& args) {
  const bool isSigned = conv.conv == 'd' || conv.conv == 'i';
  unsigned long long magnitude = 0;
  bool negative = false;
  if (conv.size == Conversion::kLongLong) {
    if (isSigned) {
      const long long v = va_arg(args, long long);
      negative = v < 0;
      magnitude = negative ? 0 - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    } else {
      magnitude = va_arg(args, unsigned long long);
    }
  } else if (isSigned) {
    // Windows' long is 32 bits: %ld and %lu take the same as %d and %u.
    int v = va_arg(args, int);
    if (conv.size == Conversion::kShort) v = static_cast<short>(v);
    negative = v < 0;
    magnitude = negative ? 0 - static_cast<unsigned long long>(static_cast<long long>(v)) : static_cast<unsigned>(v);
  } else {
    unsigned v = va_arg(args, unsigned);
    if (conv.size == Conversion::kShort) v = static_cast<unsigned short>(v);
    magnitude = v;
  }
  const unsigned base = conv.conv == 'o' ? 8 : (conv.conv == 'x' || conv.conv == 'X') ? 16 : 10;
  std::string body = magnitude == 0 && conv.precision == 0 ? std::string() : Digits(magnitude, base, conv.conv == 'X');
  if (conv.precision > 0 && body.size() < static_cast<size_t>(conv.precision))
    body.insert(0, static_cast<size_t>(conv.precision) - body.size(), '0');
  std::string lead;
  if (isSigned) lead = negative ? "-" : Has(conv, '+') ? "+" : Has(conv, ' ') ? " " : "";
  if (Has(conv, '#')) {
    if (base == 8 && (body.empty() || body[0] != '0')) body.insert(0, "0");
    if (base == 16 && magnitude != 0) lead = conv.conv == 'X' ? "0X" : "0x";
  }
  return Lay(conv, lead, body, Has(conv, '0') && conv.precision < 0);
}

// %a: "0x1.8p+1" for 3, a subnormal as "0x0.<hex>p-1022"; without a
// precision as few hex digits as are exact, with one rounded half to even.
std::string HexFloat(double v, int precision, bool alternate) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof v);
  uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  unsigned lead = biased == 0 ? 0 : 1;
  int exponent = biased == 0 ? (fraction == 0 ? 0 : -1022) : biased - 1023;
  int count = 13;
  if (precision >= 0 && precision < 13) {
    const int dropped = (13 - precision) * 4;
    const uint64_t rest = fraction & ((uint64_t{1} << dropped) - 1);
    const uint64_t half = uint64_t{1} << (dropped - 1);
    fraction >>= dropped;
    // Even or odd by the last digit kept: the leading one when none follow.
    const bool odd = ((precision == 0 ? lead : fraction) & 1) != 0;
    if (rest > half || (rest == half && odd)) ++fraction;
    if (fraction >> (precision * 4) != 0) {  // carried into the leading digit
      fraction &= (uint64_t{1} << (precision * 4)) - 1;
      ++lead;
    }
    count = precision;
  }
  std::string hex;
  for (int i = count - 1; i >= 0; --i) hex.push_back("0123456789abcdef"[(fraction >> (i * 4)) & 0xF]);
  if (precision < 0) {
    while (!hex.empty() && hex.back() == '0') hex.pop_back();
  } else if (precision > 13) {
    hex.append(static_cast<size_t>(precision - 13), '0');
  }
  std::string text = "0x" + std::string(1, static_cast<char>('0' + lead));
  if (!hex.empty() || alternate) text += "." + hex;
  text += exponent < 0 ? "p-" : "p+";
  return text + std::to_string(exponent < 0 ? -exponent : exponent);
}

// %f %e %g %a with a "." whatever the process locale: an application that
// set a comma locale must not change what a field shows or a trace says.
// The digits are printf's (exactly rounded, half to even), worked out from
// the double's exact value; nothing here calls the C library's printf.
std::string FormatFloat(const Conversion& conv, double v) {
  const char c = conv.conv;
  const bool upper = c == 'F' || c == 'E' || c == 'G' || c == 'A';
  const char style = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool alternate = Has(conv, '#');
  const int precision = conv.precision >= 0 ? conv.precision : (style == 'a' ? -1 : 6);
  std::string body;
  if (std::isnan(v)) {
    body = "nan";
  } else if (std::isinf(v)) {
    body = "inf";
  } else if (style == 'a') {
    body = HexFloat(std::fabs(v), precision, alternate);
  } else {
    const DecimalDigits digits = ExactDecimal(v);
    if (style == 'f') {
      body = FormatFixed(digits, precision);
      if (alternate && precision == 0) body += '.';
    } else if (style == 'e') {
      body = FormatScientific(digits, precision);
      if (alternate && precision == 0) body.insert(1, ".");
    } else {
      body = FormatGeneral(digits, precision, alternate);
    }
  }
  if (upper)
    for (char& ch : body) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  std::string sign;
  if (std::signbit(v) && !std::isnan(v)) sign = "-";
  else if (Has(conv, '+')) sign = "+";
  else if (Has(conv, ' ')) sign = " ";
  const bool zeros = Has(conv, '0') && std::isfinite(v);
  if (style == 'a' && zeros) return Lay(conv, sign + body.substr(0, 2), body.substr(2), true);  // after "0x"
  return Lay(conv, sign, body, zeros);
}

std::string FormatNumber(const Conversion& conv, va_list& args) {
  switch (conv.conv) {
    case 'd': case 'i': case 'u': case 'x': case 'X': case 'o':
      return FormatInteger(conv, args);
    case 'p': {
      const auto address = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(args, void*)));
      std::string hex = Digits(address, 16, true);
      return std::string(sizeof(void*) * 2 - hex.size(), '0') + hex;
    }
    default:  // f F e E g G a A
      return FormatFloat(conv, va_arg(args, double));
  }
}

// Narrow and wide texts as the target string type.
std::string Convert(std::string*, std::u16string_view s) { return Utf16ToAnsi(s); }
std::string Convert(std::string*, std::string_view s) { return std::string(s); }
std::u16string Convert(std::u16string*, std::string_view s) { return AnsiToUtf16(s); }
std::u16string Convert(std::u16string*, std::u16string_view s) { return std::u16string(s); }

// Plain %d, %i and %u (no flags, width or precision), the bulk of the
// trace lines, written directly: the same digits snprintf gives.
template <typename Str>
bool AppendPlainInteger(Str& out, const Conversion& conv, va_list& args) {
  if (!conv.flags.empty() || conv.width >= 0 || conv.precision >= 0) return false;
  if (conv.size != Conversion::kDefault && conv.size != Conversion::kLong) return false;
  unsigned long long magnitude;
  bool negative = false;
  if (conv.conv == 'u') {
    magnitude = va_arg(args, unsigned);
  } else if (conv.conv == 'd' || conv.conv == 'i') {
    long long v = va_arg(args, int);
    negative = v < 0;
    magnitude = static_cast<unsigned long long>(negative ? -v : v);
  } else {
    return false;
  }
  typename Str::value_type digits[24];
  size_t n = 0;
  do {
    digits[sizeof digits / sizeof digits[0] - 1 - n++] = static_cast<typename Str::value_type>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) out += static_cast<typename Str::value_type>('-');
  out.append(digits + sizeof digits / sizeof digits[0] - n, n);
  return true;
}

template <typename Ch>
std::basic_string<Ch> FormatImpl(const Ch* format, va_list args) {
  using Str = std::basic_string<Ch>;
  constexpr bool kWide = sizeof(Ch) == 2;
  Str out;
  if (!format) return out;
  out.reserve(64);
  va_list ap;
  va_copy(ap, args);
  for (const Ch* p = format; *p;) {
    if (*p != '%') {
      const Ch* run = p;
      while (*p && *p != '%') ++p;
      out.append(run, p - run);
      continue;
    }
    ++p;
    if (*p == '%') {
      out += *p++;
      continue;
    }
    Conversion conv;
    p = ParseConversion(p, conv, ap);
    switch (conv.conv) {
      case 's':
      case 'S': {
        // The CRT's own rule: which string width %s means depends on the function.
        bool wideArg = kWide;
        if (conv.conv == 'S') wideArg = !wideArg;
        if (conv.size == Conversion::kShort) wideArg = false;
        if (conv.size == Conversion::kLong) wideArg = true;
        Str text;
        if (wideArg) {
          const char16_t* s = va_arg(ap, const char16_t*);
          if (!s) s = u"(null)";
          size_t n = StrLen16(s, conv.precision >= 0 ? conv.precision : static_cast<size_t>(-1));
          if constexpr (kWide) {
            if (conv.width < 0) {
              out.append(s, n);
              break;
            }
          }
          text = Convert(static_cast<Str*>(nullptr), std::u16string_view(s, n));
        } else {
          const char* s = va_arg(ap, const char*);
          if (!s) s = "(null)";
          size_t n = conv.precision >= 0 ? strnlen(s, conv.precision) : std::strlen(s);
          text = Convert(static_cast<Str*>(nullptr), std::string_view(s, n));
        }
        out += Lay(conv, Str(), text, false);
        break;
      }
      case 'c':
      case 'C': {
        int v = va_arg(ap, int);
        Str text(1, static_cast<Ch>(kWide ? static_cast<char16_t>(v)
                                          : static_cast<char>(static_cast<unsigned char>(v))));
        out += Lay(conv, Str(), text, false);
        break;
      }
      case 0:
        break;  // a lone '%' at the end prints nothing
      case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': case 'p':
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': {
        if (AppendPlainInteger(out, conv, ap)) break;
        std::string num = FormatNumber(conv, ap);
        out.append(num.begin(), num.end());
        break;
      }
      default:
        out += static_cast<Ch>(conv.conv);  // unknown conversion: the character itself
        break;
    }
  }
  va_end(ap);
  return out;
}

}  // namespace

std::string FormatAV(const char* format, va_list args) { return FormatImpl<char>(format, args); }

std::u16string FormatWV(const char16_t* format, va_list args) {
  return FormatImpl<char16_t>(format, args);
}

std::string FormatA(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = FormatAV(format, args);
  va_end(args);
  return s;
}

std::u16string FormatW(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::u16string s = FormatWV(format, args);
  va_end(args);
  return s;
}

}  // namespace lx
