// Simulated USB printer interfaces: enumeration with SetupAPI's contract, and
// the "Port Number" value where the USB port monitor keeps it.
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

const std::u16string kPath = u"\\\\?\\usb#vid_1234&pid_5678#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

TEST(Guid, FormatsAsStringFromGuid2) {
  EXPECT_EQ(GuidToString(kGuidDevInterfaceUsbPrint), u"{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}");
}

TEST(SimDeviceSetup, EnumeratesPresentPrintersAndTheirInterfaces) {
  SimMachine machine;
  auto proc = machine.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  machine.AttachUsbPrinter({u"USB\\VID_1234&PID_5678\\0001", kPath}, 7);
  SimUsbPrinter gone{u"USB\\VID_1234&PID_9999\\0002", u"\\\\?\\usb#vid_1234&pid_9999#0002#{x}"};
  gone.present = false;
  machine.AttachUsbPrinter(gone, std::nullopt);
  IDeviceSetup& ds = *proc->os.devices;

  DevInfoList list = ds.GetClassDevs(kGuidDevInterfaceUsbPrint, kDigcfPresent | kDigcfDeviceInterface);
  ASSERT_NE(list, 0u);
  EXPECT_TRUE(ds.EnumDeviceInfo(list, 0));
  EXPECT_FALSE(ds.EnumDeviceInfo(list, 1));  // the absent one is not listed
  EXPECT_EQ(proc->os.system->GetLastError(), 259u);  // ERROR_NO_MORE_ITEMS
  std::u16string id, path;
  EXPECT_FALSE(ds.GetDeviceInstanceId(list, 0, 10, id));
  EXPECT_EQ(proc->os.system->GetLastError(), 122u);  // ERROR_INSUFFICIENT_BUFFER
  ASSERT_TRUE(ds.GetDeviceInstanceId(list, 0, 512, id));
  EXPECT_EQ(id, u"USB\\VID_1234&PID_5678\\0001");
  DeviceInterfaceRef ref;
  ASSERT_TRUE(ds.EnumDeviceInterfaces(list, 0, kGuidDevInterfaceUsbPrint, 0, ref));
  EXPECT_FALSE(ds.EnumDeviceInterfaces(list, 0, kGuidDevInterfaceUsbPrint, 1, ref));
  ASSERT_TRUE(ds.GetDeviceInterfacePath(list, ref, path));
  EXPECT_EQ(path, kPath);
  EXPECT_TRUE(ds.DestroyDeviceInfoList(list));
  EXPECT_FALSE(ds.EnumDeviceInfo(list, 0));
  EXPECT_EQ(machine.devices.OpenLists(), 0u);

  // Without DIGCF_PRESENT the absent printer is listed too.
  list = ds.GetClassDevs(kGuidDevInterfaceUsbPrint, kDigcfDeviceInterface);
  EXPECT_TRUE(ds.EnumDeviceInfo(list, 1));
  ds.DestroyDeviceInfoList(list);
}

TEST(SimDeviceSetup, ThePortNumberLiesUnderTheInterfacesDeviceParametersKey) {
  SimMachine machine;
  auto proc = machine.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  machine.AttachUsbPrinter({u"USB\\VID_1234&PID_5678\\0001", kPath}, 12);
  // The key as the installer builds it: the class GUID in upper case and the
  // path with every backslash made '#'; the registry ignores the case.
  const std::u16string key =
      u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}\\"
      u"##?#usb#vid_1234&pid_5678#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#\\Device Parameters";
  EXPECT_EQ(*proc->os.registry->GetDword(RegRoot::kLocalMachine, key, u"Port Number"), 12u);
  EXPECT_TRUE(machine.spooler.HasPort(u"USB012"));

  // A printer whose port is not made yet has the key but no value.
  const std::u16string other = u"\\\\?\\usb#vid_1234&pid_5678#0002#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
  machine.AttachUsbPrinter({u"USB\\VID_1234&PID_5678\\0002", other}, std::nullopt);
  std::u16string otherKey = SimDeviceSetup::InterfaceKeyPath(other);
  EXPECT_TRUE(proc->os.registry->KeyExists(RegRoot::kLocalMachine, otherKey));
  EXPECT_FALSE(proc->os.registry->GetDword(RegRoot::kLocalMachine, otherKey, u"Port Number"));
}

}  // namespace
}  // namespace lx
