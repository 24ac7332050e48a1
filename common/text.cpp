#include "common/text.h"

#include <algorithm>

namespace lx {

namespace {

// The 0x80..0x9F block of Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view in) {
  std::u16string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    char32_t cp = 0xFFFD;
    size_t need = 0;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
      cp = c & 0x1F;
      need = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      need = 2;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
      cp = c & 0x07;
      need = 3;
    }
    size_t j = 1;
    bool ok = (c < 0x80) || need > 0;
    for (; ok && j <= need; ++j) {
      if (i + j >= in.size() || (static_cast<unsigned char>(in[i + j]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(in[i + j]) & 0x3F);
    }
    if (ok && need > 0) {
      // Overlong forms and surrogates are invalid, as MultiByteToWideChar says.
      static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
      if (cp < kMin[need] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) ok = false;
    }
    if (!ok) {
      out += u'\xFFFD';
      ++i;  // resynchronise on the next byte
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += need + 1;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // lone surrogate
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string AnsiToUtf16(std::string_view in) {
  std::u16string out;
  out.reserve(in.size());
  for (char ch : in) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 0x80 && c < 0xA0) {
      // Unassigned bytes map to the same code point, as Windows does.
      char16_t m = kCp1252High[c - 0x80];
      out += m ? m : static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view in) {
  std::string out;
  out.reserve(in.size());
  for (char16_t c : in) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kCp1252High[k] == c || (kCp1252High[k] == 0 && c == 0x80 + k)) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out += mapped;
  }
  return out;
}

size_t StrLen16(const char16_t* s, size_t max) {
  size_t n = 0;
  if (!s) return 0;
  while (n < max && s[n]) ++n;
  return n;
}

std::u16string CutToBuffer(std::u16string_view text, size_t capacity) {
  if (capacity == 0) return {};
  return std::u16string(text.substr(0, std::min(text.size(), capacity - 1)));
}

std::string CutToBuffer(std::string_view text, size_t capacity) {
  if (capacity == 0) return {};
  return std::string(text.substr(0, std::min(text.size(), capacity - 1)));
}

void CopyToBuffer(char16_t* dst, size_t capacity, std::u16string_view src) {
  if (!dst || capacity == 0) return;
  size_t n = std::min(src.size(), capacity - 1);
  std::copy_n(src.data(), n, dst);
  dst[n] = 0;
}

char16_t ToLowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

std::u16string ToLowerAscii(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = ToLowerAscii(c);
  return out;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
  return true;
}

bool Contains(std::u16string_view haystack, std::u16string_view needle) {
  return haystack.find(needle) != std::u16string_view::npos;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' ||
         c == 0x1A;
}

std::u16string_view Trim(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

}  // namespace lx
