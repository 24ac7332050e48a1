#include "platform/win32/win32_os.h"

namespace lx {

Win32Os::Win32Os(HMODULE module) : resources_(module ? module : ::GetModuleHandleW(nullptr)) {
  os_.system = &system_;
  os_.profile = &profile_;
  os_.debug = &debug_;
  os_.sync = &sync_;
  os_.shell = &shell_;
  os_.files = &files_;
  os_.fileSecurity = &fileSecurity_;
  os_.resources = &resources_;
  os_.clock = &clock_;
  os_.registry = &registry_;
  os_.spooler = &spooler_;
  os_.devices = &devices_;
  os_.libraries = &libraries_;
  os_.sockets = &sockets_;
  os_.deviceIo = &deviceIo_;
  os_.services = &services_;
}

}  // namespace lx
