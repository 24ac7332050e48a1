#include <gtest/gtest.h>

#include "common/text.h"
#include "installer/core/switches.h"

namespace lx {
namespace {

using Args = std::vector<std::u16string>;

TEST(Switches, SplitsByTheRulesOfCommandLineToArgvW) {
  EXPECT_EQ(SplitArguments(u"  /quiet\t/log:\"C:\\My Logs\\a.log\"  "),
            (Args{u"/quiet", u"/log:C:\\My Logs\\a.log"}));
  EXPECT_EQ(SplitArguments(u"\"/name:Front desk\" a\\\\\\\"b c\\\\\"d e\""), (Args{u"/name:Front desk", u"a\\\"b", u"c\\d e"}));
  EXPECT_EQ(SplitArguments(u"\"a\"\"\"b\""), (Args{u"a\"b"}));
  EXPECT_EQ(SplitArguments(u""), Args{});
}

struct Refused {
  const char16_t* commandLine;
  const char16_t* token;  // the switch the error names
};

TEST(Switches, ReadsEveryRoadAndRefusesEveryBadSet) {
  // Command lines of before keep their meaning: the word anywhere.
  for (auto [line, removal] : {std::pair{u"", false}, {u"/uninstall", true}, {u"xxUNINSTALLER", true},
                               {u"reinstall", false}, {u"setup now", false}, {u"-UnInstall", true}}) {
    ParsedSwitches p = ParseSwitches(line);
    EXPECT_FALSE(p.error) << Utf16ToUtf8(line);
    EXPECT_FALSE(p.switches.any) << Utf16ToUtf8(line);
    EXPECT_EQ(p.switches.removal, removal) << Utf16ToUtf8(line);
  }

  ParsedSwitches port = ParseSwitches(u"/QUIET \"/Port:LPT1:\" /model:\"LX-220 Label\" -name:\"Front desk\" /lang:de /log:C:\\x.log");
  ASSERT_FALSE(port.error) << Utf16ToUtf8(port.error->reason);
  EXPECT_TRUE(port.switches.quiet);
  EXPECT_EQ(port.switches.road, Road::kPort);
  EXPECT_EQ(port.switches.port, u"LPT1:");
  EXPECT_EQ(port.switches.model, u"LX-220 Label");
  EXPECT_EQ(port.switches.printerName, u"Front desk");
  EXPECT_EQ(port.switches.language, u"de");
  EXPECT_EQ(port.switches.logPath, u"C:\\x.log");
  EXPECT_FALSE(port.switches.removal);

  EXPECT_EQ(ParseSwitches(u"/q /usb").switches.road, Road::kUsb);
  EXPECT_EQ(ParseSwitches(u"/quiet /address:printer-7.local /model:M").switches.road, Road::kNetwork);
  EXPECT_EQ(ParseSwitches(u"/quiet /model:M").switches.road, Road::kDriverOnly);
  ParsedSwitches removal = ParseSwitches(u"/quiet /uninstall /norestart /log:C:\\r.log");
  ASSERT_FALSE(removal.error);
  EXPECT_TRUE(removal.switches.removal && removal.switches.noRestart && removal.switches.any);
  // The wizard with a log, and the help, need no road.
  EXPECT_FALSE(ParseSwitches(u"/log:C:\\w.log").error);
  EXPECT_FALSE(ParseSwitches(u"/uninstall /log:C:\\w.log").error);
  EXPECT_TRUE(ParseSwitches(u"/?").switches.help);

  std::u16string longValue(kMaxSwitchValue + 1, u'n');
  std::u16string huge(32767, u'x');
  const Refused refused[] = {
      {u"/quiet /usb /foo", u"/foo"},
      {u"/foo", u"/foo"},
      {u"/quiet /usb stray", u"stray"},
      {u"/quiet /quiet /usb", u"/quiet"},
      {u"/quiet /usb /USB", u"/USB"},
      {u"/quiet /port:LPT1: /port:LPT2: /model:M", u"/port:LPT2:"},
      {u"/quiet /model:", u"/model:"},
      {u"/quiet /model", u"/model"},
      {u"/quiet:yes /usb", u"/quiet:yes"},
      {u"/quiet /usb /port:LPT1: /model:M", u"/usb"},
      {u"/quiet /usb /model:M", u"/model:M"},
      {u"/quiet /port:LPT1:", u"/port:LPT1:"},
      {u"/quiet /name:Desk", u"/name:Desk"},
      {u"/quiet /model:M /name:Desk", u"/name:Desk"},
      {u"/quiet", u"/quiet"},
      {u"/usb", u"/usb"},
      {u"/norestart /uninstall", u"/norestart"},
      // A command meant to install never removes.
      {u"/quiet /uninstall /usb", u"/uninstall"},
      {u"/quiet /port:LPT1: /model:M \"/name:uninstall me\"", u"/name:uninstall me"},
      {u"/quiet /uninstall:now", u"/uninstall:now"},
  };
  for (const Refused& r : refused) {
    ParsedSwitches p = ParseSwitches(r.commandLine);
    ASSERT_TRUE(p.error) << Utf16ToUtf8(r.commandLine);
    EXPECT_EQ(p.error->token, r.token) << Utf16ToUtf8(r.commandLine);
    EXPECT_FALSE(p.error->reason.empty());
  }
  ParsedSwitches tooLong = ParseSwitches(u"/quiet /model:" + longValue);
  ASSERT_TRUE(tooLong.error);
  EXPECT_EQ(tooLong.error->reason, u"the value is too long");
  // The error names the switch in a text a message box can show.
  ParsedSwitches enormous = ParseSwitches(u"/quiet /usb /" + huge);
  ASSERT_TRUE(enormous.error);
  EXPECT_LE(enormous.error->token.size(), 83u);
  EXPECT_TRUE(ParseSwitches(u"\"/" + huge + u"\"").error);
  // The log path is read past an error, so that the error reaches the log.
  EXPECT_EQ(ParseSwitches(u"/foo /log:C:\\e.log").switches.logPath, u"C:\\e.log");
}

}  // namespace
}  // namespace lx
