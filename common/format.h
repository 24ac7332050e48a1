// printf-style formatting that behaves like the Windows CRT for the
// conversions the product uses, on every host. In the wide form %s takes a
// wide (char16_t) string and %hs a narrow one; in the narrow form %s takes a
// narrow string and %ls/%S a wide one, as Microsoft's printf family does.
#pragma once

#include <cstdarg>
#include <string>

namespace lx {

std::string FormatA(const char* format, ...);
std::string FormatAV(const char* format, va_list args);
std::u16string FormatW(const char16_t* format, ...);
std::u16string FormatWV(const char16_t* format, va_list args);

}  // namespace lx
