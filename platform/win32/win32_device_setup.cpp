#include "platform/win32/win32_device_setup.h"

#include <setupapi.h>

#include <cstring>
#include <new>
#include <vector>

#include "platform/win32/wide.h"

namespace lx {

static_assert(sizeof(Guid) == sizeof(GUID), "GUID layout");

namespace {

GUID G(const Guid& g) {
  GUID out;
  std::memcpy(&out, &g, sizeof out);
  return out;
}

HDEVINFO Info(DevInfoList list) { return reinterpret_cast<HDEVINFO>(list); }

bool Device(DevInfoList list, uint32_t index, SP_DEVINFO_DATA& data) {
  data = {};
  data.cbSize = sizeof data;
  return ::SetupDiEnumDeviceInfo(Info(list), index, &data) != FALSE;
}

}  // namespace

DevInfoList Win32DeviceSetup::GetClassDevs(const Guid& classGuid, uint32_t flags) {
  GUID g = G(classGuid);
  HDEVINFO h = ::SetupDiGetClassDevsW(&g, nullptr, nullptr, flags);
  return h == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<DevInfoList>(h);
}

bool Win32DeviceSetup::EnumDeviceInfo(DevInfoList list, uint32_t deviceIndex) {
  SP_DEVINFO_DATA data;
  return Device(list, deviceIndex, data);
}

bool Win32DeviceSetup::GetDeviceInstanceId(DevInfoList list, uint32_t deviceIndex, size_t bufferChars,
                                           std::u16string& instanceId) {
  instanceId.clear();
  SP_DEVINFO_DATA data;
  if (!Device(list, deviceIndex, data) || bufferChars == 0) return false;
  std::vector<wchar_t> buf(bufferChars, 0);
  if (!::SetupDiGetDeviceInstanceIdW(Info(list), &data, buf.data(), static_cast<DWORD>(bufferChars), nullptr))
    return false;
  instanceId = U(buf.data());
  return true;
}

bool Win32DeviceSetup::EnumDeviceInterfaces(DevInfoList list, uint32_t deviceIndex, const Guid& classGuid,
                                            uint32_t memberIndex, DeviceInterfaceRef& ref) {
  SP_DEVINFO_DATA data;
  if (!Device(list, deviceIndex, data)) return false;
  SP_DEVICE_INTERFACE_DATA iface = {};
  iface.cbSize = sizeof iface;
  GUID g = G(classGuid);
  if (!::SetupDiEnumDeviceInterfaces(Info(list), &data, &g, memberIndex, &iface)) return false;
  ref = {deviceIndex, classGuid, memberIndex};
  return true;
}

bool Win32DeviceSetup::GetDeviceInterfacePath(DevInfoList list, const DeviceInterfaceRef& ref,
                                              std::u16string& devicePath, BufferStep* failedStep) {
  devicePath.clear();
  auto report = [&](BufferStep step) {
    if (failedStep) *failedStep = step;
  };
  report(BufferStep::kSizeQuery);
  SP_DEVINFO_DATA data;
  if (!Device(list, ref.deviceIndex, data)) return false;
  SP_DEVICE_INTERFACE_DATA iface = {};
  iface.cbSize = sizeof iface;
  GUID g = G(ref.classGuid);
  if (!::SetupDiEnumDeviceInterfaces(Info(list), &data, &g, ref.memberIndex, &iface)) return false;
  DWORD needed = 0;
  if (!::SetupDiGetDeviceInterfaceDetailW(Info(list), &iface, nullptr, 0, &needed, nullptr) &&
      ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
    return false;
  if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
    ::SetLastError(ERROR_INVALID_USER_BUFFER);
    return false;
  }
  report(BufferStep::kAllocation);
  // DWORD-aligned storage for the variable-length record.
  std::vector<DWORD> buf;
  try {
    buf.assign((needed + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  } catch (const std::bad_alloc&) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  report(BufferStep::kRead);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buf.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!::SetupDiGetDeviceInterfaceDetailW(Info(list), &iface, detail, needed, nullptr, nullptr)) return false;
  devicePath = U(detail->DevicePath);
  return true;
}

bool Win32DeviceSetup::DestroyDeviceInfoList(DevInfoList list) {
  return ::SetupDiDestroyDeviceInfoList(Info(list)) != FALSE;
}

}  // namespace lx
