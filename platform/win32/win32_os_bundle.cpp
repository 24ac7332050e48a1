// The installer's bundle of real services, and the shell's one call: apart
// from the rest of win32_os.cpp so that the plug-in, which uses neither,
// does not import shell32 and setupapi through them.
#include "platform/win32/win32_os.h"

#include <shellapi.h>

#include "platform/win32/wide.h"

namespace lx {

intptr_t Win32Shell::Execute(const std::u16string& verb, const std::u16string& file,
                             const std::u16string& parameters, const std::u16string& directory,
                             int show) {
  HINSTANCE r = ::ShellExecuteW(nullptr, WOrNull(verb), W(file), WOrNull(parameters),
                                WOrNull(directory), show);
  return reinterpret_cast<intptr_t>(r);
}

Win32Os::Win32Os(HMODULE module) : resources_(module ? module : ::GetModuleHandleW(nullptr)) {
  os_.system = &system_;
  os_.profile = &profile_;
  os_.debug = &debug_;
  os_.sync = &sync_;
  os_.shell = &shell_;
  os_.files = &files_;
  os_.resources = &resources_;
  os_.clock = &clock_;
  os_.registry = &registry_;
  os_.spooler = &spooler_;
  os_.devices = &devices_;
}

}  // namespace lx
