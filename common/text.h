// UTF-16 text helpers shared by every subsystem. Wide text is char16_t on every
// host so that lengths, cuts and sort order match Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lx {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Windows-1252, the ANSI code page of the western Windows installs we mirror.
// Unmappable characters become '?', as WideCharToMultiByte's default does.
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view text);

// Length of a NUL-terminated UTF-16 string, at most `max` code units.
size_t StrLen16(const char16_t* s, size_t max = static_cast<size_t>(-1));

// What a fixed buffer of `capacity` characters (terminator included) keeps:
// the first capacity-1 characters, as lstrcpynW does.
std::u16string CutToBuffer(std::u16string_view text, size_t capacity);
std::string CutToBuffer(std::string_view text, size_t capacity);

// Copies into a fixed buffer, cutting and always terminating (capacity > 0).
void CopyToBuffer(char16_t* dst, size_t capacity, std::u16string_view src);

// ASCII-only case folding: the product compares identifiers, not prose.
char16_t ToLowerAscii(char16_t c);
std::u16string ToLowerAscii(std::u16string_view s);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);
bool Contains(std::u16string_view haystack, std::u16string_view needle);

bool IsBlank(char16_t c);
std::u16string_view Trim(std::u16string_view s);

}  // namespace lx
