// The system debugger output (OutputDebugStringA/W).
#pragma once

#include <string>

namespace lx {

class IDebugOutput {
 public:
  virtual ~IDebugOutput() = default;
  virtual void OutputA(const std::string& text) = 0;
  virtual void OutputW(const std::u16string& text) = 0;
};

}  // namespace lx
