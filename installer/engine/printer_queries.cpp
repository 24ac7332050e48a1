#include "installer/engine/printer_queries.h"

#include <vector>

#include "common/format.h"
#include "installer/core/trace.h"
#include "installer/engine/command_line.h"
#include "installer/engine/system_tools.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"

namespace lx {

namespace {

constexpr uint32_t kLocalAndConnections = kPrinterEnumLocal | kPrinterEnumConnections;

bool HasPrinterNamed(const std::vector<PrinterInfo2>& printers, const std::u16string& name) {
  for (const auto& p : printers)
    if (p.printerName == name) return true;
  return false;
}

void RunPrintUi(const Os& os, std::u16string_view name, const std::optional<std::u16string>& parameters, int show) {
  if (!AcceptPrintUiNames(os, {name})) return;
  if (!parameters) {
    DebugTraceW(os, u"Refused a name that cannot be passed on a command line.");
    return;
  }
  StartPrintUi(os, *parameters, show);
}

}  // namespace

bool PrinterExists(const Os& os, const std::u16string& printerName) {
  std::vector<PrinterInfo2> printers;
  BufferStep failed = BufferStep::kSizeQuery;
  if (!os.spooler->ListPrinters(kLocalAndConnections, printers, &failed)) {
    if (failed == BufferStep::kSizeQuery)
      DebugTraceAlways(os, "Failed to enumerate printers: Unable to get buffer size.\n");
    else
      DebugTraceAlways(os, "Failed to enumerate printers: Error %lu\n", os.system->GetLastError());
    return false;
  }
  return HasPrinterNamed(printers, printerName);
}

bool DriverListed(const Os& os, const std::u16string& driverName) {
  std::vector<std::u16string> drivers;
  if (!os.spooler->ListDrivers(drivers)) {
    DebugTraceAlways(os, "Failed to enumerate printer drivers: Error %lu\n", os.system->GetLastError());
    return false;
  }
  for (const std::u16string& name : drivers)
    if (name == driverName) return true;
  return false;
}

std::u16string MakeUniquePrinterName(const Os& os, const std::u16string& requestedName) {
  std::vector<PrinterInfo2> printers;
  if (!os.spooler->ListPrinters(kLocalAndConnections, printers)) return requestedName;
  // Numbering always starts from the request, never from an earlier candidate.
  std::u16string candidate = requestedName;
  for (int counter = 1; HasPrinterNamed(printers, candidate); ++counter)
    candidate = FormatW(u"%s (%d)", requestedName.c_str(), counter);
  return candidate;
}

void SetDefaultPrinter(const Os& os, const std::u16string& printerName) {
  RunPrintUi(os, printerName, PrintUiSetDefault(printerName), kSwHide);
}

void PrintTestPage(const Os& os, const std::u16string& printerName) {
  RunPrintUi(os, printerName, PrintUiTestPage(printerName), kSwHide);
}

}  // namespace lx
