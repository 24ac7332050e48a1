// char16_t text to and from the Windows API's wchar_t (both 16 bits there).
#pragma once

#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows builds only");

namespace lx {

inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
// Null for empty text, where the API takes a null pointer for "none".
inline const wchar_t* WOrNull(const std::u16string& s) { return s.empty() ? nullptr : W(s); }
inline std::u16string U(const wchar_t* s) {
  return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline std::u16string U(const wchar_t* s, size_t n) {
  return std::u16string(reinterpret_cast<const char16_t*>(s), n);
}

}  // namespace lx
