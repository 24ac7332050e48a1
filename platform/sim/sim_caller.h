// The program whose calls the simulated machine's services are answering:
// they leave a failed call's Windows error as its last error, and answer by
// its word size where Windows does (registry views, Program Files). The
// simulation runs one program's calls at a time; the most recently started
// live program is the caller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

class SimCaller {
 public:
  void SetError(uint32_t error) {
    lastError = error;
    if (system_) system_->SetLastError(error);
  }
  void Attach(ISystem* program, int bits) {
    system_ = program;
    bits_ = bits;
  }
  void Detach(ISystem* program) {
    if (system_ == program) system_ = nullptr;
  }
  // 32 or 64; tools the machine runs itself are 64-bit.
  int Bits() const { return system_ ? bits_ : 64; }
  uint32_t lastError = 0;  // the most recent error set, for tests

  // Fault sweeps: every call a program makes through its views is counted,
  // and the one numbered `failCall` (from 1; 0 for none) fails with the
  // error the view gives, before it reaches the machine. With `recordCalls`
  // the calls' names ("registry.CreateKey", "spooler.ListPrinters:read")
  // are kept in order, so a sweep can tell which call it failed.
  uint64_t callCount = 0;
  uint64_t failCall = 0;
  bool recordCalls = false;
  std::vector<std::string> calls;
  bool InjectFault(uint32_t error, const std::string& call = "") {
    if (recordCalls) calls.push_back(call);
    if (++callCount != failCall) return false;
    SetError(error);
    return true;
  }

 private:
  ISystem* system_ = nullptr;
  int bits_ = 64;
};

}  // namespace lx
