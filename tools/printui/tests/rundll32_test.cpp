// End to end under Wine: the installer's own printui command lines, started
// through rundll32 with ShellExecuteW, observed by polling the spooler.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <string>

#include "tools/printui/spooler_actions.h"
#include "tools/printui/standin_setup.h"
#include "tools/printui/tests/spooler_probe.h"

using namespace printui_test;

namespace {

// Both word sizes may run at once against one prefix: names carry the size.
const std::wstring kModel = std::wstring(L"LX Test Label ") + LX_TEST_BITS;
const std::wstring kPrinter = std::wstring(L"LX Test Printer ") + LX_TEST_BITS;

class Rundll32Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::wstring error;
    ready_ = printui::InstallStandIn(&error);
    setupError_ = error;
    inf_ = WriteInf(kModel);
  }

  void SetUp() override {
    ASSERT_TRUE(ready_) << std::string(setupError_.begin(), setupError_.end());
    ASSERT_FALSE(inf_.empty());
  }

  // The installer's install command (printer on a port, not shared).
  static std::wstring InstallPrinterParams(const std::wstring& name) {
    return L"printui.dll PrintUIEntry /if /b \"" + name + L"\" /r \"FILE:\" /m \"" + kModel + L"\" /f \"" + inf_ +
           L"\" /z";
  }

  static bool ready_;
  static std::wstring setupError_;
  static std::wstring inf_;
};
bool Rundll32Test::ready_ = false;
std::wstring Rundll32Test::setupError_;
std::wstring Rundll32Test::inf_;

TEST_F(Rundll32Test, InstallDefaultTestPageAndRemovalFollowTheCommands) {
  ASSERT_TRUE(StartRundll32(InstallPrinterParams(kPrinter)));
  ASSERT_TRUE(PollUntil([] { return FindPrinter(kPrinter).found; }));
  PrinterFacts facts = FindPrinter(kPrinter);
  EXPECT_EQ(facts.port, L"FILE:");
  EXPECT_EQ(facts.driver, kModel);
  EXPECT_EQ(facts.attributes & PRINTER_ATTRIBUTE_SHARED, 0u);

  // The printer's settings come from the test driver: 220 + 148 bytes.
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter.c_str()), &printer, nullptr));
  LONG size = DocumentPropertiesW(nullptr, printer, const_cast<LPWSTR>(kPrinter.c_str()), nullptr, nullptr, 0);
  EXPECT_EQ(size, 368);
  ClosePrinter(printer);

  ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /y /n \"" + kPrinter + L"\""));
  EXPECT_TRUE(PollUntil([] { return DefaultPrinter() == kPrinter; })) << "default is " << DefaultPrinter().size();

  ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /dl /n \"" + kPrinter + L"\" /q"));
  EXPECT_TRUE(PollUntil([] { return !FindPrinter(kPrinter).found; }));

  ASSERT_TRUE(StartRundll32(L"printui.dll PrintUIEntry /dd /m \"" + kModel + L"\" /q"));
  EXPECT_TRUE(PollUntil([] { return !DriverInstalled(kModel); }));
}

}  // namespace
