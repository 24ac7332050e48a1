#include "platform/port_data.h"

namespace lx {

std::u16string ReadWideSlot(const std::vector<uint8_t>& b, size_t offset, size_t chars) {
  std::u16string out;
  for (size_t i = 0; i < chars; ++i) {
    size_t at = offset + 2 * i;
    if (at + 2 > b.size()) break;
    char16_t c = static_cast<char16_t>(b[at] | (b[at + 1] << 8));
    if (c == 0) break;
    out += c;
  }
  return out;
}

void WriteWideSlot(std::vector<uint8_t>& b, size_t offset, size_t chars, const std::u16string& text) {
  if (chars == 0) return;
  if (b.size() < offset + 2 * chars) b.resize(offset + 2 * chars, 0);
  size_t n = text.size() < chars - 1 ? text.size() : chars - 1;
  for (size_t i = 0; i < chars; ++i) {
    char16_t c = i < n ? text[i] : 0;
    b[offset + 2 * i] = static_cast<uint8_t>(c);
    b[offset + 2 * i + 1] = static_cast<uint8_t>(c >> 8);
  }
}

}  // namespace lx
