#include "tools/printui/trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace printui {

void Trace(const wchar_t* fmt, ...) {
  wchar_t line[1024] = L"printui stand-in: ";
  const size_t used = 18;
  va_list args;
  va_start(args, fmt);
  _vsnwprintf(line + used, 1023 - used, fmt, args);
  va_end(args);
  line[1023] = 0;
  OutputDebugStringW(line);
}

}  // namespace printui
