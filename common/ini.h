// An INI reader with the semantics of the Windows profile functions
// (GetPrivateProfileStringW, GetPrivateProfileSectionW, GetPrivateProfileIntW)
// for what the product relies on: names match without regard to case, blanks
// around names and values are dropped, an outer pair of quotes is stripped
// from a value, the first of duplicate keys wins, sections come back as
// NUL-separated lines cut at the caller's buffer size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lx {

// What a profile call leaves in the caller's buffer: `text` holds exactly the
// characters the function returns the count of (NULs inside for sections).
struct ProfileResult {
  std::u16string text;
  uint32_t count = 0;
};

class IniDocument {
 public:
  // Decodes a file's bytes as Windows does: UTF-16 (LE or BE) or UTF-8 by
  // their byte-order marks, otherwise the ANSI code page.
  static IniDocument FromBytes(std::string_view bytes);
  static IniDocument FromText(std::u16string_view text);
  static std::u16string DecodeBytes(std::string_view bytes);
  // UTF-16 LE with its byte-order mark, the form Windows writes Unicode INI files in.
  static std::string EncodeUtf16Le(std::u16string_view text);

  ProfileResult GetString(std::u16string_view section, std::u16string_view key,
                          std::u16string_view defaultValue, size_t bufferChars) const;
  ProfileResult GetSection(std::u16string_view section, size_t bufferChars) const;
  uint32_t GetInt(std::u16string_view section, std::u16string_view key, int defaultValue) const;

 private:
  struct Entry {
    std::u16string name;
    std::u16string value;
    bool hasValue = false;
  };
  struct Section {
    std::u16string name;
    std::vector<Entry> entries;
  };
  const Section* FindSection(std::u16string_view name) const;

  std::vector<Section> sections_;
};

// The text with the key's value as WritePrivateProfileStringW leaves it:
// rewritten in place, or appended to its section, or the section appended;
// the other lines kept as they were, every line ended by CR LF.
std::u16string IniWithValue(std::u16string_view text, std::u16string_view section, std::u16string_view key,
                            std::u16string_view value);

// Reads a decimal integer as RtlUnicodeStringToInteger does with base 10:
// leading blanks and one sign, digits up to the first other character,
// wrapping on overflow; no digits give 0.
uint32_t ParseProfileInt(std::u16string_view text);

}  // namespace lx
