// Entry of Qelvin64.exe / Qelvin32.exe.
#include <windows.h>

#include "installer/core/sheet_runner.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/win32_session.h"
#include "ui/win32/win32_desktop.h"
#include "ui/win32/win32_sheet.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  lx::Win32Os platform(instance);
  lx::Win32Desktop desktop;
  lx::Win32SheetView sheetView(instance);
  lx::ThreadWorkers workers;
  lx::Win32Session session;
  lx::SheetWizardRunner wizard(platform.os(), sheetView, workers, session);
  lx::CCalvethApp app(platform.os(), desktop, &wizard);
  app.InitInstance(lx::U(commandLine));
  return 0;
}
