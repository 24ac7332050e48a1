// The printer options page on the simulated machine: its set-up, the address
// it reads from a printer on USB, the address check on Install, and the whole
// road from WiFi credentials to the accessory of a network printer.
#include <gtest/gtest.h>

#include "installer/core/resource_ids.h"
#include "installer/wizard/tests/wizard_fixture.h"

namespace lx {
namespace {

constexpr const char16_t* kPath420 = u"\\\\?\\usb#vid_2d37&pid_0420#0007#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

// "NET Install" leads to the options page without a network search first.
std::string WithoutSearch(std::string ini) {
  return ini.replace(ini.find("SupportNet=1"), 12, "SupportNet=1\r\nNetOnline=0");
}

class OptionsPageTest : public WizardTest {
 protected:
  // Two models, the second sorting before the first.
  void SetUp() override {
    std::string ini = WithoutSearch(DefaultConfig());
    ini.replace(ini.find("LX-220\r\n"), 8, "LX-420\r\nLX-220\r\n");
    ini += "[LX-420]\r\nVID=VID_2D37\r\nPID=PID_0420\r\nPRINTERNAME=LX-420 Zed Printer\r\n"
           "DriverName=LX-420 Zed\r\nInfName=lx220.inf\r\nTYPE=1\r\nShowSetting=0\r\n";
    WriteConfig(ini);
    AddDriverPackage({"LX-220 Label", "LX-420 Zed"});
    for (const auto& row : UiLanguageTable) AddDocuments(row);
  }
  void OpenOptions() {
    StartWizard();
    GoToInstallType();
    ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
    ASSERT_EQ(view.CurrentPage(), &sheet().setPrinter);
  }
  SimUsbPrinter& Attach(const char16_t* path) {
    SimUsbPrinter printer;
    printer.instanceId = u"USB\\VID_2D37&PID_0420\\0007";
    printer.devicePath = path;
    machine.AttachUsbPrinter(printer, 1);
    return machine.devices.printers.back();
  }
  std::u16string Address() { return page().GetText(IDC_PRINTER_IP_EDIT); }
};

TEST_F(OptionsPageTest, SetUpNamesAndTheAddressCheck) {
  OpenOptions();
  EXPECT_EQ(static_cast<int>(sheet().step), 9);
  FakeControl& combo = page().At(IDC_DRIVER_COMBO);
  EXPECT_EQ(combo.items, (std::vector<std::u16string>{u"LX-420 Zed", u"LX-220 Label"}));
  EXPECT_EQ(combo.curSel, 0);
  EXPECT_EQ(page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-420 Zed NET");
  EXPECT_TRUE(page().At(IDC_PRINTER_IP_EDIT).focused);
  EXPECT_FALSE(page().IsVisible(IDC_BY_HOSTNAME));
  EXPECT_TRUE(page().IsVisible(IDC_SET_DEFAULT_PRINTER));
  EXPECT_FALSE(page().GetCheck(IDC_SET_DEFAULT_PRINTER));
  EXPECT_EQ(page().GetText(IDC_IP_AUTO_WIFI), u"IP Auto Get(WiFi)");
  EXPECT_EQ(page().GetText(IDC_IP_AUTO_NET), u"IP Auto Get(NET)");
  EXPECT_EQ(page().GetText(IDC_WIFI_CONFIGURATOR), u"WiFi Configurator");
  EXPECT_EQ(view.ButtonText(kIdWizNext), u"Install");
  EXPECT_EQ(view.ButtonText(kIdWizBack), u"Back");
  EXPECT_EQ(view.ButtonText(kIdCancel), u"Exit");
  EXPECT_TRUE(view.ButtonEnabled(kIdWizBack));
  EXPECT_TRUE(view.ButtonEnabled(kIdWizNext));

  // Another driver replaces a name the user had typed.
  ASSERT_TRUE(view.Type(IDC_PRINTER_NAME_EDIT, u"Shipping"));
  ASSERT_TRUE(view.SelectCombo(IDC_DRIVER_COMBO, 1));
  EXPECT_EQ(page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-220 Label NET");

  for (const char16_t* bad : {u"192.168.1.20 ", u"192.168.1", u"192.168.1.20.5", u"256.1.1.1", u"-1.2.3.4",
                              u"", u"192.168.1.x", u"1.2.3.99999999999"}) {
    size_t shown = view.boxes.size();
    ASSERT_TRUE(view.Type(IDC_PRINTER_IP_EDIT, bad));
    ASSERT_TRUE(view.ClickNext());
    ASSERT_EQ(view.boxes.size(), shown + 1) << Utf16ToUtf8(bad);
    EXPECT_EQ(view.boxes.back().text, u"The IP address you entered is invalid, please re-enter it");
    EXPECT_EQ(view.boxes.back().caption, u"");
    EXPECT_EQ(view.CurrentPage(), &sheet().setPrinter);
  }
  EXPECT_TRUE(machine.shell.launches.empty());

  // The texts survive a visit to the WiFi page; Back leads to the install-type page.
  ASSERT_TRUE(view.Type(IDC_PRINTER_IP_EDIT, u"192.168.1.20"));
  ASSERT_TRUE(view.Click(IDC_WIFI_CONFIGURATOR));
  EXPECT_EQ(view.CurrentPage(), &sheet().setWifi);
  EXPECT_EQ(static_cast<int>(sheet().step), 11);
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(Address(), u"192.168.1.20");
  EXPECT_EQ(page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-220 Label NET");
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);
  EXPECT_EQ(static_cast<int>(sheet().step), 3);

  // Blanks, a sign and leading zeros the pattern accepts go on in dotted form.
  ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
  ASSERT_TRUE(view.Type(IDC_PRINTER_IP_EDIT, u" +192.168. 001.20"));
  ASSERT_TRUE(view.ClickNext());
  ASSERT_FALSE(machine.shell.launches.empty());
  EXPECT_NE(machine.shell.launches[0].parameters.find(u"-r \"IP_192.168.1.20\" -h \"192.168.1.20\" "),
            std::u16string::npos);
  ASSERT_NE(machine.spooler.Find(u"LX-220 Label NET"), nullptr);
  EXPECT_EQ(machine.spooler.Find(u"LX-220 Label NET")->info.portName, u"IP_192.168.1.20");
  EXPECT_EQ(view.CurrentPage(), &sheet().finish);
}

TEST_F(OptionsPageTest, IpAutoGetAsksThePrinterOnUsb) {
  OpenOptions();
  ASSERT_TRUE(view.Type(IDC_PRINTER_IP_EDIT, u"10.0.0.1"));
  // No printer on USB.
  for (int button : {IDC_IP_AUTO_WIFI, IDC_IP_AUTO_NET}) {
    ASSERT_TRUE(view.Click(button));
    EXPECT_EQ(view.boxes.back().text, WizardRig::En(IDS_WIFI_USB_NOT_CONNECTED));
  }
  // A silent printer: the WiFi wording for both buttons, the address kept.
  Attach(kPath420).label.answers = SimLabelPrinter::Answer::kSilent;
  for (int button : {IDC_IP_AUTO_WIFI, IDC_IP_AUTO_NET}) {
    ASSERT_TRUE(view.Click(button));
    EXPECT_EQ(view.boxes.back().text,
              u"The current IP address of the WiFi is empty, please check whether the WiFi information is correct");
    EXPECT_EQ(view.boxes.back().caption, u"");
    EXPECT_EQ(Address(), u"10.0.0.1");
  }
  EXPECT_EQ(view.boxes.size(), 4u);

  // A printer that answers: its wired address, and the driver of its PID.
  SimLabelPrinter& label = machine.devices.printers.back().label;
  label.answers = SimLabelPrinter::Answer::kWhole;
  label.wiredAddress = {172, 16, 0, 9};
  label.wifiAddress = {192, 168, 5, 6};
  ASSERT_TRUE(view.SelectCombo(IDC_DRIVER_COMBO, 1));
  ASSERT_TRUE(view.Click(IDC_IP_AUTO_NET));
  EXPECT_EQ(Address(), u"172.16.0.9");
  EXPECT_EQ(page().At(IDC_DRIVER_COMBO).curSel, 0);
  EXPECT_EQ(page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-420 Zed NET");
  ASSERT_TRUE(view.Click(IDC_IP_AUTO_WIFI));
  EXPECT_EQ(Address(), u"192.168.5.6");
  EXPECT_EQ(view.boxes.size(), 4u);

  // An accepted printer whose device path holds no configured PID: the
  // first driver; a model without a PID is no match for every printer.
  WizardRig other;
  std::string ini = DefaultConfig();
  ini.replace(ini.find("LX-220\r\n"), 8, "LX-220\r\nLX-000\r\nLX-420\r\n");
  ini += "[LX-000]\r\nDriverName=LX-000 Any\r\n[LX-420]\r\nPID=PID_0420\r\nDriverName=LX-420 Zed\r\n";
  other.WriteConfig(ini);
  SimUsbPrinter unknown;
  unknown.instanceId = u"USB\\VID_2D37&PID_0420\\0001";
  unknown.devicePath = u"\\\\?\\usb#vid_2d37&pid_9999#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
  unknown.label.wifiAddress = {192, 168, 7, 8};
  other.machine.AttachUsbPrinter(unknown, 1);
  other.StartWizard();
  other.sheet().GoTo(Step::kSetPrinter);
  ASSERT_TRUE(other.view.SelectCombo(IDC_DRIVER_COMBO, 1));
  ASSERT_TRUE(other.view.Click(IDC_IP_AUTO_WIFI));
  EXPECT_TRUE(other.view.boxes.empty());
  EXPECT_EQ(other.page().GetText(IDC_PRINTER_IP_EDIT), u"192.168.7.8");
  EXPECT_EQ(other.page().At(IDC_DRIVER_COMBO).curSel, 0);
  EXPECT_EQ(other.page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-220 Label NET");
  other.machine.devices.printers[0].devicePath = kPath420;
  ASSERT_TRUE(other.view.Click(IDC_IP_AUTO_WIFI));
  EXPECT_EQ(other.page().At(IDC_DRIVER_COMBO).curSel, 2);
  EXPECT_EQ(other.page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-420 Zed NET");
}

// The options and WiFi pages put the focus into their first field once the
// sheet has shown them, wherever the sheet's own focus went.
TEST_F(OptionsPageTest, FocusLandsOnTheFirstFieldOfInput) {
  OpenOptions();
  ASSERT_TRUE(page().FocusEdit(IDC_PRINTER_NAME_EDIT));
  ASSERT_TRUE(view.Click(IDC_WIFI_CONFIGURATOR));
  RunUntilIdle();
  EXPECT_TRUE(page().At(IDC_WIFI_NAME_EDIT).focused);
  ASSERT_TRUE(view.ClickBack());
  ASSERT_TRUE(page().FocusEdit(IDC_PRINTER_NAME_EDIT));
  RunUntilIdle();
  EXPECT_TRUE(page().At(IDC_PRINTER_IP_EDIT).focused);
  EXPECT_FALSE(page().At(IDC_PRINTER_NAME_EDIT).focused);
}

// Clicks made while the printer on USB is busy are dropped, not replayed on
// the page shown once the exchange is over: a second "Connect" queued during
// the hand-over never becomes the options page's "Install".
TEST_F(OptionsPageTest, InputDuringAUsbExchangeIsDropped) {
  OpenOptions();
  Attach(kPath420).label.addressOnJoin = {192, 168, 1, 77};
  ASSERT_TRUE(view.Type(IDC_PRINTER_IP_EDIT, u"192.168.1.20"));
  ASSERT_TRUE(view.Click(IDC_WIFI_CONFIGURATOR));
  ASSERT_TRUE(view.Type(IDC_WIFI_NAME_EDIT, u"Lab"));
  machine.clock.After(700, [&] { EXPECT_TRUE(view.ClickNext()); });
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(machine.devices.printers[0].label.credentialsReceived, 1);
  EXPECT_EQ(view.CurrentPage(), &sheet().setPrinter);
  EXPECT_EQ(view.droppedInput, 1);
  EXPECT_TRUE(machine.shell.launches.empty());
  EXPECT_TRUE(view.boxes.empty());

  // "Install" and a typed address during "IP Auto Get": the address read stays.
  machine.clock.After(100, [&] {
    EXPECT_TRUE(view.Type(IDC_PRINTER_IP_EDIT, u"10.9.9.9"));
    EXPECT_TRUE(view.ClickNext());
  });
  ASSERT_TRUE(view.Click(IDC_IP_AUTO_WIFI));
  EXPECT_EQ(view.droppedInput, 3);
  EXPECT_EQ(Address(), u"192.168.1.77");
  EXPECT_TRUE(machine.shell.launches.empty());

  // Input once the exchange is over works as ever.
  ASSERT_TRUE(view.ClickNext());
  ASSERT_FALSE(machine.shell.launches.empty());
  EXPECT_NE(machine.shell.launches[0].parameters.find(u"IP_192.168.1.77"), std::u16string::npos);
}

// A printer on USB gets WiFi credentials, reports its WiFi address and is
// installed on that address with the cutter as its accessory.
TEST_F(WizardTest, UsbPrinterJoinsWifiAndIsInstalledOnItsAddressWithTheCutter) {
  std::string ini = WithoutSearch(DefaultConfig());
  ini.replace(ini.find("ShowSetting=0"), 13, "ShowSetting=1\r\nprintPostOpOffset=12");
  WriteConfig(ini);
  AddDriverPackage({"LX-220 Label"});
  for (const auto& row : UiLanguageTable) AddDocuments(row);
  machine.spooler.DefineDriver({u"LX-220 Label", DevModeBytes(148, 0)});
  AttachPrinter();
  SimLabelPrinter& label = machine.devices.printers[0].label;
  label.addressOnJoin = {192, 168, 1, 77};
  StartWizard();
  GoToInstallType();
  ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
  ASSERT_EQ(view.CurrentPage(), &sheet().setPrinter);

  ASSERT_TRUE(view.Click(IDC_WIFI_CONFIGURATOR));
  ASSERT_TRUE(view.Type(IDC_WIFI_NAME_EDIT, u"Lab"));
  ASSERT_TRUE(view.Type(IDC_WIFI_PASSWORD_EDIT, u"s3cret-pass"));
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(label.wifiPassword, "s3cret-pass");
  ASSERT_EQ(view.CurrentPage(), &sheet().setPrinter);

  ASSERT_TRUE(view.Click(IDC_IP_AUTO_WIFI));
  EXPECT_TRUE(view.boxes.empty());
  EXPECT_EQ(page().GetText(IDC_PRINTER_IP_EDIT), u"192.168.1.77");
  EXPECT_EQ(page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-220 Label NET");
  ASSERT_TRUE(view.ClickNext());
  ASSERT_EQ(machine.spooler.tcpPorts.count(u"ip_192.168.1.77"), 1u);
  EXPECT_EQ(machine.spooler.tcpPorts[u"ip_192.168.1.77"].address, u"192.168.1.77");
  SimPrinter* printer = machine.spooler.Find(u"LX-220 Label NET");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"IP_192.168.1.77");

  ASSERT_EQ(view.CurrentPage(), &sheet().accessories);
  EXPECT_EQ(static_cast<int>(sheet().step), 12);
  EXPECT_EQ(page().GetText(IDC_ACCESSORY_CUTTER), u"External cutter unit installed ");
  ASSERT_TRUE(view.Click(IDC_ACCESSORY_CUTTER));
  ASSERT_TRUE(view.ClickNext());
  RunUntilIdle();
  EXPECT_EQ(view.CurrentPage(), &sheet().finish);
  const DevModeBytes& dm = machine.spooler.Find(u"LX-220 Label NET")->info.devMode;
  ASSERT_GE(dm.size(), 148u + 12u);
  EXPECT_EQ(dm[dm.size() - 12], 3);
}

}  // namespace
}  // namespace lx
