// The number fields' rules on their own: typing filters and maps full-width
// characters, reading takes full-width numbers, the focus and leaving texts,
// and any input ends as a finite number.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "plugin/pages/number_field.h"

namespace lx {
namespace {

TEST(NumberFieldTyping, FullWidthCharactersBecomeTheirCounterpartsAndOthersGoWithTheSelectionFollowing) {
  auto typed = FilterTyped(u"１２．５", NumberChars::kUnsigned, u"mm", 4, 4);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->text, u"12.5");
  EXPECT_EQ(typed->selStart, 4);
  typed = FilterTyped(u"－０９", NumberChars::kSigned, u"mm", 3, 3);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->text, u"-09");  // both ends of the full-width digits

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
  EXPECT_DOUBLE_EQ(ReadNumber(u"９０"), 90.0);
  EXPECT_DOUBLE_EQ(ReadNumber(u"\r\n7.25"), 7.25);  // every C white space leads
  EXPECT_DOUBLE_EQ(ReadNumber(u"\u3000 \t－３．２５mm"), -3.25);
  EXPECT_DOUBLE_EQ(ReadNumber(u"25.00 mm"), 25.0);
  EXPECT_DOUBLE_EQ(ReadNumber(u"1.5.7"), 1.5);
  EXPECT_DOUBLE_EQ(ReadNumber(u"2e1x"), 20.0);
  EXPECT_DOUBLE_EQ(ReadNumber(u"1e5"), 100000.0);
  EXPECT_DOUBLE_EQ(ReadNumber(u"00000000000000000000" u"3.5"), 3.5);
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
  // The ceiling, reached by the exponent, by the digits, and not by a
  // large number of digits with a small negative exponent.
  EXPECT_EQ(ReadNumber(u"5e300"), 1e300);
  EXPECT_EQ(ReadNumber(u"-1e999999999"), -1e300);
  EXPECT_EQ(ReadNumber(std::u16string(400, u'9') + u"e-5"), 1e300);
  EXPECT_EQ(ReadNumber(u"0." + std::u16string(400, u'0') + u"1"), 0.0);
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
  EXPECT_EQ(FormatNumber(NumberFormat::kInteger, -2147483648.0, u"mm"), u"-2147483648");
  EXPECT_EQ(FormatNumber(NumberFormat::kInteger, -2147483649.0, u"mm"), u"-2147483648");
  EXPECT_EQ(RoundTo(2.125, 2), 2.13);
  EXPECT_EQ(RoundTo(-2.125, 2), -2.13);
  // A small negative value rounds to +0, which a list shows as "0.0".
  EXPECT_FALSE(std::signbit(RoundTo(-0.004, 2)));
  EXPECT_FALSE(std::signbit(RoundTo(-0.04, 1)));
}

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

// Reading gives what wcstod gives in the "C" locale (strtod here: the same
// conversion) for every text a field shows, with or without the focus, and
// for texts typed with more decimals than shown: over the whole ranges of
// the offsets (-25..25), the feed offset (-10..30) and the label sizes
// (3..1778): every hundredth to 25, every seventh beyond.
TEST(NumberFieldReading, EqualsTheCLocaleDecimalConversionOverTheFieldsRanges) {
  auto same = [](const std::u16string& text) {
    const double wanted = std::strtod(Narrow(text).c_str(), nullptr);
    const double read = ReadNumber(text);
    return std::memcmp(&wanted, &read, sizeof read) == 0 || (wanted == 0 && read == 0);
  };
  for (int hundredths = -2500; hundredths <= 177800; hundredths += hundredths < 2500 ? 1 : 7) {
    const double v = hundredths / 100.0;
    for (NumberFormat f : {NumberFormat::kMillimetres2, NumberFormat::kMillimetres1, NumberFormat::kPlain2}) {
      const std::u16string shown = FormatNumber(f, v, u"mm");
      ASSERT_TRUE(same(shown)) << Narrow(shown);
      ASSERT_TRUE(same(FocusText(shown))) << Narrow(shown);
    }
    const std::u16string typed = FormatNumber(NumberFormat::kPlain2, v, u"") + u"5";
    ASSERT_TRUE(same(typed)) << Narrow(typed);
  }
  // The decimal value, not a scaled product: 1.005 lies below 1.005.
  EXPECT_EQ(FocusText(u"1.005"), u"1.00");
  EXPECT_EQ(FocusText(u"101.605"), u"101.61");
}

// An application that set a comma locale changes neither what a field
// shows nor what it reads back: 101.60 stays 101.60 through focus and leave.
TEST(NumberFieldLeaving, ACommaLocaleChangesNothing) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no comma locale on this machine";
  const std::u16string shown = FormatNumber(NumberFormat::kMillimetres2, 101.6, u"mm");
  const std::u16string focused = FocusText(shown);
  const std::u16string left = FormatNumber(NumberFormat::kMillimetres2, ReadNumber(focused), u"mm");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(shown, u"101.60 mm");
  EXPECT_EQ(focused, u"101.60");
  EXPECT_EQ(left, u"101.60 mm");
}

}  // namespace
}  // namespace lx
