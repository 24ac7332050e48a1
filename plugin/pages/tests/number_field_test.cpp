// The number fields' rules on their own: typing filters and maps full-width
// characters, reading takes full-width numbers, the focus and leaving texts,
// and any input ends as a finite number.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "plugin/pages/number_field.h"

namespace lx {
namespace {

TEST(NumberFieldTyping, FullWidthCharactersBecomeTheirCounterpartsAndOthersGoWithTheSelectionFollowing) {
  auto typed = FilterTyped(u"１２．５", NumberChars::kUnsigned, u"mm", 4, 4);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->text, u"12.5");
  EXPECT_EQ(typed->selStart, 4);

  // "a" and the minus (unsigned field) go; the caret after "7" keeps its place.
  typed = FilterTyped(u"1a-7x9", NumberChars::kUnsigned, u"mm", 4, 4);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->text, u"179");
  EXPECT_EQ(typed->selStart, 2);
  EXPECT_EQ(typed->selEnd, 2);

  typed = FilterTyped(u"－１.5", NumberChars::kSigned, u"mm", 1, 3);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->text, u"-1.5");
  EXPECT_EQ(typed->selStart, 1);
  EXPECT_EQ(typed->selEnd, 3);

  // Clean text, the field's own shown value with its unit, and a field
  // without a character set are left alone.
  EXPECT_FALSE(FilterTyped(u"12.5", NumberChars::kUnsigned, u"mm", 0, 0));
  EXPECT_FALSE(FilterTyped(u"25.00 mm", NumberChars::kUnsigned, u"mm", 0, 0));
  EXPECT_FALSE(FilterTyped(u"abc", NumberChars::kAny, u"mm", 0, 0));
  // Surrogate pairs are not digits: both halves go.
  typed = FilterTyped(u"1\U0001F600" u"2", NumberChars::kUnsigned, u"", 4, 4);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->text, u"12");
  EXPECT_EQ(typed->selStart, 2);
}

TEST(NumberFieldReading, FullWidthTableLeadingWhiteSpaceAndTheFirstForeignCharacter) {
  EXPECT_DOUBLE_EQ(ReadNumber(u"１２．５"), 12.5);
  EXPECT_DOUBLE_EQ(ReadNumber(u"\u3000 \t－３．２５mm"), -3.25);
  EXPECT_DOUBLE_EQ(ReadNumber(u"25.00 mm"), 25.0);
  EXPECT_DOUBLE_EQ(ReadNumber(u"1.5.7"), 1.5);
  EXPECT_DOUBLE_EQ(ReadNumber(u"2e1x"), 20.0);
  EXPECT_DOUBLE_EQ(ReadNumber(u"7e"), 7.0);
  EXPECT_DOUBLE_EQ(ReadNumber(u".5"), 0.5);
  EXPECT_EQ(ReadNumber(u""), 0.0);
  EXPECT_EQ(ReadNumber(u"mm 12"), 0.0);
  EXPECT_EQ(ReadNumber(u"-."), 0.0);
  // The decimal separator is "." whatever the user's locale says.
  EXPECT_DOUBLE_EQ(ReadNumber(u"3,75"), 3.0);
}

TEST(NumberFieldReading, AnyTextGivesAFiniteNumber) {
  EXPECT_TRUE(std::isfinite(ReadNumber(u"1e999999999")));
  EXPECT_TRUE(std::isfinite(ReadNumber(std::u16string(5000, u'9'))));
  EXPECT_EQ(ReadNumber(u"1e-999999"), 0.0);
  std::mt19937 random(7);
  const std::u16string pool = u"0123456789.-+eE \u3000\uFF0D\uFF0E\uFF10\uFF19\xD800\xDC00mm";
  for (int round = 0; round < 2000; ++round) {
    std::u16string text;
    for (size_t n = random() % 40; n > 0; --n) text.push_back(pool[random() % pool.size()]);
    double value = ReadNumber(text);
    ASSERT_TRUE(std::isfinite(value));
    ASSERT_TRUE(std::isfinite(RoundTo(value, 2)));
    ASSERT_FALSE(FormatNumber(NumberFormat::kMillimetres2, value, u"mm").empty());
  }
}

TEST(NumberFieldFocus, ShowsTwoDecimalsWithoutUnitOrNothingForZero) {
  EXPECT_EQ(FocusText(u"12.50 mm"), u"12.50");
  EXPECT_EQ(FocusText(u"12.505"), u"12.51");
  EXPECT_EQ(FocusText(u"0.00 mm"), u"");
  EXPECT_EQ(FocusText(u"0.000001"), u"");
  EXPECT_EQ(FocusText(u"-3.1"), u"-3.10");

  // A caret inside the text moves one left; a selection ending inside puts
  // the caret one left of its end; anything else goes to the end.
  EXPECT_EQ(FocusCaret(3, 3, 5), 2);
  EXPECT_EQ(FocusCaret(0, 0, 5), 5);
  EXPECT_EQ(FocusCaret(5, 5, 5), 5);
  EXPECT_EQ(FocusCaret(1, 4, 5), 3);
  EXPECT_EQ(FocusCaret(0, 8, 5), 5);
}

TEST(NumberFieldLeaving, EachFormatWithItsUnit) {
  EXPECT_EQ(FormatNumber(NumberFormat::kMillimetres2, 25, u"mm"), u"25.00 mm");
  EXPECT_EQ(FormatNumber(NumberFormat::kMillimetres1, 3, u"mm"), u"3.0 mm");
  EXPECT_EQ(FormatNumber(NumberFormat::kPlain2, 0.1, u"mm"), u"0.10");
  EXPECT_EQ(FormatNumber(NumberFormat::kInteger, 99.7, u"mm"), u"99");
  EXPECT_EQ(FormatNumber(NumberFormat::kInteger, 1e300, u"mm"), u"2147483647");
  EXPECT_EQ(RoundTo(2.125, 2), 2.13);
  EXPECT_EQ(RoundTo(-2.125, 2), -2.13);
}

}  // namespace
}  // namespace lx
