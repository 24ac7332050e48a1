// The log file of a run: every trace line also goes to it, UTF-8, one line
// each with the local time in front. Lines are appended one by one, so that
// a run ended abruptly leaves what it wrote, and a second installer refused
// by the mutex adds its lines without wiping those of the first.
#pragma once

#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"

namespace lx {

class TraceLog {
 public:
  TraceLog(IFileSystem& files, IClock& clock, std::u16string path)
      : files_(files), clock_(clock), path_(std::move(path)) {}

  // Creates the file when missing; false when it cannot be written.
  bool Open();
  // Line ends inside the text become blanks: one trace line, one log line.
  void Add(const std::u16string& text);

 private:
  IFileSystem& files_;
  IClock& clock_;
  std::u16string path_;
  std::mutex lock_;
};

}  // namespace lx
