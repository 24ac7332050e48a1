// The engine's installation on a chosen port and its removal, end to end
// under Wine: the real engine over the real platform seam, a cfgSetup.ini
// beside the program, the INF in the folder above it, and rundll32 running
// the printui stand-in against Wine's spooler.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/core/wizard_state.h"
#include "installer/engine/driver_install.h"
#include "installer/engine/driver_removal.h"
#include "installer/engine/engine_sink.h"
#include "installer/setup/install_sequences.h"
#include "installer/engine/language_suffix.h"
#include "installer/engine/post_action.h"
#include "installer/engine/printer_queries.h"
#include "installer/engine/tests/win/e2e_machine.h"
#include "installer/engine/tests/win/e2e_recorders.h"
#include "platform/win32/win32_os.h"
#include "tools/printui/spooler_actions.h"
#include "tools/printui/standin_setup.h"

namespace {

using namespace e2e;

const std::wstring kPnputilRecorder = L"Z:" LX_PNPUTIL_RECORDER;

// Both word sizes may run at once against one prefix: every name carries the size.
const std::wstring kBits = LX_TEST_BITS;
const std::wstring kDriver = L"LX-220 Test Label " + kBits;
const std::wstring kPrinter = L"Test Label " + kBits;
const std::wstring kDecoyDriver = L"LX-220 Decoy " + kBits;
const std::wstring kOffice = L"Office E2E " + kBits;  // not the printui tests' decoy
const std::wstring kHostile = L"Lab\" /dl /n \"" + kOffice;
const std::wstring kRegInfo = L"LX E2E Driver " + kBits;
const std::wstring kAppFolder = L"LX E2E " + kBits;  // below Program Files and below SOFTWARE
const std::wstring kLanguagePath = kAppFolder + L"\\LX-220";
const std::wstring kPrefixA = L"lxe2e" + kBits + L"a";
const std::wstring kPrefixB = L"lxe2e" + kBits + L"b";
const std::wstring kOemOurs = L"oem90" + kBits + L".inf";
const std::wstring kOemOursWide = L"oem91" + kBits + L".inf";
const std::wstring kOemOther = L"oem92" + kBits + L".inf";
const std::wstring kUsbPort = L"USB0" + kBits;
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kRegInfo;
constexpr int kRussian = 2;  // languageId of the "ru" row


std::string Inf(const std::wstring& model) {
  std::string m = Ascii(model);
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
         "[Manufacturer]\r\nLXE2E=LXE2E,NTamd64,NTx86\r\n"
         "[LXE2E.NTamd64]\r\n\"" + m + "\" = LX220.GPD, USBPRINT\\LXE2E0220\r\n"
         "[LXE2E.NTx86]\r\n\"" + m + "\" = LX220.GPD, USBPRINT\\LXE2E0220\r\n";
}

std::wstring PnputilLogFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"lx e2e pnputil " + kBits;
}

// The arguments of every pnputil start recorded so far, one text per start.
std::vector<std::wstring> PnputilStarts() {
  std::vector<std::wstring> starts;
  WIN32_FIND_DATAW found{};
  const std::wstring folder = PnputilLogFolder();
  HANDLE search = FindFirstFileW((folder + L"\\*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return starts;
  do {
    HANDLE f = CreateFileW((folder + L"\\" + found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) continue;
    wchar_t text[512] = {};
    DWORD got = 0;
    ReadFile(f, text, sizeof(text) - sizeof(wchar_t), &got, nullptr);
    CloseHandle(f);
    starts.push_back(std::wstring(text, got / sizeof(wchar_t)));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(starts.begin(), starts.end());
  return starts;
}

std::vector<std::wstring> PlantedFileNames(const std::wstring& prefix) {
  std::vector<std::wstring> names;
  for (const std::u16string& ending : lx::DriverFileEndings()) names.push_back(prefix + W(ending));
  return names;
}

class EngineE2ETest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::wstring error;
    standInReady_ = printui::InstallStandIn(&error);
    standInError_ = error;
    ClearLeftovers();
    savedDefault_ = DefaultPrinter();
  }

  // The prefix is shared with the other tests of the run.
  static void TearDownTestSuite() {
    ClearLeftovers();
    if (!savedDefault_.empty() && DefaultPrinter() != savedDefault_) SetDefaultPrinterW(savedDefault_.c_str());
  }

  void SetUp() override {
    ASSERT_TRUE(standInReady_) << Ascii(standInError_);
    os_ = win_.os();
    os_.debug = &debug_;
    setupFolder_ = FolderOf(ModulePath());
    mediumFolder_ = FolderOf(setupFolder_);
    ASSERT_FALSE(mediumFolder_.empty());
    installFolder_ = ProgramFilesFolder() + L"\\" + kAppFolder + L"\\Setup";

    // The model's own INF (CustomInfName=1) in a sub-folder of the medium; the
    // Install section's InfName names a file that does not exist.
    infPath_ = mediumFolder_ + L"\\drivers\\lx_e2e.inf";
    ASSERT_TRUE(CreateFolders(mediumFolder_ + L"\\drivers"));
    ASSERT_TRUE(WriteBytes(infPath_, Inf(kDriver)));
    lx::TheWizardState().Reset();
    LoadConfig("");
  }

  // cfgSetup.ini beside the program, read by the installer's own loader.
  void LoadConfig(const std::string& extraModelKeys) {
    ASSERT_TRUE(WriteBytes(setupFolder_ + L"\\cfgSetup.ini", Config(extraModelKeys)));
    lx::LoadInstallerConfig(os_, lx::GetConfigPath(os_), lx::StartUpConfig());
    ASSERT_EQ(lx::StartUpConfig().modelCount, 1);
    ASSERT_EQ(lx::debugEnabled, 1);
  }

  void TearDown() override {
    ClearLeftovers();
    lx::StartUpConfig() = lx::InstallerConfig();
    lx::debugEnabled = 0;
  }

  std::string Config(const std::string& extraModelKeys) const {
    return "[Debug]\r\nOpenDebug=1\r\n"
           "[Support_Driver]\r\nLX-220\r\n"
           "[LX-220]\r\nVID=VID_2D37\r\nPID=PID_0220\r\nPRINTERNAME=" + Ascii(kPrinter) +
           "\r\nDriverName=" + Ascii(kDriver) + "\r\nTYPE=1\r\nInfName=drivers\\lx_e2e.inf\r\n"
           "LanguageRegPath=" + Ascii(kLanguagePath) + "\r\n" + extraModelKeys +
           "[Uninstall]\r\nInfSection=LXE2E.NTamd64,LXE2E.NTx86\r\n"
           "DriverName=\"" + Ascii(kDriver) + "\"\r\nRegInfo=" + Ascii(kRegInfo) + "\r\n"
           "DisplayName=LX E2E Label Driver\r\nDisplayVersion=1.2.3\r\nPublisher=LX E2E\r\n"
           "InstallLocation=" + Ascii(installFolder_) + "\r\n"
           "DriverPrefix=" + Ascii(kPrefixA + L"," + kPrefixB) + "\r\n"
           "[Install]\r\nInfName=missing.inf\r\nCustomInfName=1\r\n"
           "FilePath=" + Ascii(kAppFolder) + "\\Setup\r\nLanguageRegPath=" + Ascii(kAppFolder) + "\\Common\r\n";
  }

  // The wizard's port page path: InstallOnPort on this thread, its worker on another.
  void Install(RecordingSink& sink, const std::wstring& printerName, const std::wstring& port = L"FILE:") {
    struct ThreadStarter : lx::IWorkerStarter {
      bool Start(std::function<void()> work) override {
        worker = std::thread(std::move(work));
        return true;
      }
      std::thread worker;
    } workers;
    lx::TheWizardState().language = kRussian;
    lx::InstallOnPort(os_, sink, lx::TheWizardState(), {U(kDriver), U(printerName), U(port)}, workers);
    ASSERT_TRUE(workers.worker.joinable());
    workers.worker.join();
  }

  void Remove(RecordingSink& sink) {
    std::thread worker([&] { lx::RunRemovalWorker(os_, sink, lx::TheWizardState()); });
    worker.join();
  }

  // A printer of a driver the configuration does not name, on FILE:.
  void AddDecoy() {
    std::wstring inf = mediumFolder_ + L"\\drivers\\decoy.inf";
    ASSERT_TRUE(WriteBytes(inf, Inf(kDecoyDriver)));
    printui::Command cmd;
    cmd.action = printui::Action::InstallPrinter;
    cmd.baseName = kOffice;
    cmd.port = L"FILE:";
    cmd.model = kDecoyDriver;
    cmd.infFile = inf;
    ASSERT_EQ(printui::Perform(cmd), DWORD(ERROR_SUCCESS));
  }

  static void DeletePrinter(const std::wstring& name) {
    printui::Command cmd;
    cmd.action = printui::Action::DeletePrinter;
    cmd.name = name;
    printui::Perform(cmd);
  }

  static void ClearLeftovers() {
    for (const std::wstring& name : {kPrinter, kPrinter + L" (1)", kHostile, kOffice}) DeletePrinter(name);
    for (const std::wstring& model : {kDriver, kDecoyDriver}) {
      printui::Command cmd;
      cmd.action = printui::Action::DeleteDriver;
      cmd.model = model;
      printui::Perform(cmd);
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + kAppFolder);
    std::wstring programFiles = ProgramFilesFolder();
    if (!programFiles.empty()) RemoveTree(programFiles + L"\\" + kAppFolder);
    std::wstring drivers = DriverDirectory();
    if (!drivers.empty()) {
      for (const std::wstring& prefix : {kPrefixA, kPrefixB})
        for (const std::wstring& name : PlantedFileNames(prefix)) DeleteFileW((drivers + L"\\3\\" + name).c_str());
      DeleteFileW((drivers + L"\\3\\" + kPrefixA + L"keep.gpd").c_str());
    }
    for (const std::wstring& oem : {kOemOurs, kOemOursWide, kOemOther})
      DeleteFileW((WindowsFolder() + L"\\INF\\" + oem).c_str());
    // Only the recorder: Wine brings no pnputil of its own.
    const std::wstring pnputil = SystemFolder() + L"\\pnputil.exe";
    if (FileSize(pnputil) && FileSize(pnputil) == FileSize(kPnputilRecorder)) DeleteFileW(pnputil.c_str());
    RemoveTree(PnputilLogFolder());
    if (PortExists(kUsbPort)) printui::DeleteLocalPort(kUsbPort);
  }

  lx::Win32Os win_;
  lx::Os os_;
  RecordingDebug debug_;
  std::wstring setupFolder_, mediumFolder_, installFolder_, infPath_;

  static bool standInReady_;
  static std::wstring standInError_;
  static std::wstring savedDefault_;
};
bool EngineE2ETest::standInReady_ = false;
std::wstring EngineE2ETest::standInError_;
std::wstring EngineE2ETest::savedDefault_;

// The printer's default DEVMODE as the driver hands it out.
std::vector<BYTE> DefaultDevmode(const std::wstring& printerName) {
  HANDLE printer = nullptr;
  LPWSTR name = const_cast<LPWSTR>(printerName.c_str());
  if (!OpenPrinterW(name, &printer, nullptr)) return {};
  LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
  std::vector<BYTE> dm(size > 0 ? size : 0);
  if (size <= 0 ||
      DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(dm.data()), nullptr, DM_OUT_BUFFER) !=
          IDOK)
    dm.clear();
  ClosePrinter(printer);
  return dm;
}

int32_t ValueAt(const std::vector<BYTE>& bytes, size_t position) {
  int32_t value = 0;
  if (position + 4 <= bytes.size()) memcpy(&value, &bytes[position], 4);
  return value;
}

const std::vector<int> kInstallProgress = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90};
const std::vector<int> kRemovalProgress = {50, 60, 70, 80, 90};

TEST_F(EngineE2ETest, InstallOnFilePortThenRemovalLeavesOnlyThePort) {
  // Installation on the existing port FILE:.
  RecordingSink install;
  Install(install, kPrinter);
  EXPECT_EQ(install.messages(), std::vector<unsigned>{WM_USER + 700});
  EXPECT_EQ(install.progress(), kInstallProgress);
  EXPECT_EQ(W(lx::TheWizardState().target.printerName), kPrinter);
  EXPECT_EQ(W(lx::TheWizardState().target.portName), L"FILE:");

  // The command named the model's INF in the folder above the program's.
  EXPECT_TRUE(debug_.Saw(L"printui.dll PrintUIEntry /if /b \"" + kPrinter + L"\" /r \"FILE:\" /m \"" + kDriver +
                         L"\" /f \"" + infPath_ + L"\" /z"))
      << debug_.Dump();
  PrinterFacts printer = FindPrinter(kPrinter);
  ASSERT_TRUE(printer.found) << debug_.Dump();
  EXPECT_EQ(printer.port, L"FILE:");
  EXPECT_EQ(printer.driver, kDriver);
  EXPECT_EQ(printer.attributes & PRINTER_ATTRIBUTE_SHARED, 0u);
  // The default-printer command is started, not waited for.
  EXPECT_TRUE(PollFor([] { return DefaultPrinter() == kPrinter; }, 8000)) << Ascii(DefaultPrinter());
  // The finish page's test page reaches the printer (the stand-in counts it).
  lx::PrintTestPage(os_, U(kPrinter));
  EXPECT_TRUE(PollFor([] { return TestPagesNoted(kPrinter) == 1; }, 8000));

  // The Add/Remove Programs entry starts the installed copy with /uninstall.
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"LX E2E Label Driver");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), L"1.2.3");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"LX E2E");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"), installFolder_);
  const std::wstring program = NativeSystemIs64Bit() ? L"Qelvin64.exe" : L"Qelvin32.exe";
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"),
            L"\"" + installFolder_ + L"\\" + program + L"\" /uninstall");

  // The program's folder (here the test program and its cfgSetup.ini) was copied.
  const std::wstring exeName = ModulePath().substr(setupFolder_.size() + 1);
  EXPECT_EQ(FileSize(installFolder_ + L"\\" + exeName), FileSize(ModulePath()));
  EXPECT_EQ(FileSize(installFolder_ + L"\\cfgSetup.ini"), FileSize(setupFolder_ + L"\\cfgSetup.ini"));

  // The plug-in's language: stored at the start under the Install section's
  // path; the model's own path is in force afterwards, so that the finish
  // page's second write lands there.
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + kAppFolder + L"\\Common", L"Suffix"), L"ru");
  EXPECT_EQ(W(lx::TheWizardState().LanguageRegPath()), kLanguagePath);
  EXPECT_TRUE(lx::WriteUiLanguageSuffix(os_, lx::TheWizardState()));
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + kLanguagePath, L"Suffix"), L"ru");

  // Removal. Driver files of ours lie in the version-3 folder.
  const std::wstring version3 = DriverDirectory() + L"\\3";
  ASSERT_TRUE(CreateFolders(version3));
  for (const std::wstring& prefix : {kPrefixA, kPrefixB})
    for (const std::wstring& name : PlantedFileNames(prefix)) ASSERT_TRUE(WriteBytes(version3 + L"\\" + name, "x"));
  const std::wstring keep = version3 + L"\\" + kPrefixA + L"keep.gpd";
  ASSERT_TRUE(WriteBytes(keep, "x"));

  RecordingSink removal;
  Remove(removal);
  EXPECT_EQ(removal.messages(), std::vector<unsigned>{WM_USER + 701});
  EXPECT_EQ(removal.progress(), kRemovalProgress);

  EXPECT_TRUE(PollFor([] { return !FindPrinter(kPrinter).found; }, 8000));
  EXPECT_TRUE(PollFor([] { return !DriverInstalled(kDriver); }, 8000)) << debug_.Dump();
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  for (const std::wstring& prefix : {kPrefixA, kPrefixB})
    for (const std::wstring& name : PlantedFileNames(prefix)) EXPECT_FALSE(FileExists(version3 + L"\\" + name)) << Ascii(name);
  EXPECT_TRUE(FileExists(keep));
  EXPECT_TRUE(PortExists(L"FILE:"));
  // Wine has no pnputil: the package removal is traced and skipped, once per
  // section and key.
  EXPECT_TRUE(debug_.Saw(L"pnputil.exe not found, ")) << debug_.Dump();
}

TEST_F(EngineE2ETest, HostileNameIsRefusedAndTheDecoyPrinterSurvives) {
  AddDecoy();
  ASSERT_TRUE(FindPrinter(kOffice).found);

  // A name holding quotes never reaches printui: nothing is made or deleted.
  RecordingSink install;
  Install(install, kHostile);
  EXPECT_EQ(install.messages(), std::vector<unsigned>{WM_USER + 700});
  EXPECT_EQ(lx::TheWizardState().outcome, lx::Outcome::kNameRefused);
  EXPECT_FALSE(debug_.Saw(L"Starting ")) << debug_.Dump();
  Sleep(1500);
  EXPECT_FALSE(FindPrinter(kHostile).found);
  EXPECT_TRUE(FindPrinter(kOffice).found);

  RecordingSink removal;
  Remove(removal);
  EXPECT_EQ(removal.messages(), std::vector<unsigned>{WM_USER + 701});
  EXPECT_TRUE(FindPrinter(kOffice).found);
  EXPECT_TRUE(DriverInstalled(kDecoyDriver));
}

TEST_F(EngineE2ETest, TakenNameGetsTheNextNumberFromTheSpooler) {
  printui::Command cmd;
  cmd.action = printui::Action::InstallPrinter;
  cmd.baseName = kPrinter;
  cmd.port = L"FILE:";
  cmd.model = kDriver;
  cmd.infFile = infPath_;
  ASSERT_EQ(printui::Perform(cmd), DWORD(ERROR_SUCCESS));

  RecordingSink install;
  Install(install, kPrinter);
  EXPECT_EQ(W(lx::TheWizardState().target.printerName), kPrinter + L" (1)");
  EXPECT_TRUE(FindPrinter(kPrinter + L" (1)").found) << debug_.Dump();
  EXPECT_TRUE(FindPrinter(kPrinter).found);
  EXPECT_TRUE(PollFor([] { return DefaultPrinter() == kPrinter + L" (1)"; }, 8000));

  // Both printers use the configured driver: the removal takes both.
  RecordingSink removal;
  Remove(removal);
  EXPECT_TRUE(PollFor([] { return !FindPrinter(kPrinter).found && !FindPrinter(kPrinter + L" (1)").found; }, 8000));
}

TEST_F(EngineE2ETest, AccessoryModelWantsItsPageAndThePostActionLandsInTheDevmode) {
  LoadConfig("ShowSetting=1\r\nprintPostOpOffset=12\r\n");
  RecordingSink install;
  Install(install, kPrinter);
  EXPECT_EQ(install.messages(), std::vector<unsigned>{WM_USER + 704});
  ASSERT_TRUE(FindPrinter(kPrinter).found) << debug_.Dump();

  // The accessories page's worker: the cutter, 12 bytes before the end of
  // the test driver's 368-byte DEVMODE (220 public bytes, 148 private).
  const int offset = lx::GetPostActionOffset(os_, U(kDriver));
  EXPECT_EQ(offset, 12);
  std::vector<BYTE> before = DefaultDevmode(kPrinter);
  ASSERT_EQ(before.size(), 368u);
  EXPECT_TRUE(lx::ApplyPostAction(os_, U(kPrinter), offset, 3)) << debug_.Dump();
  std::vector<BYTE> after = DefaultDevmode(kPrinter);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(ValueAt(after, 356), 3);
  // Nothing but those four bytes changed.
  std::memcpy(&after[356], &before[356], 4);
  EXPECT_EQ(after, before);

  // An offset that would reach into the public part is refused and changes nothing.
  EXPECT_FALSE(lx::ApplyPostAction(os_, U(kPrinter), 148, 2));
  EXPECT_EQ(ValueAt(DefaultDevmode(kPrinter), 356), 3);
  EXPECT_EQ(ValueAt(DefaultDevmode(kPrinter), 220), ValueAt(before, 220));
}

TEST_F(EngineE2ETest, UsbInstallWithoutAPrinterInstallsTheDriverAlone) {
  // Wine lists no USB printer interfaces: no port, the first model's driver
  // alone (the /ia form), polled for until the spooler lists it.
  RecordingSink install;
  lx::InstallOnUsb(os_, install, lx::TheWizardState());
  EXPECT_EQ(install.messages(), std::vector<unsigned>{WM_USER + 700});
  EXPECT_EQ(install.progress(), std::vector<int>({50, 60, 70, 80, 90}));
  EXPECT_TRUE(lx::TheWizardState().target.portName.empty());
  EXPECT_TRUE(lx::TheWizardState().target.printerName.empty());
  EXPECT_EQ(lx::TheWizardState().outcome, lx::Outcome::kDriverOnly);
  EXPECT_TRUE(debug_.Saw(L"printui.dll PrintUIEntry /ia /m \"" + kDriver + L"\" /f \"" + infPath_ + L"\" "))
      << debug_.Dump();
  EXPECT_TRUE(PollFor([] { return DriverInstalled(kDriver); }, 8000));
  EXPECT_FALSE(FindPrinter(kPrinter).found);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(EngineE2ETest, RemovalHandsOurOemPackagesToPnputilOncePerSectionAndKey) {
  // A 32-bit process finds pnputil in SysWOW64, where a 64-bit engine running
  // at the same time in the shared prefix would find the recorder too.
  if (kBits != L"64") GTEST_SKIP() << "the pnputil recorder is placed by the 64-bit suite only";
  const std::wstring system = SystemFolder();
  ASSERT_FALSE(FileExists(WindowsFolder() + L"\\SysWOW64\\pnputil.exe"));
  ASSERT_FALSE(FileExists(system + L"\\pnputil.exe")) << "a pnputil.exe that is not ours";
  ASSERT_TRUE(CopyFileW(kPnputilRecorder.c_str(), (system + L"\\pnputil.exe").c_str(), TRUE));
  ASSERT_TRUE(CreateFolders(PnputilLogFolder()));
  ASSERT_TRUE(SetEnvironmentVariableW(L"LX_E2E_PNPUTIL_LOG", PnputilLogFolder().c_str()));

  // Packages in the INF store: ours as 8-bit text and as UTF-16 with a
  // byte-order mark, and one whose line for our model has no value.
  const std::wstring store = WindowsFolder() + L"\\INF\\";
  ASSERT_TRUE(WriteBytes(store + kOemOurs, Inf(kDriver)));
  std::string wide = "\xFF\xFE";
  for (char c : Inf(kDriver)) wide += std::string{c, '\0'};
  ASSERT_TRUE(WriteBytes(store + kOemOursWide, wide));
  ASSERT_TRUE(WriteBytes(store + kOemOther, "[Version]\r\nClass=Printer\r\n[LXE2E.NTamd64]\r\n\"" + Ascii(kDriver) +
                                                "\" =\r\n\"Other Label\" = OTHER.GPD, USBPRINT\\Other\r\n"));

  RecordingSink removal;
  Remove(removal);
  EXPECT_EQ(removal.messages(), std::vector<unsigned>{WM_USER + 701});
  EXPECT_TRUE(debug_.Saw(L"del inf cmd =  -f -d " + kOemOurs)) << debug_.Dump();

  // Two sections and one key: each of our packages twice, the other never.
  const std::wstring ours = L"-f\n-d\n" + kOemOurs + L"\n", oursWide = L"-f\n-d\n" + kOemOursWide + L"\n";
  const std::vector<std::wstring> expected = {ours, ours, oursWide, oursWide};
  EXPECT_TRUE(PollFor([] { return PnputilStarts().size() >= 4; }, 8000));
  Sleep(500);
  EXPECT_EQ(PnputilStarts(), expected);
}

TEST_F(EngineE2ETest, PrinterOnAMissingPortNeverAppearsYetTheWizardFinishes) {
  // Like Windows, the stand-in refuses a printer on a port the spooler does
  // not know: the engine polls about 5 s, leaves the default printer alone
  // and still posts its completion.
  ASSERT_FALSE(PortExists(kUsbPort));
  const std::wstring defaultBefore = DefaultPrinter();
  RecordingSink missing;
  const ULONGLONG start = GetTickCount64();
  Install(missing, kPrinter, kUsbPort);
  EXPECT_GE(GetTickCount64() - start, 4500u);
  EXPECT_EQ(missing.messages(), std::vector<unsigned>{WM_USER + 700});
  EXPECT_FALSE(FindPrinter(kPrinter).found);
  EXPECT_EQ(DefaultPrinter(), defaultBefore);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

  // Once the USB port exists the same request installs the printer on it.
  ASSERT_TRUE(printui::AddLocalPort(kUsbPort));
  RecordingSink present;
  Install(present, kPrinter, kUsbPort);
  EXPECT_EQ(present.messages(), std::vector<unsigned>{WM_USER + 700});
  EXPECT_EQ(FindPrinter(kPrinter).port, kUsbPort) << debug_.Dump();
  EXPECT_TRUE(PollFor([] { return DefaultPrinter() == kPrinter; }, 8000));

  RecordingSink removal;
  Remove(removal);
  EXPECT_TRUE(PollFor([] { return !FindPrinter(kPrinter).found; }, 8000));
  EXPECT_TRUE(PortExists(kUsbPort));
}

}  // namespace
