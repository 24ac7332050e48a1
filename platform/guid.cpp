#include "platform/guid.h"

#include <cstring>

namespace lx {

bool operator==(const Guid& a, const Guid& b) {
  return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
         std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
}

namespace {
void AppendHex(std::u16string& out, uint32_t v, int digits) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  for (int i = digits - 1; i >= 0; --i) out += kHex[(v >> (4 * i)) & 0xF];
}
}  // namespace

std::u16string GuidToString(const Guid& g) {
  std::u16string s = u"{";
  AppendHex(s, g.data1, 8);
  s += u'-';
  AppendHex(s, g.data2, 4);
  s += u'-';
  AppendHex(s, g.data3, 4);
  s += u'-';
  AppendHex(s, g.data4[0], 2);
  AppendHex(s, g.data4[1], 2);
  s += u'-';
  for (int i = 2; i < 8; ++i) AppendHex(s, g.data4[i], 2);
  s += u'}';
  return s;
}

}  // namespace lx
