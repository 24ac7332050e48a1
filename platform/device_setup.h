// Device setup (SetupDi*): the present device interfaces of a class.
#pragma once

#include <cstdint>
#include <string>

#include "platform/buffer_step.h"
#include "platform/guid.h"

namespace lx {

constexpr uint32_t kDigcfPresent = 0x02;
constexpr uint32_t kDigcfDeviceInterface = 0x10;

// A device information list; 0 stands for INVALID_HANDLE_VALUE.
using DevInfoList = uintptr_t;

// One interface of one device, as SetupDiEnumDeviceInterfaces found it.
struct DeviceInterfaceRef {
  uint32_t deviceIndex = 0;
  Guid classGuid = {};
  uint32_t memberIndex = 0;
};

// Failures leave the Windows error as the thread's last error
// (ERROR_NO_MORE_ITEMS past the last device or interface).
class IDeviceSetup {
 public:
  virtual ~IDeviceSetup() = default;
  // SetupDiGetClassDevsW(&classGuid, no enumerator, no window, flags).
  virtual DevInfoList GetClassDevs(const Guid& classGuid, uint32_t flags) = 0;
  // SetupDiEnumDeviceInfo: true while a device exists at `deviceIndex`.
  virtual bool EnumDeviceInfo(DevInfoList list, uint32_t deviceIndex) = 0;
  // SetupDiGetDeviceInstanceIdW with a buffer of `bufferChars` characters
  // (terminator included); fails with ERROR_INSUFFICIENT_BUFFER when too small.
  virtual bool GetDeviceInstanceId(DevInfoList list, uint32_t deviceIndex, size_t bufferChars,
                                   std::u16string& instanceId) = 0;
  // SetupDiEnumDeviceInterfaces for the device, class and member index.
  virtual bool EnumDeviceInterfaces(DevInfoList list, uint32_t deviceIndex, const Guid& classGuid,
                                    uint32_t memberIndex, DeviceInterfaceRef& ref) = 0;
  // SetupDiGetDeviceInterfaceDetailW: the interface's DevicePath, read as
  // Windows asks: size query, allocation, read. `failedStep` receives the
  // step that failed.
  virtual bool GetDeviceInterfacePath(DevInfoList list, const DeviceInterfaceRef& ref,
                                      std::u16string& devicePath, BufferStep* failedStep = nullptr) = 0;
  virtual bool DestroyDeviceInfoList(DevInfoList list) = 0;
};

}  // namespace lx
