#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/exact_decimal.h"
#include "common/format.h"
#include "common/text.h"

namespace lx {
namespace {

TEST(Text, Utf8RoundTripsAndRepairsBadInput) {
  std::u16string s = u"Label \u041F\u0440\u0438\u043D\u0442\u0435\u0440 \u4E2D\u6587 \U0001F5A8";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(s)), s);
  EXPECT_EQ(Utf8ToUtf16("a\xC0\xAF" "b"), u"a\uFFFD\uFFFDb");  // overlong
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");        // cut sequence
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Text, AnsiIsWindows1252) {
  EXPECT_EQ(AnsiToUtf16("\x80\xE9\x81"), u"\u20AC\u00E9\u0081");
  EXPECT_EQ(Utf16ToAnsi(u"\u20AC\u00E9\u4E2D"), "\x80\xE9?");
}

TEST(Text, BuffersCutLikeFixedWindowsBuffers) {
  EXPECT_EQ(CutToBuffer(std::u16string_view(u"abcdef"), 4), u"abc");
  EXPECT_EQ(CutToBuffer(std::u16string_view(u"ab"), 4), u"ab");
  EXPECT_EQ(CutToBuffer(std::u16string_view(u"ab"), 0), u"");
  char16_t buf[4];
  CopyToBuffer(buf, 4, u"abcdef");
  EXPECT_EQ(std::u16string(buf), u"abc");
}

TEST(Text, CaseRulesAreAsciiOnly) {
  EXPECT_TRUE(EqualsIgnoreCase(u"Support_Driver", u"SUPPORT_driver"));
  EXPECT_FALSE(EqualsIgnoreCase(u"\u00C9", u"\u00E9"));
  EXPECT_EQ(ToLowerAscii(u"/UnInstall \u00C9"), u"/uninstall \u00C9");
}

// Integers with every flag, width and precision give the C library's text.
TEST(Format, IntegersWithFlagsWidthAndPrecisionAreThoseOfPrintf) {
  const char* formats[] = {"%d", "%5d", "%-5d|", "%05d", "%+d", "% d", "%.3d", "%.0d", "%+.0d", "%8.3d",
                           "%-+8.3d|", "%x", "%#x", "%#X", "%#o", "%o", "%08.3x", "%#08x",
                           "%u", "%+u", "%010u", "%hd", "%hu", "%.12x", "% 05d", "%-#10o|", "%-05d|", "%+ d"};
  const long long values[] = {0, 1, -1, 7, -42, 255, 65535, 65536, -32768, 2147483647, -2147483647 - 1};
  char expected[128];
  for (const char* f : formats)
    for (long long v : values) {
      std::snprintf(expected, sizeof expected, f, static_cast<int>(v));
      ASSERT_EQ(FormatA(f, static_cast<int>(v)), expected) << f << " " << v;
    }
  for (const char* f : {"%lld", "%+20lld", "%llx", "%#llo", "%-25llu|", "%.30lld"})
    for (long long v : {0LL, -1LL, 9223372036854775807LL, -9223372036854775807LL - 1}) {
      std::snprintf(expected, sizeof expected, f, v);
      ASSERT_EQ(FormatA(f, v), expected) << f << " " << v;
    }
  EXPECT_EQ(FormatA("%I64d|%I64u", -5LL, 18446744073709551615ULL), "-5|18446744073709551615");
  // '#' makes an octal 0 at precision 0 "0", as C says (MinGW's printf writes nothing).
  EXPECT_EQ(FormatA("%#.0o|%.0o|%#.0x", 0, 0, 0), "0||");
  EXPECT_EQ(FormatW(u"%04X-%ls", 0xBEEFu, u"ok"), u"BEEF-ok");
  // A width from the arguments, negative for the left; %s and %c padded alike.
  EXPECT_EQ(FormatA("[%*d|%*d|%-4s|%3c]", 4, 7, -4, 7, "ab", 'x'), "[   7|7   |ab  |  x]");
  EXPECT_EQ(FormatW(u"[%5s|%-3c]", u"ab", u'y'), u"[   ab|y  ]");
  EXPECT_EQ(FormatA("%p", reinterpret_cast<void*>(0xABCDEF)), sizeof(void*) == 8 ? "0000000000ABCDEF" : "00ABCDEF");
  // Hexadecimal floats: exact digits, or rounded half to even to a precision.
  EXPECT_EQ(FormatA("%a|%A|%a|%a", 3.0, 0.5, 0.0, -1.0), "0x1.8p+1|0X1P-1|0x0p+0|-0x1p+0");
  EXPECT_EQ(FormatA("%.0a|%.1a|%.3a|%#a", 1.5, 1.03125, 1.0, 1.0), "0x2p+0|0x1.0p+0|0x1.000p+0|0x1.p+0");
  EXPECT_EQ(FormatA("%a|%012a", std::numeric_limits<double>::denorm_min(), 1.0), "0x0.0000000000001p-1022|0x0000001p+0");
}

TEST(Format, NarrowConversionsMatchTheCrt) {
  EXPECT_EQ(FormatA("%s (%d)", "Label", 2), "Label (2)");
  EXPECT_EQ(FormatA("USB%03d", 7), "USB007");
  EXPECT_EQ(FormatA("%02X %02X", 0x0A, 255), "0A FF");
  EXPECT_EQ(FormatA("%u %ld %lu", 4294967295u, -5L, 7UL), "4294967295 -5 7");
  EXPECT_EQ(FormatA("%d %i %d", -2147483647 - 1, 0, 7), "-2147483648 0 7");
  EXPECT_EQ(FormatA("%0.1f|%0.2f|%.1f", 2.25, 1.005, 0.05), "2.2|1.00|0.1");
  EXPECT_EQ(FormatA("100%% %c", 'x'), "100% x");
  EXPECT_EQ(FormatA("[%5s|%-4d]", "ab", 3), "[   ab|3   ]");
  EXPECT_EQ(FormatA("%s", static_cast<const char*>(nullptr)), "(null)");
}

// Floating conversions give printf's digits in the "C" locale, flags and
// widths included, and keep "." when the process has set a comma locale.
TEST(Format, FloatsAreThoseOfTheCLocaleWhateverTheProcessLocale) {
  std::mt19937_64 random(11);
  const char* formats[] = {"%f", "%0.2f", "%.1f", "%8.3f", "%-9.2f|", "%+.2f", "% .1f", "%08.2f",
                           "%e", "%.3E", "%g", "%.4g", "%G", "%.0f", "%.0e", "%12.5g",
                           "%.17g", "%.0g", "%.25e", "%.60f", "%.40g", "%.80f", "%#.0f", "%#.0e",
                           "%-+12.3e|", "%010.4g", "%+08.0f"};
  // Halves that round to even, carries that add a digit, %g's edges between
  // its two styles, and the ends of the range.
  std::vector<double> values = {0.0, -0.0, 1.005, 2.25, -3.125, 1e-7, 123456789.987, 1e300, -1e-300,
                                std::numeric_limits<double>::denorm_min(), 101.6, 0.5, 1.5, 2.5,
                                0.125, 0.375, 9.995, 999.5, 999999.5, 0.0001, 0.00001, 9.9999996e-5,
                                123456, 1e22, 1e23, 0.95, 9.5, 99.95,
                                std::numeric_limits<double>::max(), std::numeric_limits<double>::min()};
  for (int i = 0; i < 300; ++i) values.push_back(std::ldexp(static_cast<double>(random() % 2000001) - 1e6, -(int)(random() % 40)));
  // Any finite double at all, from its bits.
  for (int i = 0; i < 300; ++i) {
    const uint64_t bits = random();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
  }
  char expected[512];
  for (const char* f : formats)
    for (double v : values) {
      std::snprintf(expected, sizeof expected, f, v);
      ASSERT_EQ(FormatA(f, v), expected) << f << " " << v;
    }
  EXPECT_EQ(FormatA("%f|%5.1f", std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()),
            "inf| -inf");
  // '#' keeps %g's zeros and point, also where rounding adds a digit (the C
  // standard's text; glibc writes "1.e+06" there).
  EXPECT_EQ(FormatA("%#g|%#.3g|%#.1g|%#g|%#.2g", 1.0, 999.5, 1.0, 999999.5, 0.0), "1.00000|1.00e+03|1.|1.00000e+06|0.0");

  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no comma locale on this machine";
  std::snprintf(expected, sizeof expected, "%.2f", 101.6);
  EXPECT_EQ(std::string(expected), "101,60");  // the locale is in force
  EXPECT_EQ(FormatA("%0.2f", 101.6), "101.60");
  EXPECT_EQ(FormatW(u"%.1f mm x %0.2e", 50.8, 1234.5), u"50.8 mm x 1.23e+03");
  std::setlocale(LC_ALL, "C");
}

// The exact decimal digits and exponent of a long double, from printf's
// exact %Le: 1.25e-3 is "125" and -5.
std::pair<std::string, long long> ExactDigits(long double v) {
  std::vector<char> text(1200);
  std::snprintf(text.data(), text.size(), "%.1100Le", v);
  const std::string s(text.data());
  const size_t e = s.find('e');
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  return {digits, std::stoll(s.substr(e + 1)) - static_cast<long long>(digits.size() - 1)};
}

// Reading decimal text gives the nearest double, and a text exactly halfway
// between two doubles the one with the even last bit: checked at the
// midpoints themselves (up to 767 digits), just below and just above them
// (also past the 800 digits that are read in full), from zero to beyond the
// largest double.
TEST(DecimalReading, GivesTheNearestDoubleAndHalfwayTheEvenOne) {
  std::mt19937_64 random(5);
  std::vector<double> lows = {0.0, std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                              1.0, 0.1, 101.6, 9007199254740992.0, std::numeric_limits<double>::max()};
  for (int i = 0; i < 400; ++i) {
    const uint64_t bits = random() >> 1;  // positive
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) lows.push_back(v);
  }
  static_assert(std::numeric_limits<long double>::digits >= 64, "midpoints need 64-bit long doubles");
  for (double low : lows) {
    const double high = std::nextafter(low, HUGE_VAL);
    // Past the largest double, halfway to the next power of two.
    const long double step = std::isinf(high) ? static_cast<long double>(low) - std::nextafter(low, 0.0)
                                              : static_cast<long double>(high) - low;
    const long double mid = low + step / 2;
    uint64_t lowBits;
    std::memcpy(&lowBits, &low, sizeof low);
    const double even = (lowBits & 1) == 0 ? low : high;
    auto [digits, exponent] = ExactDigits(mid);
    ASSERT_EQ(DecimalToDouble(digits, exponent), even) << digits << "e" << exponent;
    ASSERT_EQ(DecimalToDouble(digits + "1", exponent - 1), high) << digits;
    ASSERT_EQ(DecimalToDouble("000" + digits + std::string(900, '0') + "1", exponent - 901), high) << digits;
    auto [below, belowExponent] = ExactDigits(std::nextafter(mid, 0.0L));
    ASSERT_EQ(DecimalToDouble(below, belowExponent), low) << below;
    auto [exact, exactExponent] = ExactDigits(low);
    ASSERT_EQ(DecimalToDouble(exact + "000", exactExponent - 3), low);
  }
  EXPECT_EQ(DecimalToDouble("", 0), 0.0);
  EXPECT_EQ(DecimalToDouble("000", 400), 0.0);
  EXPECT_EQ(DecimalToDouble("1", 309), HUGE_VAL);
  EXPECT_EQ(DecimalToDouble("1", -400), 0.0);
  EXPECT_EQ(DecimalToDouble("1", 999999999), HUGE_VAL);
  EXPECT_EQ(DecimalToDouble("1005", -3), 1.005);
  EXPECT_EQ(DecimalToDouble(std::string(5000, '9'), -4990), 1e10);
}

TEST(Format, WideTakesWideStringsLikeMicrosoftsPrintf) {
  EXPECT_EQ(FormatW(u"szPath  == %s", u"C:\\Setup\\cfgSetup.ini"), u"szPath  == C:\\Setup\\cfgSetup.ini");
  EXPECT_EQ(FormatW(u"%s|%hs|%S", u"\u4E2D", "narrow", "also"), u"\u4E2D|narrow|also");
  EXPECT_EQ(FormatW(u"IP_%s:%d", u"10.0.0.5", 9100), u"IP_10.0.0.5:9100");
  EXPECT_EQ(FormatW(u"%c%c", u'\u0416', u'A'), u"\u0416A");
  EXPECT_EQ(FormatA("%ls", u"wide"), "wide");
}

}  // namespace
}  // namespace lx
