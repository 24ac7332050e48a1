#include "installer/core/trace_log.h"

#include <cstdio>

#include "common/text.h"

namespace lx {

bool TraceLog::Open() {
  std::lock_guard<std::mutex> hold(lock_);
  return files_.AppendFile(path_, "");
}

void TraceLog::Add(const std::u16string& text) {
  LocalTime t = clock_.Now();
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.milliseconds);
  std::u16string line = text;
  for (char16_t& c : line)
    if (c == u'\r' || c == u'\n') c = u' ';
  std::string bytes = stamp + Utf16ToUtf8(line) + "\r\n";
  // Workers trace too: one line at a time. A failure here changes nothing
  // of the run; the outcome stands.
  std::lock_guard<std::mutex> hold(lock_);
  files_.AppendFile(path_, bytes);
}

}  // namespace lx
