// The shared INI file's text form of the record block: every byte as two
// upper-case hexadecimal digits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lx {

// The longest "PapersData" value the file form reads back (8192-character
// buffer): 4095 bytes, 33 whole records.
inline constexpr size_t kPaperHexChars = 8191;

std::u16string EncodePaperHex(const std::vector<uint8_t>& bytes);

// Pair by pair, at most `maxBytes` bytes. A pair is read as base 16 up to its
// first character that is not a hexadecimal digit (none read gives 0); a
// single trailing character is ignored.
std::vector<uint8_t> DecodePaperHex(std::u16string_view text, size_t maxBytes);

}  // namespace lx
