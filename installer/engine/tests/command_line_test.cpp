#include <gtest/gtest.h>

#include "installer/engine/command_line.h"
#include "installer/engine/list_split.h"
#include "platform/sim/command_line.h"

namespace lx {
namespace {

// The simulated tools split their parameters as CommandLineToArgvW does.
std::vector<std::u16string> SplitArgs(const std::u16string& p) { return SplitParameters(p); }
using Args = std::vector<std::u16string>;

TEST(CommandLineTest, OrdinaryNamesKeepTheTextsTheToolsExpect) {
  EXPECT_EQ(*PrintUiInstallPrinter(u"Label", u"USB007", u"LX-220", u"C:\\Medium\\lx.inf"),
            u"printui.dll PrintUIEntry /if /b \"Label\" /r \"USB007\" /m \"LX-220\" /f "
            u"\"C:\\Medium\\lx.inf\" /z");
  // The driver-only form ends with one blank after the last quote.
  EXPECT_EQ(*PrintUiInstallDriver(u"LX-220", u"C:\\Medium\\lx.inf"),
            u"printui.dll PrintUIEntry /ia /m \"LX-220\" /f \"C:\\Medium\\lx.inf\" ");
  EXPECT_EQ(*PrintUiDeletePrinter(u"Label (2)"), u"printui.dll PrintUIEntry /dl /n \"Label (2)\" /q");
  EXPECT_EQ(*PrintUiDeleteDriver(u"LX-220"), u"printui.dll PrintUIEntry /dd /m \"LX-220\" /q");
  EXPECT_EQ(*PrintUiSetDefault(u"Label"), u"printui.dll PrintUIEntry /y /n \"Label\"");
  EXPECT_EQ(*PrintUiTestPage(u"Label"), u"printui.dll PrintUIEntry /n \"Label\" /k");
  EXPECT_EQ(*PnputilDeletePackage(u"oem12.inf"), u" -f -d oem12.inf");
}

TEST(CommandLineTest, HostileNamesComeBackAsOneArgument) {
  const std::u16string names[] = {
      u"Lab\" /dl /n \"Office",  // closes the quote and adds switches
      u"a\\\" /x",               // backslash before a quote
      u"ends with backslash\\",  // would escape the closing quote
      u"C:\\Medium\\",           // a folder path as the INF path
      u"two\\\\\"quotes\"\"",
      u"",
      u"tab\tand  blanks",
      u"oem\t1.inf",  // a tab alone must force the quotes
      u"\\\\server\\share\\x.inf",
  };
  for (const auto& name : names) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    auto install = PrintUiInstallPrinter(name, u"USB001", name, name);
    ASSERT_TRUE(install);
    EXPECT_EQ(SplitArgs(*install), (Args{u"printui.dll", u"PrintUIEntry", u"/if", u"/b", name, u"/r",
                                         u"USB001", u"/m", name, u"/f", name, u"/z"}));
    EXPECT_EQ(SplitArgs(*PrintUiInstallDriver(name, name)),
              (Args{u"printui.dll", u"PrintUIEntry", u"/ia", u"/m", name, u"/f", name}));
    EXPECT_EQ(SplitArgs(*PrintUiDeletePrinter(name)),
              (Args{u"printui.dll", u"PrintUIEntry", u"/dl", u"/n", name, u"/q"}));
    EXPECT_EQ(SplitArgs(*PrintUiSetDefault(name)),
              (Args{u"printui.dll", u"PrintUIEntry", u"/y", u"/n", name}));
    EXPECT_EQ(SplitArgs(*PnputilDeletePackage(name)), (Args{u"-f", u"-d", name}));
  }
}

TEST(CommandLineTest, TextWithANulIsRefused) {
  std::u16string withNul(u"Label\0 /x", 9);
  EXPECT_FALSE(PrintUiInstallPrinter(withNul, u"USB001", u"m", u"f"));
  EXPECT_FALSE(PrintUiInstallDriver(u"m", withNul));
  EXPECT_FALSE(PrintUiDeletePrinter(withNul));
  EXPECT_FALSE(PnputilDeletePackage(withNul));
}

TEST(ListSplitTest, CommasCutWithoutTrimmingAndQuotesStay) {
  EXPECT_EQ(SplitList(u""), Args{});
  EXPECT_EQ(SplitList(u"a,b"), (Args{u"a", u"b"}));
  EXPECT_EQ(SplitList(u"a,b,"), (Args{u"a", u"b"}));
  EXPECT_EQ(SplitList(u"a,,b"), (Args{u"a", u"", u"b"}));
  EXPECT_EQ(SplitList(u" a , b"), (Args{u" a ", u" b"}));
  // The Uninstall DriverName value as the configuration holds it.
  EXPECT_EQ(SplitList(u"\"LX-220\",\"LX-320\""), (Args{u"\"LX-220\"", u"\"LX-320\""}));
  EXPECT_EQ(SplitList(u"\"LX-220,LX-320\""), (Args{u"\"LX-220", u"LX-320\""}));
}

}  // namespace
}  // namespace lx
