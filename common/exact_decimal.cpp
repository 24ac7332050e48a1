#include "common/exact_decimal.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace lx {

namespace {

// An unsigned integer, 32 bits a word, lowest word first.
using BigInt = std::vector<uint32_t>;

void MultiplySmall(BigInt& n, uint32_t k) {
  uint64_t carry = 0;
  for (uint32_t& w : n) {
    carry += static_cast<uint64_t>(w) * k;
    w = static_cast<uint32_t>(carry);
    carry >>= 32;
  }
  if (carry != 0) n.push_back(static_cast<uint32_t>(carry));
}

void ShiftLeft(BigInt& n, int bits) {
  n.insert(n.begin(), static_cast<size_t>(bits / 32), 0u);
  const int rest = bits % 32;
  if (rest == 0) return;
  uint32_t carry = 0;
  for (uint32_t& w : n) {
    const uint32_t next = w >> (32 - rest);
    w = (w << rest) | carry;
    carry = next;
  }
  if (carry != 0) n.push_back(carry);
}

void Trim(BigInt& n) {
  while (!n.empty() && n.back() == 0) n.pop_back();
}

// n /= d (d > 0), word by word; returns the remainder.
uint32_t DivideSmall(BigInt& n, uint32_t d) {
  uint64_t remainder = 0;
  for (size_t i = n.size(); i-- > 0;) {
    const uint64_t part = (remainder << 32) | n[i];
    n[i] = static_cast<uint32_t>(part / d);
    remainder = part % d;
  }
  Trim(n);
  return static_cast<uint32_t>(remainder);
}

// Decimal digits of n (n > 0), nine at a time from the lowest.
std::string ToDecimal(BigInt n) {
  std::string reversed;
  while (!n.empty()) {
    uint32_t remainder = DivideSmall(n, 1000000000u);
    for (int i = 0; i < 9 && (remainder != 0 || !n.empty()); ++i) {
      reversed.push_back(static_cast<char>('0' + remainder % 10));
      remainder /= 10;
    }
  }
  return std::string(reversed.rbegin(), reversed.rend());
}

long long BitLength(const BigInt& n) {
  if (n.empty()) return 0;
  long long bits = static_cast<long long>(n.size() - 1) * 32;
  for (uint32_t top = n.back(); top != 0; top >>= 1) ++bits;
  return bits;
}

bool Bit(const BigInt& n, long long i) {
  const size_t word = static_cast<size_t>(i / 32);
  return i >= 0 && word < n.size() && ((n[word] >> (i % 32)) & 1u) != 0;
}

int Compare(const BigInt& a, const BigInt& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = a.size(); i-- > 0;)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

// a -= b, for a >= b.
void Subtract(BigInt& a, const BigInt& b) {
  int64_t borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    int64_t d = static_cast<int64_t>(a[i]) - borrow - (i < b.size() ? b[i] : 0);
    borrow = d < 0 ? 1 : 0;
    a[i] = static_cast<uint32_t>(d + (borrow << 32));
  }
  Trim(a);
}

void AddSmall(BigInt& n, uint32_t k) {
  for (size_t i = 0; i < n.size() && k != 0; ++i) {
    const uint64_t sum = static_cast<uint64_t>(n[i]) + k;
    n[i] = static_cast<uint32_t>(sum);
    k = static_cast<uint32_t>(sum >> 32);
  }
  if (k != 0) n.push_back(k);
}

// n *= base^k, as many factors of base at a time as fit in 32 bits.
void MultiplyByPower(BigInt& n, uint32_t base, long long k) {
  while (k > 0) {
    uint32_t factor = 1;
    for (; k > 0 && factor <= UINT32_MAX / base; --k) factor *= base;
    MultiplySmall(n, factor);
  }
}

BigInt FromDigits(std::string_view digits) {
  BigInt n;
  for (size_t i = 0; i < digits.size(); i += 9) {
    const size_t count = digits.size() - i < 9 ? digits.size() - i : 9;
    uint32_t chunk = 0;
    uint32_t scale = 1;
    for (size_t j = 0; j < count; ++j) {
      chunk = chunk * 10 + static_cast<uint32_t>(digits[i + j] - '0');
      scale *= 10;
    }
    MultiplySmall(n, scale);
    AddSmall(n, chunk);
  }
  Trim(n);
  return n;
}

// floor(num / den), den > 0; `remains` tells a remainder. Word by word for a
// one-word divisor (every text of up to nine decimals), else bit by bit.
BigInt Divide(const BigInt& num, const BigInt& den, bool& remains) {
  if (den.size() == 1) {
    BigInt quotient(num);
    remains = DivideSmall(quotient, den[0]) != 0;
    return quotient;
  }
  BigInt quotient(num.size(), 0u);
  BigInt rest;
  for (long long i = BitLength(num) - 1; i >= 0; --i) {
    ShiftLeft(rest, 1);
    if (Bit(num, i)) {
      if (rest.empty()) rest.push_back(0);
      rest[0] |= 1u;
    }
    if (Compare(rest, den) >= 0) {
      Subtract(rest, den);
      quotient[static_cast<size_t>(i / 32)] |= 1u << (i % 32);
    }
  }
  Trim(quotient);
  remains = !rest.empty();
  return quotient;
}

// The double nearest to (q + f) x 2^scale, where 0 < f < 1 when `sticky`
// and f = 0 otherwise; q holds at least 54 bits whenever `sticky`.
double RoundToDouble(const BigInt& q, bool sticky, long long scale) {
  const long long length = BitLength(q);
  // 53 bits kept; fewer for a subnormal, whose lowest bit is 2^-1074.
  long long drop = length - 53;
  if (drop < -1074 - scale) drop = -1074 - scale;
  uint64_t m = 0;
  for (long long k = 0; k < 53; ++k)
    if (Bit(q, drop + k)) m |= uint64_t{1} << k;
  if (drop > 0) {
    bool rest = sticky;
    for (long long i = 0; i < drop - 1 && !rest; ++i) rest = Bit(q, i);
    if (Bit(q, drop - 1) && (rest || (m & 1) != 0)) ++m;  // 2^53 stays exact
  }
  return std::ldexp(static_cast<double>(m), static_cast<int>(scale + drop));
}

void DropTrailingZeros(DecimalDigits& d) {
  const size_t last = d.digits.find_last_not_of('0');
  d.digits.resize(last == std::string::npos ? 0 : last + 1);
  if (d.digits.empty()) d.exponent = 0;
}

// Keeps the first `kept` digits (any number, also none or fewer than zero),
// rounding half to even on what is dropped.
DecimalDigits KeepDigits(DecimalDigits d, long long kept) {
  if (kept >= static_cast<long long>(d.digits.size())) return d;
  // The value is then under a tenth of the last kept place: it rounds to zero.
  if (kept < 0) return DecimalDigits{};
  const size_t n = static_cast<size_t>(kept);
  const char next = d.digits[n];
  // Digits end without zeros: any digit after `next` makes the rest non-zero.
  const bool restNonZero = n + 1 < d.digits.size();
  const bool lastOdd = n > 0 && ((d.digits[n - 1] - '0') & 1) != 0;
  const bool up = next > '5' || (next == '5' && (restNonZero || lastOdd));
  d.digits.resize(n);
  if (up) {
    size_t i = n;
    while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
    if (i == 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    } else {
      ++d.digits[i - 1];
    }
  }
  DropTrailingZeros(d);
  return d;
}

// The digit of d at `index` from its first digit, 0 outside the digits.
char DigitAt(const DecimalDigits& d, long long index) {
  return index >= 0 && index < static_cast<long long>(d.digits.size()) ? d.digits[static_cast<size_t>(index)] : '0';
}

}  // namespace

DecimalDigits ExactDecimal(double v) {
  v = std::fabs(v);
  if (v == 0.0 || !std::isfinite(v)) return DecimalDigits{};
  int binaryExponent = 0;
  const double fraction = std::frexp(v, &binaryExponent);
  uint64_t mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
  int e = binaryExponent - 53;  // v = mantissa x 2^e
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++e;
  }
  BigInt n{static_cast<uint32_t>(mantissa), static_cast<uint32_t>(mantissa >> 32)};
  Trim(n);
  int decimalShift = 0;
  if (e >= 0) {
    ShiftLeft(n, e);
  } else {
    MultiplyByPower(n, 5, -e);  // mantissa / 2^k = mantissa x 5^k / 10^k
    decimalShift = e;
  }
  DecimalDigits d;
  d.digits = ToDecimal(std::move(n));
  d.exponent = static_cast<int>(d.digits.size()) + decimalShift;
  DropTrailingZeros(d);
  return d;
}

DecimalDigits RoundToDecimals(DecimalDigits d, int decimals) {
  const long long kept = static_cast<long long>(d.exponent) + decimals;
  return KeepDigits(std::move(d), kept);
}

DecimalDigits RoundToSignificant(DecimalDigits d, int count) { return KeepDigits(std::move(d), count); }

std::string FormatFixed(const DecimalDigits& exact, int precision) {
  const DecimalDigits d = RoundToDecimals(exact, precision);
  std::string text;
  if (d.exponent <= 0) text = "0";
  for (long long i = 0; i < d.exponent; ++i) text.push_back(DigitAt(d, i));
  if (precision > 0) {
    text.push_back('.');
    for (long long i = 0; i < precision; ++i) text.push_back(DigitAt(d, d.exponent + i));
  }
  return text;
}

std::string FormatScientific(const DecimalDigits& exact, int precision) {
  const DecimalDigits d = RoundToSignificant(exact, precision + 1);
  std::string text(1, DigitAt(d, 0));
  if (precision > 0) {
    text.push_back('.');
    for (long long i = 1; i <= precision; ++i) text.push_back(DigitAt(d, i));
  }
  const int x = d.digits.empty() ? 0 : d.exponent - 1;
  text += x < 0 ? "e-" : "e+";
  const int magnitude = x < 0 ? -x : x;
  if (magnitude < 10) text.push_back('0');
  text += std::to_string(magnitude);
  return text;
}

std::string FormatGeneral(const DecimalDigits& exact, int precision, bool alternate) {
  const int p = precision > 0 ? precision : 1;
  const DecimalDigits d = RoundToSignificant(exact, p);
  const int x = d.digits.empty() ? 0 : d.exponent - 1;
  const bool fixed = p > x && x >= -4;
  std::string text = fixed ? FormatFixed(d, p - 1 - x) : FormatScientific(d, p - 1);
  if (alternate) {
    if (text.find('.') == std::string::npos) text.insert(fixed ? text.size() : 1, ".");
    return text;
  }
  // Without '#', %g drops the fraction's trailing zeros and a bare point.
  const size_t point = text.find('.');
  if (point == std::string::npos) return text;
  const size_t e = text.find('e');
  const size_t fractionEnd = e == std::string::npos ? text.size() : e;
  size_t keep = fractionEnd;
  while (keep > point + 1 && text[keep - 1] == '0') --keep;
  if (keep == point + 1) keep = point;
  text.erase(keep, fractionEnd - keep);
  return text;
}

double DecimalToDouble(std::string_view digits, long long exponent) {
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string_view::npos) return 0.0;
  const size_t last = digits.find_last_not_of('0');
  exponent += static_cast<long long>(digits.size() - 1 - last);
  std::string kept(digits.substr(first, last + 1 - first));
  // The value lies in [10^(magnitude-1), 10^magnitude).
  const long long magnitude = static_cast<long long>(kept.size()) + exponent;
  if (magnitude > 320) return HUGE_VAL;
  if (magnitude < -330) return 0.0;
  // A midpoint between two doubles has at most 768 significant digits: past
  // 800 only whether anything follows matters, and a final 1 says so.
  if (kept.size() > 800) {
    exponent += static_cast<long long>(kept.size()) - 801;
    kept.resize(800);
    kept.push_back('1');
  }
  BigInt n = FromDigits(kept);
  if (exponent >= 0) {
    MultiplyByPower(n, 10, exponent);
    return RoundToDouble(n, false, 0);
  }
  BigInt den{1u};
  MultiplyByPower(den, 10, -exponent);
  // Enough quotient bits for 53 and the rounding: at least 66.
  long long shift = 66 + BitLength(den) - BitLength(n);
  if (shift < 0) shift = 0;
  ShiftLeft(n, static_cast<int>(shift));
  bool remains = false;
  const BigInt q = Divide(n, den, remains);
  return RoundToDouble(q, remains, -shift);
}

}  // namespace lx
