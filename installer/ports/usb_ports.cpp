#include "installer/ports/usb_ports.h"

#include <optional>

#include "common/text.h"
#include "installer/core/trace.h"
#include "installer/ports/usb_port_rules.h"
#include "platform/device_setup.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace lx {

namespace {

constexpr uint32_t kUsbPrintFlags = kDigcfPresent | kDigcfDeviceInterface;  // 18
constexpr size_t kInstanceIdChars = 512;

// The accepted device at `index` with its interface path, or nothing (with
// the reason traced) when the device is not ours or its interface cannot be read.
// `stop` is set when no memory is left for the next device either.
std::optional<UsbPortInfo> AcceptedInterface(const Os& os, DevInfoList list, uint32_t index, bool& stop) {
  IDeviceSetup& devices = *os.devices;
  UsbPortInfo found;
  if (!devices.GetDeviceInstanceId(list, index, kInstanceIdChars, found.instanceId))
    return std::nullopt;
  if (!IsAcceptedUsbInstanceId(found.instanceId)) {
    DebugTrace(os, "Invalid device instance: %ls", found.instanceId.c_str());
    return std::nullopt;
  }
  DeviceInterfaceRef ref;
  if (!devices.EnumDeviceInterfaces(list, index, kGuidDevInterfaceUsbPrint, 0, ref)) {
    DebugTrace(os, "Failed to enumerate device interfaces");
    return std::nullopt;
  }
  BufferStep failed = BufferStep::kSizeQuery;
  if (!devices.GetDeviceInterfacePath(list, ref, found.devicePath, &failed)) {
    if (failed == BufferStep::kSizeQuery) {
      DebugTrace(os, "Failed to get interface device detail size");
    } else if (failed == BufferStep::kAllocation) {
      DebugTrace(os, "Memory allocation failed for device detail");
      stop = true;
    } else {
      DebugTrace(os, "Failed to get interface device detail");
    }
    return std::nullopt;
  }
  return found;
}

// Calls `visit` for each accepted device in enumeration order until it
// answers true. False when the device list cannot be obtained.
template <typename Visit>
bool ForEachAcceptedPrinter(const Os& os, Visit visit) {
  IDeviceSetup& devices = *os.devices;
  DevInfoList list = devices.GetClassDevs(kGuidDevInterfaceUsbPrint, kUsbPrintFlags);
  if (list == 0) return false;
  bool stop = false;
  for (uint32_t index = 0; !stop && devices.EnumDeviceInfo(list, index); ++index) {
    std::optional<UsbPortInfo> device = AcceptedInterface(os, list, index, stop);
    if (device && visit(*device)) break;
  }
  devices.DestroyDeviceInfoList(list);
  return true;
}

}  // namespace

bool FindUsbPrinterPort(const Os& os, UsbPortInfo& info) {
  return ForEachAcceptedPrinter(os, [&](const UsbPortInfo& device) {
    // A DOT4 interface has no printer port of its own.
    if (Contains(device.devicePath, u"#dot4#")) return false;
    std::u16string key = GetDeviceParametersKey(device.devicePath);
    // Windows may refuse write on this key; reading is all we need, and a
    // missing key is no port: nothing is created under DeviceClasses.
    if (!os.registry->OpenKeyMaximumAllowed(RegRoot::kLocalMachine, key)) {
      DebugTraceW(os, u"No Device Parameters key for %s (%u)", device.devicePath.c_str(),
                  static_cast<unsigned>(os.system->GetLastError()));
      return false;
    }
    std::optional<uint32_t> port = os.registry->GetDword(RegRoot::kLocalMachine, key, u"Port Number");
    if (!port) return false;
    info.portName = UsbPortName(*port);
    info.instanceId = device.instanceId;
    info.devicePath = device.devicePath;
    DebugTraceW(os, u"Found USB port: %s", info.portName.c_str());
    return true;
  });
}

std::u16string FindUsbPrinterDevicePath(const Os& os) {
  std::u16string path;
  ForEachAcceptedPrinter(os, [&](const UsbPortInfo& device) {
    path = device.devicePath;
    return true;
  });
  return path;
}

}  // namespace lx
