// What a test can see of the spooler, and the installer's way of waiting for it.
#pragma once
#include <windows.h>
#include <winspool.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/printui/spooler_actions.h"

namespace printui_test {

struct PrinterFacts {
  bool found = false;
  std::wstring port;
  std::wstring driver;
  DWORD attributes = 0;
};

PrinterFacts FindPrinter(const std::wstring& name);
// Every local printer at level 2; the records point into `buffer`.
std::vector<PRINTER_INFO_2W> LocalPrinters(std::vector<BYTE>& buffer);
bool DriverInstalled(const std::wstring& model);
// Every local printer of the driver, then the driver: what a test or an
// interrupted earlier run of it created.
void RemovePrintersOfDriver(const std::wstring& driver);
using printui::PortExists;
std::wstring DefaultPrinter();
// The test pages the stand-in counted for the printer (its /k command).
DWORD TestPagesNoted(const std::wstring& printerName);

// Starts rundll32 with the parameters as the installer does (ShellExecuteW,
// "open", no wait).
bool StartRundll32(const std::wstring& parameters);

// Checks, then pauses 500 ms, at most 10 times, as the installer polls.
bool PollUntil(const std::function<bool()>& done);

// A temporary folder with an INF whose models section lists the model.
std::wstring WriteInf(const std::wstring& model);

}  // namespace printui_test
