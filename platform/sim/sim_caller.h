// The program whose calls the simulated machine's services are answering:
// they leave a failed call's Windows error as its last error, and answer by
// its word size where Windows does (registry views, Program Files). The
// simulation runs one program's calls at a time; the most recently started
// live program is the caller.
#pragma once

#include <cstdint>

#include "platform/system.h"

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

 private:
  ISystem* system_ = nullptr;
  int bits_ = 64;
};

// Windows error codes the simulation answers.
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorNoMoreFiles = 18;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorMoreData = 234;
constexpr uint32_t kErrorNoMoreItems = 259;
constexpr uint32_t kErrorUnknownPrinterDriver = 1797;
constexpr uint32_t kErrorInvalidPrinterName = 1801;
constexpr uint32_t kErrorPrinterAlreadyExists = 1802;
constexpr uint32_t kErrorInvalidPrinterCommand = 1803;

}  // namespace lx
