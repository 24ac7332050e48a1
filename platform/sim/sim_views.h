// One program's access to the machine-wide services: each call first makes
// the program the caller, so that a failure becomes its own last error and
// its word size decides the registry view and Program Files, whichever of
// several live programs is calling.
#pragma once

#include <string>
#include <utility>

#include "platform/buffer_step.h"
#include "platform/sim/sim_caller.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_spooler.h"

namespace lx {

class SimEntry {
 public:
  SimEntry(SimCaller& caller, ISystem& program, int bits, const char* service)
      : caller_(caller), program_(program), bits_(bits), service_(service) {}

 protected:
  void Enter() { caller_.Attach(&program_, bits_); }
  // Enters, and answers true when a fault sweep fails this call with `error`.
  bool Faulted(uint32_t error, const char* call = __builtin_FUNCTION()) {
    Enter();
    return caller_.InjectFault(error, caller_.recordCalls ? std::string(service_) + "." + call : std::string());
  }
  // A call that stands for a size query, an allocation and a read is three
  // calls to a sweep: each can fail on its own, the allocation for want of
  // memory, and `failedStep` says which did.
  bool FaultedStep(uint32_t error, BufferStep* failedStep, const char* call = __builtin_FUNCTION()) {
    static const std::pair<BufferStep, const char*> kSteps[] = {
        {BufferStep::kSizeQuery, ":size"}, {BufferStep::kAllocation, ":allocation"}, {BufferStep::kRead, ":read"}};
    for (const auto& [step, suffix] : kSteps) {
      Enter();
      std::string name = caller_.recordCalls ? std::string(service_) + "." + call + suffix : std::string();
      if (caller_.InjectFault(step == BufferStep::kAllocation ? kErrorNotEnoughMemory : error, name)) {
        if (failedStep) *failedStep = step;
        return true;
      }
    }
    return false;
  }

 private:
  SimCaller& caller_;
  ISystem& program_;
  int bits_;
  const char* service_;
};

class SimRegistryView : public IRegistry, private SimEntry {
 public:
  SimRegistryView(SimRegistry& r, SimCaller& c, ISystem& p, int bits) : SimEntry(c, p, bits, "registry"), r_(r) {}
  bool KeyExists(RegRoot root, const std::u16string& path, RegView view) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return r_.KeyExists(root, path, view);
  }
  bool CreateKey(RegRoot root, const std::u16string& path, RegView view) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return r_.CreateKey(root, path, view);
  }
  bool OpenKeyMaximumAllowed(RegRoot root, const std::u16string& path, RegView view) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return r_.OpenKeyMaximumAllowed(root, path, view);
  }
  bool DeleteKey(RegRoot root, const std::u16string& path, RegView view) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return r_.DeleteKey(root, path, view);
  }
  std::vector<std::u16string> EnumSubKeys(RegRoot root, const std::u16string& path, RegView view) override {
    if (Faulted(kErrorAccessDenied)) return {};
    return r_.EnumSubKeys(root, path, view);
  }
  std::optional<std::u16string> GetString(RegRoot root, const std::u16string& path, const std::u16string& name,
                                          RegView view) override {
    if (Faulted(kErrorAccessDenied)) return std::nullopt;
    return r_.GetString(root, path, name, view);
  }
  std::optional<uint32_t> GetDword(RegRoot root, const std::u16string& path, const std::u16string& name,
                                   RegView view) override {
    if (Faulted(kErrorAccessDenied)) return std::nullopt;
    return r_.GetDword(root, path, name, view);
  }
  bool SetString(RegRoot root, const std::u16string& path, const std::u16string& name,
                 const std::u16string& value, RegView view) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return r_.SetString(root, path, name, value, view);
  }
  bool SetDword(RegRoot root, const std::u16string& path, const std::u16string& name, uint32_t value,
                RegView view) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return r_.SetDword(root, path, name, value, view);
  }
  bool DeleteValue(RegRoot root, const std::u16string& path, const std::u16string& name, RegView view) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return r_.DeleteValue(root, path, name, view);
  }

 private:
  SimRegistry& r_;
};

class SimFilesView : public IFileSystem, private SimEntry {
 public:
  SimFilesView(SimFileSystem& f, SimCaller& c, ISystem& p, int bits) : SimEntry(c, p, bits, "files"), f_(f) {}
  std::optional<std::string> ReadFile(const std::u16string& path) override {
    if (Faulted(kErrorAccessDenied)) return std::nullopt;
    return f_.ReadFile(path);
  }
  bool WriteFile(const std::u16string& path, const std::string& bytes) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.WriteFile(path, bytes);
  }
  bool AppendFile(const std::u16string& path, const std::string& bytes) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.AppendFile(path, bytes);
  }
  bool FileExists(const std::u16string& path) override {
    if (Faulted(kErrorFileNotFound)) return false;
    return f_.FileExists(path);
  }
  uint32_t GetAttributes(const std::u16string& path) override {
    if (Faulted(kErrorFileNotFound)) return kInvalidFileAttributes;
    return f_.GetAttributes(path);
  }
  bool SetAttributes(const std::u16string& path, uint32_t attributes) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.SetAttributes(path, attributes);
  }
  bool IsDirectory(const std::u16string& path) override {
    if (Faulted(kErrorFileNotFound)) return false;
    return f_.IsDirectory(path);
  }
  bool CreateFolder(const std::u16string& path) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.CreateFolder(path);
  }
  bool RemoveFolder(const std::u16string& path) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.RemoveFolder(path);
  }
  bool FindFiles(const std::u16string& pattern, std::vector<FindEntry>& entries) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.FindFiles(pattern, entries);
  }
  bool Copy(const std::u16string& from, const std::u16string& to, bool failIfExists) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.Copy(from, to, failIfExists);
  }
  bool RemoveFile(const std::u16string& path) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.RemoveFile(path);
  }
  std::optional<std::u16string> GetFolderPath(KnownFolder folder, bool create) override {
    if (Faulted(kErrorAccessDenied)) return std::nullopt;
    return f_.GetFolderPath(folder, create);
  }
  FileHandle OpenNoFollow(const std::u16string& path, uint32_t access) override {
    if (Faulted(kErrorAccessDenied)) return 0;
    return f_.OpenNoFollow(path, access);
  }
  bool QueryHandle(FileHandle handle, OpenedFileInfo& info) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.QueryHandle(handle, info);
  }
  std::optional<std::string> ReadHandle(FileHandle handle, size_t maxBytes) override {
    if (Faulted(kErrorAccessDenied)) return std::nullopt;
    return f_.ReadHandle(handle, maxBytes);
  }
  bool WriteHandle(FileHandle handle, const std::string& bytes) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.WriteHandle(handle, bytes);
  }
  bool DeleteByHandle(FileHandle handle) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return f_.DeleteByHandle(handle);
  }
  void CloseFile(FileHandle handle) override { f_.CloseFile(handle); }

 private:
  SimFileSystem& f_;
};

class SimSpoolerView : public ISpooler, private SimEntry {
 public:
  SimSpoolerView(SimSpooler& s, SimCaller& c, ISystem& p, int bits) : SimEntry(c, p, bits, "spooler"), s_(s) {}
  bool ListPrinters(uint32_t flags, std::vector<PrinterInfo2>& printers, BufferStep* failedStep) override {
    if (FaultedStep(kRpcServerUnavailable, failedStep)) return false;
    return s_.ListPrinters(flags, printers, failedStep);
  }
  bool ListPorts(std::vector<PortInfo2>& ports) override {
    if (Faulted(kRpcServerUnavailable)) return false;
    return s_.ListPorts(ports);
  }
  uint32_t PortsNeededBytes() override {
    Enter();
    return s_.PortsNeededBytes();
  }
  bool ListDrivers(std::vector<std::u16string>& names) override {
    if (Faulted(kRpcServerUnavailable)) return false;
    return s_.ListDrivers(names);
  }
  bool Open(const std::u16string& name, uint32_t access, PrinterHandle& handle) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return s_.Open(name, access, handle);
  }
  bool Close(PrinterHandle handle) override {
    if (Faulted(kErrorInvalidHandle)) return false;
    return s_.Close(handle);
  }
  bool GetInfo2(PrinterHandle handle, PrinterInfo2& info, BufferStep* failedStep) override {
    if (FaultedStep(kErrorNotEnoughMemory, failedStep)) return false;
    return s_.GetInfo2(handle, info, failedStep);
  }
  bool SetInfo2(PrinterHandle handle, const PrinterInfo2& info, uint32_t command) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return s_.SetInfo2(handle, info, command);
  }
  int32_t DocProperties(PrinterHandle handle, const std::u16string& deviceName, DevModeBytes* out,
                        const DevModeBytes* in, uint32_t mode, BufferStep* failedStep) override {
    if (Faulted(kErrorNotEnoughMemory)) {
      if (failedStep) *failedStep = BufferStep::kRead;
      return -1;
    }
    return s_.DocProperties(handle, deviceName, out, in, mode, failedStep);
  }
  bool GetDefaultPrinterName(std::u16string& name) override {
    if (Faulted(kErrorFileNotFound)) return false;
    return s_.GetDefaultPrinterName(name);
  }
  bool SetDefaultPrinterName(const std::u16string& name) override {
    if (Faulted(kErrorInvalidPrinterName)) return false;
    return s_.SetDefaultPrinterName(name);
  }
  bool DriverDirectory(std::u16string& directory) override {
    if (Faulted(kErrorNotEnoughMemory)) return false;
    return s_.DriverDirectory(directory);
  }
  bool Configure(uintptr_t ownerWindow, const std::u16string& portName) override {
    if (Faulted(kErrorNotSupported)) return false;
    return s_.Configure(ownerWindow, portName);
  }
  uint32_t GetData(PrinterHandle handle, const std::u16string& valueName, uint32_t& type,
                   std::vector<uint8_t>& data, uint32_t capacity, uint32_t& needed) override {
    if (Faulted(kErrorNotEnoughMemory)) return kErrorNotEnoughMemory;
    return s_.GetData(handle, valueName, type, data, capacity, needed);
  }
  uint32_t SetData(PrinterHandle handle, const std::u16string& valueName, uint32_t type,
                   const std::vector<uint8_t>& data) override {
    if (Faulted(kErrorAccessDenied)) return kErrorAccessDenied;
    return s_.SetData(handle, valueName, type, data);
  }
  bool Xcv(PrinterHandle handle, const std::u16string& command, const std::vector<uint8_t>& input,
           uint32_t& status) override {
    if (Faulted(kErrorAccessDenied)) return false;
    return s_.Xcv(handle, command, input, status);
  }

 private:
  SimSpooler& s_;
};

class SimDeviceIoView : public IDeviceIo, private SimEntry {
 public:
  SimDeviceIoView(SimDeviceIo& d, SimCaller& c, ISystem& p, int bits) : SimEntry(c, p, bits, "deviceio"), d_(d) {}
  DeviceHandle Open(const std::u16string& path) override {
    Enter();
    return d_.Open(path);
  }
  bool Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written, uint32_t timeoutMs) override {
    Enter();
    return d_.Write(device, bytes, size, written, timeoutMs);
  }
  bool Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read, uint32_t timeoutMs) override {
    Enter();
    return d_.Read(device, buffer, capacity, read, timeoutMs);
  }
  bool Close(DeviceHandle device) override {
    Enter();
    return d_.Close(device);
  }

 private:
  SimDeviceIo& d_;
};

class SimDevicesView : public IDeviceSetup, private SimEntry {
 public:
  SimDevicesView(SimDeviceSetup& d, SimCaller& c, ISystem& p, int bits) : SimEntry(c, p, bits, "devices"), d_(d) {}
  DevInfoList GetClassDevs(const Guid& classGuid, uint32_t flags) override {
    if (Faulted(kErrorNotEnoughMemory)) return 0;
    return d_.GetClassDevs(classGuid, flags);
  }
  bool EnumDeviceInfo(DevInfoList list, uint32_t index) override {
    if (Faulted(kErrorNotEnoughMemory)) return false;
    return d_.EnumDeviceInfo(list, index);
  }
  bool GetDeviceInstanceId(DevInfoList list, uint32_t index, size_t chars, std::u16string& id) override {
    if (Faulted(kErrorNotEnoughMemory)) return false;
    return d_.GetDeviceInstanceId(list, index, chars, id);
  }
  bool EnumDeviceInterfaces(DevInfoList list, uint32_t index, const Guid& classGuid, uint32_t member,
                            DeviceInterfaceRef& ref) override {
    if (Faulted(kErrorNotEnoughMemory)) return false;
    return d_.EnumDeviceInterfaces(list, index, classGuid, member, ref);
  }
  bool GetDeviceInterfacePath(DevInfoList list, const DeviceInterfaceRef& ref, std::u16string& path,
                              BufferStep* failedStep) override {
    if (FaultedStep(kErrorNotEnoughMemory, failedStep)) return false;
    return d_.GetDeviceInterfacePath(list, ref, path, failedStep);
  }
  bool DestroyDeviceInfoList(DevInfoList list) override {
    if (Faulted(kErrorInvalidHandle)) return false;
    return d_.DestroyDeviceInfoList(list);
  }

 private:
  SimDeviceSetup& d_;
};

class SimServicesView : public IServices, private SimEntry {
 public:
  SimServicesView(SimServices& s, SimCaller& c, ISystem& p, int bits) : SimEntry(c, p, bits, "services"), s_(s) {}
  ScHandle OpenSCManagerW(uint32_t access) override {
    Enter();
    return s_.OpenSCManagerW(access);
  }
  ScHandle OpenServiceW(ScHandle manager, const std::u16string& name, uint32_t access) override {
    Enter();
    return s_.OpenServiceW(manager, name, access);
  }
  ScHandle CreateServiceW(ScHandle manager, const std::u16string& name, const std::u16string& displayName,
                         uint32_t access, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                         const std::u16string& binaryPath) override {
    Enter();
    return s_.CreateServiceW(manager, name, displayName, access, serviceType, startType, errorControl, binaryPath);
  }
  bool StartServiceW(ScHandle service) override {
    Enter();
    return s_.StartServiceW(service);
  }
  std::optional<ServiceConfig> QueryServiceConfigW(ScHandle service) override {
    Enter();
    return s_.QueryServiceConfigW(service);
  }
  bool ChangeServiceConfigW(ScHandle service, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                           const std::u16string& binaryPath) override {
    Enter();
    return s_.ChangeServiceConfigW(service, serviceType, startType, errorControl, binaryPath);
  }
  bool ControlService(ScHandle service, uint32_t control, ServiceStatus& status) override {
    Enter();
    return s_.ControlService(service, control, status);
  }
  bool QueryServiceStatus(ScHandle service, ServiceStatus& status) override {
    Enter();
    return s_.QueryServiceStatus(service, status);
  }
  bool DeleteService(ScHandle service) override {
    Enter();
    return s_.DeleteService(service);
  }
  bool CloseServiceHandle(ScHandle handle) override {
    Enter();
    return s_.CloseServiceHandle(handle);
  }

 private:
  SimServices& s_;
};

}  // namespace lx
