// The print spooler (winspool), shaped like its W functions at the levels we
// use. Records replace the packed buffers; a DEVMODE travels as its bytes.
// Method names avoid the A/W macros of the Windows headers.
// Functions that return BOOL in Windows answer false and leave the Windows
// error as the thread's last error (ISystem::GetLastError).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/buffer_step.h"
#include "platform/devmode.h"

namespace lx {

constexpr uint32_t kPrinterEnumLocal = 0x2;
constexpr uint32_t kPrinterEnumConnections = 0x4;

constexpr uint32_t kServerAccessAdminister = 0x1;
constexpr uint32_t kPrinterAccessAdminister = 0x4;
constexpr uint32_t kPrinterAccessUse = 0x8;
constexpr uint32_t kPrinterAllAccess = 0x000F000C;

// DocumentPropertiesW modes and answers.
constexpr uint32_t kDmOutBuffer = 2;
constexpr uint32_t kDmInBuffer = 8;
constexpr int32_t kIdOk = 1;

constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

// PRINTER_INFO_2. An empty devMode stands for a null pDevMode.
struct PrinterInfo2 {
  std::u16string serverName, printerName, shareName, portName, driverName, comment, location;
  DevModeBytes devMode;
  std::u16string sepFile, printProcessor, datatype, parameters;
  uint32_t attributes = 0, priority = 0, defaultPriority = 0, startTime = 0, untilTime = 0;
  uint32_t status = 0, jobs = 0, averagePpm = 0;
};

// PORT_INFO_2.
struct PortInfo2 {
  std::u16string portName, monitorName, description;
  uint32_t portType = 0;
};

using PrinterHandle = uintptr_t;

class ISpooler {
 public:
  virtual ~ISpooler() = default;
  // EnumPrintersW(flags, no server, level 2). `failedStep` receives which of
  // the size query, the allocation and the read failed.
  virtual bool ListPrinters(uint32_t flags, std::vector<PrinterInfo2>& printers,
                            BufferStep* failedStep = nullptr) = 0;
  // EnumPortsW(local machine, level 2).
  virtual bool ListPorts(std::vector<PortInfo2>& ports) = 0;
  // EnumPortsW(local machine, level 2) with no buffer: the bytes a listing
  // needs; 0 when the call failed for another reason (the last error says why).
  virtual uint32_t PortsNeededBytes() = 0;
  // EnumPrinterDriversW(local machine, default environment, level 1): names.
  virtual bool ListDrivers(std::vector<std::u16string>& driverNames) = 0;

  // OpenPrinterW with a PRINTER_DEFAULTS of no data type, no DEVMODE and
  // `access`. The name may also be a monitor's Xcv name (",XcvMonitor ...").
  virtual bool Open(const std::u16string& name, uint32_t access, PrinterHandle& handle) = 0;
  virtual bool Close(PrinterHandle handle) = 0;
  // GetPrinterW / SetPrinterW at level 2. SetPrinter with a devMode replaces
  // the printer's default DEVMODE; other fields are taken as given.
  // GetInfo2 is sized, allocated and read like ListPrinters; a size query
  // that reports no size fails at kSizeQuery.
  virtual bool GetInfo2(PrinterHandle handle, PrinterInfo2& info, BufferStep* failedStep = nullptr) = 0;
  virtual bool SetInfo2(PrinterHandle handle, const PrinterInfo2& info, uint32_t command) = 0;

  // DocumentPropertiesW(no window, handle, deviceName, out, in, mode).
  // Mode 0 answers the full DEVMODE size (public and private part), or a
  // negative value on failure. With kDmOutBuffer `out` receives the DEVMODE
  // (starting from the printer's default, merged with `in` under kDmInBuffer)
  // and the answer is kIdOk; a negative answer means failure, and
  // `failedStep` says whether the output buffer could not be allocated
  // (kAllocation) or the call itself failed (kRead).
  virtual int32_t DocProperties(PrinterHandle handle, const std::u16string& deviceName,
                                DevModeBytes* out, const DevModeBytes* in, uint32_t mode,
                                BufferStep* failedStep = nullptr) = 0;

  // GetDefaultPrinterW / SetDefaultPrinterW.
  virtual bool GetDefaultPrinterName(std::u16string& name) = 0;
  virtual bool SetDefaultPrinterName(const std::u16string& name) = 0;

  // GetPrinterDriverDirectoryW(local machine, default environment, level 1),
  // such as C:\Windows\system32\spool\DRIVERS\x64.
  virtual bool DriverDirectory(std::u16string& directory) = 0;

  // ConfigurePortW(local machine, owner window, port): the port monitor shows
  // its own dialog, owned by `ownerWindow` (an HWND, 0 for none).
  virtual bool Configure(uintptr_t ownerWindow, const std::u16string& portName) = 0;

  // GetPrinterDataW / SetPrinterDataW answer a Windows error code (0 on success)
  // instead of setting the last error. GetPrinterData fills `type`, `needed`
  // and, when it fits `capacity` bytes, `data`; a larger value answers
  // ERROR_MORE_DATA (234), a missing one ERROR_FILE_NOT_FOUND (2).
  virtual uint32_t GetData(PrinterHandle handle, const std::u16string& valueName,
                                  uint32_t& type, std::vector<uint8_t>& data, uint32_t capacity,
                                  uint32_t& needed) = 0;
  virtual uint32_t SetData(PrinterHandle handle, const std::u16string& valueName,
                                  uint32_t type, const std::vector<uint8_t>& data) = 0;

  // XcvDataW on a monitor handle, without output data: `status` receives the
  // monitor's answer. For the Standard TCP/IP monitor the command "AddPort"
  // takes a PORT_DATA_1 record (platform/port_data.h).
  virtual bool Xcv(PrinterHandle handle, const std::u16string& command,
                       const std::vector<uint8_t>& input, uint32_t& status) = 0;
};

}  // namespace lx
