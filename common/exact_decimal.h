// Exact conversions between doubles and decimal text, for printf's %f, %e
// and %g and for reading typed numbers: worked out with whole numbers, so
// that they never depend on the C library or its locale. Small on purpose:
// the plug-in is loaded into every process that prints, and the C++
// library's table-driven converters cost it about 200 KB.
#pragma once

#include <string>
#include <string_view>

namespace lx {

// A finite, non-negative value as significant digits: value is
// 0.<digits> x 10^exponent. No leading or trailing zeros; zero has no digits.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

// Every digit of |v| (finite): a double is a fraction over a power of two, so
// its decimal expansion ends, after at most 767 significant digits.
DecimalDigits ExactDecimal(double v);

// Rounds to the digits whose place is at least 10^-decimals (%f), half to
// even on the exact value, as printf does. May gain a leading digit (9.96 to
// one decimal is 10.0). Negative decimals round to tens, hundreds and so on.
DecimalDigits RoundToDecimals(DecimalDigits d, int decimals);
// Rounds to `count` significant digits (count >= 1), half to even (%e, %g).
DecimalDigits RoundToSignificant(DecimalDigits d, int count);

// The body of %f, %e and %g (conversion 'f', 'e' or 'g', lower case) of a
// finite, non-negative value without sign, width or '#': "101.60",
// "1.23e+03", "0.0001". The exponent has at least two digits.
std::string FormatFixed(const DecimalDigits& d, int precision);
std::string FormatScientific(const DecimalDigits& d, int precision);
// With `alternate` (printf's '#'), %g keeps its trailing zeros and point.
std::string FormatGeneral(const DecimalDigits& d, int precision, bool alternate = false);

// The double nearest to <digits> x 10^exponent, half to even, as a correctly
// rounded strtod gives it: +inf beyond the largest double, 0 or a subnormal
// below the smallest normal one. `digits` holds only '0' to '9' (any number,
// none reads as 0).
double DecimalToDouble(std::string_view digits, long long exponent);

}  // namespace lx
