// The comma-separated lists of the Uninstall section (INF sections, model
// keys, file prefixes).
#pragma once

#include <string>
#include <vector>

namespace lx {

// Pieces between commas, in order and untrimmed: an empty text gives none, a
// trailing comma no empty last piece, two commas in a row an empty piece.
// Quotes are ordinary characters, so the quoted model-key list "A","B" gives
// the keys "A" and "B" with their quotes.
std::vector<std::u16string> SplitList(const std::u16string& text);

}  // namespace lx
