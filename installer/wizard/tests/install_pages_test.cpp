// The install-type page's layout, the port page, the installing page.
#include <gtest/gtest.h>

#include "installer/core/exit_codes.h"
#include "installer/core/resource_ids.h"
#include "installer/engine/protected_print.h"
#include "installer/pages/step_select_port.h"
#include "installer/wizard/tests/wizard_fixture.h"

namespace lx {
namespace {

class InstallTypeLayout : public WizardTest {
 protected:
  // The template's place of a button, in pixels.
  static Rect Place(int id) {
    for (const auto& c : PageScripts().Dialog(IDD_STEP_INSTALLER_TYPE)->controls)
      if (c.id == id) return DialogUnitsToPixels(c.dialogUnits);
    return {};
  }
};

TEST_F(InstallTypeLayout, HiddenChoicesLeaveNoGaps) {
  struct Case {
    int net, other;
    bool netShown, otherShown;
    int uninstallAt;  // the button whose place "Uninstall" takes
    int otherAt;
  } cases[] = {
      {1, 1, true, true, IDC_UNINSTALL, IDC_OTHER_PORT_INSTALL},
      {1, 0, true, false, IDC_OTHER_PORT_INSTALL, IDC_OTHER_PORT_INSTALL},
      {2, 0, true, false, IDC_UNINSTALL, IDC_OTHER_PORT_INSTALL},  // the gap stays
      {0, 0, false, false, IDC_NET_INSTALL, IDC_OTHER_PORT_INSTALL},
      {0, 1, false, true, IDC_OTHER_PORT_INSTALL, IDC_NET_INSTALL},
      {0, 2, false, true, IDC_UNINSTALL, IDC_OTHER_PORT_INSTALL},  // the gap stays
  };
  for (const auto& c : cases) {
    WizardRig rig;
    rig.WriteConfig("[Install]\r\nSupportNet=" + std::to_string(c.net) +
                    "\r\nSupportOther=" + std::to_string(c.other) + "\r\n");
    rig.StartWizard();
    rig.GoToInstallType();
    FakeDialog& p = rig.view.Current();
    std::string label = std::to_string(c.net) + "/" + std::to_string(c.other);
    EXPECT_EQ(p.IsVisible(IDC_NET_INSTALL), c.netShown) << label;
    EXPECT_EQ(p.IsVisible(IDC_OTHER_PORT_INSTALL), c.otherShown) << label;
    EXPECT_TRUE(p.IsVisible(IDC_USB_INSTALL) && p.IsVisible(IDC_UNINSTALL)) << label;
    EXPECT_EQ(p.GetControlRect(IDC_UNINSTALL), Place(c.uninstallAt)) << label;
    EXPECT_EQ(p.GetControlRect(IDC_OTHER_PORT_INSTALL), Place(c.otherAt)) << label;
    EXPECT_EQ(p.GetControlRect(IDC_USB_INSTALL), Place(IDC_USB_INSTALL)) << label;
  }
}

TEST_F(InstallTypeLayout, TextsLogoAndButtons) {
  WriteConfig("[Install]\r\nSupportNet=1\r\nSupportOther=1\r\nShowLogo=3\r\n");
  StartWizard(true);
  EXPECT_EQ(page().GetText(IDC_INSTALL_TYPE_HEADING), En(IDS_INSTALL_OPTIONS));
  EXPECT_EQ(page().GetText(IDC_USB_INSTALL), u"USB Install");
  EXPECT_EQ(page().GetText(IDC_NET_INSTALL), u"NET Install");
  EXPECT_EQ(page().GetText(IDC_OTHER_PORT_INSTALL), u"Other port Install");
  EXPECT_EQ(page().GetText(IDC_UNINSTALL), u"Uninstall");
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  // ShowLogo 3: logo 170, moved 60 pixels to the left.
  Rect logo = DialogUnitsToPixels({217, 0, 232, 13});
  EXPECT_EQ(page().At(IDC_LOGO).bitmap, 170);
  EXPECT_EQ(page().GetControlRect(IDC_LOGO), (Rect{logo.left - 60, logo.top, logo.right - 60, logo.bottom}));
  EXPECT_TRUE(page().IsVisible(IDC_LOGO));
}

TEST_F(InstallTypeLayout, ProtectedPrintModeOffersOnlyTheRemoval) {
  // Off: the note stays hidden, and leaving before any operation is 1602.
  StartWizard();
  GoToInstallType();
  EXPECT_FALSE(page().IsVisible(IDC_PROTECTED_PRINT_NOTE));
  ASSERT_TRUE(view.ClickCancel());
  EXPECT_EQ(ExitCodeOf(TheWizardState(), true), kExitCancelled);

  WizardRig rig;
  rig.machine.registry.CreateKey(RegRoot::kLocalMachine, kProtectedPrintPolicyKey, RegView::kDefault);
  rig.machine.registry.SetDword(RegRoot::kLocalMachine, kProtectedPrintPolicyKey, kProtectedPrintPolicyValue, 1,
                                RegView::kDefault);
  rig.StartWizard();
  rig.GoToInstallType();
  FakeDialog& p = rig.view.Current();
  for (int id : {IDC_USB_INSTALL, IDC_NET_INSTALL, IDC_OTHER_PORT_INSTALL}) EXPECT_FALSE(p.IsVisible(id)) << id;
  EXPECT_TRUE(p.IsVisible(IDC_PROTECTED_PRINT_NOTE));
  EXPECT_EQ(p.GetText(IDC_PROTECTED_PRINT_NOTE), En(IDS_PROTECTED_PRINT));
  EXPECT_NE(En(IDS_PROTECTED_PRINT).find(u"administrator"), std::u16string::npos);
  // A hidden choice cannot be reached; nothing is staged.
  EXPECT_FALSE(rig.view.Click(IDC_USB_INSTALL));
  rig.sheet().installerType.OnCommand(IDC_USB_INSTALL, kBnClicked);
  EXPECT_EQ(rig.view.CurrentPage(), &rig.sheet().installerType);
  EXPECT_TRUE(rig.machine.shell.launches.empty());
  EXPECT_EQ(ExitCodeOf(TheWizardState(), true), kExitProtectedPrint);
  // The removal stays.
  ASSERT_TRUE(rig.view.Click(IDC_UNINSTALL));
  rig.RunUntilIdle();
  EXPECT_EQ(rig.view.CurrentPage(), &rig.sheet().finish);
  EXPECT_EQ(ExitCodeOf(TheWizardState(), true), kExitRestartRequired);
}

TEST_F(InstallTypeLayout, ShowLogoZeroHidesTheLogo) {
  WriteConfig("[Install]\r\nShowLogo=0\r\n");
  StartWizard(true);
  EXPECT_FALSE(page().IsVisible(IDC_LOGO));
  EXPECT_EQ(page().At(IDC_LOGO).bitmap, 133);
}

class PortPageTest : public WizardTest {
 protected:
  void SetUp() override {
    machine.spooler.AddPort(u"COM3");
    machine.spooler.AddPort(u"USB002", u"USB Monitor", u"Virtual printer port for USB");
    machine.spooler.AddPort(u"Virtual_PDF");
    AddDriverPackage({"LX-220 Label", "LX-200 Label"});
  }
  void Open(const std::string& models) {
    WriteConfig("[Support_Driver]\r\n" + models + "[Install]\r\nInfName=Driver\\lx220.inf\r\nSupportOther=1\r\n");
    StartWizard();
    GoToInstallType();
    ASSERT_TRUE(view.Click(IDC_OTHER_PORT_INSTALL));
    ASSERT_EQ(view.CurrentPage(), &sheet().selectPort);
  }
  int RowOf(const std::u16string& port) {
    auto& rows = page().At(IDC_PORT_LIST).rows;
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i][0] == port) return static_cast<int>(i);
    return -1;
  }
  static std::string TwoModels() {
    return "LX-220\r\nLX-200\r\n[LX-220]\r\nDriverName=LX-220 Label\r\n[LX-200]\r\nDriverName=LX-200 Label\r\n";
  }
};

TEST_F(PortPageTest, ListsPortsAndDrivers) {
  Open(TwoModels());
  EXPECT_EQ(static_cast<int>(sheet().step), 10);
  EXPECT_EQ(page().GetText(IDC_PORT_TITLE), u"Specifying Ports");
  EXPECT_EQ(view.ButtonText(kIdWizNext), u"Install");
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  EXPECT_TRUE(view.ButtonEnabled(kIdWizBack));
  EXPECT_FALSE(page().IsVisible(IDC_PORT_ADD));
  const FakeControl& list = page().At(IDC_PORT_LIST);
  EXPECT_EQ(list.extendedStyle, 0x4020u);
  EXPECT_EQ(list.columns, (std::vector<std::u16string>{u"Port Name", u"Describe"}));
  EXPECT_EQ(list.columnWidths, (std::vector<int>{150, 150}));
  ASSERT_EQ(list.rows.size(), 7u);
  EXPECT_EQ(list.rows[0], (std::vector<std::u16string>{u"LPT1:", u"Printer port"}));
  EXPECT_EQ(list.rows[1], (std::vector<std::u16string>{u"COM1:", u"Serial port"}));
  EXPECT_EQ(list.rows[2][0], u"COM3");
  EXPECT_EQ(list.rows[3][0], u"USB002");
  // The driver list sorts itself; the printer name follows its first entry.
  EXPECT_EQ(page().At(IDC_DRIVER_COMBO).items, (std::vector<std::u16string>{u"LX-200 Label", u"LX-220 Label"}));
  EXPECT_EQ(page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-200 Label C");
  ASSERT_TRUE(view.Type(IDC_PRINTER_NAME_EDIT, u"Shipping"));
  ASSERT_TRUE(view.SelectCombo(IDC_DRIVER_COMBO, 1));
  EXPECT_EQ(page().GetText(IDC_PRINTER_NAME_EDIT), u"LX-220 Label C");
  EXPECT_TRUE(page().missingIds.empty());
}

TEST_F(PortPageTest, RefusesToGoOnWithoutAPort) {
  Open(TwoModels());
  ASSERT_TRUE(view.Click(IDC_PORT_CONFIGURE));
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, u"Please select a port to configure first!");
  EXPECT_EQ(view.boxes[0].caption, u"Tips");
  EXPECT_EQ(view.boxes[0].type, kMbOkOnly);

  ASSERT_TRUE(view.SelectRow(IDC_PORT_LIST, RowOf(u"COM3")));
  EXPECT_TRUE(view.ButtonEnabled(kIdWizNext));
  EXPECT_EQ(sheet().selectPort.RowBackground(IDC_PORT_LIST, 2, true), 0xC8C8C8u);
  EXPECT_EQ(sheet().selectPort.RowBackground(IDC_PORT_LIST, 1, false), 0xFFFFFFu);
  ASSERT_TRUE(view.SelectRow(IDC_PORT_LIST, -1));  // a click below the rows
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  // A Next that still arrives (the keyboard's default button) is refused with the same message.
  sheet().OnWizardNext();
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[1].text, u"Please select a port to configure first!");
  EXPECT_EQ(view.boxes[1].caption, u"Tips");
  EXPECT_EQ(view.CurrentPage(), &sheet().selectPort);
  EXPECT_EQ(workers.started, 0);
}

TEST_F(PortPageTest, ConfiguresTheSelectedPort) {
  Open(TwoModels());
  ASSERT_TRUE(view.SelectRow(IDC_PORT_LIST, RowOf(u"COM3")));
  ASSERT_TRUE(view.Click(IDC_PORT_CONFIGURE));
  EXPECT_EQ(machine.spooler.configuredPorts, (std::vector<std::u16string>{u"COM3"}));
  EXPECT_EQ(machine.spooler.lastConfigureOwner, FakeSheet::kWindowHandle);  // modal to the wizard
  EXPECT_TRUE(view.boxes.empty());
}

TEST_F(PortPageTest, ReportsWhatThePortMonitorRefuses) {
  Open(TwoModels());
  machine.spooler.configureErrors[u"COM3"] = 87;   // in use or gone
  machine.spooler.configureErrors[u"LPT1:"] = 50;  // no configuration dialog
  machine.spooler.configureErrors[u"COM1:"] = 5;   // other errors say nothing
  for (const char16_t* port : {u"COM3", u"LPT1:", u"COM1:"}) {
    ASSERT_TRUE(view.SelectRow(IDC_PORT_LIST, RowOf(port)));
    ASSERT_TRUE(view.Click(IDC_PORT_CONFIGURE));
  }
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[0].text,
            u"An error occurred while configuring the port. The port may be in use, or may not exist.");
  EXPECT_EQ(view.boxes[1].text, u"An error occurred while configuring the port. This action is not supported.");
  for (const auto& box : view.boxes) {
    EXPECT_EQ(box.caption, u"Configuring Ports");
    EXPECT_EQ(box.type, kMbOkOnly);
  }
  EXPECT_TRUE(machine.spooler.configuredPorts.empty());
  EXPECT_EQ(view.CurrentPage(), &sheet().selectPort);
}

TEST_F(PortPageTest, InstallsOnTheChosenPort) {
  Open(TwoModels());
  ASSERT_TRUE(view.SelectCombo(IDC_DRIVER_COMBO, 1));
  ASSERT_TRUE(view.Type(IDC_PRINTER_NAME_EDIT, u"Shipping"));
  ASSERT_TRUE(view.SelectRow(IDC_PORT_LIST, RowOf(u"COM3")));
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(view.CurrentPage(), &sheet().installing);
  EXPECT_EQ(static_cast<int>(sheet().step), 4);
  EXPECT_EQ(page().GetText(IDC_INSTALL_STATUS), u"Installing...");
  EXPECT_EQ(page().At(IDC_INSTALL_PROGRESS).low, 0);
  EXPECT_EQ(page().At(IDC_INSTALL_PROGRESS).high, 100);
  RunUntilIdle();
  EXPECT_EQ(view.CurrentPage(), &sheet().finish);
  EXPECT_TRUE(page().IsVisible(IDC_PRINT_TEST_PAGE));
  machine.clock.Sleep(5000);
  SimPrinter* printer = machine.spooler.Find(u"Shipping");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"COM3");
  EXPECT_EQ(printer->info.driverName, u"LX-220 Label");
}

TEST_F(PortPageTest, BackReturnsToTheInstallTypePage) {
  Open(TwoModels());
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);
  EXPECT_EQ(static_cast<int>(sheet().step), 3);
  // The port page keeps its lists for the rest of the run.
  machine.spooler.AddPort(u"COM9");
  ASSERT_TRUE(view.Click(IDC_OTHER_PORT_INSTALL));
  EXPECT_EQ(RowOf(u"COM9"), -1);
  EXPECT_EQ(page().At(IDC_PORT_LIST).rows.size(), 7u);
}

TEST_F(PortPageTest, EmptyModelTableLeavesThePageWorking) {
  Open("");
  EXPECT_TRUE(page().At(IDC_DRIVER_COMBO).items.empty());
  EXPECT_EQ(page().GetText(IDC_PRINTER_NAME_EDIT), u"");
  ASSERT_TRUE(view.SelectRow(IDC_PORT_LIST, RowOf(u"LPT1:")));
  ASSERT_TRUE(view.ClickNext());
  RunUntilIdle();
  EXPECT_EQ(view.CurrentPage(), &sheet().finish);
  // No model, no printer: the empty names are refused before printui, the
  // finish page says so and offers no test page.
  EXPECT_EQ(page().GetText(IDC_FINISH_RESULT), En(IDS_INSTALL_FAILED));
  EXPECT_EQ(page().GetText(IDC_FINISH_NOTE), En(IDS_FAIL_NAME));
  EXPECT_TRUE(page().IsVisible(IDC_FINISH_NOTE));
  EXPECT_FALSE(page().IsVisible(IDC_PRINT_TEST_PAGE));
}

TEST_F(PortPageTest, NetworkEntryWithoutTheSearchGoesToThePrinterOptions) {
  WriteConfig("[Install]\r\nSupportNet=1\r\nNetOnline=0\r\n");
  StartWizard();
  GoToInstallType();
  ASSERT_TRUE(view.Click(IDC_NET_INSTALL));
  EXPECT_EQ(view.CurrentPage(), &sheet().setPrinter);
  EXPECT_EQ(static_cast<int>(sheet().step), 9);
  EXPECT_EQ(view.failedSelections, 0);
}

}  // namespace
}  // namespace lx
