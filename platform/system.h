// Facts about the running program and the machine.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

using LangId = uint16_t;

class ISystem {
 public:
  virtual ~ISystem() = default;
  // Full path of the running program (GetModuleFileNameW, at most 260 characters).
  virtual std::u16string ModuleFileName() = 0;
  virtual LangId GetUserDefaultUILanguage() = 0;
  virtual LangId SetThreadUILanguage(LangId lang) = 0;
  // The UI language last put in force on this thread, or what the system
  // chose when none was.
  virtual LangId GetThreadUILanguage() = 0;
  virtual uint32_t GetLastError() = 0;
  virtual void SetLastError(uint32_t error) = 0;
};

}  // namespace lx
