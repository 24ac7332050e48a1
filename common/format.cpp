#include "common/format.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

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

// %f, %e and %g with a "." whatever the process locale: an application that
// set a comma locale must not change what a field shows or a trace says.
// The digits are printf's (exactly rounded, half to even), worked out from
// the double's exact value; signs, width and zero padding are applied here.
// Nothing for '#' and %a, which the product does not use: those go to the
// C library.
std::optional<std::string> FormatFloatWithoutLocale(const Conversion& conv, double v) {
  const char c = conv.conv;
  const bool upper = c == 'F' || c == 'E' || c == 'G';
  const char style = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (style != 'f' && style != 'e' && style != 'g') return std::nullopt;
  if (conv.flags.find('#') != std::string::npos) return std::nullopt;
  const int precision = conv.precision >= 0 ? conv.precision : 6;
  if (precision > 60) return std::nullopt;
  std::string body;
  if (std::isnan(v)) {
    body = "nan";
  } else if (std::isinf(v)) {
    body = "inf";
  } else {
    const DecimalDigits digits = ExactDecimal(v);
    body = style == 'f' ? FormatFixed(digits, precision)
         : style == 'e' ? FormatScientific(digits, precision)
                        : FormatGeneral(digits, precision);
  }
  if (upper)
    for (char& ch : body) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  std::string sign;
  if (std::signbit(v) && !std::isnan(v)) sign = "-";
  else if (conv.flags.find('+') != std::string::npos) sign = "+";
  else if (conv.flags.find(' ') != std::string::npos) sign = " ";
  const size_t len = sign.size() + body.size();
  const size_t width = conv.width > 0 ? static_cast<size_t>(conv.width) : 0;
  if (width <= len) return sign + body;
  if (conv.flags.find('-') != std::string::npos) return sign + body + std::string(width - len, ' ');
  if (conv.flags.find('0') != std::string::npos && std::isfinite(v)) return sign + std::string(width - len, '0') + body;
  return std::string(width - len, ' ') + sign + body;
}

// Formats one numeric conversion through the C library with the same conv;
// on Windows builds MinGW's own printf follows C99 as glibc does, and so does
// Microsoft's CRT since 2015 for these conversions.
std::string FormatNumber(const Conversion& conv, va_list& args) {
  std::string fmt = "%" + conv.flags;
  if (conv.width >= 0) fmt += std::to_string(conv.width);
  if (conv.precision >= 0) fmt += "." + std::to_string(conv.precision);
  char buf[512];
  switch (conv.conv) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o': {
      bool isSigned = conv.conv == 'd' || conv.conv == 'i';
      if (conv.size == Conversion::kLongLong) {
        fmt += std::string("ll") + conv.conv;
        if (isSigned)
          std::snprintf(buf, sizeof buf, fmt.c_str(), va_arg(args, long long));
        else
          std::snprintf(buf, sizeof buf, fmt.c_str(), va_arg(args, unsigned long long));
      } else {
        // Windows' long is 32 bits: %ld and %lu take the same as %d and %u.
        fmt += conv.conv;
        if (isSigned) {
          int v = va_arg(args, int);
          if (conv.size == Conversion::kShort) v = static_cast<short>(v);
          std::snprintf(buf, sizeof buf, fmt.c_str(), v);
        } else {
          unsigned v = va_arg(args, unsigned);
          if (conv.size == Conversion::kShort) v = static_cast<unsigned short>(v);
          std::snprintf(buf, sizeof buf, fmt.c_str(), v);
        }
      }
      break;
    }
    case 'p':
      std::snprintf(buf, sizeof buf, sizeof(void*) == 8 ? "%016llX" : "%08llX",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
      break;
    default: {  // f F e E g G a A
      const double v = va_arg(args, double);
      if (std::optional<std::string> text = FormatFloatWithoutLocale(conv, v)) return *text;
      fmt += conv.conv;
      std::snprintf(buf, sizeof buf, fmt.c_str(), v);
      break;
    }
  }
  return buf;
}

template <typename Out>
void Pad(Out& out, const Conversion& conv, size_t len) {
  if (conv.width > 0 && static_cast<size_t>(conv.width) > len)
    out.append(conv.width - len, ' ');
}

template <typename Str>
void AppendPadded(Str& out, const Conversion& conv, const Str& text) {
  bool left = conv.flags.find('-') != std::string::npos;
  if (!left) Pad(out, conv, text.size());
  out += text;
  if (left) Pad(out, conv, text.size());
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
        AppendPadded(out, conv, text);
        break;
      }
      case 'c':
      case 'C': {
        int v = va_arg(ap, int);
        Str text(1, static_cast<Ch>(kWide ? static_cast<char16_t>(v)
                                          : static_cast<char>(static_cast<unsigned char>(v))));
        AppendPadded(out, conv, text);
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
