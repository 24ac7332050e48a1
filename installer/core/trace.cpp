#include "installer/core/trace.h"

#include <cstdarg>

#include "common/format.h"
#include "common/text.h"
#include "platform/debug_output.h"

namespace lx {

int debugEnabled = 0;

namespace {

void SendA(const Os& os, const char* format, va_list args) {
  if (!os.debug) return;
  os.debug->OutputA(CutToBuffer(FormatAV(format, args), kTraceBufferBytes));
}

void SendW(const Os& os, const char16_t* format, va_list args) {
  if (!os.debug) return;
  os.debug->OutputW(CutToBuffer(FormatWV(format, args), kTraceBufferChars));
}

}  // namespace

void DebugTrace(const Os& os, const char* format, ...) {
  if (!debugEnabled) return;
  va_list args;
  va_start(args, format);
  SendA(os, format, args);
  va_end(args);
}

void DebugTraceAlways(const Os& os, const char* format, ...) {
  va_list args;
  va_start(args, format);
  SendA(os, format, args);
  va_end(args);
}

void DebugTraceW(const Os& os, const char16_t* format, ...) {
  if (!debugEnabled) return;
  va_list args;
  va_start(args, format);
  SendW(os, format, args);
  va_end(args);
}

void DebugTraceWAlways(const Os& os, const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  SendW(os, format, args);
  va_end(args);
}

}  // namespace lx
