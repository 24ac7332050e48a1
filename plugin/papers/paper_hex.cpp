#include "plugin/papers/paper_hex.h"

#include <algorithm>

namespace lx {

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

std::u16string EncodePaperHex(const std::vector<uint8_t>& bytes) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text(bytes.size() * 2, u'0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    text[2 * i] = kDigits[bytes[i] >> 4];
    text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
  }
  return text;
}

std::vector<uint8_t> DecodePaperHex(std::u16string_view text, size_t maxBytes) {
  std::vector<uint8_t> bytes(std::min(text.size() / 2, maxBytes));
  const char16_t* digits = text.data();
  for (size_t n = 0; n < bytes.size(); ++n) {
    int value = 0;
    for (size_t k = 2 * n; k < 2 * n + 2; ++k) {
      int d = HexDigit(digits[k]);
      if (d < 0) break;
      value = value * 16 + d;
    }
    bytes[n] = static_cast<uint8_t>(value);
  }
  return bytes;
}

}  // namespace lx
