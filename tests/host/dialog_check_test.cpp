// The template checker on a page built like the wizard's options page: clean
// as it is, and each copy broken one rule at a time is named by that rule.
#include <gtest/gtest.h>

#include "tests/shared/dialog_check.h"

namespace dlgcheck {
namespace {

using K = Kind;

Page OptionsLikePage() {
  Page p{"options", 320, 250, {}};
  p.controls = {
      {1, K::Text, kVisible, 20, 10, 200, 10, u"Printer options, a heading that wraps onto a second line"},
      {11, K::Picture, kVisible, 217, 0, 15, 13, u""},
      {2, K::Text, kVisible, 20, 40, 14, 10, u"Name"},
      {3, K::Edit, kVisible | kTabStop, 90, 38, 150, 14, u""},
      {4, K::Text, kVisible, 20, 60, 60, 10, u"Driver"},
      {5, K::Combo, kVisible | kTabStop, 90, 58, 150, 80, u""},
      {6, K::Radio, kVisible | kTabStop | kGroup, 20, 80, 100, 10, u"None"},
      {7, K::Radio, kVisible, 20, 95, 100, 10, u"Peeler"},
      {8, K::Check, kVisible | kTabStop | kGroup, 20, 115, 52, 10, u"Set as default"},
      {9, K::List, kVisible | kTabStop, 20, 130, 280, 80, u"", true},
      {10, K::Push, kVisible | kTabStop, 220, 225, 40, 14, u"Search"},
  };
  return p;
}

// 1 DLU = 2 px across, 2 px down; every character 6 px wide, lines 13 px.
Metrics FixedMetrics() {
  Metrics m;
  m.textWidth = [](const std::u16string& s) { return static_cast<int>(s.size()) * 6; };
  m.lineHeight = 13;
  m.dluToPixelsX = [](int d) { return d * 2; };
  m.dluToPixelsY = [](int d) { return d * 2; };
  return m;
}

TEST(DialogCheck, EachBrokenRuleIsNamedWithItsControl) {
  const Metrics m = FixedMetrics();
  ASSERT_EQ(CheckPage(OptionsLikePage(), &m).size(), 0u) << Describe(CheckPage(OptionsLikePage(), &m));
  EXPECT_EQ(TabOrder(OptionsLikePage()), (std::vector<uint32_t>{3, 5, 6, 8, 9, 10}));

  const struct {
    const char* rule;
    uint32_t id;
    std::function<void(Page&)> breakIt;
  } cases[] = {
      {"tabstop", 3, [](Page& p) { p.controls[3].style &= ~kTabStop; }},
      {"tabstop", 6, [](Page& p) { p.controls[6].style &= ~kTabStop; }},
      {"group", 6, [](Page& p) { p.controls[6].style &= ~kGroup; }},
      {"group", 8, [](Page& p) { p.controls[8].style &= ~kGroup; }},
      {"label", 3, [](Page& p) { std::swap(p.controls[2], p.controls[3]); }},
      {"label", 5, [](Page& p) { p.controls[4].text.clear(); }},
      {"label", 9, [](Page& p) { p.controls[9].namedElsewhere = false; }},
      {"bounds", 10, [](Page& p) { p.controls[10].x = 290; }},
      {"bounds", 5, [](Page& p) { p.controls[5].y = 240; }},
      {"fit", 2, [](Page& p) { p.controls[2].text = u"Printer name"; }},               // 72 px in 28: wraps
      {"fit", 1, [](Page& p) { p.controls[0].text += u" and then a second one."; }},  // 2 lines in 20 px
      {"fit", 8, [](Page& p) { p.controls[8].text = u"Set as the default"; }},         // 108 px in 88
      {"fit", 10, [](Page& p) { p.controls[10].cy = 5; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.rule) + " " + std::to_string(c.id));
    Page broken = OptionsLikePage();
    c.breakIt(broken);
    auto findings = CheckPage(broken, &m);
    ASSERT_EQ(findings.size(), 1u) << Describe(findings);
    EXPECT_EQ(findings[0].rule, c.rule);
    EXPECT_EQ(findings[0].id, c.id);
  }
  // A disabled control needs no tab stop; without metrics nothing is measured.
  Page disabled = OptionsLikePage();
  disabled.controls[10].style = kDisabled;
  EXPECT_TRUE(CheckPage(disabled, &m).empty());
  Page longText = OptionsLikePage();
  longText.controls[2].text = u"A very long name for a field";
  EXPECT_TRUE(CheckPage(longText, nullptr).empty());
}

// Wrapping breaks at blanks, within a blank-less script between characters,
// and link markup takes no room.
TEST(DialogCheck, WrapsLikeTheControls) {
  const Metrics m = FixedMetrics();
  Page p{"wrap", 320, 250, {}};
  p.controls = {
      {1, K::Text, 0, 0, 0, 30, 7, u"abcd efgh"},  // 54 px in 60: one line
      {2, K::Text, 0, 0, 20, 30, 12, u"\u4e00\u4e01\u4e02\u4e03\u4e04\u4e05\u4e06\u4e07\u4e08\u4e09\u4e0a"},
      {3, K::Link, kTabStop, 0, 40, 25, 7, u"<a>License</a>"},  // 42 px in 50: one line
      {4, K::Text, 0, 0, 60, 100, 7, u"first\r\nsecond"},  // a second line by the break
  };
  auto findings = CheckPage(p, &m);
  ASSERT_EQ(findings.size(), 2u) << Describe(findings);
  EXPECT_EQ(findings[0].id, 2u);  // 66 px of characters in 60: two lines in 24 px
  EXPECT_NE(findings[0].what.find("2 lines"), std::string::npos) << findings[0].what;
  EXPECT_EQ(findings[1].id, 4u);
  p.controls[1].cy = 13;
  p.controls[3].cy = 13;
  EXPECT_TRUE(CheckPage(p, &m).empty()) << Describe(CheckPage(p, &m));
}

// Texts 40 % longer: each control whose text no longer fits is named, nothing
// else is, and unmeasurable texts are passed over.
TEST(DialogCheck, LongerTranslationNamesWhatNoLongerFits) {
  Metrics m = FixedMetrics();
  Page longer = Lengthened(OptionsLikePage(), 40);
  EXPECT_EQ(longer.controls[2].text, u"NameNa");
  EXPECT_EQ(longer.controls[3].text, u"");
  std::vector<uint32_t> named;
  for (const Finding& f : CheckPage(longer, &m)) {
    EXPECT_EQ(f.rule, "fit") << f.what;
    named.push_back(f.id);
  }
  EXPECT_EQ(named, (std::vector<uint32_t>{1, 2, 8}));
  m.textWidth = [](const std::u16string&) { return -1; };
  EXPECT_TRUE(CheckPage(longer, &m).empty());
}

}  // namespace
}  // namespace dlgcheck
