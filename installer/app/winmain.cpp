// Entry of Qelvin64.exe / Qelvin32.exe.
#include <windows.h>

#include "installer/core/wizard_state.h"
#include "installer/discovery/dnssd_binding.h"
#include "installer/discovery/net_search.h"
#include "installer/unattended/quiet_install.h"
#include "installer/wizard/sheet_runner.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/win32_session.h"
#include "ui/win32/win32_desktop.h"
#include "ui/win32/win32_sheet.h"

namespace {

// Everything a worker may touch. Never destroyed: a worker still running when
// the wizard closes is not waited for and keeps using it until the process ends.
struct Program {
  explicit Program(HINSTANCE instance)
      : platform(instance),
        sheetView(instance),
        dnssd(platform.os().libraries),
        dnsapi(platform.os().libraries),
        search(platform.os(), dnssd, lx::g_config, &dnsapi),
        wizard(platform.os(), sheetView, workers, session, lx::TheWizardState(), &search),
        quiet(platform.os(), session, lx::TheWizardState()),
        app(platform.os(), desktop, &wizard, &quiet) {}
  lx::Win32Os platform;
  lx::Win32Desktop desktop;
  lx::Win32SheetView sheetView;
  lx::ThreadWorkers workers;
  lx::Win32Session session;
  lx::DnssdBinding dnssd;
  lx::DnsapiBinding dnsapi;
  lx::NetSearch search;
  lx::SheetWizardRunner wizard;
  lx::QuietInstaller quiet;
  lx::CCalvethApp app;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  // First of all: the program runs elevated, and every library loaded by
  // name from now on (the delay-loaded WINSPOOL.DRV, Riched20's helpers)
  // must come from the system folder, never from the medium's folder.
  if (!lx::Win32Libraries().SearchSystemFolderOnly())
    ::OutputDebugStringW(L"SetDefaultDllDirectories failed; the current folder may still be searched");
  auto* program = new Program(instance);
  // Only the copy beside the program: it runs elevated. Without one, Windows'
  // own DNS-SD from System32 by its full path, where the system has it.
  if (!program->dnssd.Load(lx::DnssdLibraryPath(program->platform.os())))
    program->dnsapi.Load(lx::DnsapiLibraryPath(program->platform.os()));
  program->app.InitInstance(lx::U(commandLine));
  // Ends the workers first, then the process: no static object is torn down
  // under a worker that is still running. The code is what deployment tools read.
  ExitProcess(static_cast<UINT>(program->app.exitCode));
}
