#include <gtest/gtest.h>

#include "common/ini.h"
#include "tests/shared/ini_cases.h"

namespace lx {
namespace {

// The same cases run under Wine against the real profile functions.
TEST(IniReader, BehavesLikeTheProfileFunctions) {
  for (const auto& c : testing::IniCases()) {
    SCOPED_TRACE(c.name);
    IniDocument doc = IniDocument::FromBytes(c.file);
    switch (c.kind) {
      case testing::IniCase::kString: {
        ProfileResult r = doc.GetString(c.section, c.key, c.def, c.buffer);
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.count, c.expectedCount);
        break;
      }
      case testing::IniCase::kSection: {
        ProfileResult r = doc.GetSection(c.section, c.buffer);
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.count, c.expectedCount);
        break;
      }
      case testing::IniCase::kInt: {
        int def = std::stoi(std::string(c.def.begin(), c.def.end()));
        EXPECT_EQ(doc.GetInt(c.section, c.key, def), c.expectedCount);
        break;
      }
    }
  }
}

TEST(IniReader, SurvivesHostileFiles) {
  // Binary noise, NULs, a header without ']', megabytes of one line.
  std::string noise;
  for (int i = 0; i < 70000; ++i) noise += static_cast<char>((i * 7919) % 256);
  std::string huge = "[S]\r\nk=" + std::string(3 << 20, 'x') + "\r\n";
  for (const std::string& file : {noise, huge, std::string("[S\r\nk=1\r\n"), std::string("\0\0[S]\0", 6)}) {
    IniDocument doc = IniDocument::FromBytes(file);
    ProfileResult r = doc.GetString(u"S", u"k", u"", 1024);
    EXPECT_LE(r.text.size(), 1023u);
    EXPECT_EQ(r.count, r.text.size());
    ProfileResult s = doc.GetSection(u"S", 1024);
    EXPECT_LE(s.count, 1022u);
  }
  EXPECT_EQ(IniDocument::FromBytes(huge).GetString(u"S", u"k", u"", 1024).count, 1023u);
}

TEST(IniReader, ByteOrderMarksAndNulsAreNotText) {
  // A mark alone is an empty file, not two ANSI characters.
  EXPECT_EQ(IniDocument::DecodeBytes("\xFF\xFE"), u"");
  EXPECT_EQ(IniDocument::DecodeBytes("\xFE\xFF"), u"");
  EXPECT_EQ(IniDocument::DecodeBytes("\xEF\xBB\xBF"), u"");
  EXPECT_EQ(IniDocument::FromBytes("\xFF\xFE").GetSection(u"", 64).count, 0u);
  // A NUL inside a line ends the value, as it ends a C string.
  ProfileResult r = IniDocument::FromBytes(std::string("[S]\r\nk=ab\0cd\r\n", 14)).GetString(u"S", u"k", u"", 64);
  EXPECT_EQ(r.text, u"ab");
  EXPECT_EQ(r.count, 2u);
}

TEST(IniReader, SectionFillsTheBufferExactlyWhenCut) {
  // A section of 300 names of 9 characters plus NUL does not fit 1024.
  std::string file = "[Support_Driver]\r\n";
  for (int i = 0; i < 300; ++i) file += "Model" + std::to_string(1000 + i) + "\r\n";
  ProfileResult r = IniDocument::FromBytes(file).GetSection(u"Support_Driver", 1024);
  EXPECT_EQ(r.count, 1022u);
  ASSERT_EQ(r.text.size(), 1022u);
  // 102 whole names, then the cut 103rd.
  EXPECT_EQ(r.text.substr(1010, 12), std::u16string(u"Model1101\0Mo", 12));
}

TEST(ProfileInt, ParsesLikeTheSystem) {
  EXPECT_EQ(ParseProfileInt(u"  +17"), 17u);
  EXPECT_EQ(ParseProfileInt(u""), 0u);
  EXPECT_EQ(ParseProfileInt(u"4294967297"), 1u);  // wraps
  EXPECT_EQ(ParseProfileInt(u"0x10"), 0u);        // base 10 only
}

}  // namespace
}  // namespace lx
