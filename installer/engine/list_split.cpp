#include "installer/engine/list_split.h"

namespace lx {

std::vector<std::u16string> SplitList(const std::u16string& text) {
  std::vector<std::u16string> pieces;
  size_t start = 0;
  while (start < text.size()) {
    size_t comma = text.find(u',', start);
    if (comma == std::u16string::npos) comma = text.size();
    pieces.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return pieces;
}

}  // namespace lx
