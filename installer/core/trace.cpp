#include "installer/core/trace.h"

#include <atomic>
#include <cstdarg>

#include "common/format.h"
#include "common/text.h"
#include "installer/core/trace_log.h"
#include "platform/debug_output.h"

namespace lx {

int debugEnabled = 0;

namespace {

std::atomic<TraceLog*> g_log{nullptr};

void SendA(const Os& os, const char* format, va_list args) {
  std::string line = CutToBuffer(FormatAV(format, args), kTraceBufferBytes);
  if (TraceLog* log = g_log.load()) log->Add(AnsiToUtf16(line));
  if (os.debug) os.debug->OutputA(line);
}

void SendW(const Os& os, const char16_t* format, va_list args) {
  std::u16string line = CutToBuffer(FormatWV(format, args), kTraceBufferChars);
  if (TraceLog* log = g_log.load()) log->Add(line);
  if (os.debug) os.debug->OutputW(line);
}

}  // namespace

void SetTraceLog(TraceLog* log) { g_log.store(log); }

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
