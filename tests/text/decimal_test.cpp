#include "text/decimal.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace navorix {
namespace {

long double Read(const std::string& text) {
  long double v = 0.0L;
  if (!ReadDecimal(text, v)) return std::nanl("");
  return v;
}

// Sum of two non-negative fixed-point texts with the same number of decimals.
std::string AddDecimal(const std::string& a, const std::string& b) {
  std::string x = a;
  std::string y = b;
  while (x.size() < y.size()) x.insert(x.begin(), '0');
  while (y.size() < x.size()) y.insert(y.begin(), '0');
  std::string sum(x.size(), '0');
  int carry = 0;
  for (std::size_t i = x.size(); i-- > 0;) {
    if (x[i] == '.') {
      sum[i] = '.';
      continue;
    }
    const int d = (x[i] - '0') + (y[i] - '0') + carry;
    sum[i] = static_cast<char>('0' + d % 10);
    carry = d / 10;
  }
  return carry ? "1" + sum : sum;
}

// Text one unit of the last place smaller (the text must end in a digit and
// be greater than zero).
std::string DecrementLast(std::string a) {
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] == '.') continue;
    if (a[i] > '0') {
      --a[i];
      break;
    }
    a[i] = '9';
  }
  return a;
}

TEST(Decimal, Syntax) {
  EXPECT_EQ(Read("12.5"), 12.5L);
  EXPECT_EQ(Read("   +12.5"), 12.5L);
  EXPECT_EQ(Read("-0.25e1"), -2.5L);
  EXPECT_EQ(Read("5."), 5.0L);
  EXPECT_EQ(Read(".5"), 0.5L);
  EXPECT_EQ(Read("1E+3"), 1000.0L);
  EXPECT_EQ(Read("000120e-1"), 12.0L);
  EXPECT_TRUE(std::signbit(Read("-0")));
  for (const char* bad : {"", " ", "+", "-", ".", "e3", "1e", "1e+", "1.2.3", "1 ", "1,5", "1d3", "0x1p3",
                          "inf", "-nan", "1e3.5", "+-1", " - 1", "1_000"}) {
    EXPECT_TRUE(std::isnan(Read(bad))) << bad;
  }
  long double v = 0.0L;
  EXPECT_TRUE(ReadWholeNumber(" -42", v));
  EXPECT_EQ(v, -42.0L);
  EXPECT_FALSE(ReadWholeNumber("4.2", v));
  EXPECT_FALSE(ReadWholeNumber("4e2", v));
  EXPECT_TRUE(ReadDigitFraction("032", v));
  EXPECT_EQ(v, Read("0.032"));
  EXPECT_FALSE(ReadDigitFraction("", v));
  EXPECT_FALSE(ReadDigitFraction("-1", v));
  EXPECT_FALSE(ReadDigitFraction(" 1", v));
}

TEST(Decimal, RangeLimits) {
  EXPECT_EQ(Read("1e4932"), 1e4932L);
  EXPECT_TRUE(std::isnan(Read("1.2e4932")));  // beyond the largest finite value
  EXPECT_TRUE(std::isnan(Read("-1e5000")));
  EXPECT_TRUE(std::isnan(Read("1e99999999999999999999999")));
  EXPECT_TRUE(std::isnan(Read(std::string(5000, '9'))));
  EXPECT_EQ(Read("0e99999999999999999999999"), 0.0L);
  // Too small is a zero of its sign, not a failure.
  EXPECT_EQ(Read("1e-99999999999999999999"), 0.0L);
  EXPECT_TRUE(std::signbit(Read("-1e-6000")));
  EXPECT_EQ(Read("3.4e-4931"), 3.4e-4931L);
}

// A reader that rounds correctly decides every halfway case between two
// neighbouring 80-bit values exactly: ties to even, and any digit beyond the
// tie, however far out, decides the direction.
TEST(Decimal, ReaderRoundsHalfwayCasesExactly) {
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 300; ++i) {
    const std::uint64_t mantissa = random() | (std::uint64_t{1} << 63);
    const int exponent = static_cast<int>(random() % 16);  // values in [2^24, 2^40)
    const long double x = std::ldexp(static_cast<long double>(mantissa), exponent - 39);
    const long double ulp = std::ldexp(1.0L, exponent - 39);
    const long double next = x + ulp;
    const std::string half = AddDecimal(FixedText(x, 40), FixedText(ulp / 2, 40));
    const long double even = mantissa % 2 == 0 ? x : next;
    ASSERT_EQ(Read(FixedText(x, 40)), x);
    EXPECT_EQ(Read(half), even) << half;
    EXPECT_EQ(Read(half + "1"), next) << half;
    EXPECT_EQ(Read(half + std::string(3000, '0') + "1"), next) << half;
    EXPECT_EQ(Read(DecrementLast(half) + "9"), x) << half;
    EXPECT_EQ(Read(DecrementLast(half) + std::string(3000, '9')), x) << half;
  }
}

TEST(Decimal, ShortTextAgreesWithTheFullConversion) {
  // Short texts take a fast path of their own; it must round exactly as the
  // library's full conversion does, up to 19 digits and exponents near 27.
  std::mt19937_64 rng(20261208);
  std::uniform_int_distribution<int> digitCount(1, 20), digit(0, 9), point(0, 20), exponent(-32, 32);
  for (int n = 0; n < 20000; ++n) {
    std::string text = (n % 3 == 0) ? "-" : "";
    const int count = digitCount(rng);
    const int dot = point(rng);
    for (int i = 0; i < count; ++i) {
      if (i == dot) text += '.';
      text += static_cast<char>('0' + digit(rng));
    }
    if (n % 2 == 0) text += "e" + std::to_string(exponent(rng));
    long double fast = 0.0L;
    long double full = 0.0L;
    ASSERT_TRUE(ReadDecimal(text, fast)) << text;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), full);
    ASSERT_EQ(result.ec, std::errc()) << text;
    EXPECT_EQ(fast, full) << text;
    EXPECT_EQ(std::signbit(fast), std::signbit(full)) << text;
  }
}

TEST(Decimal, ShortFixedTextAgreesWithTheFullConversion) {
  // FixedText has a fast path of its own for up to 8 decimals; it must give
  // the library's correctly rounded text, exact halves and zeros included.
  std::mt19937_64 rng(8122026);
  std::uniform_real_distribution<long double> mantissa(-1.0L, 1.0L);
  std::uniform_int_distribution<int> binade(-40, 70), decimals(0, 8);
  std::array<char, 6000> buffer{};
  auto library = [&buffer](long double v, int d) {
    const auto r =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, std::chars_format::fixed, d);
    return std::string(buffer.data(), r.ptr);
  };
  for (int n = 0; n < 50000; ++n) {
    const int d = decimals(rng);
    long double v = std::ldexp(mantissa(rng), binade(rng));
    if (n % 5 == 0) v = std::round(v * 1e4L) / 1e4L + 0.5L * std::pow(10.0L, -d);  // near halves
    EXPECT_EQ(FixedText(v, d), library(v, d)) << static_cast<double>(v) << " " << d;
  }
  for (long double v : {0.0L, -0.0L, 0.5L, 1.5L, 2.5L, -2.5L, 0.125L, 9.9999999999L, 1e18L, 9.2e18L}) {
    for (int d = 0; d <= 8; ++d)
      EXPECT_EQ(FixedText(v, d), library(v, d)) << static_cast<double>(v) << " " << d;
  }
}

TEST(Decimal, FixedTextRoundsHalfToEven) {
  EXPECT_EQ(FixedText(0.125L, 2), "0.12");
  EXPECT_EQ(FixedText(0.375L, 2), "0.38");
  EXPECT_EQ(FixedText(2.5L, 0), "2");
  EXPECT_EQ(FixedText(3.5L, 0), "4");
  EXPECT_EQ(FixedText(-0.001L, 2), "-0.00");
  EXPECT_EQ(FixedText(636.74357L, 4), "636.7436");
  // 0.1 is not exact in binary; the writer shows its true digits.
  EXPECT_EQ(FixedText(0.1L, 25), "0.1000000000000000000013553");
  EXPECT_EQ(FixedText(1e27L, 1), "1000000000000000000000000000.0");     // exact in 64 bits
  EXPECT_EQ(FixedText(1e30L, 1), "1000000000000000000024696061952.0");  // nearest 80-bit value
  EXPECT_EQ(FixedText(std::nanl(""), 2), "nan");
  EXPECT_EQ(FixedText(-HUGE_VALL, 2), "-inf");
  EXPECT_EQ(FixedText(1e4932L, 0).size(), 4933u);
}

TEST(Decimal, ShortestTextReadsBack) {
  EXPECT_EQ(DecimalText(6367.4357L), "6367.4357");
  EXPECT_EQ(DecimalText(1.609344L), "1.609344");
  std::mt19937_64 random(7);
  std::uniform_real_distribution<long double> magnitude(-60.0L, 60.0L);
  for (int i = 0; i < 2000; ++i) {
    const long double x = std::pow(10.0L, magnitude(random)) * (i % 2 ? -1 : 1);
    EXPECT_EQ(Read(DecimalText(x)), x) << DecimalText(x);
  }
}

}  // namespace
}  // namespace navorix
