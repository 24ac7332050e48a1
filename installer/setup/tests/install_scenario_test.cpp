#include <gtest/gtest.h>

#include <thread>

#include "installer/engine/driver_install.h"
#include "installer/setup/install_sequences.h"
#include "installer/engine/language_suffix.h"
#include "installer/engine/post_action.h"
#include "installer/engine/tests/engine_fixture.h"

namespace lx {
namespace {

using Ints = std::vector<int>;
using Msgs = std::vector<unsigned>;
using Args = std::vector<std::u16string>;

const std::u16string kEntryKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabelDriver";

class InstallScenarioTest : public EngineMachineTest {
 protected:
  void AddOtherPrinter(const std::u16string& name) {
    if (!machine.spooler.HasDriver(u"Office Laser")) machine.spooler.InstallDriver(u"Office Laser");
    if (!machine.spooler.HasPort(u"LPT1:")) machine.spooler.AddPort(u"LPT1:");
    ASSERT_EQ(machine.spooler.AddPrinter(name, u"LPT1:", u"Office Laser"), 0u);
  }
  std::optional<std::u16string> Suffix(const std::u16string& path) {
    return os.registry->GetString(RegRoot::kLocalMachine, u"SOFTWARE\\" + path, u"Suffix");
  }
};

TEST_F(InstallScenarioTest, UsbPrinterAttachedGetsAUniqueNameItsPortAndBecomesDefault) {
  machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0220\\LX0001", kUsbPath220}, 7);
  AddOtherPrinter(u"Label");
  AddOtherPrinter(u"Label (1)");
  machine.spooler.defaultPrinter = u"Label";

  InstallOnUsb(os, sink, state);

  EXPECT_EQ(state.target.portName, u"USB007");
  EXPECT_EQ(state.target.printerName, u"Label (2)");
  EXPECT_EQ(state.target.driverName, u"LX-220 Label");
  auto printui = Runs(u"rundll32.exe");
  ASSERT_GE(printui.size(), 2u);
  EXPECT_EQ(machine.shell.launches[0].parameters,
            u"printui.dll PrintUIEntry /if /b \"Label (2)\" /r \"USB007\" /m \"LX-220 Label\" /f "
            u"\"C:\\Medium\\amd64\\lx220.inf\" /z");
  EXPECT_EQ(machine.shell.launches[0].show, kSwShowNormal);
  EXPECT_EQ(printui[0]->result, 0u);

  SimPrinter* printer = machine.spooler.Find(u"Label (2)");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"USB007");
  EXPECT_EQ(printer->info.driverName, u"LX-220 Label");
  EXPECT_EQ(printui[1]->action, u"/y");
  LetToolsRun();
  EXPECT_EQ(machine.spooler.defaultPrinter, u"Label (2)");

  EXPECT_EQ(sink.progress, (Ints{50, 60, 70, 80, 90}));
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));
  // The model's own language path is in force from now on.
  EXPECT_EQ(state.LanguageRegPath(), u"LabelCo\\LX220");
  EXPECT_EQ(os.registry->GetString(RegRoot::kLocalMachine, kEntryKey, u"UninstallString"),
            u"\"C:\\Program Files\\LabelCo\\Setup\\Qelvin64.exe\" /uninstall");
  EXPECT_TRUE(machine.files.FileExists(u"C:\\Program Files\\LabelCo\\Setup\\Qelvin64.exe"));
  EXPECT_TRUE(Traced(u"Found USB port: USB007"));
  EXPECT_EQ(state.outcome, Outcome::kInstalled);
}

TEST_F(InstallScenarioTest, ModelWithAccessoryChoiceAsksForTheAccessoriesPage) {
  machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0320\\LX0002", kUsbPath320}, 12);
  InstallOnUsb(os, sink, state);
  EXPECT_EQ(state.target.printerName, u"Big Label");
  EXPECT_EQ(state.target.portName, u"USB012");
  EXPECT_EQ(sink.messages, (Msgs{kWmShowAccessories}));

  // The accessory setting then patches the printer's default DEVMODE.
  int offset = GetPostActionOffset(os, state.target.driverName);
  EXPECT_EQ(offset, 12);
  EXPECT_TRUE(ApplyPostAction(os, state.target.printerName, offset, 2));
  const DevModeBytes& dm = machine.spooler.Find(u"Big Label")->info.devMode;
  ASSERT_EQ(dm.size(), 1000u);
  EXPECT_EQ(ReadU32(dm, 988), 2u);
  EXPECT_EQ(dm[987], 0xEE);
  EXPECT_EQ(dm[992], 0xEE);
}

TEST_F(InstallScenarioTest, NoPrinterAttachedInstallsTheFirstDriverAloneAndWaitsForItInTheList) {
  machine.spooler.InstallDriver(u"Office Laser");
  machine.spooler.AddPort(u"LPT1:");
  machine.spooler.AddPrinter(u"Office", u"LPT1:", u"Office Laser");
  machine.spooler.defaultPrinter = u"Office";
  uint64_t start = machine.clock.now;

  InstallOnUsb(os, sink, state);

  EXPECT_EQ(state.target.portName, u"");
  EXPECT_EQ(state.target.printerName, u"");
  EXPECT_EQ(state.target.driverName, u"LX-220 Label");
  ASSERT_EQ(machine.shell.launches.size(), 1u);  // no default-printer command
  EXPECT_EQ(machine.shell.launches[0].parameters,
            u"printui.dll PrintUIEntry /ia /m \"LX-220 Label\" /f \"C:\\Medium\\amd64\\lx220.inf\" ");
  EXPECT_EQ(machine.tools.runs[0].action, u"/ia");
  // Polled until the tool has listed the driver (after 1.2 s): no printer is waited for.
  EXPECT_EQ(machine.clock.now - start, 50u + 50u + 3 * 500u);
  EXPECT_TRUE(machine.spooler.HasDriver(u"LX-220 Label"));
  EXPECT_EQ(machine.spooler.defaultPrinter, u"Office");
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));
  EXPECT_EQ(state.outcome, Outcome::kDriverOnly);
}

TEST_F(InstallScenarioTest, AttachedPrinterWithoutPortNumberInstallsTheDriverAlone) {
  machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0320\\LX0002", kUsbPath320}, std::nullopt);
  InstallOnUsb(os, sink, state);
  // Without a port the printer counts as not found: the first model's driver alone.
  EXPECT_EQ(state.target.portName, u"");
  EXPECT_EQ(state.target.driverName, u"LX-220 Label");
  EXPECT_EQ(state.target.printerName, u"");
  EXPECT_EQ(machine.tools.runs[0].action, u"/ia");
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));
}

TEST_F(InstallScenarioTest, ChosenPortStoresTheSuffixThenInstallsOnTheWorker) {
  machine.spooler.AddPort(u"LPT1:");
  bool workerStarted = false;
  InstallOnPort(os, sink, Lang(2), {u"LX-220 Label", u"Office Label", u"LPT1:"},
                Workers([&](std::function<void()> work) {
                  workerStarted = true;
                  // The suffix is stored before the worker runs, under the Install path.
                  EXPECT_EQ(Suffix(u"LabelCo\\Common"), u"ru");
                  work();
                }));
  ASSERT_TRUE(workerStarted);
  EXPECT_EQ(sink.progress, (Ints{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
  EXPECT_EQ(state.target.portName, u"LPT1:");
  EXPECT_EQ(state.target.printerName, u"Office Label");
  SimPrinter* printer = machine.spooler.Find(u"Office Label");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"LPT1:");
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));

  // The finish page stores the suffix again, now under the model's path.
  EXPECT_TRUE(WriteUiLanguageSuffix(os, Lang(2)));
  EXPECT_EQ(Suffix(u"LabelCo\\LX220"), u"ru");
  auto raw = machine.registry.GetRaw(RegRoot::kLocalMachine, u"SOFTWARE\\LabelCo\\LX220", u"Suffix");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->type, kRegSz);
  EXPECT_EQ(raw->bytes.size(), 6u);  // "ru" and its terminating null
  // A language without a row stores "enus".
  EXPECT_TRUE(WriteUiLanguageSuffix(os, Lang(14)));
  EXPECT_EQ(Suffix(u"LabelCo\\LX220"), u"enus");
}

TEST_F(InstallScenarioTest, ChosenPortWorkerRunsOnItsOwnThread) {
  machine.spooler.AddPort(u"LPT1:");
  std::thread worker;
  InstallOnPort(os, sink, Lang(0), {u"LX-320 Label", u"Big Label", u"LPT1:"},
                Workers([&](std::function<void()> work) { worker = std::thread(std::move(work)); }));
  ASSERT_TRUE(worker.joinable());
  worker.join();
  EXPECT_EQ(state.target.printerName, u"Big Label");
  EXPECT_NE(machine.spooler.Find(u"Big Label"), nullptr);
  EXPECT_EQ(sink.messages, (Msgs{kWmShowAccessories}));
}

TEST_F(InstallScenarioTest, HostileNamesAreRefusedBeforeAnyToolStarts) {
  // A name or port that tries to end the quote is refused before any line is
  // built: nothing starts, the other printer stays, the outcome says why.
  AddOtherPrinter(u"Office");
  const InstallRequest hostile[] = {{u"LX-220 Label", u"Lab\" /dl /n \"Office", u"LPT1:"},
                                    {u"LX-220 Label", u"Label", u"LPT1:\\\" /m \"Evil"}};
  for (const InstallRequest& request : hostile) {
    state.target = InstallTarget();
    sink.messages.clear();
    InstallOnPort(os, sink, Lang(0), request, Workers([](std::function<void()> w) { w(); }));
    LetToolsRun();
    EXPECT_TRUE(machine.tools.runs.empty());
    EXPECT_EQ(state.outcome, Outcome::kNameRefused);
    EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));
  }
  EXPECT_NE(machine.spooler.Find(u"Office"), nullptr);
}

TEST_F(InstallScenarioTest, FailingEnumerationStillEndsWithTheCompletionMessage) {
  machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0220\\LX0001", kUsbPath220}, 1);
  machine.spooler.failListPrinters = 1722;
  debugEnabled = 0;
  InstallOnUsb(os, sink, state);
  EXPECT_EQ(state.target.printerName, u"Label");
  // Written whatever the debug switch says, once per poll.
  int lines = 0;
  for (const auto& l : proc->debug.lines)
    lines += l == u"Failed to enumerate printers: Unable to get buffer size.\n";
  EXPECT_EQ(lines, 10);
  EXPECT_FALSE(Traced(u"Found USB port: USB001"));  // gated
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));
  // A printer nobody could see is no success.
  EXPECT_EQ(state.outcome, Outcome::kPrinterNotSeen);
  EXPECT_TRUE(Traced(u"Installation failed: printer Label did not appear"));
}

TEST_F(InstallScenarioTest, MissingInstallFolderAndBrokenPathsDoNotStopTheInstallation) {
  // A file where the program folder should be: no copy, the rest goes on.
  machine.files.AddFile(u"C:\\Program Files\\LabelCo", "not a folder");
  auto atRoot = machine.StartProcess(u"C:\\Qelvin64.exe");
  machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0220\\LX0001", kUsbPath220}, 3);
  InstallOnUsb(atRoot->os, sink, state);
  EXPECT_TRUE(atRoot->debug.Has(u"Failed to remove top-level directory.\n"));
  // The command runs with an empty INF path; the tool fails and no printer appears.
  EXPECT_EQ(machine.shell.launches[0].parameters,
            u"printui.dll PrintUIEntry /if /b \"Label\" /r \"USB003\" /m \"LX-220 Label\" /f \"\" /z");
  EXPECT_EQ(machine.spooler.Find(u"Label"), nullptr);
  EXPECT_FALSE(machine.files.FolderExists(u"C:\\Program Files\\LabelCo\\Setup"));
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));
  // No copy, so no entry whose command would name a missing program.
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault));
  EXPECT_TRUE(atRoot->debug.Has(u"No uninstall entry: the installer has no installed copy"));
  EXPECT_EQ(state.outcome, Outcome::kPrinterNotSeen);
}

// Each failed step ends the sequence with its completion and its outcome;
// nothing after the failed step runs.
TEST_F(InstallScenarioTest, FailedStepsAreRecordedAndStillComplete) {
  // A name no command line can carry: no command, no copy, no entry.
  InstallOnPort(os, sink, Lang(0), {u"LX-220 Label", std::u16string(u"La\0bel", 6), u"LPT1:"},
                Workers([](std::function<void()> w) { w(); }));
  EXPECT_EQ(state.outcome, Outcome::kNameRefused);
  EXPECT_TRUE(machine.shell.launches.empty());
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault));
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));

  // A driver the printer tool never delivers: the polls run out.
  sink.messages.clear();
  machine.tools.printUiDelayMs = 60000;
  uint64_t start = machine.clock.now;
  InstallOnUsb(os, sink, state);
  EXPECT_EQ(state.outcome, Outcome::kDriverNotSeen);
  EXPECT_GE(machine.clock.now - start, 10 * 500u);
  EXPECT_TRUE(Traced(u"Installation failed: driver LX-220 Label did not appear"));
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));

  // No thread to run on: the failure is the outcome, the completion still comes.
  sink.messages.clear();
  int started = 0;
  struct Refusing : IWorkerStarter {
    int& tries;
    explicit Refusing(int& t) : tries(t) {}
    bool Start(std::function<void()>) override { return ++tries, false; }
  } refusing(started);
  InstallOnPort(os, sink, Lang(0), {u"LX-220 Label", u"Label", u"LPT1:"}, refusing);
  EXPECT_EQ(started, 1);
  EXPECT_EQ(state.outcome, Outcome::kNotStarted);
  EXPECT_TRUE(Traced(u"Operation failed: its worker thread could not be started"));
  EXPECT_EQ(sink.messages, (Msgs{kWmInstallDone}));
}

}  // namespace
}  // namespace lx
