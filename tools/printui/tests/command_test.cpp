// How the stand-in reads PrintUIEntry command lines: what rundll32 hands over
// after the entry-point name, split by CommandLineToArgvW.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tools/printui/command.h"
#include "tools/printui/spooler_actions.h"
#include "tools/printui/spooler_probe.h"

using printui::Action;
using printui::Command;

namespace {

Command Parse(const wchar_t* line) { return printui::ParseArguments(printui::SplitArguments(line)); }

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

TEST(PrintUiCommandTest, InstallerCommandFormsAreRead) {
  Command install = Parse(L"/if /b \"Label (1)\" /r \"USB001\" /m \"LX-220 Label\" /f \"D:\\pkg\\lx.inf\" /z");
  ASSERT_TRUE(install.error.empty()) << Narrow(install.error);
  EXPECT_EQ(install.action, Action::InstallPrinter);
  EXPECT_EQ(install.baseName, L"Label (1)");
  EXPECT_EQ(install.port, L"USB001");
  EXPECT_EQ(install.model, L"LX-220 Label");
  EXPECT_EQ(install.infFile, L"D:\\pkg\\lx.inf");
  EXPECT_TRUE(install.noShare);

  // The driver-only form ends with a blank after the last quote.
  Command driver = Parse(L"/ia /m \"LX-220 Label\" /f \"D:\\pkg\\lx.inf\" ");
  ASSERT_TRUE(driver.error.empty()) << Narrow(driver.error);
  EXPECT_EQ(driver.action, Action::InstallDriver);
  EXPECT_EQ(driver.model, L"LX-220 Label");
  EXPECT_EQ(driver.infFile, L"D:\\pkg\\lx.inf");

  Command remove = Parse(L"/dl /n \"Label\" /q");
  EXPECT_EQ(remove.action, Action::DeletePrinter);
  EXPECT_EQ(remove.name, L"Label");
  EXPECT_TRUE(remove.quiet);
  EXPECT_EQ(Parse(L"/dd /m \"LX-220 Label\" /q").action, Action::DeleteDriver);
  EXPECT_EQ(Parse(L"/y /n \"Label\"").action, Action::SetDefault);
  Command page = Parse(L"/n \"Label\" /k");
  EXPECT_EQ(page.action, Action::TestPage);
  EXPECT_EQ(page.name, L"Label");
}

TEST(PrintUiCommandTest, QuotesAndBackslashesFollowCommandLineToArgvW) {
  // Quoted for CommandLineToArgvW, a hostile name arrives whole.
  Command escaped = Parse(L"/dl /n \"Lab\\\" /dl /n \\\"Office\"");
  ASSERT_TRUE(escaped.error.empty()) << Narrow(escaped.error);
  EXPECT_EQ(escaped.name, L"Lab\" /dl /n \"Office");

  // Backslashes count only before a quote: 2n of them give n and close the quote.
  EXPECT_EQ(Parse(L"/dl /n \"C:\\dir\\\\\"").name, L"C:\\dir\\");
  EXPECT_EQ(Parse(L"/dl /n \"a\\b c\"").name, L"a\\b c");
  // A value may be joined to its switch.
  EXPECT_EQ(Parse(L"/dl /n\"Label x\"").name, L"Label x");
  EXPECT_EQ(Parse(L"/dl /nLabel").name, L"Label");
}

TEST(PrintUiCommandTest, LinesThatCannotBeTrustedDoNothing) {
  const wchar_t* rejected[] = {
      L"",                                         // nothing at all
      L"   ",                                      // blanks only
      L"/n \"Label\"",                             // no action
      L"/Xs /n \"Label\"",                         // unknown switch
      L"/dl Label",                                // value without its switch
      L"/dl /n",                                   // switch without its value
      L"/dl /n \"A\" /n \"B\"",                    // same switch twice
      L"/if /b \"Lab\" /dl /n \"Office\" /r \"FILE:\" /m \"M\" /f \"x.inf\"",  // naive quoting: second action
      L"/if /b \"Label\" /r \"FILE:\" /m \"M\"",  // install without INF
      L"/dl /n \"\"",                              // empty printer name
      L"/DL /n \"Label\"",                         // switches are case-sensitive
      L"/dl /n \"Label\" /Z",                      // sharing belongs to /if
  };
  for (const wchar_t* line : rejected) {
    Command cmd = Parse(line);
    EXPECT_FALSE(cmd.error.empty()) << Narrow(line);
  }
}

TEST(PrintUiInfTest, ModelMustBeNamedInTheInf) {
  std::wstring unicodeInf = printui_test::WriteInf(L"LX-220 Label");
  ASSERT_FALSE(unicodeInf.empty());
  EXPECT_TRUE(printui::InfNamesModel(unicodeInf, L"LX-220 Label"));
  EXPECT_TRUE(printui::InfNamesModel(unicodeInf, L"lx-220 label"));  // INF strings compare without case
  EXPECT_FALSE(printui::InfNamesModel(unicodeInf, L"LX-220"));       // only the whole quoted name
  EXPECT_FALSE(printui::InfNamesModel(unicodeInf + L".missing", L"LX-220 Label"));

  std::wstring ansiInf = unicodeInf + L".ansi.inf";
  HANDLE f = CreateFileW(ansiInf.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  const char text[] = "[Models.NTx86]\r\n\"LX-300 Label\" = LABEL, USBPRINT\\Test0002\r\n";
  DWORD written = 0;
  WriteFile(f, text, sizeof(text) - 1, &written, nullptr);
  CloseHandle(f);
  EXPECT_TRUE(printui::InfNamesModel(ansiInf, L"LX-300 Label"));
  EXPECT_FALSE(printui::InfNamesModel(ansiInf, L"LX-220 Label"));
  DeleteFileW(ansiInf.c_str());
}

}  // namespace
