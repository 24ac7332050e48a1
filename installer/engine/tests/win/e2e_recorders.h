// Recorders of what the engine hands out: the wizard's side of the sink and
// the debugger output.
#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "installer/engine/engine_sink.h"
#include "installer/engine/tests/win/e2e_machine.h"
#include "platform/debug_output.h"
#include "platform/win32/win32_os.h"

namespace e2e {

// What the engine tells the wizard, as the installing page and the sheet would see it.
class RecordingSink : public lx::IEngineSink {
 public:
  void SetProgress(int position) override {
    std::lock_guard<std::mutex> hold(lock_);
    progress_.push_back(position);
  }
  void PostCompletion(unsigned message) override {
    std::lock_guard<std::mutex> hold(lock_);
    messages_.push_back(message);
  }
  std::vector<int> progress() {
    std::lock_guard<std::mutex> hold(lock_);
    return progress_;
  }
  std::vector<unsigned> messages() {
    std::lock_guard<std::mutex> hold(lock_);
    return messages_;
  }

 private:
  std::mutex lock_;
  std::vector<int> progress_;
  std::vector<unsigned> messages_;
};

// The engine's trace lines, kept for the test and passed on to the debugger output.
class RecordingDebug : public lx::IDebugOutput {
 public:
  void OutputA(const std::string& text) override {
    Keep(std::wstring(text.begin(), text.end()));
    real_.OutputA(text);
  }
  void OutputW(const std::u16string& text) override {
    Keep(W(text));
    real_.OutputW(text);
  }
  bool Saw(const std::wstring& part) {
    std::lock_guard<std::mutex> hold(lock_);
    return std::any_of(lines_.begin(), lines_.end(),
                       [&](const std::wstring& l) { return l.find(part) != std::wstring::npos; });
  }
  std::string Dump() {
    std::lock_guard<std::mutex> hold(lock_);
    std::string out;
    for (const auto& l : lines_) out += Ascii(l) + "\n";
    return out;
  }

 private:
  void Keep(const std::wstring& line) {
    std::lock_guard<std::mutex> hold(lock_);
    lines_.push_back(line);
  }
  std::mutex lock_;
  std::vector<std::wstring> lines_;
  lx::Win32DebugOutput real_;
};

}  // namespace e2e
