// The simulated spooler where it stands for Windows: enumeration, names
// without regard to case, default DEVMODEs sized by the driver, level-2
// updates, printer data and the TCP/IP monitor's AddPort.
#include <gtest/gtest.h>

#include "platform/port_data.h"
#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

// A driver-private part shaped like a Unidrv driver's: the core driver's
// part followed by a plug-in's 148-byte part headed by its OEM_DMEXTRAHEADER.
DevModeBytes PrivatePart(size_t coreBytes) {
  DevModeBytes p(coreBytes + 148, 0);
  WriteU32(p, coreBytes, 148);             // dwSize
  WriteU32(p, coreBytes + 4, 0x515A4C31);  // dwSignature
  WriteU32(p, coreBytes + 8, 1);           // dwVersion
  WriteU32(p, p.size() - 12, 1);           // post-print action
  return p;
}

class SimSpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.spooler.DefineDriver({u"LX-220", PrivatePart(632), 0x0600, {u"lx220ui.dll"}});
    ASSERT_EQ(machine.spooler.InstallDriver(u"LX-220"), 0u);
    ASSERT_EQ(machine.spooler.InstallDriver(u"Generic / Text Only"), 0u);
    ASSERT_EQ(machine.spooler.AddPort(u"USB001", u"USB Monitor", u"Virtual printer port for USB"), 0u);
  }
  uint32_t Error() { return proc->os.system->GetLastError(); }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  ISpooler& sp = *proc->os.spooler;
};

TEST_F(SimSpoolerTest, EnumerationListsLocalPrintersAndConnectionsByFlag) {
  ASSERT_EQ(machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220"), 0u);
  ASSERT_EQ(machine.spooler.AddPrinter(u"Archive", u"FILE:", u"Generic / Text Only"), 0u);
  ASSERT_EQ(machine.spooler.AddConnection(u"\\\\srv\\Shared", u"LX-220"), 0u);
  std::vector<PrinterInfo2> list;
  ASSERT_TRUE(sp.ListPrinters(kPrinterEnumLocal | kPrinterEnumConnections, list));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].printerName, u"\\\\srv\\Shared");
  EXPECT_EQ(list[1].printerName, u"Archive");
  EXPECT_EQ(list[2].printerName, u"Label");
  EXPECT_EQ(list[2].portName, u"USB001");
  EXPECT_EQ(list[2].driverName, u"LX-220");
  ASSERT_TRUE(sp.ListPrinters(kPrinterEnumLocal, list));
  EXPECT_EQ(list.size(), 2u);

  machine.spooler.failListPrinters = 1722u;  // RPC_S_SERVER_UNAVAILABLE
  EXPECT_FALSE(sp.ListPrinters(6, list));
  EXPECT_EQ(Error(), 1722u);
}

TEST_F(SimSpoolerTest, NamesIgnoreCaseAndLocalNamesRejectSeparators) {
  ASSERT_EQ(machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220"), 0u);
  EXPECT_EQ(machine.spooler.AddPrinter(u"LABEL", u"USB001", u"LX-220"), 1802u);  // already exists
  EXPECT_EQ(machine.spooler.AddPrinter(u"a,b", u"USB001", u"LX-220"), 1801u);
  EXPECT_EQ(machine.spooler.AddPrinter(u"x", u"USB009", u"LX-220"), 1796u);      // unknown port
  EXPECT_EQ(machine.spooler.AddPrinter(u"x", u"USB001", u"Missing"), 1797u);     // unknown driver
  PrinterHandle h = 0;
  ASSERT_TRUE(sp.Open(u"label", kPrinterAccessUse, h));
  EXPECT_EQ(machine.spooler.OpenHandleCount(), 1u);
  PrinterInfo2 info;
  ASSERT_TRUE(sp.GetInfo2(h, info));
  EXPECT_EQ(info.printerName, u"Label");
  EXPECT_TRUE(sp.Close(h));
  EXPECT_FALSE(sp.Close(h));
  EXPECT_FALSE(sp.Open(u"Nobody", kPrinterAccessUse, h));
  EXPECT_EQ(Error(), 1801u);
  EXPECT_EQ(machine.spooler.OpenHandleCount(), 0u) << "only an open that succeeded holds a handle";
}

TEST_F(SimSpoolerTest, TheDefaultDevModeIsThePublicPartAndTheDriversPrivatePart) {
  ASSERT_EQ(machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220"), 0u);
  ASSERT_EQ(machine.spooler.AddPrinter(u"Text", u"FILE:", u"Generic / Text Only"), 0u);
  PrinterHandle h = 0;
  ASSERT_TRUE(sp.Open(u"Label", kPrinterAllAccess, h));
  int32_t total = sp.DocProperties(h, u"Label", nullptr, nullptr, 0);
  EXPECT_EQ(total, 220 + 632 + 148);
  DevModeBytes dm;
  ASSERT_EQ(sp.DocProperties(h, u"Label", &dm, nullptr, kDmOutBuffer), kIdOk);
  ASSERT_EQ(dm.size(), static_cast<size_t>(total));
  EXPECT_EQ(*DevModeSize(dm), 220);
  EXPECT_EQ(*DevModeDriverExtra(dm), 632 + 148);
  EXPECT_EQ(ReadU32(dm, 220 + 632 + 4), 0x515A4C31u);  // the plug-in's part sits at the end
  EXPECT_EQ(ReadU32(dm, dm.size() - 12), 1u);
  EXPECT_EQ(ReadU16(dm, 0), u'L');                      // dmDeviceName
  sp.Close(h);

  ASSERT_TRUE(sp.Open(u"Text", kPrinterAccessUse, h));
  EXPECT_EQ(sp.DocProperties(h, u"Text", nullptr, nullptr, 0), 220);
  sp.Close(h);
}

TEST_F(SimSpoolerTest, SetInfo2StoresAPatchedDevModeAndRefusesAShortOne) {
  ASSERT_EQ(machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220"), 0u);
  PrinterHandle h = 0;
  ASSERT_TRUE(sp.Open(u"Label", kPrinterAllAccess, h));
  DevModeBytes dm;
  ASSERT_EQ(sp.DocProperties(h, u"Label", &dm, nullptr, kDmOutBuffer), kIdOk);
  WriteU32(dm, dm.size() - 12, 3);
  PrinterInfo2 info;
  ASSERT_TRUE(sp.GetInfo2(h, info));
  info.devMode = dm;
  ASSERT_TRUE(sp.SetInfo2(h, info, 0));
  DevModeBytes again;
  ASSERT_EQ(sp.DocProperties(h, u"Label", &again, nullptr, kDmOutBuffer), kIdOk);
  EXPECT_EQ(ReadU32(again, again.size() - 12), 3u);

  // Fewer bytes than dmSize + dmDriverExtra announce would be read past.
  info.devMode.resize(info.devMode.size() - 1);
  EXPECT_FALSE(sp.SetInfo2(h, info, 0));
  EXPECT_EQ(Error(), 87u);
  sp.Close(h);

  // Changing settings needs administration access.
  ASSERT_TRUE(sp.Open(u"Label", kPrinterAccessUse, h));
  info.devMode = dm;
  EXPECT_FALSE(sp.SetInfo2(h, info, 0));
  EXPECT_EQ(Error(), 5u);
  sp.Close(h);
}

TEST_F(SimSpoolerTest, DocPropertiesMergesAnInputOfTheDriversOwnLayout) {
  ASSERT_EQ(machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220"), 0u);
  PrinterHandle h = 0;
  ASSERT_TRUE(sp.Open(u"Label", kPrinterAccessUse, h));
  DevModeBytes dm;
  ASSERT_EQ(sp.DocProperties(h, u"Label", &dm, nullptr, kDmOutBuffer), kIdOk);
  DevModeBytes in = dm;
  WriteU32(in, in.size() - 12, 2);
  WriteU16(in, kDmCopiesOffset, 4);
  DevModeBytes out;
  ASSERT_EQ(sp.DocProperties(h, u"Label", &out, &in, kDmOutBuffer | kDmInBuffer), kIdOk);
  EXPECT_EQ(ReadU32(out, out.size() - 12), 2u);
  // A bare public DEVMODE changes public settings only.
  DevModeBytes bare(in.begin(), in.begin() + 220);
  WriteU16(bare, kDmDriverExtraOffset, 0);
  ASSERT_EQ(sp.DocProperties(h, u"Label", &out, &bare, kDmOutBuffer | kDmInBuffer), kIdOk);
  EXPECT_EQ(out.size(), dm.size());
  EXPECT_EQ(ReadU16(out, kDmCopiesOffset), 4);
  EXPECT_EQ(ReadU32(out, out.size() - 12), 1u);
  // The printer's own default is unchanged by DocumentProperties.
  ASSERT_EQ(sp.DocProperties(h, u"Label", &out, nullptr, kDmOutBuffer), kIdOk);
  EXPECT_EQ(out, dm);
  sp.Close(h);
}

TEST_F(SimSpoolerTest, PrinterDataDefaultPrinterAndDriverDirectory) {
  ASSERT_EQ(machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220"), 0u);
  PrinterHandle h = 0;
  ASSERT_TRUE(sp.Open(u"Label", kPrinterAllAccess, h));
  std::vector<uint8_t> block(3 * 124, 0x5A), got;
  EXPECT_EQ(sp.SetData(h, u"PapersData", kRegBinary, block), 0u);
  uint32_t type = 0, needed = 0;
  EXPECT_EQ(sp.GetData(h, u"papersdata", type, got, 100, needed), 234u);  // ERROR_MORE_DATA
  EXPECT_EQ(needed, 372u);
  EXPECT_EQ(sp.GetData(h, u"PapersData", type, got, needed, needed), 0u);
  EXPECT_EQ(got, block);
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(sp.GetData(h, u"PapersDataSize", type, got, 4, needed), 2u);
  sp.Close(h);

  std::u16string name;
  EXPECT_FALSE(sp.GetDefaultPrinterName(name));
  EXPECT_FALSE(sp.SetDefaultPrinterName(u"Nobody"));
  ASSERT_TRUE(sp.SetDefaultPrinterName(u"LABEL"));
  ASSERT_TRUE(sp.GetDefaultPrinterName(name));
  EXPECT_EQ(name, u"Label");
  ASSERT_EQ(machine.spooler.DeletePrinter(u"Label"), 0u);
  EXPECT_FALSE(sp.GetDefaultPrinterName(name));

  std::u16string dir;
  ASSERT_TRUE(sp.DriverDirectory(dir));
  EXPECT_EQ(dir, u"C:\\Windows\\system32\\spool\\DRIVERS\\x64");
  EXPECT_TRUE(machine.files.FileExists(dir + u"\\3\\lx220ui.dll"));
  // A 32-bit program asks in its own environment.
  auto proc32 = machine.StartProcess(u"C:\\Setup\\Qelvin32.exe", 32);
  ASSERT_TRUE(proc32->os.spooler->DriverDirectory(dir));
  EXPECT_EQ(dir, u"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86");
}

TEST_F(SimSpoolerTest, DriversInUseCannotBeDeletedAndLeaveTheirFiles) {
  ASSERT_EQ(machine.spooler.AddPrinter(u"Label", u"USB001", u"LX-220"), 0u);
  EXPECT_EQ(machine.spooler.DeleteDriver(u"LX-220"), 3001u);  // ERROR_PRINTER_DRIVER_IN_USE
  ASSERT_EQ(machine.spooler.DeletePrinter(u"Label"), 0u);
  EXPECT_EQ(machine.spooler.DeleteDriver(u"lx-220"), 0u);
  std::vector<std::u16string> drivers;
  ASSERT_TRUE(sp.ListDrivers(drivers));
  EXPECT_EQ(drivers, std::vector<std::u16string>{u"Generic / Text Only"});
  EXPECT_TRUE(machine.files.FileExists(u"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\lx220ui.dll"));
}

TEST_F(SimSpoolerTest, TheTcpMonitorAddsAPortFromAPortData1Record) {
  std::vector<uint8_t> pd(kPortData1Size, 0);
  WriteWideSlot(pd, kPd1PortNameOffset, kPd1PortNameChars, u"IP_192.168.1.20");
  WriteU32(pd, kPd1VersionOffset, 1);
  WriteU32(pd, kPd1ProtocolOffset, kProtocolRawTcp);
  WriteU32(pd, kPd1SizeOffset, kPortData1Size);
  WriteWideSlot(pd, kPd1HostAddressOffset, kPd1HostAddressChars, u"192.168.1.20");
  WriteU32(pd, kPd1PortNumberOffset, 9100);
  PrinterHandle xcv = 0;
  ASSERT_TRUE(sp.Open(u",XcvMonitor Standard TCP/IP Port", kServerAccessAdminister, xcv));
  uint32_t status = 99;
  ASSERT_TRUE(sp.Xcv(xcv, u"AddPort", pd, status));
  EXPECT_EQ(status, 0u);
  ASSERT_TRUE(sp.Xcv(xcv, u"AddPort", pd, status));
  EXPECT_EQ(status, 183u);  // already there
  std::vector<uint8_t> shortRecord(pd.begin(), pd.begin() + 900);
  ASSERT_TRUE(sp.Xcv(xcv, u"AddPort", shortRecord, status));
  EXPECT_EQ(status, 87u);
  sp.Close(xcv);

  std::vector<PortInfo2> ports;
  ASSERT_TRUE(sp.ListPorts(ports));
  EXPECT_EQ(ports.back().portName, u"IP_192.168.1.20");
  EXPECT_EQ(ports.back().monitorName, u"Standard TCP/IP Port");
  EXPECT_EQ(machine.spooler.tcpPorts[u"ip_192.168.1.20"].portNumber, 9100u);
}

}  // namespace
}  // namespace lx
