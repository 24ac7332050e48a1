// Entry of Qelvin64.exe / Qelvin32.exe.
#include <windows.h>

#include "installer/core/app.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_os.h"
#include "ui/win32/win32_desktop.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  lx::Win32Os platform(instance);
  lx::Win32Desktop desktop;
  lx::CCalvethApp app(platform.os(), desktop, nullptr);
  app.InitInstance(lx::U(commandLine));
  return 0;
}
