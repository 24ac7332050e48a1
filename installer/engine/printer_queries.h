// Questions to the spooler around the install command, and the printui
// commands for the default printer and the test page.
#pragma once

#include <string>

#include "platform/os.h"

// winspool.h maps SetDefaultPrinter to its W form; this one is ours.
#ifdef SetDefaultPrinter
#undef SetDefaultPrinter
#endif

namespace lx {

// True when an installed printer (local or connection) has exactly that name.
bool PrinterExists(const Os& os, const std::u16string& printerName);
// True when the spooler lists a driver of exactly that name; false when the
// list cannot be read.
bool DriverListed(const Os& os, const std::u16string& driverName);
// A name no installed printer has: the request itself, else "%s (%d)" of the
// request with the lowest free number from 1.
std::u16string MakeUniquePrinterName(const Os& os, const std::u16string& requestedName);
// Started and not waited for.
void SetDefaultPrinter(const Os& os, const std::u16string& printerName);
void PrintTestPage(const Os& os, const std::u16string& printerName);

}  // namespace lx
