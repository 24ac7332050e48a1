#include <gtest/gtest.h>

#include "common/text.h"
#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/ports/usb_port_rules.h"
#include "installer/ports/usb_ports.h"
#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

std::u16string PathOf(const std::u16string& middle) {
  return u"\\\\?\\usb#" + middle + u"#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
}

class UsbPortsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    debugEnabled = 1;
    StartUpConfig() = InstallerConfig();
    ModelEntry a, b;
    a.VID = u"VID_2D37";
    a.PID = u"PID_0220";
    b.VID = u"VID_1FC9";
    b.PID = u"PID_0320";
    StartUpConfig().modelNames = {u"A", u"B"};
    StartUpConfig().models = {{u"A", a}, {u"B", b}};
    StartUpConfig().modelCount = 2;
  }
  void TearDown() override {
    debugEnabled = 0;
    StartUpConfig() = InstallerConfig();
  }
  void Attach(const std::u16string& id, const std::u16string& path, std::optional<uint32_t> port,
              bool hasInterface = true, bool readable = true) {
    SimUsbPrinter p;
    p.instanceId = id;
    p.devicePath = path;
    p.hasInterface = hasInterface;
    p.detailReadable = readable;
    machine.AttachUsbPrinter(p, port);
  }
  bool Traced(const std::u16string& line) const { return proc->debug.Has(line); }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  const Os& os = proc->os;
};

TEST_F(UsbPortsTest, InstanceIdAcceptanceRules) {
  struct Case {
    const char16_t* id;
    bool accepted;
  } cases[] = {
      {u"USB\\VID_2D37&PID_0220\\0001", true},
      {u"USB\\VID_2D37&PID_0220&MI_00\\6&1", true},
      {u"USB\\VID_2D37&PID_0220&MI_01\\6&1", false},
      {u"USB\\VID_1FC9&PID_0220\\0001", true},  // VID of one model, PID of another
      {u"USB\\VID_9999&PID_0220\\0001", false},
      {u"USB\\VID_2D37&PID_0999\\0001", false},
      {u"USB\\VID_2D37&PID_0220\\PI_1", false},
      {u"VID_2D37PID_0220&", true},  // shorter than 22: the interface rule does not apply
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.id, c.id + std::char_traits<char16_t>::length(c.id)));
    EXPECT_EQ(IsAcceptedUsbInstanceId(c.id), c.accepted);
  }
}

TEST_F(UsbPortsTest, DeviceParametersKeyAndPortName) {
  EXPECT_EQ(GetDeviceParametersKey(
                u"\\\\?\\usb#vid_1234&pid_5678#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"),
            u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28D78FAD-5A12-11D1-AE5B-"
            u"0000F803A8C2}\\##?#usb#vid_1234&pid_5678#0001#{28d78fad-5a12-11d1-ae5b-"
            u"0000f803a8c2}\\#\\Device Parameters");
  EXPECT_EQ(UsbPortName(7), u"USB007");
  EXPECT_EQ(UsbPortName(12), u"USB012");
  EXPECT_EQ(UsbPortName(1234), u"USB1234");
}

TEST_F(UsbPortsTest, FirstAcceptedPrinterWithAPortNumberWins) {
  Attach(u"USB\\VID_2D37&PID_0220&MI_01\\6&1&1", PathOf(u"vid_2d37&pid_0220&mi_01#6&1&1"), 3);
  Attach(u"USB\\VID_2D37&PID_0220\\DOT4", PathOf(u"vid_2d37&pid_0220#dot4#x"), 4);
  Attach(u"USB\\VID_2D37&PID_0220\\NOPORT", PathOf(u"vid_2d37&pid_0220#noport"), std::nullopt);
  Attach(u"USB\\VID_1FC9&PID_0220&MI_00\\6&2&0", PathOf(u"vid_1fc9&pid_0220&mi_00#6&2&0"), 7);
  Attach(u"USB\\VID_2D37&PID_0320\\LATER", PathOf(u"vid_2d37&pid_0320#later"), 1234);

  UsbPortInfo info;
  EXPECT_TRUE(FindUsbPrinterPort(os, info));
  EXPECT_EQ(info.portName, u"USB007");
  EXPECT_EQ(info.instanceId, u"USB\\VID_1FC9&PID_0220&MI_00\\6&2&0");
  EXPECT_EQ(info.devicePath, PathOf(u"vid_1fc9&pid_0220&mi_00#6&2&0"));
  EXPECT_TRUE(Traced(u"Invalid device instance: USB\\VID_2D37&PID_0220&MI_01\\6&1&1"));
  EXPECT_TRUE(Traced(u"Found USB port: USB007"));
  // The monitor's key without a port number is only read.
  EXPECT_TRUE(machine.registry.KeyExists(
      RegRoot::kLocalMachine, GetDeviceParametersKey(PathOf(u"vid_2d37&pid_0220#noport")), RegView::kDefault));

  // The device path needs no port: the DOT4 interface is the first accepted.
  EXPECT_EQ(FindUsbPrinterDevicePath(os), PathOf(u"vid_2d37&pid_0220#dot4#x"));
  EXPECT_EQ(machine.devices.OpenLists(), 0u);
}

TEST_F(UsbPortsTest, WideNumbersAndTheMonitorsOwnKey) {
  Attach(u"USB\\VID_2D37&PID_0320\\WIDE", PathOf(u"vid_2d37&pid_0320#wide"), 1234);
  UsbPortInfo info;
  EXPECT_TRUE(FindUsbPrinterPort(os, info));
  EXPECT_EQ(info.portName, u"USB1234");
  // The key the engine builds is the one the port monitor wrote.
  EXPECT_TRUE(EqualsIgnoreCase(GetDeviceParametersKey(info.devicePath),
                                  SimDeviceSetup::InterfaceKeyPath(info.devicePath)));
}

TEST_F(UsbPortsTest, NothingOfOursLeavesTheRecordEmpty) {
  Attach(u"USB\\VID_0BDA&PID_0220\\OTHERMAKER", PathOf(u"vid_0bda&pid_0220#othermaker"), 1);
  Attach(u"USB\\VID_2D37&PID_0220\\PI_9", PathOf(u"vid_2d37&pid_0220#pi_9"), 2);
  Attach(u"USB\\VID_2D37&PID_0220\\NOIF", PathOf(u"vid_2d37&pid_0220#noif"), 5, false);
  Attach(u"USB\\VID_2D37&PID_0220\\NODETAIL", PathOf(u"vid_2d37&pid_0220#nodetail"), 6, true, false);
  Attach(u"USB\\VID_2D37&PID_0220\\" + std::u16string(600, u'S'), PathOf(u"long"), 8);
  UsbPortInfo info;
  EXPECT_TRUE(FindUsbPrinterPort(os, info));
  EXPECT_EQ(info.portName, u"");
  EXPECT_EQ(info.instanceId, u"");
  EXPECT_EQ(info.devicePath, u"");
  EXPECT_TRUE(Traced(u"Invalid device instance: USB\\VID_0BDA&PID_0220\\OTHERMAKER"));
  EXPECT_TRUE(Traced(u"Invalid device instance: USB\\VID_2D37&PID_0220\\PI_9"));
  EXPECT_TRUE(Traced(u"Failed to enumerate device interfaces"));
  EXPECT_TRUE(Traced(u"Failed to get interface device detail size"));
  EXPECT_EQ(FindUsbPrinterDevicePath(os), u"");

  machine.devices.failGetClassDevs = true;
  EXPECT_FALSE(FindUsbPrinterPort(os, info));
  EXPECT_EQ(FindUsbPrinterDevicePath(os), u"");
  EXPECT_EQ(machine.devices.OpenLists(), 0u);
}

TEST_F(UsbPortsTest, AMissingParametersKeyIsNoPortAndIsNotCreated) {
  Attach(u"USB\\VID_2D37&PID_0220\\NOKEY", PathOf(u"vid_2d37&pid_0220#nokey"), 3);
  const std::u16string key = SimDeviceSetup::InterfaceKeyPath(PathOf(u"vid_2d37&pid_0220#nokey"));
  ASSERT_TRUE(machine.registry.DeleteKey(RegRoot::kLocalMachine, key, RegView::kDefault));
  UsbPortInfo info;
  EXPECT_TRUE(FindUsbPrinterPort(os, info));
  EXPECT_EQ(info.portName, u"");
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::kLocalMachine, key, RegView::kDefault));
  EXPECT_TRUE(Traced(u"No Device Parameters key for " + PathOf(u"vid_2d37&pid_0220#nokey") + u" (2)"));
}

TEST_F(UsbPortsTest, APortKeyThatRefusesWriteIsStillRead) {
  // Windows protects parts of the DeviceClasses tree: the key opens for
  // reading only, and the printer must still be found.
  Attach(u"USB\\VID_2D37&PID_0220\\LOCKED", PathOf(u"vid_2d37&pid_0220#locked"), 9);
  std::u16string key = SimDeviceSetup::InterfaceKeyPath(PathOf(u"vid_2d37&pid_0220#locked"));
  machine.registry.RefuseWrite(RegRoot::kLocalMachine, key);
  ASSERT_FALSE(machine.registry.CreateKey(RegRoot::kLocalMachine, key, RegView::kDefault));
  UsbPortInfo info;
  EXPECT_TRUE(FindUsbPrinterPort(os, info));
  EXPECT_EQ(info.portName, u"USB009");

  // "Port Number" counts only as a 4-byte REG_DWORD.
  for (auto [type, bytes] : {std::pair<uint32_t, std::string>{3, std::string("\x09\0\0\0", 4)},
                             {4, std::string("\x09\0\0\0\0\0\0\0", 8)},
                             {11, std::string("\x09\0\0\0\0\0\0\0", 8)},
                             {4, std::string("\x09\0", 2)}}) {
    SCOPED_TRACE(type);
    machine.registry.PutRaw(RegRoot::kLocalMachine, key, u"Port Number", {type, bytes});
    UsbPortInfo none;
    EXPECT_TRUE(FindUsbPrinterPort(os, none));
    EXPECT_EQ(none.portName, u"");
  }
}

TEST_F(UsbPortsTest, EachStepOfTheDetailReadTracesItsOwnLine) {
  auto attach = [&](const char16_t* serial, BufferStep failsAt) {
    SimUsbPrinter p;
    p.instanceId = std::u16string(u"USB\\VID_2D37&PID_0220\\") + serial;
    p.devicePath = PathOf(std::u16string(u"vid_2d37&pid_0220#") + serial);
    p.detailReadable = false;
    p.detailFailsAt = failsAt;
    machine.AttachUsbPrinter(p, 1);
  };
  attach(u"SIZE", BufferStep::kSizeQuery);
  attach(u"READ", BufferStep::kRead);
  Attach(u"USB\\VID_2D37&PID_0220\\GOOD", PathOf(u"vid_2d37&pid_0220#good"), 2);
  UsbPortInfo info;
  EXPECT_TRUE(FindUsbPrinterPort(os, info));
  EXPECT_EQ(info.portName, u"USB002");  // both failures skip only their device
  EXPECT_TRUE(Traced(u"Failed to get interface device detail size"));
  EXPECT_TRUE(Traced(u"Failed to get interface device detail"));
  EXPECT_FALSE(Traced(u"Memory allocation failed for device detail"));

  // Out of memory ends the enumeration: the good printer after it is not reached.
  machine.devices.printers.clear();
  attach(u"NOMEM", BufferStep::kAllocation);
  Attach(u"USB\\VID_2D37&PID_0220\\GOOD", PathOf(u"vid_2d37&pid_0220#good"), 2);
  UsbPortInfo none;
  EXPECT_TRUE(FindUsbPrinterPort(os, none));
  EXPECT_EQ(none.portName, u"");
  EXPECT_TRUE(Traced(u"Memory allocation failed for device detail"));
  EXPECT_EQ(FindUsbPrinterDevicePath(os), u"");
  EXPECT_EQ(machine.devices.OpenLists(), 0u);
}

TEST_F(UsbPortsTest, TracesAreGated) {
  debugEnabled = 0;
  Attach(u"USB\\VID_0BDA&PID_0220\\OTHERMAKER", PathOf(u"x"), 1);
  Attach(u"USB\\VID_2D37&PID_0220\\OK", PathOf(u"vid_2d37&pid_0220#ok"), 2);
  UsbPortInfo info;
  EXPECT_TRUE(FindUsbPrinterPort(os, info));
  EXPECT_EQ(info.portName, u"USB002");
  EXPECT_TRUE(proc->debug.lines.empty());
}

}  // namespace
}  // namespace lx
