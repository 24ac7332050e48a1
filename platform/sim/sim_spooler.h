// The simulated print spooler: ports, installed drivers, printers with their
// PRINTER_INFO_2 fields, a default DEVMODE per printer sized by its driver,
// printer data, the default printer and the test pages printed. Printer,
// driver and port names compare without regard to case, as the spooler's do;
// printers are listed in name order, as the spooler loads them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/spooler.h"
#include "platform/sim/sim_caller.h"
#include "platform/sim/sim_files.h"

namespace lx {

// What installing a driver of this name from an INF puts on the machine.
struct SimDriverDefinition {
  std::u16string name;
  // The driver-private part of its default DEVMODE (dmDriverExtra bytes):
  // for a Unidrv driver the core driver's part followed by its plug-ins' parts.
  DevModeBytes privateDefault;
  uint16_t driverVersion = 0x0600;
  // Files it copies into the version-3 folder of the printer-driver directory.
  std::vector<std::u16string> files;
};

// A port of the Standard TCP/IP monitor.
struct SimTcpPort {
  std::u16string address;
  uint32_t portNumber = 9100;
  uint32_t protocol = 1;  // 1 raw, 2 LPR
};

struct SimPrinter {
  PrinterInfo2 info;  // info.devMode is the printer's default DEVMODE
  std::map<std::u16string, std::pair<uint32_t, std::vector<uint8_t>>> data;  // folded name
  bool connection = false;                                                   // a printer connection
};

class SimSpooler : public ISpooler {
 public:
  SimSpooler(SimCaller& caller, SimFileSystem& files);

  bool ListPrinters(uint32_t flags, std::vector<PrinterInfo2>& printers,
                    BufferStep* failedStep = nullptr) override;
  bool ListPorts(std::vector<PortInfo2>& ports) override;
  uint32_t PortsNeededBytes() override;
  bool ListDrivers(std::vector<std::u16string>& driverNames) override;
  bool Open(const std::u16string& name, uint32_t access, PrinterHandle& handle) override;
  bool Close(PrinterHandle handle) override;
  bool GetInfo2(PrinterHandle handle, PrinterInfo2& info, BufferStep* failedStep = nullptr) override;
  bool SetInfo2(PrinterHandle handle, const PrinterInfo2& info, uint32_t command) override;
  int32_t DocProperties(PrinterHandle handle, const std::u16string& deviceName, DevModeBytes* out,
                        const DevModeBytes* in, uint32_t mode, BufferStep* failedStep = nullptr) override;
  bool GetDefaultPrinterName(std::u16string& name) override;
  bool SetDefaultPrinterName(const std::u16string& name) override;
  bool DriverDirectory(std::u16string& directory) override;
  bool Configure(uintptr_t ownerWindow, const std::u16string& portName) override;
  uint32_t GetData(PrinterHandle handle, const std::u16string& valueName, uint32_t& type,
                   std::vector<uint8_t>& data, uint32_t capacity, uint32_t& needed) override;
  uint32_t SetData(PrinterHandle handle, const std::u16string& valueName, uint32_t type,
                   const std::vector<uint8_t>& data) override;
  bool Xcv(PrinterHandle handle, const std::u16string& command, const std::vector<uint8_t>& input,
           uint32_t& status) override;

  // What the machine's tools and test set-up do. Each answers 0 or the
  // Windows error the spooler would give.
  void DefineDriver(SimDriverDefinition definition);
  const SimDriverDefinition* DefinitionOf(const std::u16string& driverName) const;
  uint32_t AddPort(const std::u16string& name, const std::u16string& monitor = u"Local Port",
                   const std::u16string& description = u"Local Port", uint32_t type = 0);
  // Installs a defined driver (an undefined one gets an empty private part)
  // and copies its files into the driver directory.
  uint32_t InstallDriver(const std::u16string& driverName);
  uint32_t AddPrinter(const std::u16string& name, const std::u16string& port, const std::u16string& driver,
                      bool shared = false);
  uint32_t AddConnection(const std::u16string& name, const std::u16string& driver);
  uint32_t AddTcpPort(const std::u16string& name, const SimTcpPort& port);
  uint32_t DeletePrinter(const std::u16string& name);
  // Refuses a driver that a printer still uses; leaves its files in place.
  uint32_t DeleteDriver(const std::u16string& driverName);
  uint32_t PrintTestPage(const std::u16string& printerName);

  SimPrinter* Find(const std::u16string& printerName);
  bool HasDriver(const std::u16string& driverName) const;
  bool HasPort(const std::u16string& portName) const;
  // Printer and monitor handles opened and not yet closed: a leaked handle
  // shows here, as it would in the spooler's handle table.
  size_t OpenHandleCount() const { return handles_.size(); }
  // The public part of a DEVMODE for `printer` followed by the driver's default private part.
  DevModeBytes DefaultDevMode(const std::u16string& printerName, const std::u16string& driverName) const;

  std::map<std::u16string, SimTcpPort> tcpPorts;  // by folded port name
  std::u16string defaultPrinter;
  std::vector<std::u16string> testPages;       // printer names, in order printed
  std::vector<std::u16string> configuredPorts;  // ConfigurePortW calls
  uintptr_t lastConfigureOwner = 0;
  // The port monitor's answer for a port: a Windows error makes the
  // configuration of that port fail with it (ports in use, monitors without
  // a configuration dialog).
  std::map<std::u16string, uint32_t> configureErrors;  // by port name as listed
  // Set to a Windows error to make the next enumerations fail with it.
  std::optional<uint32_t> failListPrinters;
  BufferStep listPrintersFailsAt = BufferStep::kSizeQuery;
  // Set to a Windows error to make GetPrinterW at level 2 fail at that step.
  std::optional<uint32_t> failGetInfo2;
  BufferStep getInfo2FailsAt = BufferStep::kSizeQuery;
  // Makes DocumentPropertiesW with an output buffer fail at that step.
  std::optional<BufferStep> docPropertiesOutFailsAt;
  std::optional<uint32_t> failListPorts;
  // A user without administrator rights cannot open for administration.
  bool callerIsAdmin = true;
  // The native environment's folder: "x64" on 64-bit Windows, "W32X86" on
  // 32-bit Windows; drivers the tools install go there.
  std::u16string environmentFolder = u"x64";

 private:
  struct OpenHandle {
    std::u16string printer;  // folded; empty for a monitor handle
    std::u16string monitor;
    uint32_t access = 0;
  };
  struct Driver {
    SimDriverDefinition definition;
  };
  bool Fail(uint32_t error) {
    caller_.SetError(error);
    return false;
  }
  SimPrinter* FromHandle(PrinterHandle handle, uint32_t needAccess, uint32_t& error);
  std::u16string DriverDirectoryPath() const;

  SimCaller& caller_;
  SimFileSystem& files_;
  std::map<std::u16string, SimPrinter> printers_;  // by folded name
  std::vector<PortInfo2> ports_;
  std::map<std::u16string, Driver> drivers_;  // by folded name
  std::map<std::u16string, SimDriverDefinition> definitions_;
  std::map<PrinterHandle, OpenHandle> handles_;
  PrinterHandle nextHandle_ = 0x1000;
};

}  // namespace lx
