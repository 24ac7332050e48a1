// Facts about the running program and the machine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lx {

using LangId = uint16_t;

constexpr uint16_t kProcessorArchitectureIntel = 0;
constexpr uint16_t kProcessorArchitectureIa64 = 6;
constexpr uint16_t kProcessorArchitectureAmd64 = 9;
constexpr uint16_t kProcessorArchitectureArm64 = 12;

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

  // wProcessorArchitecture of GetNativeSystemInfo, looked up in kernel32 at
  // run time; nothing when the system lacks that function.
  virtual std::optional<uint16_t> NativeProcessorArchitecture() = 0;
  // IsWow64Process of the running program: a 32-bit program on 64-bit
  // Windows, whose System32 is the 32-bit folder. False when it cannot tell.
  virtual bool IsWow64Process() = 0;
  // GetWindowsDirectoryW / GetSystemDirectoryW (260 characters); empty on failure.
  virtual std::u16string WindowsDirectory() = 0;
  virtual std::u16string SystemDirectory() = 0;

  // Windows.Graphics.Printing.ProtectedPrint.WindowsProtectedPrintInfo.
  // IsProtectedPrintEnabled, through RoGetActivationFactory and the Windows
  // string functions of combase.dll, looked up at run time; nothing when the
  // system lacks the class (before Windows 11 24H2) or the call fails.
  virtual std::optional<bool> ProtectedPrintEnabled() = 0;
};

}  // namespace lx
