#include "platform/sim/sim_devices.h"

#include "common/text.h"

namespace lx {

DevInfoList SimDeviceSetup::GetClassDevs(const Guid& classGuid, uint32_t flags) {
  if (failGetClassDevs || !(flags & kDigcfDeviceInterface)) {
    caller_.SetError(kErrorInvalidParameter);
    return 0;
  }
  std::vector<SimUsbPrinter> snapshot;
  if (classGuid == kGuidDevInterfaceUsbPrint)
    for (const auto& p : printers)
      if (p.present || !(flags & kDigcfPresent)) snapshot.push_back(p);
  DevInfoList list = next_;
  next_ += 8;
  lists_[list] = std::move(snapshot);
  return list;
}

const std::vector<SimUsbPrinter>* SimDeviceSetup::ListOf(DevInfoList list) {
  auto it = lists_.find(list);
  return it == lists_.end() ? nullptr : &it->second;
}

bool SimDeviceSetup::EnumDeviceInfo(DevInfoList list, uint32_t deviceIndex) {
  const auto* devices = ListOf(list);
  if (!devices) return Fail(kErrorInvalidHandle);
  if (deviceIndex >= devices->size()) return Fail(kErrorNoMoreItems);
  return true;
}

bool SimDeviceSetup::GetDeviceInstanceId(DevInfoList list, uint32_t deviceIndex, size_t bufferChars,
                                         std::u16string& instanceId) {
  instanceId.clear();
  const auto* devices = ListOf(list);
  if (!devices) return Fail(kErrorInvalidHandle);
  if (deviceIndex >= devices->size()) return Fail(kErrorNoMoreItems);
  const std::u16string& id = (*devices)[deviceIndex].instanceId;
  if (id.size() + 1 > bufferChars) return Fail(kErrorInsufficientBuffer);
  instanceId = id;
  return true;
}

bool SimDeviceSetup::EnumDeviceInterfaces(DevInfoList list, uint32_t deviceIndex, const Guid& classGuid,
                                          uint32_t memberIndex, DeviceInterfaceRef& ref) {
  const auto* devices = ListOf(list);
  if (!devices) return Fail(kErrorInvalidHandle);
  if (deviceIndex >= devices->size()) return Fail(kErrorNoMoreItems);
  // Each printer has at most one USB printer interface.
  if (classGuid != kGuidDevInterfaceUsbPrint || memberIndex > 0 || !(*devices)[deviceIndex].hasInterface)
    return Fail(kErrorNoMoreItems);
  ref = {deviceIndex, classGuid, memberIndex};
  return true;
}

bool SimDeviceSetup::GetDeviceInterfacePath(DevInfoList list, const DeviceInterfaceRef& ref,
                                            std::u16string& devicePath, BufferStep* failedStep) {
  devicePath.clear();
  if (failedStep) *failedStep = BufferStep::kSizeQuery;
  const auto* devices = ListOf(list);
  if (!devices) return Fail(kErrorInvalidHandle);
  if (ref.deviceIndex >= devices->size() || ref.memberIndex > 0 || ref.classGuid != kGuidDevInterfaceUsbPrint)
    return Fail(kErrorInvalidParameter);
  const SimUsbPrinter& p = (*devices)[ref.deviceIndex];
  if (!p.detailReadable) {
    if (failedStep) *failedStep = p.detailFailsAt;
    return Fail(p.detailFailsAt == BufferStep::kAllocation ? kErrorNotEnoughMemory : kErrorInvalidParameter);
  }
  devicePath = p.devicePath;
  return true;
}

bool SimDeviceSetup::DestroyDeviceInfoList(DevInfoList list) {
  if (!lists_.erase(list)) return Fail(kErrorInvalidHandle);
  return true;
}

std::u16string SimDeviceSetup::InterfaceKeyPath(const std::u16string& devicePath) {
  // The registry spells the symbolic link with "##?#" and upper-case bus
  // parts; the key compares without regard to case anyway.
  std::u16string link = devicePath;
  for (char16_t& c : link) {
    if (c == u'\\') c = u'#';
    else if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + GuidToString(kGuidDevInterfaceUsbPrint) + u"\\" +
         link + u"\\#\\Device Parameters";
}

void SimDeviceSetup::AttachUsbPrinter(const SimUsbPrinter& printer, std::optional<uint32_t> portNumber) {
  printers.push_back(printer);
  std::u16string key = InterfaceKeyPath(printer.devicePath);
  registry_.CreateKey(RegRoot::kLocalMachine, key, RegView::kWow64_64);
  if (portNumber) registry_.SetDword(RegRoot::kLocalMachine, key, u"Port Number", *portNumber, RegView::kWow64_64);
}

}  // namespace lx
