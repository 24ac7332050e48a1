#include "platform/sim/sim_spooler.h"

#include <algorithm>

#include "common/text.h"
#include "platform/port_data.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

constexpr uint32_t kAttributeDefault = 0x4;
constexpr uint32_t kAttributeShared = 0x8;
constexpr uint32_t kAttributeNetwork = 0x10;
constexpr uint32_t kAttributeLocal = 0x40;

constexpr uint32_t kDmOrientation = 0x1;
constexpr uint32_t kDmPaperSize = 0x2;
constexpr uint32_t kDmCopies = 0x100;

const std::u16string kXcvMonitor = u",XcvMonitor ";
const std::u16string kTcpMonitor = u"Standard TCP/IP Port";

std::u16string Fold(const std::u16string& s) { return ToLowerAscii(s); }

// Local printer names may not contain these, and hold at most 220 characters.
bool ValidPrinterName(const std::u16string& name) {
  return !name.empty() && name.size() <= 220 && name.find_first_of(u",\\!") == std::u16string::npos;
}
}  // namespace

SimSpooler::SimSpooler(SimCaller& caller, SimFileSystem& files) : caller_(caller), files_(files) {
  for (const char16_t* port : {u"LPT1:", u"COM1:", u"FILE:", u"PORTPROMPT:", u"nul:"}) AddPort(port);
  files_.AddFolder(DriverDirectoryPath() + u"\\3");
}

std::u16string SimSpooler::DriverDirectoryPath() const {
  return files_.known.windows + u"\\system32\\spool\\DRIVERS\\" + environmentFolder;
}

// ---- Set-up and the tools' actions ----

void SimSpooler::DefineDriver(SimDriverDefinition definition) {
  std::u16string key = Fold(definition.name);
  definitions_[key] = std::move(definition);
}

const SimDriverDefinition* SimSpooler::DefinitionOf(const std::u16string& driverName) const {
  auto it = definitions_.find(Fold(driverName));
  return it == definitions_.end() ? nullptr : &it->second;
}

uint32_t SimSpooler::AddPort(const std::u16string& name, const std::u16string& monitor,
                             const std::u16string& description, uint32_t type) {
  if (name.empty()) return kErrorInvalidParameter;
  if (HasPort(name)) return kErrorAlreadyExists;
  ports_.push_back({name, monitor, description, type});
  return kErrorSuccess;
}

uint32_t SimSpooler::AddTcpPort(const std::u16string& name, const SimTcpPort& port) {
  uint32_t r = AddPort(name, kTcpMonitor, kTcpMonitor, 0x3);
  if (r == kErrorSuccess) tcpPorts[Fold(name)] = port;
  return r;
}

bool SimSpooler::HasPort(const std::u16string& portName) const {
  for (const auto& p : ports_)
    if (EqualsIgnoreCase(p.portName, portName)) return true;
  return false;
}

bool SimSpooler::HasDriver(const std::u16string& driverName) const { return drivers_.count(Fold(driverName)) > 0; }

uint32_t SimSpooler::InstallDriver(const std::u16string& driverName) {
  if (driverName.empty()) return kErrorUnknownPrinterDriver;
  SimDriverDefinition def;
  if (const SimDriverDefinition* d = DefinitionOf(driverName)) def = *d;
  def.name = driverName;
  for (const auto& file : def.files)
    files_.AddFile(DriverDirectoryPath() + u"\\3\\" + file, "driver file " + Utf16ToUtf8(file));
  drivers_[Fold(driverName)] = Driver{def};
  return kErrorSuccess;
}

DevModeBytes SimSpooler::DefaultDevMode(const std::u16string& printerName, const std::u16string& driverName) const {
  DevModeBytes privatePart;
  uint16_t version = 0;
  auto it = drivers_.find(Fold(driverName));
  if (it != drivers_.end()) {
    privatePart = it->second.definition.privateDefault;
    version = it->second.definition.driverVersion;
  }
  DevModeBytes dm(kDevModePublicSize, 0);
  // dmDeviceName holds 32 characters with the terminator.
  for (size_t i = 0; i < printerName.size() && i < 31; ++i) WriteU16(dm, kDmDeviceNameOffset + 2 * i, printerName[i]);
  WriteU16(dm, kDmSpecVersionOffset, kDmSpecVersion);
  WriteU16(dm, kDmDriverVersionOffset, version);
  WriteU16(dm, kDmSizeOffset, static_cast<uint16_t>(kDevModePublicSize));
  WriteU16(dm, kDmDriverExtraOffset, static_cast<uint16_t>(privatePart.size()));
  WriteU32(dm, kDmFieldsOffset, kDmOrientation | kDmPaperSize | kDmCopies);
  WriteU16(dm, kDmOrientationOffset, 1);
  WriteU16(dm, kDmPaperSizeOffset, 256);  // DMPAPER_USER
  WriteU16(dm, kDmCopiesOffset, 1);
  dm.insert(dm.end(), privatePart.begin(), privatePart.end());
  return dm;
}

uint32_t SimSpooler::AddPrinter(const std::u16string& name, const std::u16string& port,
                                const std::u16string& driver, bool shared) {
  if (!ValidPrinterName(name)) return kErrorInvalidPrinterName;
  if (printers_.count(Fold(name))) return kErrorPrinterAlreadyExists;
  if (!HasDriver(driver)) return kErrorUnknownPrinterDriver;
  if (!HasPort(port)) return kErrorUnknownPort;
  SimPrinter p;
  p.info.printerName = name;
  p.info.portName = port;
  p.info.driverName = drivers_[Fold(driver)].definition.name;
  p.info.shareName = shared ? name : u"";
  p.info.printProcessor = u"winprint";
  p.info.datatype = u"RAW";
  p.info.attributes = kAttributeLocal | (shared ? kAttributeShared : 0);
  p.info.priority = 1;
  p.info.devMode = DefaultDevMode(name, driver);
  printers_[Fold(name)] = std::move(p);
  return kErrorSuccess;
}

uint32_t SimSpooler::AddConnection(const std::u16string& name, const std::u16string& driver) {
  if (name.size() < 3 || name.compare(0, 2, u"\\\\") != 0) return kErrorInvalidPrinterName;
  if (printers_.count(Fold(name))) return kErrorPrinterAlreadyExists;
  if (!HasDriver(driver)) return kErrorUnknownPrinterDriver;
  SimPrinter p;
  p.connection = true;
  p.info.printerName = name;
  p.info.serverName = name.substr(0, name.find(u'\\', 2));
  p.info.driverName = drivers_[Fold(driver)].definition.name;
  p.info.attributes = kAttributeNetwork;
  p.info.devMode = DefaultDevMode(name, driver);
  printers_[Fold(name)] = std::move(p);
  return kErrorSuccess;
}

uint32_t SimSpooler::DeletePrinter(const std::u16string& name) {
  auto it = printers_.find(Fold(name));
  if (it == printers_.end()) return kErrorInvalidPrinterName;
  if (EqualsIgnoreCase(defaultPrinter, it->second.info.printerName)) defaultPrinter.clear();
  printers_.erase(it);
  return kErrorSuccess;
}

uint32_t SimSpooler::DeleteDriver(const std::u16string& driverName) {
  auto it = drivers_.find(Fold(driverName));
  if (it == drivers_.end()) return kErrorUnknownPrinterDriver;
  for (const auto& [key, p] : printers_)
    if (EqualsIgnoreCase(p.info.driverName, driverName)) return kErrorPrinterDriverInUse;
  drivers_.erase(it);
  return kErrorSuccess;
}

uint32_t SimSpooler::PrintTestPage(const std::u16string& printerName) {
  SimPrinter* p = Find(printerName);
  if (!p) return kErrorInvalidPrinterName;
  testPages.push_back(p->info.printerName);
  return kErrorSuccess;
}

SimPrinter* SimSpooler::Find(const std::u16string& printerName) {
  auto it = printers_.find(Fold(printerName));
  return it == printers_.end() ? nullptr : &it->second;
}

// ---- ISpooler ----

bool SimSpooler::ListPrinters(uint32_t flags, std::vector<PrinterInfo2>& printers, BufferStep* failedStep) {
  printers.clear();
  if (failedStep) *failedStep = BufferStep::kSizeQuery;
  if (failListPrinters) {
    if (failedStep) *failedStep = listPrintersFailsAt;
    return Fail(*failListPrinters);
  }
  if (!(flags & (kPrinterEnumLocal | kPrinterEnumConnections))) return Fail(kErrorInvalidFlags);
  for (const auto& [key, p] : printers_) {
    if (p.connection ? !(flags & kPrinterEnumConnections) : !(flags & kPrinterEnumLocal)) continue;
    PrinterInfo2 info = p.info;
    if (EqualsIgnoreCase(defaultPrinter, info.printerName)) info.attributes |= kAttributeDefault;
    printers.push_back(std::move(info));
  }
  return true;
}

bool SimSpooler::ListPorts(std::vector<PortInfo2>& ports) {
  ports.clear();
  if (failListPorts) return Fail(*failListPorts);
  ports = ports_;
  return true;
}

uint32_t SimSpooler::PortsNeededBytes() {
  if (failListPorts) {
    caller_.SetError(*failListPorts);
    return 0;
  }
  // PORT_INFO_2W of a 64-bit process, then its strings.
  uint32_t bytes = 0;
  for (const auto& p : ports_)
    bytes += 32 + 2 * static_cast<uint32_t>(p.portName.size() + p.monitorName.size() + p.description.size() + 3);
  caller_.SetError(kErrorInsufficientBuffer);
  return bytes;
}

bool SimSpooler::ListDrivers(std::vector<std::u16string>& driverNames) {
  driverNames.clear();
  for (const auto& [key, d] : drivers_) driverNames.push_back(d.definition.name);
  return true;
}

bool SimSpooler::Open(const std::u16string& name, uint32_t access, PrinterHandle& handle) {
  handle = 0;
  OpenHandle o;
  o.access = access;
  if (name.compare(0, kXcvMonitor.size(), kXcvMonitor) == 0) {
    o.monitor = name.substr(kXcvMonitor.size());
    if (!EqualsIgnoreCase(o.monitor, kTcpMonitor) && !EqualsIgnoreCase(o.monitor, u"Local Port"))
      return Fail(kErrorInvalidPrinterName);
  } else {
    if (!Find(name)) return Fail(kErrorInvalidPrinterName);
    o.printer = Fold(name);
  }
  bool administer = (access & (kPrinterAccessAdminister | kServerAccessAdminister)) != 0;
  if (administer && !callerIsAdmin) return Fail(kErrorAccessDenied);
  handle = nextHandle_;
  nextHandle_ += 8;
  handles_[handle] = o;
  return true;
}

bool SimSpooler::Close(PrinterHandle handle) {
  if (!handles_.erase(handle)) return Fail(kErrorInvalidHandle);
  return true;
}

SimPrinter* SimSpooler::FromHandle(PrinterHandle handle, uint32_t needAccess, uint32_t& error) {
  auto it = handles_.find(handle);
  if (it == handles_.end() || it->second.printer.empty()) {
    error = kErrorInvalidHandle;
    return nullptr;
  }
  SimPrinter* p = Find(it->second.printer);
  if (!p) {
    error = kErrorInvalidHandle;  // the printer was deleted meanwhile
    return nullptr;
  }
  if ((it->second.access & needAccess) != needAccess) {
    error = kErrorAccessDenied;
    return nullptr;
  }
  error = kErrorSuccess;
  return p;
}

bool SimSpooler::GetInfo2(PrinterHandle handle, PrinterInfo2& info, BufferStep* failedStep) {
  if (failedStep) *failedStep = BufferStep::kSizeQuery;
  uint32_t error = 0;
  SimPrinter* p = FromHandle(handle, 0, error);
  if (!p) return Fail(error);
  if (failGetInfo2) {
    if (failedStep) *failedStep = getInfo2FailsAt;
    return Fail(*failGetInfo2);
  }
  info = p->info;
  if (EqualsIgnoreCase(defaultPrinter, info.printerName)) info.attributes |= kAttributeDefault;
  return true;
}

bool SimSpooler::SetInfo2(PrinterHandle handle, const PrinterInfo2& info, uint32_t command) {
  uint32_t error = 0;
  SimPrinter* p = FromHandle(handle, kPrinterAccessAdminister, error);
  if (!p) return Fail(error);
  if (command > 3) return Fail(kErrorInvalidPrinterCommand);
  if (!ValidPrinterName(info.printerName)) return Fail(kErrorInvalidPrinterName);
  bool rename = !EqualsIgnoreCase(info.printerName, p->info.printerName);
  if (rename && printers_.count(Fold(info.printerName))) return Fail(kErrorPrinterAlreadyExists);
  if (!HasPort(info.portName)) return Fail(kErrorUnknownPort);
  if (!HasDriver(info.driverName)) return Fail(kErrorUnknownPrinterDriver);
  DevModeBytes dm = p->info.devMode;
  if (!info.devMode.empty()) {
    // The spooler reads dmSize + dmDriverExtra bytes; a shorter buffer would
    // be read past its end, so it is refused.
    auto size = DevModeSize(info.devMode);
    auto extra = DevModeDriverExtra(info.devMode);
    if (!size || !extra || *size < kDmFieldsOffset || static_cast<size_t>(*size) + *extra > info.devMode.size())
      return Fail(kErrorInvalidParameter);
    dm.assign(info.devMode.begin(), info.devMode.begin() + *size + *extra);
  }
  SimPrinter updated = *p;
  std::u16string oldKey = Fold(p->info.printerName);
  updated.info = info;
  updated.info.devMode = dm;
  updated.info.attributes = info.attributes & ~kAttributeDefault;
  if (rename) {
    if (EqualsIgnoreCase(defaultPrinter, p->info.printerName)) defaultPrinter = info.printerName;
    printers_.erase(oldKey);
    for (auto& [h, o] : handles_)
      if (o.printer == oldKey) o.printer = Fold(info.printerName);
  }
  printers_[Fold(info.printerName)] = std::move(updated);
  return true;
}

int32_t SimSpooler::DocProperties(PrinterHandle handle, const std::u16string&, DevModeBytes* out,
                                  const DevModeBytes* in, uint32_t mode, BufferStep* failedStep) {
  if (failedStep) *failedStep = BufferStep::kRead;
  uint32_t error = 0;
  SimPrinter* p = FromHandle(handle, 0, error);
  if (!p) {
    caller_.SetError(error);
    return -1;
  }
  const DevModeBytes& current = p->info.devMode;
  if (mode == 0) return static_cast<int32_t>(current.size());
  if (!(mode & kDmOutBuffer)) return kIdOk;
  if (!out) {
    caller_.SetError(kErrorInvalidParameter);
    return -1;
  }
  if (docPropertiesOutFailsAt) {
    if (failedStep) *failedStep = *docPropertiesOutFailsAt;
    caller_.SetError(*docPropertiesOutFailsAt == BufferStep::kAllocation ? kErrorNotEnoughMemory
                                                                         : kRpcServerUnavailable);
    return -1;
  }
  DevModeBytes result = current;
  if ((mode & kDmInBuffer) && in && !in->empty()) {
    auto size = DevModeSize(*in);
    auto extra = DevModeDriverExtra(*in);
    if (size && extra && static_cast<size_t>(*size) + *extra <= in->size()) {
      if (*size == kDevModePublicSize && *extra == ReadU16(current, kDmDriverExtraOffset)) {
        // The driver's own layout: taken whole.
        result.assign(in->begin(), in->begin() + *size + *extra);
      } else {
        // A foreign or older layout: only the public settings it holds.
        size_t end = std::min<size_t>(*size, kDevModePublicSize);
        for (size_t i = kDmFieldsOffset; i < end; ++i) result[i] = (*in)[i];
      }
    }
  }
  *out = result;
  return kIdOk;
}

bool SimSpooler::GetDefaultPrinterName(std::u16string& name) {
  name.clear();
  if (defaultPrinter.empty()) return Fail(kErrorFileNotFound);
  name = defaultPrinter;
  return true;
}

bool SimSpooler::SetDefaultPrinterName(const std::u16string& name) {
  SimPrinter* p = Find(name);
  if (!p) return Fail(kErrorInvalidPrinterName);
  defaultPrinter = p->info.printerName;
  return true;
}

bool SimSpooler::DriverDirectory(std::u16string& directory) {
  // The caller's own environment: a 32-bit program on 64-bit Windows gets
  // the x86 folder.
  directory = caller_.Bits() == 32 ? files_.known.windows + u"\\system32\\spool\\DRIVERS\\W32X86"
                                   : DriverDirectoryPath();
  return true;
}

bool SimSpooler::Configure(uintptr_t ownerWindow, const std::u16string& portName) {
  lastConfigureOwner = ownerWindow;
  if (!HasPort(portName)) return Fail(kErrorUnknownPort);
  auto refused = configureErrors.find(portName);
  if (refused != configureErrors.end()) return Fail(refused->second);
  configuredPorts.push_back(portName);
  return true;
}

uint32_t SimSpooler::GetData(PrinterHandle handle, const std::u16string& valueName, uint32_t& type,
                             std::vector<uint8_t>& data, uint32_t capacity, uint32_t& needed) {
  uint32_t error = 0;
  SimPrinter* p = FromHandle(handle, 0, error);
  needed = 0;
  if (!p) return error;
  auto it = p->data.find(Fold(valueName));
  if (it == p->data.end()) return kErrorFileNotFound;
  type = it->second.first;
  needed = static_cast<uint32_t>(it->second.second.size());
  if (needed > capacity) return kErrorMoreData;
  data = it->second.second;
  return kErrorSuccess;
}

uint32_t SimSpooler::SetData(PrinterHandle handle, const std::u16string& valueName, uint32_t type,
                             const std::vector<uint8_t>& data) {
  uint32_t error = 0;
  SimPrinter* p = FromHandle(handle, kPrinterAccessAdminister, error);
  if (!p) return error;
  p->data[Fold(valueName)] = {type, data};
  return kErrorSuccess;
}

bool SimSpooler::Xcv(PrinterHandle handle, const std::u16string& command, const std::vector<uint8_t>& input,
                     uint32_t& status) {
  auto it = handles_.find(handle);
  if (it == handles_.end() || it->second.monitor.empty()) return Fail(kErrorInvalidHandle);
  if (!EqualsIgnoreCase(it->second.monitor, kTcpMonitor) || command != u"AddPort") {
    status = kErrorInvalidParameter;
    return true;
  }
  if (!(it->second.access & kServerAccessAdminister)) {
    status = kErrorAccessDenied;
    return true;
  }
  if (input.size() < kPortData1Size || ReadU32(input, kPd1VersionOffset) != 1) {
    status = kErrorInvalidParameter;
    return true;
  }
  std::u16string name = ReadWideSlot(input, kPd1PortNameOffset, kPd1PortNameChars);
  SimTcpPort port;
  port.address = ReadWideSlot(input, kPd1HostAddressOffset, kPd1HostAddressChars);
  port.portNumber = ReadU32(input, kPd1PortNumberOffset);
  port.protocol = ReadU32(input, kPd1ProtocolOffset);
  if (name.empty() || port.address.empty() || (port.protocol != 1 && port.protocol != 2)) {
    status = kErrorInvalidParameter;
    return true;
  }
  status = AddTcpPort(name, port);
  return true;
}

}  // namespace lx
