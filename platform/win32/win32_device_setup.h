// The real SetupAPI behind IDeviceSetup.
#pragma once

#include <windows.h>

#include "platform/device_setup.h"

namespace lx {

class Win32DeviceSetup : public IDeviceSetup {
 public:
  DevInfoList GetClassDevs(const Guid& classGuid, uint32_t flags) override;
  bool EnumDeviceInfo(DevInfoList list, uint32_t deviceIndex) override;
  bool GetDeviceInstanceId(DevInfoList list, uint32_t deviceIndex, size_t bufferChars,
                           std::u16string& instanceId) override;
  bool EnumDeviceInterfaces(DevInfoList list, uint32_t deviceIndex, const Guid& classGuid, uint32_t memberIndex,
                            DeviceInterfaceRef& ref) override;
  bool GetDeviceInterfacePath(DevInfoList list, const DeviceInterfaceRef& ref, std::u16string& devicePath,
                              BufferStep* failedStep) override;
  bool DestroyDeviceInfoList(DevInfoList list) override;
};

}  // namespace lx
