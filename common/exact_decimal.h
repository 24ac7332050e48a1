// Digits of a double for printf's %f, %e and %g, worked out from the
// double's exact value, so that they never depend on the C library or its
// locale. Small on purpose: the plug-in is loaded into every process that
// prints, and a table-driven converter costs it about 170 KB.
#pragma once

#include <string>

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
std::string FormatGeneral(const DecimalDigits& d, int precision);

}  // namespace lx
