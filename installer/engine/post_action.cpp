#include "installer/engine/post_action.h"

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "platform/devmode.h"
#include "platform/spooler.h"
#include "platform/system.h"

namespace lx {

int GetPostActionOffset(const Os& os, const std::u16string& driverName) {
  if (driverName.empty()) {
    DebugTraceW(os, u"Error: Driver name is empty.");
    return -1;
  }
  const ModelEntry* m = g_config.Models().ByDriverName(driverName);
  if (!m || m->ShowSetting != 1) return -1;
  return m->printPostOpOffset < 0 ? -1 : m->printPostOpOffset;
}

bool PostActionFits(int64_t totalSize, int64_t dmSize, int32_t offset) {
  return offset >= 4 && dmSize + offset < totalSize;
}

namespace {

uint32_t LastError(const Os& os) { return os.system->GetLastError(); }

// Closes the printer on every way out.
struct OpenedPrinter {
  const Os& os;
  PrinterHandle handle = 0;
  ~OpenedPrinter() {
    if (handle) os.spooler->Close(handle);
  }
};

}  // namespace

bool ApplyPostAction(const Os& os, const std::u16string& printerName, int32_t offset,
                     int32_t value) {
  ISpooler& spooler = *os.spooler;
  OpenedPrinter printer{os};
  if (!spooler.Open(printerName, kPrinterAllAccess, printer.handle)) {
    printer.handle = 0;
    DebugTraceW(os, u"OpenPrinter 失败！ 打印机名称: %s\n错误码: %lu\n", printerName.c_str(),
                LastError(os));
    return false;
  }

  int32_t totalSize = spooler.DocProperties(printer.handle, printerName, nullptr, nullptr, 0);
  if (totalSize <= 0) {
    DebugTraceW(os, u"Error: 无法获取 DEVMODE 大小。错误码: %lu\n", LastError(os));
    return false;
  }

  DevModeBytes devMode;
  BufferStep readStep = BufferStep::kRead;
  int32_t read = spooler.DocProperties(printer.handle, printerName, &devMode, nullptr, kDmOutBuffer, &readStep);
  if (read != kIdOk && readStep == BufferStep::kAllocation) {
    DebugTraceW(os, u"Error: 无法为 DEVMODE 分配内存。");
    return false;
  }
  if (read != kIdOk) {
    DebugTraceW(os, u"Error: DocumentProperties 读取失败。返回码: %d, 错误码: %lu\n", read,
                LastError(os));
    return false;
  }
  // The buffer is the size first reported, zero-filled, whatever the driver wrote.
  devMode.resize(static_cast<size_t>(totalSize), 0);

  int dmSize = ReadU16(devMode, kDmSizeOffset);
  DebugTraceW(os, u"totalSize =%d, dmSize=%d, offset = %d", totalSize, dmSize, offset);
  if (!PostActionFits(totalSize, dmSize, offset)) {
    DebugTraceW(os, u"Error: 偏移量越界。dmSize: %d, offset: %d, TotalSize: %lu\n", dmSize, offset,
                static_cast<uint32_t>(totalSize));
    return false;
  }
  WriteU32(devMode, static_cast<size_t>(totalSize - offset), static_cast<uint32_t>(value));

  PrinterInfo2 info;
  BufferStep failed = BufferStep::kSizeQuery;
  if (!spooler.GetInfo2(printer.handle, info, &failed)) {
    if (failed == BufferStep::kSizeQuery)
      DebugTraceW(os, u"Error: 获取打印机信息大小失败。错误码: %lu\n", LastError(os));
    else if (failed == BufferStep::kAllocation)
      DebugTraceW(os, u"Error: 无法为 PRINTER_INFO_2 分配内存\n");
    else
      DebugTraceW(os, u"Error: GetPrinter 失败。错误码: %lu\n", LastError(os));
    return false;
  }
  info.devMode = devMode;
  bool ok = spooler.SetInfo2(printer.handle, info, 0);
  if (!ok) DebugTraceW(os, u"Error: SetPrinter 失败。错误码: %lu\n", LastError(os));
  return ok;
}

}  // namespace lx
