// The real print spooler behind ISpooler.
#pragma once

#include <windows.h>

#include "platform/spooler.h"

namespace lx {

class Win32Spooler : public ISpooler {
 public:
  bool ListPrinters(uint32_t flags, std::vector<PrinterInfo2>& printers, BufferStep* failedStep) override;
  bool ListPorts(std::vector<PortInfo2>& ports) override;
  uint32_t PortsNeededBytes() override;
  bool ListDrivers(std::vector<std::u16string>& driverNames) override;
  bool Open(const std::u16string& name, uint32_t access, PrinterHandle& handle) override;
  bool Close(PrinterHandle handle) override;
  bool GetInfo2(PrinterHandle handle, PrinterInfo2& info, BufferStep* failedStep) override;
  bool SetInfo2(PrinterHandle handle, const PrinterInfo2& info, uint32_t command) override;
  int32_t DocProperties(PrinterHandle handle, const std::u16string& deviceName, DevModeBytes* out,
                        const DevModeBytes* in, uint32_t mode, BufferStep* failedStep) override;
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
};

}  // namespace lx
