// Command-line splitting as CommandLineToArgvW does it. The cases are those of
// Microsoft's pages on command-line parsing and the behaviour of shell32 for
// quote runs (which differs from the C runtime after 2008).
#include "platform/sim/command_line.h"

#include <gtest/gtest.h>

namespace lx {
namespace {

using Args = std::vector<std::u16string>;

TEST(CommandLineToArgv, MicrosoftDocumentedBackslashAndQuoteRules) {
  EXPECT_EQ(CommandLineToArgv(u"p \"abc\" d e"), (Args{u"p", u"abc", u"d", u"e"}));
  EXPECT_EQ(CommandLineToArgv(u"p a\\\\b d\"e f\"g h"), (Args{u"p", u"a\\\\b", u"de fg", u"h"}));
  EXPECT_EQ(CommandLineToArgv(u"p a\\\\\\\"b c d"), (Args{u"p", u"a\\\"b", u"c", u"d"}));
  EXPECT_EQ(CommandLineToArgv(u"p a\\\\\\\\\"b c\" d e"), (Args{u"p", u"a\\\\b c", u"d", u"e"}));
  // Backslashes not before a quote stay as they are.
  EXPECT_EQ(CommandLineToArgv(u"p C:\\dir\\\\x\\"), (Args{u"p", u"C:\\dir\\\\x\\"}));
}

TEST(CommandLineToArgv, QuoteRunsFollowShell32NotTheNewerRuntime) {
  // Inside quotes "" gives one quote and closes quoting (the C runtime since
  // 2008 would keep "ab\" c d" together).
  EXPECT_EQ(CommandLineToArgv(u"p a\"b\"\" c d"), (Args{u"p", u"ab\"", u"c", u"d"}));
  // Three quotes in a row inside quotes: one literal, still quoted.
  EXPECT_EQ(CommandLineToArgv(u"p \"a\"\"\"b c\""), (Args{u"p", u"a\"b c"}));
  // An empty quoted argument is still an argument.
  EXPECT_EQ(CommandLineToArgv(u"p \"\" x"), (Args{u"p", u"", u"x"}));
  // An unclosed quote runs to the end of the line.
  EXPECT_EQ(CommandLineToArgv(u"p \"a b"), (Args{u"p", u"a b"}));
  // Tabs separate like blanks; runs of blanks give no empty arguments.
  EXPECT_EQ(CommandLineToArgv(u"p\ta  \t b   "), (Args{u"p", u"a", u"b"}));
}

TEST(CommandLineToArgv, TheProgramNameHasItsOwnRule) {
  // Quoted: up to the next quote, backslashes plain; text right after the
  // closing quote starts the next argument.
  EXPECT_EQ(CommandLineToArgv(u"\"C:\\Program Files\\a\\\" x"), (Args{u"C:\\Program Files\\a\\", u"x"}));
  EXPECT_EQ(CommandLineToArgv(u"\"a b\"c d"), (Args{u"a b", u"c", u"d"}));
  // Unquoted: up to the first blank, quotes kept.
  EXPECT_EQ(CommandLineToArgv(u"C:\\x\\\"a b"), (Args{u"C:\\x\\\"a", u"b"}));
  // A leading blank gives an empty program name; an empty line the module.
  EXPECT_EQ(CommandLineToArgv(u" a b"), (Args{u"", u"a", u"b"}));
  EXPECT_EQ(CommandLineToArgv(u"", u"C:\\me.exe"), (Args{u"C:\\me.exe"}));
}

TEST(SplitParameters, AQuoteInsideANameChangesTheArguments) {
  // What a printer setup line becomes when a name carries a quote: the name
  // ends early and its remainder turns into switches of its own.
  Args injected = SplitParameters(u"printui.dll PrintUIEntry /y /n \"Lab\" /dl /n \"Office\"");
  EXPECT_EQ(injected, (Args{u"printui.dll", u"PrintUIEntry", u"/y", u"/n", u"Lab", u"/dl", u"/n", u"Office"}));
  // A trailing backslash escapes the closing quote and swallows what follows.
  EXPECT_EQ(SplitParameters(u"/n \"Lab\\\" /k"), (Args{u"/n", u"Lab\" /k"}));
  // A name with blanks stays one argument when quoted.
  EXPECT_EQ(SplitParameters(u"/n \"Label Printer (2)\" /k"), (Args{u"/n", u"Label Printer (2)", u"/k"}));
}

}  // namespace
}  // namespace lx
