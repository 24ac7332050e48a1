// Simulated device setup: USB printers attached to the machine, each with its
// device instance ID, its USB printer interface path and, once the USB port
// monitor has made its port, the "Port Number" value under the interface's
// DeviceClasses key.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/device_setup.h"
#include "platform/sim/sim_caller.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_usb_io.h"

namespace lx {

struct SimUsbPrinter {
  std::u16string instanceId;  // USB\VID_xxxx&PID_yyyy\serial
  std::u16string devicePath;  // \\?\usb#vid_xxxx&pid_yyyy#serial#{28d78fad-...}
  bool present = true;
  bool hasInterface = true;  // false: SetupDiEnumDeviceInterfaces finds none
  bool detailReadable = true;
  BufferStep detailFailsAt = BufferStep::kSizeQuery;  // when not readable
  // The printer behind the interface, reached through device input and output.
  SimLabelPrinter label;
};

class SimDeviceSetup : public IDeviceSetup {
 public:
  SimDeviceSetup(SimCaller& caller, SimRegistry& registry) : caller_(caller), registry_(registry) {}

  DevInfoList GetClassDevs(const Guid& classGuid, uint32_t flags) override;
  bool EnumDeviceInfo(DevInfoList list, uint32_t deviceIndex) override;
  bool GetDeviceInstanceId(DevInfoList list, uint32_t deviceIndex, size_t bufferChars,
                           std::u16string& instanceId) override;
  bool EnumDeviceInterfaces(DevInfoList list, uint32_t deviceIndex, const Guid& classGuid, uint32_t memberIndex,
                            DeviceInterfaceRef& ref) override;
  bool GetDeviceInterfacePath(DevInfoList list, const DeviceInterfaceRef& ref, std::u16string& devicePath,
                              BufferStep* failedStep = nullptr) override;
  bool DestroyDeviceInfoList(DevInfoList list) override;

  // Attaches a USB printer. With a port number, the interface's
  // "Port Number" value is written as the USB port monitor does.
  void AttachUsbPrinter(const SimUsbPrinter& printer, std::optional<uint32_t> portNumber);
  // The DeviceClasses key of a USB printer interface, as the registry names it.
  static std::u16string InterfaceKeyPath(const std::u16string& devicePath);

  std::vector<SimUsbPrinter> printers;  // in enumeration order
  bool failGetClassDevs = false;
  size_t OpenLists() const { return lists_.size(); }

 private:
  bool Fail(uint32_t error) {
    caller_.SetError(error);
    return false;
  }
  const std::vector<SimUsbPrinter>* ListOf(DevInfoList list);

  SimCaller& caller_;
  SimRegistry& registry_;
  // Each list is a snapshot of the devices present when it was made.
  std::map<DevInfoList, std::vector<SimUsbPrinter>> lists_;
  DevInfoList next_ = 0x5000;
};

}  // namespace lx
