#include "common/format.h"

#include <cstdio>
#include <cstring>

#include "common/text.h"

namespace lx {

namespace {

// One conversion's flags, width and precision, parsed from the format.
struct Spec {
  std::string flags;
  int width = -1;
  int precision = -1;
  enum Size { kDefault, kShort, kLong, kLongLong } size = kDefault;
  char conv = 0;
};

template <typename Ch>
const Ch* ParseSpec(const Ch* p, Spec& spec, va_list& args) {
  while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0') {
    spec.flags += static_cast<char>(*p++);
  }
  if (*p == '*') {
    spec.width = va_arg(args, int);
    if (spec.width < 0) {
      spec.flags += '-';
      spec.width = -spec.width;
    }
    ++p;
  } else {
    while (*p >= '0' && *p <= '9') spec.width = (spec.width < 0 ? 0 : spec.width * 10) + (*p++ - '0');
  }
  if (*p == '.') {
    ++p;
    spec.precision = 0;
    if (*p == '*') {
      spec.precision = va_arg(args, int);
      ++p;
    } else {
      while (*p >= '0' && *p <= '9') spec.precision = spec.precision * 10 + (*p++ - '0');
    }
  }
  if (*p == 'h') {
    spec.size = Spec::kShort;
    ++p;
  } else if (*p == 'l') {
    ++p;
    spec.size = Spec::kLong;
    if (*p == 'l') {
      spec.size = Spec::kLongLong;
      ++p;
    }
  } else if (*p == 'I' && p[1] == '6' && p[2] == '4') {
    spec.size = Spec::kLongLong;
    p += 3;
  } else if (*p == 'z' || *p == 'I') {
    spec.size = sizeof(size_t) == 8 ? Spec::kLongLong : Spec::kDefault;
    ++p;
  }
  spec.conv = static_cast<char>(*p);
  return *p ? p + 1 : p;
}

// Formats one numeric conversion through the C library with the same spec;
// on Windows builds MinGW's own printf follows C99 as glibc does, and so does
// Microsoft's CRT since 2015 for these conversions.
std::string FormatNumber(const Spec& spec, va_list& args) {
  std::string fmt = "%" + spec.flags;
  if (spec.width >= 0) fmt += std::to_string(spec.width);
  if (spec.precision >= 0) fmt += "." + std::to_string(spec.precision);
  char buf[512];
  switch (spec.conv) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o': {
      bool isSigned = spec.conv == 'd' || spec.conv == 'i';
      if (spec.size == Spec::kLongLong) {
        fmt += std::string("ll") + spec.conv;
        if (isSigned)
          std::snprintf(buf, sizeof buf, fmt.c_str(), va_arg(args, long long));
        else
          std::snprintf(buf, sizeof buf, fmt.c_str(), va_arg(args, unsigned long long));
      } else {
        // Windows' long is 32 bits: %ld and %lu take the same as %d and %u.
        fmt += spec.conv;
        if (isSigned) {
          int v = va_arg(args, int);
          if (spec.size == Spec::kShort) v = static_cast<short>(v);
          std::snprintf(buf, sizeof buf, fmt.c_str(), v);
        } else {
          unsigned v = va_arg(args, unsigned);
          if (spec.size == Spec::kShort) v = static_cast<unsigned short>(v);
          std::snprintf(buf, sizeof buf, fmt.c_str(), v);
        }
      }
      break;
    }
    case 'p':
      std::snprintf(buf, sizeof buf, sizeof(void*) == 8 ? "%016llX" : "%08llX",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
      break;
    default:  // f F e E g G a A
      fmt += spec.conv;
      std::snprintf(buf, sizeof buf, fmt.c_str(), va_arg(args, double));
      break;
  }
  return buf;
}

template <typename Out>
void Pad(Out& out, const Spec& spec, size_t len) {
  if (spec.width > 0 && static_cast<size_t>(spec.width) > len)
    out.append(spec.width - len, ' ');
}

template <typename Str>
void AppendPadded(Str& out, const Spec& spec, const Str& text) {
  bool left = spec.flags.find('-') != std::string::npos;
  if (!left) Pad(out, spec, text.size());
  out += text;
  if (left) Pad(out, spec, text.size());
}

// Narrow and wide texts as the target string type.
std::string Convert(std::string*, std::u16string_view s) { return Utf16ToAnsi(s); }
std::string Convert(std::string*, std::string_view s) { return std::string(s); }
std::u16string Convert(std::u16string*, std::string_view s) { return AnsiToUtf16(s); }
std::u16string Convert(std::u16string*, std::u16string_view s) { return std::u16string(s); }

template <typename Ch>
std::basic_string<Ch> FormatImpl(const Ch* format, va_list args) {
  using Str = std::basic_string<Ch>;
  constexpr bool kWide = sizeof(Ch) == 2;
  Str out;
  if (!format) return out;
  va_list ap;
  va_copy(ap, args);
  for (const Ch* p = format; *p;) {
    if (*p != '%') {
      out += *p++;
      continue;
    }
    ++p;
    if (*p == '%') {
      out += *p++;
      continue;
    }
    Spec spec;
    p = ParseSpec(p, spec, ap);
    switch (spec.conv) {
      case 's':
      case 'S': {
        // The CRT's own rule: which string width %s means depends on the function.
        bool wideArg = kWide;
        if (spec.conv == 'S') wideArg = !wideArg;
        if (spec.size == Spec::kShort) wideArg = false;
        if (spec.size == Spec::kLong) wideArg = true;
        Str text;
        if (wideArg) {
          const char16_t* s = va_arg(ap, const char16_t*);
          if (!s) s = u"(null)";
          size_t n = StrLen16(s, spec.precision >= 0 ? spec.precision : static_cast<size_t>(-1));
          text = Convert(static_cast<Str*>(nullptr), std::u16string_view(s, n));
        } else {
          const char* s = va_arg(ap, const char*);
          if (!s) s = "(null)";
          size_t n = spec.precision >= 0 ? strnlen(s, spec.precision) : std::strlen(s);
          text = Convert(static_cast<Str*>(nullptr), std::string_view(s, n));
        }
        AppendPadded(out, spec, text);
        break;
      }
      case 'c':
      case 'C': {
        int v = va_arg(ap, int);
        Str text(1, static_cast<Ch>(kWide ? static_cast<char16_t>(v)
                                          : static_cast<char>(static_cast<unsigned char>(v))));
        AppendPadded(out, spec, text);
        break;
      }
      case 0:
        break;  // a lone '%' at the end prints nothing
      case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': case 'p':
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': {
        std::string num = FormatNumber(spec, ap);
        out.append(num.begin(), num.end());
        break;
      }
      default:
        out += static_cast<Ch>(spec.conv);  // unknown conversion: the character itself
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
