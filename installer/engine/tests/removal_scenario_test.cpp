#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"
#include "installer/engine/driver_removal.h"
#include "installer/engine/folder_copy.h"
#include "installer/engine/tests/engine_fixture.h"
#include "installer/engine/uninstall_entry.h"

namespace lx {
namespace {

using Names = std::vector<std::u16string>;

const std::u16string kDriverDir3 = u"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3";
const std::u16string kEntryKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabelDriver";

// Another maker's package, and one that lists our model without a value.
const char kOtherInf[] =
    "[Manufacturer]\r\nAcme=Acme,NTamd64\r\n[Acme.NTamd64]\r\n\"Acme 100\" = ACME.GPD, USBPRINT\\Acme100\r\n";
const char kEmptyValueInf[] = "[LabelCo.NTamd64]\r\n\"LX-220 Label\" =\r\n";
const char kX86OnlyInf[] = "[LabelCo.NTx86]\r\n\"LX-320 Label\" = LX320.GPD, USBPRINT\\LabelCoLX-3203C4D\r\n";

class RemovalScenarioTest : public EngineMachineTest {
 protected:
  // A machine after two installations, with another maker's printer beside ours.
  void Installed() {
    machine.spooler.AddPort(u"LPT1:");
    machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0220\\LX0001", kUsbPath220}, 7);
    ASSERT_EQ(machine.tools.PublishInf(kOurInf), u"oem0.inf");
    ASSERT_EQ(machine.tools.PublishInf(kOtherInf), u"oem1.inf");
    ASSERT_EQ(machine.tools.PublishInf(kEmptyValueInf), u"oem2.inf");
    ASSERT_EQ(machine.tools.PublishInf(kX86OnlyInf), u"oem3.inf");
    for (const char16_t* d : {u"LX-220 Label", u"LX-320 Label", u"Acme 100"}) machine.spooler.InstallDriver(d);
    machine.files.AddFile(kDriverDir3 + u"\\acme100ui.dll", "acme");
    // Modules and help of languages beyond the first four, and the bitmap module.
    for (const char16_t* f : {u"lx220uide.dll", u"lx220uitl.chm", u"lx320uinl.dll", u"lx220uibmp.dll"})
      machine.files.AddFile(kDriverDir3 + u"\\" + f, "ours");
    machine.spooler.AddPrinter(u"Label", u"USB007", u"LX-220 Label");
    machine.spooler.AddPrinter(u"Label (1)", u"LPT1:", u"LX-220 Label");
    machine.spooler.AddPrinter(u"Big Label", u"LPT1:", u"LX-320 Label");
    machine.spooler.AddPrinter(u"Acme", u"LPT1:", u"Acme 100");
    WriteUninstallEntry(os, InstallFolder(os));
    ASSERT_TRUE(machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault));
  }
  std::vector<std::u16string> Parameters(const std::u16string& program) {
    std::vector<std::u16string> out;
    for (const auto* r : Runs(program)) {
      std::u16string line;
      for (const auto& a : r->argv) line += (line.empty() ? u"" : u" ") + a;
      out.push_back(line);
    }
    return out;
  }
};

TEST_F(RemovalScenarioTest, RemovesOurPrintersDriversPackagesEntryAndFilesButNotPorts) {
  Installed();
  RunRemovalWorker(os, sink, state);
  LetToolsRun();

  EXPECT_EQ(Parameters(u"rundll32.exe"),
            (Names{u"printui.dll PrintUIEntry /dl /n Label /q", u"printui.dll PrintUIEntry /dl /n Label (1) /q",
                   u"printui.dll PrintUIEntry /dd /m LX-220 Label /q",
                   u"printui.dll PrintUIEntry /dl /n Big Label /q",
                   u"printui.dll PrintUIEntry /dd /m LX-320 Label /q"}));
  for (const auto* r : Runs(u"rundll32.exe")) EXPECT_EQ(r->result, 0u);
  EXPECT_EQ(machine.spooler.Find(u"Label"), nullptr);
  EXPECT_EQ(machine.spooler.Find(u"Big Label"), nullptr);
  EXPECT_NE(machine.spooler.Find(u"Acme"), nullptr);
  EXPECT_FALSE(machine.spooler.HasDriver(u"LX-220 Label"));
  EXPECT_FALSE(machine.spooler.HasDriver(u"LX-320 Label"));
  EXPECT_TRUE(machine.spooler.HasDriver(u"Acme 100"));

  // Section 1 with keys 1 and 2, then section 2 with keys 1 and 2.
  EXPECT_EQ(Parameters(u"pnputil.exe"),
            (Names{u"-f -d oem0.inf", u"-f -d oem0.inf", u"-f -d oem0.inf", u"-f -d oem0.inf",
                   u"-f -d oem3.inf"}));
  // A 64-bit installer: the system folder's own pnputil, run in that folder.
  EXPECT_EQ(machine.shell.launches.back().file, u"C:\\Windows\\system32\\pnputil.exe");
  EXPECT_EQ(machine.shell.launches.back().directory, u"C:\\Windows\\system32");
  EXPECT_EQ(machine.shell.launches.back().show, kSwHide);
  EXPECT_TRUE(Traced(u"del inf cmd =  -f -d oem3.inf"));
  EXPECT_EQ(machine.tools.OemInfs(), (Names{u"oem1.inf", u"oem2.inf"}));

  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault));
  EXPECT_EQ(machine.files.FilesIn(kDriverDir3), (Names{kDriverDir3 + u"\\acme100ui.dll"}));
  EXPECT_TRUE(Traced(u"Delete File " + kDriverDir3 + u"\\lx320.gpd"));
  EXPECT_TRUE(machine.spooler.HasPort(u"USB007"));
  EXPECT_TRUE(machine.spooler.HasPort(u"LPT1:"));

  EXPECT_EQ(sink.progress, (std::vector<int>{50, 60, 70, 80, 90}));
  EXPECT_EQ(sink.messages, (std::vector<unsigned>{kWmUninstallDone}));
  EXPECT_EQ(state.outcome, Outcome::kRemoved);
}

TEST_F(RemovalScenarioTest, APrinterNameHoldingQuotesIsLeftAndNothingElseTouched) {
  Installed();
  // A quote in a name is refused before any line is built: that printer
  // stays (the removal then counts as incomplete), nothing else is touched.
  const std::u16string hostile = u"Lab\" /dd /m \"Acme 100";
  ASSERT_EQ(machine.spooler.AddPrinter(hostile, u"LPT1:", u"LX-220 Label"), 0u);
  DeletePrintersAndDrivers(os);
  LetToolsRun();
  EXPECT_NE(machine.spooler.Find(hostile), nullptr);
  for (const auto* r : Runs(u"rundll32.exe"))
    EXPECT_EQ(std::count(r->argv.begin(), r->argv.end(), hostile), 0);
  EXPECT_TRUE(Traced(u"Refused the name \"Lab\" /dd /m \"Acme 100\" (21 characters): it holds a quote"));
  EXPECT_TRUE(machine.spooler.HasDriver(u"Acme 100"));
  EXPECT_NE(machine.spooler.Find(u"Acme"), nullptr);
}

TEST_F(RemovalScenarioTest, PrintersMatchTheConfiguredDriverNameExactly) {
  Installed();
  StartUpConfig().models[u"LX-220"].DriverName = u"lx-220 label";  // differs only in case
  DeletePrintersAndDrivers(os);
  LetToolsRun();
  EXPECT_NE(machine.spooler.Find(u"Label"), nullptr);
  EXPECT_NE(machine.spooler.Find(u"Label (1)"), nullptr);
  EXPECT_EQ(machine.spooler.Find(u"Big Label"), nullptr);
  // The driver is still asked to go; the spooler keeps it while printers use it.
  EXPECT_TRUE(machine.spooler.HasDriver(u"LX-220 Label"));
}

TEST_F(RemovalScenarioTest, TwoModelsWithOneDriverDeleteItTwiceFromOneList) {
  machine.files.AddFile(u"C:\\Medium\\Setup\\cfgSetup.ini",
                        "[Support_Driver]\r\nA\r\nB\r\n[A]\r\nDriverName=LX-220 Label\r\n"
                        "[B]\r\nDriverName=LX-220 Label\r\n");
  LoadInstallerConfig(os, GetConfigPath(os), StartUpConfig());
  machine.spooler.AddPort(u"LPT1:");
  machine.spooler.InstallDriver(u"LX-220 Label");
  machine.spooler.AddPrinter(u"Label", u"LPT1:", u"LX-220 Label");
  DeletePrintersAndDrivers(os);
  EXPECT_EQ(Parameters(u"rundll32.exe"),
            (Names{u"printui.dll PrintUIEntry /dl /n Label /q", u"printui.dll PrintUIEntry /dd /m LX-220 Label /q",
                   u"printui.dll PrintUIEntry /dl /n Label /q", u"printui.dll PrintUIEntry /dd /m LX-220 Label /q"}));
  // 100 ms after each command; before the first driver deletion the printer
  // is polled until its deletion (1200 ms) has acted: gone at the third poll.
  EXPECT_EQ(machine.clock.now, 100u + 3 * 500u + 100u + 100u + 100u);
}

// A printer deletion that takes longer than the start of the next command,
// as printui's do on a busy spooler.
class SlowPrinterDeletion : public IShell {
 public:
  SlowPrinterDeletion(IShell& inner, SimPrinterTools& tools, uint64_t deleteMs)
      : inner_(inner), tools_(tools), deleteMs_(deleteMs) {}
  intptr_t Execute(const std::u16string& verb, const std::u16string& file, const std::u16string& parameters,
                   const std::u16string& directory, int show) override {
    tools_.printUiDelayMs = parameters.find(u" /dl ") != std::u16string::npos ? deleteMs_ : 200;
    return inner_.Execute(verb, file, parameters, directory, show);
  }

 private:
  IShell& inner_;
  SimPrinterTools& tools_;
  uint64_t deleteMs_;
};

TEST_F(RemovalScenarioTest, DriverDeletionWaitsUntilItsPrintersAreGone) {
  Installed();
  SlowPrinterDeletion slow(*os.shell, machine.tools, 1500);
  Os slowOs = os;
  slowOs.shell = &slow;
  DeletePrintersAndDrivers(slowOs);
  LetToolsRun();
  // Refused while a printer of the driver is still listed, the driver would stay.
  for (const auto* r : Runs(u"rundll32.exe")) EXPECT_EQ(r->result, 0u) << std::string(r->action.begin(), r->action.end());
  EXPECT_FALSE(machine.spooler.HasDriver(u"LX-220 Label"));
  EXPECT_FALSE(machine.spooler.HasDriver(u"LX-320 Label"));
  EXPECT_TRUE(machine.spooler.HasDriver(u"Acme 100"));
}

TEST_F(RemovalScenarioTest, APrinterThatStaysDelaysTheDriverDeletionAtMostTenPolls) {
  Installed();
  SlowPrinterDeletion never(*os.shell, machine.tools, 60000);
  Os slowOs = os;
  slowOs.shell = &never;
  DeletePrintersAndDrivers(slowOs);
  std::vector<const SimToolRun*> runs = Runs(u"rundll32.exe");
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(runs[2]->action, u"/dd");
  EXPECT_EQ(runs[2]->startedAt, 200u + 10 * 500u);
  EXPECT_TRUE(Traced(u"Printers of driver LX-220 Label are still listed"));
}

TEST_F(RemovalScenarioTest, FailingEnumerationSkipsOnlyThePrinterDeletions) {
  Installed();
  machine.spooler.failListPrinters = 1722;
  RunRemovalWorker(os, sink, state);
  LetToolsRun();
  EXPECT_TRUE(Runs(u"rundll32.exe").empty());
  EXPECT_TRUE(proc->debug.Has(u"Failed to enumerate printers."));
  EXPECT_NE(machine.spooler.Find(u"Label"), nullptr);
  EXPECT_EQ(machine.tools.OemInfs(), (Names{u"oem1.inf", u"oem2.inf"}));
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault));
  EXPECT_EQ(sink.messages, (std::vector<unsigned>{kWmUninstallDone}));
  // What stayed is named, and the removal is not reported as done.
  EXPECT_EQ(state.outcome, Outcome::kRemovalIncomplete);
  EXPECT_TRUE(Traced(u"Removal incomplete: printers (the list cannot be read) is still installed"));
  machine.spooler.failListPrinters.reset();
  EXPECT_EQ(RemovalLeftovers(os), (Names{u"printer Big Label", u"printer Label", u"printer Label (1)",
                                         u"driver LX-220 Label", u"driver LX-320 Label"}));
}

// The removal's check looks through the spooler and the INF store; the
// deletions run as separate processes and get the polls to finish.
TEST_F(RemovalScenarioTest, LeftoversAreCheckedAfterTheToolsHadTheirTime) {
  Installed();
  machine.files.RemoveFile(u"C:\\Windows\\System32\\pnputil.exe");  // the packages stay
  RunRemovalWorker(os, sink, state);
  EXPECT_EQ(state.outcome, Outcome::kRemovalIncomplete);
  EXPECT_EQ(RemovalLeftovers(os), (Names{u"package oem0.inf", u"package oem3.inf"}));
  EXPECT_TRUE(Traced(u"Removal incomplete: package oem3.inf is still installed"));
  EXPECT_FALSE(Traced(u"Removal incomplete: printer Label is still installed"));

  // Slow tools finish within the polls: a clean removal.
  machine.files.AddFile(u"C:\\Windows\\System32\\pnputil.exe", "MZ");
  machine.tools.pnputilDelayMs = 3000;
  RunRemovalWorker(os, sink, state);
  EXPECT_EQ(state.outcome, Outcome::kRemoved);
  EXPECT_TRUE(RemovalLeftovers(os).empty());
}

TEST_F(RemovalScenarioTest, MissingToolsStoreAndFilesAreTracedAndPassedOver) {
  Installed();
  // No pnputil anywhere: every pair is tried and stops at the tool.
  machine.files.RemoveFile(u"C:\\Windows\\System32\\pnputil.exe");
  // A file still in use, and one already gone.
  machine.files.SetAttributes(kDriverDir3 + u"\\lx220drv.dll", kFileAttributeReadOnly);
  machine.files.RemoveFile(kDriverDir3 + u"\\lx220ui.dll");
  UninstallDriverPackage(os);
  int notFound = 0;
  for (const auto& l : proc->debug.lines) notFound += l == u"pnputil.exe not found, C:\\Windows\\system32\\pnputil.exe";
  EXPECT_EQ(notFound, 4);
  EXPECT_TRUE(Runs(u"pnputil.exe").empty());
  EXPECT_EQ(machine.tools.OemInfs().size(), 4u);
  EXPECT_TRUE(Traced(u"Failed to delete file: " + kDriverDir3 + u"\\lx220drv.dll (Error 5)\n"));
  EXPECT_FALSE(Traced(u"Failed to delete file: " + kDriverDir3 + u"\\lx220ui.dll (Error 2)\n"));
  EXPECT_FALSE(machine.files.FileExists(kDriverDir3 + u"\\lx220.gpd"));  // the next files still go
  EXPECT_TRUE(machine.files.FileExists(kDriverDir3 + u"\\lx220drv.dll"));

  // An empty store: said whatever the debug switch says.
  debugEnabled = 0;
  for (const auto& name : machine.tools.OemInfs()) machine.files.RemoveFile(machine.tools.InfFolder() + u"\\" + name);
  machine.files.AddFile(u"C:\\Windows\\System32\\pnputil.exe", "MZ");
  DeleteOemInfPackages(os, u"LabelCo.NTamd64", u"\"LX-220 Label\"");
  EXPECT_TRUE(Traced(u"No OEM INF files found"));
  // The entry is already gone: a second removal reports it only when debugging.
  EXPECT_FALSE(DeleteUninstallEntry(os));
  debugEnabled = 1;
  EXPECT_FALSE(DeleteUninstallEntry(os));
  EXPECT_TRUE(Traced(u"Failed to delete registry key: " + kEntryKey + u" (Error 2)\n"));
}

TEST_F(RemovalScenarioTest, ListingsCutShortByAnErrorHandleWhatTheyListed) {
  constexpr uint32_t kUnexpectedNetworkError = 59;
  Installed();
  // The INF store's listing breaks after our own package.
  machine.files.listingFaults[SimFileSystem::Normalize(machine.tools.InfFolder())] = {1, kUnexpectedNetworkError};
  DeleteOemInfPackages(os, u"LabelCo.NTamd64", u"\"LX-220 Label\"");
  EXPECT_FALSE(Traced(u"No OEM INF files found"));
  EXPECT_EQ(Parameters(u"pnputil.exe"), (Names{u"-f -d oem0.inf"}));
  // Broken at the first entry, nothing was listed.
  machine.files.listingFaults[SimFileSystem::Normalize(machine.tools.InfFolder())] = {0, kUnexpectedNetworkError};
  DeleteOemInfPackages(os, u"LabelCo.NTamd64", u"\"LX-220 Label\"");
  EXPECT_TRUE(Traced(u"No OEM INF files found"));

  // The installer copy: ".", ".." and cfgSetup.ini are listed, then the error.
  machine.files.AddFolder(u"C:\\Target");
  machine.files.listingFaults[SimFileSystem::Normalize(u"C:\\Medium\\Setup")] = {3, kUnexpectedNetworkError};
  EXPECT_TRUE(CopyFolderTree(os, u"C:\\Medium\\Setup", u"C:\\Target"));
  EXPECT_TRUE(machine.files.FileExists(u"C:\\Target\\cfgSetup.ini"));
  EXPECT_FALSE(machine.files.FileExists(u"C:\\Target\\Qelvin64.exe"));
  machine.files.listingFaults[SimFileSystem::Normalize(u"C:\\Medium\\Setup")] = {0, kUnexpectedNetworkError};
  EXPECT_FALSE(CopyFolderTree(os, u"C:\\Medium\\Setup", u"C:\\Target2"));
}

TEST_F(RemovalScenarioTest, OddInfFilesMatchNothing) {
  machine.tools.PublishInf("");
  std::string binary(4096, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 131) & 0xFF);
  machine.tools.PublishInf(binary);
  std::string huge;
  for (int i = 0; i < 40000; ++i) huge += "[LabelCo.NTamd64]\r\n\"LX-220 Labe\" = x" + std::to_string(i) + "\r\n";
  machine.tools.PublishInf(huge);
  machine.tools.PublishInf(std::string("\xFF\xFE[\0L\0", 6));
  DeleteOemInfPackages(os, u"LabelCo.NTamd64", u"\"LX-220 Label\"");
  EXPECT_TRUE(Runs(u"pnputil.exe").empty());
}

TEST_F(RemovalScenarioTest, StrayQuotesAndCommasInTheListsDeleteNothingElse) {
  machine.files.AddFile(u"C:\\Medium\\Setup\\cfgSetup.ini",
                        "[Support_Driver]\r\nA\r\n[A]\r\nDriverName=LX-220 Label\r\n"
                        "[Uninstall]\r\nInfSection=,LabelCo.NTamd64,,\r\n"
                        "DriverName=\"LX-220 Label\",,\"\r\nRegInfo=\r\n"
                        "DriverPrefix=lx220,,..\\..\\..\\victim, ,C:\\Windows\\win\r\n");
  LoadInstallerConfig(os, GetConfigPath(os), StartUpConfig());
  EXPECT_EQ(StartUpConfig().uninstall.DriverName, u"\"LX-220 Label\",,\"");
  machine.tools.PublishInf(kOurInf);
  machine.tools.PublishInf(kOtherInf);
  machine.tools.PublishInf("[LabelCo.NTamd64]\r\n\"\" = catch-all\r\n=empty key\r\n");
  machine.spooler.InstallDriver(u"LX-220 Label");
  const std::u16string decoys[] = {kDriverDir3 + u"\\ui.dll", kDriverDir3 + u"\\.gpd",
                                   u"C:\\Windows\\system32\\spool\\victimui.dll",
                                   u"C:\\Windows\\winui.dll"};
  for (const auto& d : decoys) machine.files.AddFile(d, "keep");
  machine.registry.CreateKey(RegRoot::kLocalMachine,
                             u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other",
                             RegView::kDefault);

  UninstallDriverPackage(os);
  LetToolsRun();

  EXPECT_EQ(Parameters(u"pnputil.exe"), (Names{u"-f -d oem0.inf"}));
  EXPECT_EQ(machine.tools.OemInfs(), (Names{u"oem1.inf", u"oem2.inf"}));
  for (const auto& d : decoys) EXPECT_TRUE(machine.files.FileExists(d)) << Utf16ToUtf8(d);
  EXPECT_FALSE(machine.files.FileExists(kDriverDir3 + u"\\lx220ui.dll"));
  // An empty RegInfo names no entry of ours: the shared key stays.
  EXPECT_TRUE(machine.registry.KeyExists(
      RegRoot::kLocalMachine, u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other", RegView::kDefault));
}

}  // namespace
}  // namespace lx
