// Whole wizard runs on the simulated machine: which page opens, where each
// button leads, what the workers' completion messages show.
#include <gtest/gtest.h>

#include "installer/core/exit_codes.h"
#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "installer/core/wizard_state.h"
#include "installer/wizard/tests/wizard_fixture.h"

namespace lx {
namespace {

class SheetFlowTest : public WizardTest {
 protected:
  void SetUp() override {
    WriteConfig(DefaultConfig());
    AddDriverPackage({"LX-220 Label"});
    for (const auto& row : UiLanguageTable) AddDocuments(row);
  }
  std::optional<std::u16string> StoredSuffix() {
    return machine.registry.GetString(RegRoot::kLocalMachine, u"SOFTWARE\\Calveth\\LX220", u"Suffix",
                                      RegView::kDefault);
  }
};

TEST_F(SheetFlowTest, InstallModeOpensOnTheLanguagePage) {
  StartWizard();
  EXPECT_EQ(view.caption, u"Installtion");
  EXPECT_EQ(view.CurrentPage(), &sheet().init);
  EXPECT_EQ(sheet().step, Step::kNone);
  // The page list: language page, the configured welcome page, install-type page.
  EXPECT_EQ(view.Pages(), (std::vector<IPropertyPage*>{&sheet().init, &sheet().main, &sheet().installerType}));
  EXPECT_EQ(page().GetText(IDC_LANGUAGE_LABEL), u"Select Language");
  EXPECT_FALSE(view.ButtonEnabled(kIdWizBack));
  EXPECT_TRUE(view.ButtonEnabled(kIdWizNext));
  EXPECT_EQ(view.ButtonText(kIdCancel), u"Exit");
  EXPECT_EQ(view.ButtonText(kIdWizNext), u"Next");
  EXPECT_FALSE(view.FrameView().IsVisible(kIdHelp));
  EXPECT_EQ(view.frontRequests, 1);
  // Back, Next and Cancel are 30 pixels wider; Back 30 left, Next 5 and Cancel 30 right.
  EXPECT_EQ(view.FrameView().GetControlRect(kIdWizBack), (Rect{238, 412, 343, 435}));
  EXPECT_EQ(view.FrameView().GetControlRect(kIdWizNext), (Rect{348, 412, 453, 435}));
  EXPECT_EQ(view.FrameView().GetControlRect(kIdCancel), (Rect{458, 412, 563, 435}));
  EXPECT_TRUE(process->debug.Has(u"SheetManage::OnInitDialog"));
}

TEST_F(SheetFlowTest, ConfigurationChoosesTheWelcomePage) {
  struct Case {
    const char* install;
    int expected;  // 0 CStepMain, 1 CStepMainNoPic, 2 CStepMainNoLP
  } cases[] = {{"ShowLogo=1", 0}, {"ShowLogo=3", 1}, {"ShowLogo=6", 1}, {"ShowLogo=4", 0},
               {"LPOemShow=1\r\nShowLogo=3", 2}};
  for (const auto& c : cases) {
    WizardRig t;
    t.WriteConfig(std::string("[Install]\r\n") + c.install + "\r\n");
    t.StartWizard();
    IPropertyPage* expected[] = {&t.sheet().main, &t.sheet().mainNoPic, &t.sheet().mainNoLp};
    EXPECT_EQ(t.sheet().WelcomePage(), expected[c.expected]) << c.install;
    EXPECT_EQ(t.view.Pages()[1], expected[c.expected]) << c.install;
  }
}

TEST_F(SheetFlowTest, WelcomeNextFollowsTheAgreeBox) {
  StartWizard();
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(view.CurrentPage(), &sheet().main);
  EXPECT_TRUE(view.ButtonEnabled(kIdWizBack));
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  EXPECT_FALSE(view.ClickNext());
  ASSERT_TRUE(view.Click(IDC_AGREE_CHECK));
  EXPECT_TRUE(view.ButtonEnabled(kIdWizNext));
  ASSERT_TRUE(view.Click(IDC_AGREE_CHECK));
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  ASSERT_TRUE(view.Click(IDC_AGREE_CHECK));

  // Back to the language page and forward again: the box stays ticked.
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(view.CurrentPage(), &sheet().init);
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(view.CurrentPage(), &sheet().main);
  EXPECT_TRUE(page().GetCheck(IDC_AGREE_CHECK));
  EXPECT_TRUE(view.ButtonEnabled(kIdWizNext));
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);
  // The install-type page's Back goes to the entry before it in the page list.
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(view.CurrentPage(), &sheet().main);
  // Default moves do not touch the step.
  EXPECT_EQ(sheet().step, Step::kNone);
  // Pages shown later join the list after the first three and stay there.
  ASSERT_TRUE(view.ClickNext());
  ASSERT_TRUE(view.Click(IDC_OTHER_PORT_INSTALL));
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(sheet().PageList(), (std::vector<IPropertyPage*>{&sheet().init, &sheet().main,
                                                           &sheet().installerType, &sheet().selectPort}));
  EXPECT_EQ(view.Pages(), sheet().PageList());
}

TEST_F(SheetFlowTest, UsbInstallWithoutPrinterEndsOnTheFinishPage) {
  StartWizard();
  GoToInstallType();
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  ASSERT_TRUE(view.Click(IDC_USB_INSTALL));
  EXPECT_EQ(view.CurrentPage(), &sheet().installing);
  EXPECT_EQ(static_cast<int>(sheet().step), 4);
  EXPECT_EQ(page().GetText(IDC_INSTALL_STATUS), u"Installing...");
  EXPECT_EQ(page().At(IDC_INSTALL_PROGRESS).positions, (std::vector<int>{0, 0, 10, 20, 30, 40}));
  EXPECT_FALSE(view.ButtonEnabled(kIdWizBack));
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  EXPECT_EQ(workers.Waiting(), 1u);
  // The suffix is stored right after the worker started.
  EXPECT_EQ(StoredSuffix(), u"enus");

  RunUntilIdle();
  EXPECT_EQ(view.sheetMessages, (std::vector<unsigned>{kWmInstallDone}));
  EXPECT_EQ(view.CurrentPage(), &sheet().finish);
  EXPECT_EQ(static_cast<int>(sheet().step), 6);
  EXPECT_EQ(page().GetText(IDC_FINISH_RESULT), u"Installation Complete");
  // No printer attached: the driver alone, no test page, the not-connected note.
  EXPECT_FALSE(page().IsVisible(IDC_PRINT_TEST_PAGE));
  EXPECT_TRUE(page().IsVisible(IDC_FINISH_NOTE));
  EXPECT_EQ(page().GetText(IDC_FINISH_NOTE), En(IDS_PRINTER_NOT_CONNECTED));
  EXPECT_EQ(view.ButtonText(kIdCancel), u"Complete");
  EXPECT_FALSE(view.ButtonEnabled(kIdWizBack));
  EXPECT_FALSE(view.ButtonEnabled(kIdWizNext));
  ASSERT_TRUE(view.ClickCancel());
  EXPECT_TRUE(view.ended);
  EXPECT_TRUE(view.boxes.empty());  // no restart question after an installation
}

TEST_F(SheetFlowTest, UsbInstallWithPrinterOffersTheTestPage) {
  AttachPrinter();
  StartWizard();
  GoToInstallType();
  ASSERT_TRUE(view.Click(IDC_USB_INSTALL));
  RunUntilIdle();
  ASSERT_EQ(view.CurrentPage(), &sheet().finish);
  ASSERT_NE(machine.spooler.Find(u"LX-220 Label Printer"), nullptr);
  EXPECT_TRUE(page().IsVisible(IDC_PRINT_TEST_PAGE));
  EXPECT_FALSE(page().IsVisible(IDC_FINISH_NOTE));
  ASSERT_TRUE(view.Click(IDC_PRINT_TEST_PAGE));
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, u"Test page is sent to printer");
  EXPECT_EQ(view.boxes[0].caption, u"");
  machine.clock.Sleep(5000);
  EXPECT_EQ(machine.spooler.testPages, (std::vector<std::u16string>{u"LX-220 Label Printer"}));
  EXPECT_EQ(machine.spooler.defaultPrinter, u"LX-220 Label Printer");
}

// USB installation of a model with the accessory choice: the accessories
// page, then the accessory setting on the installing page, then the finish.
TEST_F(SheetFlowTest, AccessoryChoiceSetsThePostPrintActionOfTheNewPrinter) {
  std::string ini = DefaultConfig();
  ini.replace(ini.find("ShowSetting=0"), 13, "ShowSetting=1\r\nprintPostOpOffset=12");
  WriteConfig(ini);
  // A driver whose private DEVMODE part holds the post-print action.
  machine.spooler.DefineDriver({u"LX-220 Label", DevModeBytes(148, 0)});
  AttachPrinter();
  StartWizard();
  GoToInstallType();
  ASSERT_TRUE(view.Click(IDC_USB_INSTALL));
  RunUntilIdle();
  ASSERT_NE(machine.spooler.Find(u"LX-220 Label Printer"), nullptr);
  EXPECT_EQ(view.sheetMessages, (std::vector<unsigned>{kWmShowAccessories}));

  ASSERT_EQ(view.CurrentPage(), &sheet().accessories);
  EXPECT_EQ(static_cast<int>(sheet().step), 12);
  EXPECT_FALSE(view.ButtonEnabled(kIdWizBack));
  EXPECT_TRUE(view.ButtonEnabled(kIdWizNext));
  EXPECT_EQ(page().GetText(IDC_ACCESSORY_CUTTER), u"External cutter unit installed ");
  EXPECT_TRUE(page().GetCheck(IDC_ACCESSORY_NONE));  // Next works at once
  EXPECT_EQ(page().At(IDC_ACCESSORY_PICTURE).bitmap, IDB_ACCESSORY_NONE);
  ASSERT_TRUE(view.Click(IDC_ACCESSORY_PEELER));
  EXPECT_EQ(page().At(IDC_ACCESSORY_PICTURE).bitmap, IDB_ACCESSORY_PEELER);
  ASSERT_TRUE(view.Click(IDC_ACCESSORY_CUTTER));
  EXPECT_EQ(page().At(IDC_ACCESSORY_PICTURE).bitmap, IDB_ACCESSORY_CUTTER);
  EXPECT_FALSE(page().GetCheck(IDC_ACCESSORY_NONE));
  // Without a choice Next does nothing.
  page().SetCheck(IDC_ACCESSORY_CUTTER, false);
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(view.CurrentPage(), &sheet().accessories);
  ASSERT_TRUE(view.Click(IDC_ACCESSORY_CUTTER));

  uint64_t before = machine.clock.now;
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(view.CurrentPage(), &sheet().installing);
  // A key pressed during the last steps is not acted on by the finish page.
  machine.clock.After(60, [&] { view.Click(IDC_PRINT_TEST_PAGE); });
  EXPECT_EQ(static_cast<int>(sheet().step), 4);
  EXPECT_EQ(page().GetText(IDC_INSTALL_STATUS), u"Setting up...");
  EXPECT_EQ(machine.clock.now - before, 500u);  // five positions, 100 ms each
  RunUntilIdle();
  EXPECT_EQ(view.sheetMessages.back(), kWmAccessoryDone);
  auto& positions = view.ViewOf(sheet().installing)->At(IDC_INSTALL_PROGRESS).positions;
  EXPECT_EQ(std::vector<int>(positions.end() - 8, positions.end()),
            (std::vector<int>{0, 10, 20, 30, 40, 60, 70, 80}));
  EXPECT_EQ(view.CurrentPage(), &sheet().finish);
  EXPECT_EQ(static_cast<int>(sheet().step), 6);
  EXPECT_EQ(page().GetText(IDC_FINISH_RESULT), u"Installation Complete");
  EXPECT_EQ(view.droppedInput, 1);
  EXPECT_TRUE(view.boxes.empty());
  // The cutter's post-print action sits 12 bytes before the DEVMODE's end.
  const DevModeBytes& dm = machine.spooler.Find(u"LX-220 Label Printer")->info.devMode;
  ASSERT_GE(dm.size(), 12u);
  EXPECT_EQ(dm[dm.size() - 12], 3);
}

// The WiFi page hands the credentials to the printer on USB, or says why not.
TEST_F(SheetFlowTest, WifiPageHandsTheCredentialsToThePrinterOnUsb) {
  StartWizard();
  sheet().GoTo(Step::kWifi);
  ASSERT_EQ(view.CurrentPage(), &sheet().setWifi);
  EXPECT_EQ(view.ButtonText(kIdWizNext), u"Connect");
  EXPECT_TRUE(view.ButtonEnabled(kIdWizBack));
  EXPECT_EQ(page().GetText(IDC_WIFI_NAME_LABEL), u"WiFi Name");

  ASSERT_TRUE(view.ClickNext());
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, u"The WiFi name is empty");
  ASSERT_TRUE(view.Type(IDC_WIFI_NAME_EDIT, u"Lab"));
  ASSERT_TRUE(view.ClickNext());
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[1].text, En(IDS_WIFI_USB_NOT_CONNECTED));
  EXPECT_EQ(view.CurrentPage(), &sheet().setWifi);

  // With a printer on USB: the name and the empty password reach it.
  AttachPrinter();
  uint64_t before = machine.clock.now;
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(view.boxes.size(), 2u);
  const SimLabelPrinter& label = machine.devices.printers[0].label;
  EXPECT_EQ(label.credentialsReceived, 1);
  EXPECT_EQ(label.wifiName, "Lab");
  EXPECT_EQ(label.wifiPassword, "");
  EXPECT_EQ(machine.clock.now - before, 1500u);
  EXPECT_EQ(view.CurrentPage(), &sheet().setPrinter);

  // Texts longer than a WiFi network allows are refused before anything is
  // sent, as message 208 says: a name over 32 UTF-8 bytes, a password over
  // 63 UTF-8 bytes unless it is a key of 64 hexadecimal digits. Short
  // passwords go to the printer.
  const std::u16string key(64, u'a');
  struct Case {
    std::u16string name, password;
    bool sent;
  } cases[] = {{std::u16string(17, u'\u00C4'), u"", false},
               {u"Lab", std::u16string(63, u'x') + u"y", false},
               {u"Lab", key + u"0", false},
               {u"Lab", std::u16string(22, u'\u5BC6'), false},
               {u"Lab", std::u16string(21, u'\u5BC6'), true},
               {u"Lab", u"short", true},
               {std::u16string(32, u'N'), key, true}};
  for (const auto& c : cases) {
    sheet().GoTo(Step::kWifi);
    size_t shown = view.boxes.size();
    int received = label.credentialsReceived;
    ASSERT_TRUE(view.Type(IDC_WIFI_NAME_EDIT, c.name));
    ASSERT_TRUE(view.Type(IDC_WIFI_PASSWORD_EDIT, c.password));
    ASSERT_TRUE(view.ClickNext());
    EXPECT_EQ(label.credentialsReceived, received + (c.sent ? 1 : 0)) << Utf16ToUtf8(c.password);
    EXPECT_EQ(view.boxes.size(), shown + (c.sent ? 0 : 1));
    if (!c.sent) EXPECT_EQ(view.boxes.back().text, En(IDS_WIFI_TOO_LONG));
  }
  EXPECT_EQ(label.wifiPassword, std::string(64, 'a'));
}

TEST_F(SheetFlowTest, UninstallModeOpensOnTheInstallTypePageAndAsksForARestart) {
  machine.spooler.InstallDriver(u"LX-220 Label");
  machine.spooler.AddPrinter(u"LX-220 Label Printer", u"LPT1:", u"LX-220 Label");
  StartWizard(true);
  EXPECT_EQ(view.Pages(), (std::vector<IPropertyPage*>{&sheet().installerType}));
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);
  for (int id : {IDC_USB_INSTALL, IDC_NET_INSTALL, IDC_OTHER_PORT_INSTALL}) {
    EXPECT_TRUE(page().IsVisible(id)) << id;
    EXPECT_FALSE(page().IsEnabled(id)) << id;
  }
  EXPECT_TRUE(page().IsEnabled(IDC_UNINSTALL));
  EXPECT_FALSE(view.Click(IDC_USB_INSTALL));
  // There is no page before this one: the sheet's own set-up disables Back.
  EXPECT_FALSE(view.ButtonEnabled(kIdWizBack));
  sheet().OnWizardBack();
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);

  ASSERT_TRUE(view.Click(IDC_UNINSTALL));
  EXPECT_EQ(view.CurrentPage(), &sheet().installing);
  EXPECT_EQ(page().GetText(IDC_INSTALL_STATUS), u"Uninstalling...");
  RunUntilIdle();
  EXPECT_EQ(view.sheetMessages, (std::vector<unsigned>{kWmUninstallDone}));
  EXPECT_EQ(view.CurrentPage(), &sheet().finish);
  EXPECT_EQ(page().GetText(IDC_FINISH_RESULT), u"Uninstallation Complete");
  EXPECT_FALSE(page().IsVisible(IDC_PRINT_TEST_PAGE));
  EXPECT_TRUE(sheet().finish.removed);
  machine.clock.Sleep(5000);
  EXPECT_EQ(machine.spooler.Find(u"LX-220 Label Printer"), nullptr);

  view.answers.push_back(kIdOkAnswer);
  ASSERT_TRUE(view.ClickCancel());
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, u"To avoid affecting your use, please restart the computer.");
  EXPECT_EQ(view.boxes[0].caption, u"");
  EXPECT_EQ(view.boxes[0].type, kMbOkCancel);
  ASSERT_EQ(session->requests.size(), 1u);
  EXPECT_EQ(session->requests[0].flags, kEwxReboot);
  EXPECT_EQ(session->requests[0].reason, 0u);
  EXPECT_TRUE(view.ended);
  // The restart was started: the program ends with 1641.
  EXPECT_EQ(ExitCodeOf(TheWizardState(), true), kExitRestartStarted);
}

// The finish page tells a failure from a success: its heading, a note saying
// what did not happen, and no test page without a printer.
TEST_F(SheetFlowTest, FailuresEndOnTheFinishPageSayingWhatDidNotHappen) {
  auto expectFinish = [&](unsigned heading, unsigned note, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(view.CurrentPage(), &sheet().finish);
    EXPECT_EQ(page().GetText(IDC_FINISH_RESULT), En(heading));
    EXPECT_EQ(page().GetText(IDC_FINISH_NOTE), En(note));
    EXPECT_TRUE(page().IsVisible(IDC_FINISH_NOTE));
    EXPECT_FALSE(page().IsVisible(IDC_PRINT_TEST_PAGE));
  };
  StartWizard();
  GoToInstallType();
  // No thread for the worker: the installing page does not wait forever.
  workers.refuse = true;
  ASSERT_TRUE(view.Click(IDC_USB_INSTALL));
  RunUntilIdle();
  expectFinish(IDS_INSTALL_FAILED, IDS_FAIL_NOT_STARTED, "worker not started");
  EXPECT_TRUE(process->debug.Has(u"Operation failed: its worker thread could not be started"));
  workers.refuse = false;

  // A refused network address: no port, no printer, no test page to press.
  sheet().InstallNetworkPrinter(u"lx\" /d", u"LX-220 NET", u"LX-220 Label");
  expectFinish(IDS_INSTALL_FAILED, IDS_FAIL_NAME, "address refused");
  sheet().finish.OnCommand(IDC_PRINT_TEST_PAGE, kBnClicked);
  EXPECT_TRUE(view.boxes.empty());
  for (const auto& launch : machine.shell.launches) EXPECT_EQ(launch.parameters.find(u"/k"), std::u16string::npos);

  // The same page shows a success again afterwards, with its own texts.
  sheet().GoTo(Step::kFinish);
  sheet().finish.ShowOutcome(Outcome::kDriverOnly);
  EXPECT_EQ(page().GetText(IDC_FINISH_RESULT), En(IDS_INSTALL_DONE));
  EXPECT_EQ(page().GetText(IDC_FINISH_NOTE), En(IDS_PRINTER_NOT_CONNECTED));
}

TEST_F(SheetFlowTest, RemovalThatLeavesAPrinterSaysSoAndStillOffersTheRestart) {
  AttachPrinter();
  machine.spooler.InstallDriver(u"LX-220 Label");
  machine.spooler.AddPrinter(u"Kept", u"USB001", u"LX-220 Label");
  // The printer list cannot be read: nothing is deleted and the check sees it.
  machine.spooler.failListPrinters = 1722;
  StartWizard(true);
  ASSERT_TRUE(view.Click(IDC_UNINSTALL));
  RunUntilIdle();
  ASSERT_EQ(view.CurrentPage(), &sheet().finish);
  EXPECT_EQ(page().GetText(IDC_FINISH_RESULT), En(IDS_UNINSTALL_INCOMPLETE));
  EXPECT_EQ(page().GetText(IDC_FINISH_NOTE), En(IDS_REMOVAL_LEFT));
  EXPECT_FALSE(page().IsVisible(IDC_PRINT_TEST_PAGE));
  EXPECT_EQ(TheWizardState().outcome, Outcome::kRemovalIncomplete);
  view.answers.push_back(kIdCancelAnswer);
  ASSERT_TRUE(view.ClickCancel());
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, En(IDS_RESTART));

  // A removal whose worker cannot start says the removal is incomplete.
  WizardRig second;
  second.WriteConfig(DefaultConfig());
  second.workers.refuse = true;
  second.StartWizard(true);
  ASSERT_TRUE(second.view.Click(IDC_UNINSTALL));
  second.RunUntilIdle();
  ASSERT_EQ(second.view.CurrentPage(), &second.sheet().finish);
  EXPECT_EQ(second.page().GetText(IDC_FINISH_RESULT), En(IDS_UNINSTALL_INCOMPLETE));
  EXPECT_EQ(second.page().GetText(IDC_FINISH_NOTE), En(IDS_FAIL_NOT_STARTED));
}

TEST_F(SheetFlowTest, RestartDeclinedOrRefused) {
  StartWizard(true);
  ASSERT_TRUE(view.Click(IDC_UNINSTALL));
  RunUntilIdle();
  view.answers.push_back(kIdCancelAnswer);
  ASSERT_TRUE(view.CloseBox());
  EXPECT_EQ(view.boxes.size(), 1u);
  EXPECT_TRUE(session->requests.empty());
  EXPECT_TRUE(view.ended);

  WizardRig refused;
  refused.session->refuseWithError = 1314;  // ERROR_PRIVILEGE_NOT_HELD
  refused.WriteConfig("[Debug]\r\nOpenDebug=1\r\n");
  refused.StartWizard(true);
  ASSERT_TRUE(refused.view.Click(IDC_UNINSTALL));
  refused.RunUntilIdle();
  ASSERT_TRUE(refused.view.ClickCancel());
  EXPECT_TRUE(refused.process->debug.Has(u"Error code:1314"));
  EXPECT_TRUE(refused.view.ended);
}

TEST_F(SheetFlowTest, IgnoredAndLateMessagesChangeNothing) {
  StartWizard();
  ASSERT_TRUE(view.ClickNext());
  IPropertyPage* shown = view.CurrentPage();
  view.PostSheetMessage(kWmUser + 702);
  view.PostSheetMessage(kWmUser + 705);
  EXPECT_EQ(view.DeliverPosted(), 2);
  EXPECT_EQ(view.CurrentPage(), shown);
  EXPECT_EQ(sheet().step, Step::kNone);
  EXPECT_EQ(view.ViewOf(sheet().finish), nullptr);
}

// For screen readers: fields no static text names get the name of a text the
// page shows. A high-contrast scheme gives pages and sheet the system's colours.
TEST_F(SheetFlowTest, PagesNameTheirFieldsAndFollowHighContrast) {
  StartWizard();
  ASSERT_TRUE(view.ClickNext());
  ASSERT_EQ(view.CurrentPage(), &sheet().main);
  EXPECT_EQ(page().At(IDC_MAIN_LICENCE_VIEW).accessibleName, u"I agree to License Agreement and");
  EXPECT_EQ(page().At(IDC_AGREE_CHECK).accessibleName, u"I agree to License Agreement and");
  EXPECT_EQ(page().At(IDC_PRIVACY_VIEW).accessibleName, u"Privacy Policy.");
  ASSERT_TRUE(view.Click(IDC_AGREE_CHECK));
  ASSERT_TRUE(view.ClickNext());
  ASSERT_TRUE(view.Click(IDC_OTHER_PORT_INSTALL));
  ASSERT_EQ(view.CurrentPage(), &sheet().selectPort);
  EXPECT_EQ(page().At(IDC_PORT_LIST).accessibleName, En(IDS_PORT_HEADING));

  EXPECT_FALSE(view.ColorsOf(IDC_PORT_TITLE).system);
  EXPECT_FALSE(view.ColorsOf(kIdWizNext).system);
  page().highContrast = true;
  view.FrameView().highContrast = true;
  EXPECT_TRUE(view.ColorsOf(IDC_PORT_TITLE).system);
  EXPECT_TRUE(view.ColorsOf(IDC_PRINTER_NAME_EDIT).system);
  EXPECT_TRUE(view.ColorsOf(kIdWizNext).system);
}

TEST_F(SheetFlowTest, CancelDuringAnInstallationClosesAtOnce) {
  StartWizard();
  GoToInstallType();
  ASSERT_TRUE(view.Click(IDC_USB_INSTALL));
  // Enter and Space go to the progress bar, not to Exit, which Tab reaches.
  view.DeliverPosted();
  EXPECT_TRUE(page().At(IDC_INSTALL_PROGRESS).focused);
  // Nor does a typed character or an arrow reach another control.
  EXPECT_TRUE(page().At(IDC_INSTALL_PROGRESS).keepsKeys);
  ASSERT_TRUE(view.ClickCancel());
  EXPECT_TRUE(view.ended);
  EXPECT_TRUE(view.boxes.empty());
  // The worker's message arrives after the wizard has closed and is lost.
  RunUntilIdle();
  EXPECT_EQ(view.sheetMessages, (std::vector<unsigned>{kWmInstallDone}));
  EXPECT_EQ(view.ViewOf(sheet().finish), nullptr);
}

}  // namespace
}  // namespace lx
