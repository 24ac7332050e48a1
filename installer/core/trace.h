// The installer's diagnostic trace on the system debugger output. The plain
// forms are gated by `debugEnabled`; the ...Always forms write whatever it says.
#pragma once

#include <cstddef>

#include "platform/os.h"

namespace lx {

extern int debugEnabled;

constexpr size_t kTraceBufferBytes = 1024;
constexpr size_t kTraceBufferChars = 2048;

class TraceLog;
// Every trace line also goes to `log` from now on; null stops it.
void SetTraceLog(TraceLog* log);

void DebugTrace(const Os& os, const char* format, ...);
void DebugTraceAlways(const Os& os, const char* format, ...);
void DebugTraceW(const Os& os, const char16_t* format, ...);
void DebugTraceWAlways(const Os& os, const char16_t* format, ...);

}  // namespace lx
