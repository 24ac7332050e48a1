// End to end under Wine: the installer's own printui command lines, started
// through rundll32 with ShellExecuteW, observed by polling the spooler.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/printui/command.h"
#include "tools/printui/spooler_actions.h"
#include "tools/printui/standin_setup.h"
#include "tools/printui/spooler_probe.h"

using namespace printui_test;

namespace {

// Both word sizes may run at once against one prefix: names carry the size.
const std::wstring kBits = LX_TEST_BITS;
const std::wstring kModel = L"LX Test Label " + kBits;
const std::wstring kPrinter = L"LX Test Printer " + kBits;
const std::wstring kOffice = L"Office " + kBits;
const std::wstring kHostile = L"Lab\" /dl /n \"" + kOffice;

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

class Rundll32Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::wstring error;
    ready_ = printui::InstallStandIn(&error);
    setupError_ = error;
    inf_ = WriteInf(kModel);
    savedDefault_ = DefaultPrinter();
    // What an interrupted earlier run may have left in the shared prefix.
    for (const std::wstring& name : {kPrinter, kOffice, kHostile}) {
      printui::Command cmd;
      cmd.action = printui::Action::DeletePrinter;
      cmd.name = name;
      printui::Perform(cmd);
    }
    printui::Command driver;
    driver.action = printui::Action::DeleteDriver;
    driver.model = kModel;
    printui::Perform(driver);
  }

  // Other tests share the prefix: give back the default printer.
  static void TearDownTestSuite() {
    if (!savedDefault_.empty() && DefaultPrinter() != savedDefault_) SetDefaultPrinterW(savedDefault_.c_str());
  }

  void SetUp() override {
    ASSERT_TRUE(ready_) << Narrow(setupError_);
    ASSERT_FALSE(inf_.empty());
  }

  // Leaves nothing behind for the next case or the next run.
  void TearDown() override {
    for (const std::wstring& name : createdPrinters_) RunInProcess(printui::Action::DeletePrinter, name);
    RunInProcess(printui::Action::DeleteDriver, L"");
  }

  // The installer's install command (printer on a port, not shared), the
  // name quoted as the caller gives it.
  static std::wstring InstallPrinterParams(const std::wstring& quotedName) {
    return L"printui.dll PrintUIEntry /if /b " + quotedName + L" /r \"FILE:\" /m \"" + kModel + L"\" /f \"" + inf_ +
           L"\" /z";
  }

  // The stand-in's own code in this process, for set-up and clean-up that
  // need no rundll32 start.
  DWORD RunInProcess(printui::Action action, const std::wstring& name) {
    printui::Command cmd;
    cmd.action = action;
    cmd.baseName = cmd.name = name;
    cmd.port = L"FILE:";
    cmd.model = kModel;
    cmd.infFile = inf_;
    cmd.noShare = true;
    if (action == printui::Action::InstallPrinter) createdPrinters_.push_back(name);
    return printui::Perform(cmd);
  }

  static bool ready_;
  static std::wstring setupError_;
  static std::wstring inf_;
  static std::wstring savedDefault_;
  std::vector<std::wstring> createdPrinters_;
};
bool Rundll32Test::ready_ = false;
std::wstring Rundll32Test::setupError_;
std::wstring Rundll32Test::inf_;
std::wstring Rundll32Test::savedDefault_;

TEST_F(Rundll32Test, InstallDefaultTestPageAndRemovalFollowTheCommands) {
  createdPrinters_.push_back(kPrinter);
  ASSERT_TRUE(StartRundll32(InstallPrinterParams(L"\"" + kPrinter + L"\"")));
  ASSERT_TRUE(PollUntil([] { return FindPrinter(kPrinter).found; }));
  PrinterFacts facts = FindPrinter(kPrinter);
  EXPECT_EQ(facts.port, L"FILE:");
  EXPECT_EQ(facts.driver, kModel);
  EXPECT_EQ(facts.attributes & PRINTER_ATTRIBUTE_SHARED, 0u);

  ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /y /n \"" + kPrinter + L"\""));
  EXPECT_TRUE(PollUntil([] { return DefaultPrinter() == kPrinter; })) << Narrow(DefaultPrinter());

  ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /n \"" + kPrinter + L"\" /k"));
  EXPECT_TRUE(PollUntil([] { return TestPagesNoted(kPrinter) == 1; }));

  ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /dl /n \"" + kPrinter + L"\" /q"));
  EXPECT_TRUE(PollUntil([] { return !FindPrinter(kPrinter).found; }));

  ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /dd /m \"" + kModel + L"\" /q"));
  EXPECT_TRUE(PollUntil([] { return !DriverInstalled(kModel); }));
}

TEST_F(Rundll32Test, DriverOnlyInstallCreatesNoPrinter) {
  ASSERT_FALSE(DriverInstalled(kModel));
  ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /ia /m \"" + kModel + L"\" /f \"" + inf_ + L"\" "));
  ASSERT_TRUE(PollUntil([] { return DriverInstalled(kModel); }));
  EXPECT_FALSE(FindPrinter(kModel).found);
  EXPECT_FALSE(FindPrinter(kPrinter).found);
}

TEST_F(Rundll32Test, QuotedHostileNameArrivesAsOneName) {
  ASSERT_EQ(RunInProcess(printui::Action::InstallPrinter, kOffice), DWORD(ERROR_SUCCESS));
  createdPrinters_.push_back(kHostile);

  // Quoted by CommandLineToArgvW rules: each inner quote as \".
  ASSERT_TRUE(StartRundll32(InstallPrinterParams(L"\"Lab\\\" /dl /n \\\"" + kOffice + L"\"")));
  EXPECT_TRUE(PollUntil([] { return FindPrinter(kHostile).found; }));
  EXPECT_TRUE(FindPrinter(kOffice).found);
}

TEST_F(Rundll32Test, SpoolerStateGuardsTheCommands) {
  ASSERT_EQ(RunInProcess(printui::Action::InstallPrinter, kPrinter), DWORD(ERROR_SUCCESS));
  // A printer of that name exists already.
  EXPECT_EQ(RunInProcess(printui::Action::InstallPrinter, kPrinter), DWORD(ERROR_PRINTER_ALREADY_EXISTS));
  // As on Windows, a driver stays while a printer uses it.
  EXPECT_EQ(RunInProcess(printui::Action::DeleteDriver, L""), DWORD(ERROR_PRINTER_DRIVER_IN_USE));
  EXPECT_TRUE(DriverInstalled(kModel));
  // Unknown printers are not made default, not deleted, get no test page.
  const std::wstring ghost = L"No Such Printer " + kBits;
  EXPECT_NE(RunInProcess(printui::Action::SetDefault, ghost), DWORD(ERROR_SUCCESS));
  EXPECT_NE(RunInProcess(printui::Action::DeletePrinter, ghost), DWORD(ERROR_SUCCESS));
  EXPECT_NE(RunInProcess(printui::Action::TestPage, ghost), DWORD(ERROR_SUCCESS));
  EXPECT_TRUE(FindPrinter(kPrinter).found);

  // Shared only on request (/Z).
  ASSERT_EQ(RunInProcess(printui::Action::DeletePrinter, kPrinter), DWORD(ERROR_SUCCESS));
  printui::Command shared;
  shared.action = printui::Action::InstallPrinter;
  shared.baseName = kPrinter;
  shared.port = L"FILE:";
  shared.model = kModel;
  shared.infFile = inf_;
  shared.share = true;
  ASSERT_EQ(printui::Perform(shared), DWORD(ERROR_SUCCESS));
  EXPECT_NE(FindPrinter(kPrinter).attributes & PRINTER_ATTRIBUTE_SHARED, 0u);
}

TEST_F(Rundll32Test, PrinterNeedsAnExistingPort) {
  createdPrinters_.push_back(kPrinter);
  for (const std::wstring& port : {L"USB9" + kBits, L"IP_192.0.2." + kBits}) {
    printui::DeleteLocalPort(port);  // left over from an interrupted run
    printui::Command cmd;
    cmd.action = printui::Action::InstallPrinter;
    cmd.baseName = kPrinter;
    cmd.port = port;
    cmd.model = kModel;
    cmd.infFile = inf_;
    EXPECT_EQ(printui::Perform(cmd), DWORD(ERROR_UNKNOWN_PORT));
    EXPECT_FALSE(FindPrinter(kPrinter).found);

    // A port added here is seen by the rundll32 started afterwards.
    ASSERT_TRUE(printui::AddLocalPort(port)) << Narrow(port);
    ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /if /b \"" + kPrinter + L"\" /r \"" + port + L"\" /m \"" +
                              kModel + L"\" /f \"" + inf_ + L"\" /z"));
    EXPECT_TRUE(PollUntil([] { return FindPrinter(kPrinter).found; }));
    EXPECT_EQ(FindPrinter(kPrinter).port, port);
    EXPECT_EQ(RunInProcess(printui::Action::DeletePrinter, kPrinter), DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(printui::DeleteLocalPort(port));
  }
}

TEST_F(Rundll32Test, AnsiEntryAndDirectCallsAnswerTheOutcome) {
  const std::wstring modulePath = L"Z:" LX_PRINTUI_STANDIN_DLL;
  HMODULE module = LoadLibraryW(modulePath.c_str());
  ASSERT_NE(module, nullptr);
  using EntryA = DWORD(WINAPI*)(HWND, HINSTANCE, LPCSTR, int);
  using EntryW = DWORD(WINAPI*)(HWND, HINSTANCE, LPCWSTR, int);
  auto entryA = reinterpret_cast<EntryA>(reinterpret_cast<void*>(GetProcAddress(module, "PrintUIEntry")));
  auto entryW = reinterpret_cast<EntryW>(reinterpret_cast<void*>(GetProcAddress(module, "PrintUIEntryW")));
  ASSERT_TRUE(entryA && entryW);

  ASSERT_EQ(RunInProcess(printui::Action::InstallPrinter, kPrinter), DWORD(ERROR_SUCCESS));
  const std::string page = "/n \"" + Narrow(kPrinter) + "\" /k";
  EXPECT_EQ(entryA(nullptr, nullptr, page.c_str(), SW_HIDE), DWORD(ERROR_SUCCESS));
  EXPECT_EQ(TestPagesNoted(kPrinter), 1u);
  EXPECT_EQ(entryW(nullptr, nullptr, L"/k /k", SW_HIDE), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(entryW(nullptr, nullptr, nullptr, SW_HIDE), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(TestPagesNoted(kPrinter), 1u);
  FreeLibrary(module);
}

TEST_F(Rundll32Test, DriverKeepsTheDefaultDevmodeWrittenWithSetPrinter) {
  ASSERT_EQ(RunInProcess(printui::Action::InstallPrinter, kPrinter), DWORD(ERROR_SUCCESS));
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter.c_str()), &printer, &access));
  LPWSTR name = const_cast<LPWSTR>(kPrinter.c_str());

  // The installer's post-print patch: read the DEVMODE, write a value 12
  // bytes before its end, store it as the printer's default.
  LONG size = DocumentPropertiesW(nullptr, printer, name, nullptr, nullptr, 0);
  ASSERT_EQ(size, 368);
  std::vector<BYTE> dm(size);
  ASSERT_EQ(DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(dm.data()), nullptr,
                                DM_OUT_BUFFER),
            IDOK);
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(dm.data())->dmSize, 220);
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(dm.data())->dmDriverExtra, 148);
  EXPECT_EQ(DeviceCapabilitiesW(kPrinter.c_str(), L"FILE:", DC_EXTRA, nullptr, nullptr), 148);
  const int32_t cutter = 3;
  std::memcpy(&dm[size - 12], &cutter, 4);

  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  ASSERT_TRUE(GetPrinterW(printer, 2, info.data(), needed, &needed));
  reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode = reinterpret_cast<DEVMODEW*>(dm.data());
  ASSERT_TRUE(SetPrinterW(printer, 2, info.data(), 0));

  std::vector<BYTE> again(size);
  ASSERT_EQ(DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(again.data()), nullptr,
                                DM_OUT_BUFFER),
            IDOK);
  int32_t stored = 0;
  std::memcpy(&stored, &again[size - 12], 4);
  EXPECT_EQ(stored, cutter);

  // A caller's DEVMODE without a private part changes public fields only.
  DEVMODEW foreign{};
  foreign.dmSize = sizeof(DEVMODEW);
  foreign.dmFields = DM_COPIES;
  foreign.dmCopies = 5;
  std::vector<BYTE> merged(size);
  ASSERT_EQ(DocumentPropertiesW(nullptr, printer, name, reinterpret_cast<DEVMODEW*>(merged.data()), &foreign,
                                DM_IN_BUFFER | DM_OUT_BUFFER),
            IDOK);
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(merged.data())->dmCopies, 5);
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(merged.data())->dmPrintQuality, 203);  // not marked: kept
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(merged.data())->dmDriverExtra, 148);
  std::memcpy(&stored, &merged[size - 12], 4);
  EXPECT_EQ(stored, cutter);
  ClosePrinter(printer);
}

}  // namespace
