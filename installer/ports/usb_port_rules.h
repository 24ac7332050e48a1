// The string rules of USB printer port discovery: which device instance IDs
// belong to a configured model, the DeviceClasses key of an interface, and
// the spooler port name.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

// True when some model's PID and some model's VID (not necessarily the same
// model's) occur in the ID.
bool ModelIdOccursInDeviceId(const std::u16string& instanceId);

// The acceptance rules for a printer's instance ID: a configured model, only
// interface 00 of a composite device, no "PI_" part.
bool IsAcceptedUsbInstanceId(const std::u16string& instanceId);

// "SYSTEM\CurrentControlSet\Control\DeviceClasses\{guid}\<path, '\' as '#'>\#\Device Parameters".
std::u16string GetDeviceParametersKey(const std::u16string& devicePath);

// "USB%03d" of the port number.
std::u16string UsbPortName(uint32_t portNumber);

}  // namespace lx
