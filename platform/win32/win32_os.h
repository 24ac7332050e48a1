// The real Windows behind the whole seam: thin pass-throughs to the API.
#pragma once

#include <windows.h>

#include "platform/os.h"
#include "platform/win32/win32_device_io.h"
#include "platform/win32/win32_device_setup.h"
#include "platform/win32/win32_file_security.h"
#include "platform/win32/win32_network.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_service_control.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_spooler.h"

namespace lx {

// Every real service of the seam, for one program.
class Win32Os {
 public:
  explicit Win32Os(HMODULE module = nullptr);
  Os& os() { return os_; }

 private:
  Win32System system_;
  Win32Profile profile_;
  Win32DebugOutput debug_;
  Win32Sync sync_;
  Win32Shell shell_;
  Win32Files files_;
  Win32Resources resources_;
  Win32Clock clock_;
  Win32Registry registry_;
  Win32Spooler spooler_;
  Win32DeviceSetup devices_;
  Win32Libraries libraries_;
  Win32Sockets sockets_;
  Win32DeviceIo deviceIo_;
  Win32ServiceControl services_;
  Win32FileSecurity fileSecurity_;
  Os os_;
};

}  // namespace lx
