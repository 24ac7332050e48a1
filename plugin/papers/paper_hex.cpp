#include "plugin/papers/paper_hex.h"

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
  std::u16string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
  return text;
}

std::vector<uint8_t> DecodePaperHex(std::u16string_view text, size_t maxBytes) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < text.size() && bytes.size() < maxBytes; i += 2) {
    int value = 0;
    for (size_t k = i; k < i + 2; ++k) {
      int d = HexDigit(text[k]);
      if (d < 0) break;
      value = value * 16 + d;
    }
    bytes.push_back(static_cast<uint8_t>(value));
  }
  return bytes;
}

}  // namespace lx
