#include "platform/win32/win32_spooler.h"

#include <winspool.h>

#include <cstddef>
#include <cstring>
#include <new>

#include "platform/win32/wide.h"

namespace lx {

static_assert(sizeof(DEVMODEW) == kDevModePublicSize, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmSize) == kDmSizeOffset, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmDriverExtra) == kDmDriverExtraOffset, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmFields) == kDmFieldsOffset, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmFormName) == kDmFormNameOffset, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmCopies) == kDmCopiesOffset, "DEVMODEW layout");

namespace {

HANDLE H(PrinterHandle h) { return reinterpret_cast<HANDLE>(h); }

DevModeBytes CopyDevMode(const DEVMODEW* dm) {
  if (!dm) return {};
  const BYTE* p = reinterpret_cast<const BYTE*>(dm);
  return DevModeBytes(p, p + dm->dmSize + dm->dmDriverExtra);
}

// A DEVMODE handed to Windows must hold the dmSize + dmDriverExtra bytes it
// announces, or the spooler would read past it.
bool WholeDevMode(const DevModeBytes& dm) {
  auto size = DevModeSize(dm);
  auto extra = DevModeDriverExtra(dm);
  return size && extra && static_cast<size_t>(*size) + *extra <= dm.size();
}

PrinterInfo2 FromNative(const PRINTER_INFO_2W& p) {
  PrinterInfo2 r;
  r.serverName = U(p.pServerName);
  r.printerName = U(p.pPrinterName);
  r.shareName = U(p.pShareName);
  r.portName = U(p.pPortName);
  r.driverName = U(p.pDriverName);
  r.comment = U(p.pComment);
  r.location = U(p.pLocation);
  r.devMode = CopyDevMode(p.pDevMode);
  r.sepFile = U(p.pSepFile);
  r.printProcessor = U(p.pPrintProcessor);
  r.datatype = U(p.pDatatype);
  r.parameters = U(p.pParameters);
  r.attributes = p.Attributes;
  r.priority = p.Priority;
  r.defaultPriority = p.DefaultPriority;
  r.startTime = p.StartTime;
  r.untilTime = p.UntilTime;
  r.status = p.Status;
  r.jobs = p.cJobs;
  r.averagePpm = p.AveragePPM;
  return r;
}

wchar_t* Mutable(const std::u16string& s) { return s.empty() ? nullptr : const_cast<wchar_t*>(W(s)); }

// A zero-filled buffer of `size` bytes; false (with the error Windows'
// allocators leave) when there is no memory for it.
bool Allocate(std::vector<BYTE>& buf, DWORD size) {
  try {
    buf.assign(size, 0);
    return true;
  } catch (const std::bad_alloc&) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
}

void Report(BufferStep* failedStep, BufferStep step) {
  if (failedStep) *failedStep = step;
}

// The two-call pattern of the Enum* functions: size first, then the data.
template <typename Call>
bool EnumInto(std::vector<BYTE>& buf, DWORD& count, Call call, BufferStep* failedStep = nullptr) {
  DWORD needed = 0;
  count = 0;
  Report(failedStep, BufferStep::kSizeQuery);
  if (call(nullptr, 0, &needed, &count)) return true;
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
  Report(failedStep, BufferStep::kAllocation);
  if (!Allocate(buf, needed)) return false;
  Report(failedStep, BufferStep::kRead);
  return call(buf.data(), needed, &needed, &count) != FALSE;
}

}  // namespace

bool Win32Spooler::ListPrinters(uint32_t flags, std::vector<PrinterInfo2>& printers, BufferStep* failedStep) {
  printers.clear();
  std::vector<BYTE> buf;
  DWORD count = 0;
  if (!EnumInto(
          buf, count,
          [&](BYTE* b, DWORD cb, DWORD* needed, DWORD* n) { return ::EnumPrintersW(flags, nullptr, 2, b, cb, needed, n); },
          failedStep))
    return false;
  auto* items = reinterpret_cast<const PRINTER_INFO_2W*>(buf.data());
  for (DWORD i = 0; i < count; ++i) printers.push_back(FromNative(items[i]));
  return true;
}

bool Win32Spooler::ListPorts(std::vector<PortInfo2>& ports) {
  ports.clear();
  std::vector<BYTE> buf;
  DWORD count = 0;
  if (!EnumInto(buf, count, [&](BYTE* b, DWORD cb, DWORD* needed, DWORD* n) {
        return ::EnumPortsW(nullptr, 2, b, cb, needed, n);
      }))
    return false;
  auto* items = reinterpret_cast<const PORT_INFO_2W*>(buf.data());
  for (DWORD i = 0; i < count; ++i)
    ports.push_back({U(items[i].pPortName), U(items[i].pMonitorName), U(items[i].pDescription), items[i].fPortType});
  return true;
}

uint32_t Win32Spooler::PortsNeededBytes() {
  DWORD needed = 0, count = 0;
  ::EnumPortsW(nullptr, 2, nullptr, 0, &needed, &count);
  return needed;
}

bool Win32Spooler::ListDrivers(std::vector<std::u16string>& driverNames) {
  driverNames.clear();
  std::vector<BYTE> buf;
  DWORD count = 0;
  if (!EnumInto(buf, count, [&](BYTE* b, DWORD cb, DWORD* needed, DWORD* n) {
        return ::EnumPrinterDriversW(nullptr, nullptr, 1, b, cb, needed, n);
      }))
    return false;
  auto* items = reinterpret_cast<const DRIVER_INFO_1W*>(buf.data());
  for (DWORD i = 0; i < count; ++i) driverNames.push_back(U(items[i].pName));
  return true;
}

bool Win32Spooler::Open(const std::u16string& name, uint32_t access, PrinterHandle& handle) {
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
  HANDLE h = nullptr;
  BOOL ok = ::OpenPrinterW(const_cast<wchar_t*>(W(name)), &h, &defaults);
  handle = ok ? reinterpret_cast<PrinterHandle>(h) : 0;
  return ok != FALSE;
}

bool Win32Spooler::Close(PrinterHandle handle) { return ::ClosePrinter(H(handle)) != FALSE; }

bool Win32Spooler::GetInfo2(PrinterHandle handle, PrinterInfo2& info, BufferStep* failedStep) {
  DWORD needed = 0;
  Report(failedStep, BufferStep::kSizeQuery);
  ::GetPrinterW(H(handle), 2, nullptr, 0, &needed);
  if (needed == 0) return false;
  std::vector<BYTE> buf;
  Report(failedStep, BufferStep::kAllocation);
  if (!Allocate(buf, needed)) return false;
  Report(failedStep, BufferStep::kRead);
  if (!::GetPrinterW(H(handle), 2, buf.data(), needed, &needed)) return false;
  info = FromNative(*reinterpret_cast<const PRINTER_INFO_2W*>(buf.data()));
  return true;
}

bool Win32Spooler::SetInfo2(PrinterHandle handle, const PrinterInfo2& info, uint32_t command) {
  if (!info.devMode.empty() && !WholeDevMode(info.devMode)) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  DevModeBytes dm = info.devMode;  // aligned copy the API may read
  PRINTER_INFO_2W p = {};
  p.pServerName = Mutable(info.serverName);
  p.pPrinterName = Mutable(info.printerName);
  p.pShareName = Mutable(info.shareName);
  p.pPortName = Mutable(info.portName);
  p.pDriverName = Mutable(info.driverName);
  p.pComment = Mutable(info.comment);
  p.pLocation = Mutable(info.location);
  p.pDevMode = dm.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(dm.data());
  p.pSepFile = Mutable(info.sepFile);
  p.pPrintProcessor = Mutable(info.printProcessor);
  p.pDatatype = Mutable(info.datatype);
  p.pParameters = Mutable(info.parameters);
  p.Attributes = info.attributes;
  p.Priority = info.priority;
  p.DefaultPriority = info.defaultPriority;
  p.StartTime = info.startTime;
  p.UntilTime = info.untilTime;
  p.Status = info.status;
  p.cJobs = info.jobs;
  p.AveragePPM = info.averagePpm;
  return ::SetPrinterW(H(handle), 2, reinterpret_cast<BYTE*>(&p), command) != FALSE;
}

int32_t Win32Spooler::DocProperties(PrinterHandle handle, const std::u16string& deviceName, DevModeBytes* out,
                                    const DevModeBytes* in, uint32_t mode, BufferStep* failedStep) {
  Report(failedStep, BufferStep::kRead);
  wchar_t* name = const_cast<wchar_t*>(W(deviceName));
  LONG size = ::DocumentPropertiesW(nullptr, H(handle), name, nullptr, nullptr, 0);
  if (mode == 0 || size <= 0) return size;
  if ((mode & kDmOutBuffer) && !out) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  DevModeBytes input;
  if ((mode & kDmInBuffer) && in) {
    if (!WholeDevMode(*in)) {
      ::SetLastError(ERROR_INVALID_PARAMETER);
      return -1;
    }
    input = *in;
  }
  // The output buffer is sized by the driver's own answer above.
  DevModeBytes result;
  try {
    result.assign(static_cast<size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    Report(failedStep, BufferStep::kAllocation);
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
  }
  LONG r = ::DocumentPropertiesW(nullptr, H(handle), name,
                                 (mode & kDmOutBuffer) ? reinterpret_cast<DEVMODEW*>(result.data()) : nullptr,
                                 input.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(input.data()), mode);
  if (r == IDOK && (mode & kDmOutBuffer)) *out = result;
  return r;
}

bool Win32Spooler::GetDefaultPrinterName(std::u16string& name) {
  name.clear();
  DWORD chars = 0;
  ::GetDefaultPrinterW(nullptr, &chars);
  if (chars == 0) return false;
  std::vector<wchar_t> buf(chars, 0);
  if (!::GetDefaultPrinterW(buf.data(), &chars)) return false;
  name = U(buf.data());
  return true;
}

bool Win32Spooler::SetDefaultPrinterName(const std::u16string& name) {
  return ::SetDefaultPrinterW(WOrNull(name)) != FALSE;
}

bool Win32Spooler::DriverDirectory(std::u16string& directory) {
  wchar_t buf[MAX_PATH] = {};
  DWORD needed = 0;
  if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buf), sizeof buf, &needed))
    return false;
  directory = U(buf);
  return true;
}

bool Win32Spooler::Configure(uintptr_t ownerWindow, const std::u16string& portName) {
  return ::ConfigurePortW(nullptr, reinterpret_cast<HWND>(ownerWindow), const_cast<wchar_t*>(W(portName))) != FALSE;
}

uint32_t Win32Spooler::GetData(PrinterHandle handle, const std::u16string& valueName, uint32_t& type,
                               std::vector<uint8_t>& data, uint32_t capacity, uint32_t& needed) {
  std::vector<BYTE> buf(capacity ? capacity : 1, 0);
  DWORD t = 0, n = 0;
  DWORD r = ::GetPrinterDataW(H(handle), const_cast<wchar_t*>(W(valueName)), &t, buf.data(), capacity, &n);
  type = t;
  needed = n;
  if (r == ERROR_SUCCESS) data.assign(buf.begin(), buf.begin() + n);
  return r;
}

uint32_t Win32Spooler::SetData(PrinterHandle handle, const std::u16string& valueName, uint32_t type,
                               const std::vector<uint8_t>& data) {
  return ::SetPrinterDataW(H(handle), const_cast<wchar_t*>(W(valueName)), type,
                           const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()));
}

bool Win32Spooler::Xcv(PrinterHandle handle, const std::u16string& command, const std::vector<uint8_t>& input,
                       uint32_t& status) {
  DWORD needed = 0, s = 0;
  std::vector<BYTE> in(input.begin(), input.end());
  BOOL ok = ::XcvDataW(H(handle), W(command), in.empty() ? nullptr : in.data(), static_cast<DWORD>(in.size()),
                       nullptr, 0, &needed, &s);
  status = s;
  return ok != FALSE;
}

}  // namespace lx
