#include "base/numtext.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace korvane {
namespace {

// Plain reference for the fixed and general texts: the library's correctly
// rounded 18-digit text (17 decimals below 10), then rounding on the digit
// characters. The production code takes an integer route; both must agree.
struct DigitText {
  std::string digits;  // no point, no sign
  int intDigits = 0;   // digits before the point (may exceed digits.size())
};

DigitText Reference18(long double mag) {
  char buf[128];
  DigitText d;
  if (mag < 10) {
    auto r = std::to_chars(buf, buf + sizeof buf, mag, std::chars_format::fixed, 17);
    std::string s(buf, r.ptr);
    const size_t point = s.find('.');
    d.intDigits = static_cast<int>(point);
    d.digits = s.substr(0, point) + s.substr(point + 1);
  } else {
    auto r = std::to_chars(buf, buf + sizeof buf, mag, std::chars_format::scientific, 17);
    std::string s(buf, r.ptr);
    const size_t e = s.find('e');
    d.digits = s.substr(0, 1) + s.substr(2, e - 2);
    d.intDigits = std::stoi(s.substr(e + 1)) + 1;
  }
  if (d.intDigits > static_cast<int>(d.digits.size())) {
    d.digits.append(static_cast<size_t>(d.intDigits) - d.digits.size(), '0');
  }
  return d;
}

// Round half up so that `keep` characters remain; a carry may add a digit in front.
void RoundDigitsAt(DigitText& d, size_t keep) {
  if (keep >= d.digits.size()) return;
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (!up) return;
  size_t i = keep;
  while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
  if (i == 0) {
    d.digits.insert(0, 1, '1');
    ++d.intDigits;
  } else {
    ++d.digits[i - 1];
  }
}

std::string ReferenceFixed(long double v, int n) {
  if (v == 0) return n == 0 ? "0" : "0." + std::string(static_cast<size_t>(n), '0');
  DigitText d = Reference18(std::fabs(v));
  RoundDigitsAt(d, static_cast<size_t>(d.intDigits + n));
  std::string ip = d.digits.substr(0, static_cast<size_t>(d.intDigits));
  std::string fp = d.digits.substr(static_cast<size_t>(d.intDigits));
  ip.erase(0, std::min(ip.find_first_not_of('0'), ip.size() - 1));
  if (ip.empty()) ip = "0";
  fp.resize(static_cast<size_t>(n), '0');
  return (v < 0 ? "-" : "") + ip + (n > 0 ? "." + fp : "");
}

std::string ReferenceGeneral(long double v) {
  if (v == 0) return "0";
  DigitText d = Reference18(std::fabs(v));
  const size_t first = d.digits.find_first_not_of('0');
  if (first == std::string::npos) return "0";
  RoundDigitsAt(d, first + 15);
  if (static_cast<int>(d.digits.size()) < d.intDigits) {
    d.digits.append(static_cast<size_t>(d.intDigits) - d.digits.size(), '0');
  }
  std::string ip = d.digits.substr(0, static_cast<size_t>(d.intDigits));
  std::string fp = d.digits.substr(static_cast<size_t>(d.intDigits));
  ip.erase(0, std::min(ip.find_first_not_of('0'), ip.size() - 1));
  if (ip.empty()) ip = "0";
  while (!fp.empty() && fp.back() == '0') fp.pop_back();
  if (ip == "0" && fp.empty()) return "0";
  return (v < 0 ? "-" : "") + ip + (fp.empty() ? "" : "." + fp);
}

struct FixedCase {
  long double value;
  int decimals;
  const char* text;
};

TEST(FormatFixed, RoundsTheEighteenDigitTextHalfAwayFromZero) {
  const FixedCase cases[] = {
      {5.25L, 1, "5.3"},  // printf would give 5.2
      {0.0625L, 3, "0.063"},
      {2.675L, 2, "2.68"},  // a hair below the tie in binary, a tie in 18 digits
      {0.125L, 2, "0.13"},
      {12.5L, 0, "13"},
      {-2.5L, 0, "-3"},
      {-0.0004L, 3, "-0.000"},
      {-0.0L, 3, "0.000"},
      {0.0L, 0, "0"},
      {100.0L, 3, "100.000"},
      {-3.25L, 1, "-3.3"},
      {9.9996L, 3, "10.000"},
      {0.1L, 20, "0.10000000000000000000"},
      {1.0L / 3, 5, "0.33333"},
      {123456789012.3456789L, 3, "123456789012.346"},
      {1e20L, 2, "100000000000000000000.00"},
      {1e-30L, 2, "0.00"},
      {-1e-30L, 2, "-0.00"},
      {4.0L, -1, "4"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << static_cast<double>(c.value);
  }
}

TEST(FormatGeneral, FifteenDigitsWithoutTrailingZeros) {
  const std::pair<long double, const char*> cases[] = {
      {12.0L, "12"},
      {12.5L, "12.5"},
      {1.0L / 3, "0.333333333333333"},
      {2.0L / 3, "0.666666666666667"},
      {-0.0L, "0"},
      {-7.25L, "-7.25"},
      {123456789.123456789L, "123456789.123457"},
      {0.1L, "0.1"},
      {1e-20L, "0"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(FormatGeneral(value), text) << static_cast<double>(value);
  }
}

// The integer route against the reference over many magnitudes, including
// exact binary ties of the 18-digit rounding and values near powers of ten.
TEST(FormatFixed, AgreesWithTheDigitTextReference) {
  std::mt19937_64 rng(20261210);
  std::uniform_real_distribution<double> unit(1.0, 10.0);
  std::uniform_int_distribution<int> exp10(-22, 24);
  std::vector<long double> values = {0.5L,
                                     1.5L,
                                     0.0005L,
                                     1e17L,
                                     1e18L,
                                     999999999999999999.5L,
                                     9.99999999999999999995L,
                                     1152921504606846976.0L};
  for (int i = 0; i < 20000; ++i) {
    long double v = static_cast<long double>(unit(rng)) * std::pow(10.0L, exp10(rng));
    v += static_cast<long double>(rng() % 1000) * 1e-21L * v;  // use the extra mantissa bits
    values.push_back((i & 1) ? -v : v);
  }
  for (int i = 0; i < 2000; ++i) {
    values.push_back(static_cast<long double>(rng() % 100000) / 8.0L);  // exact halves, quarters
    values.push_back(static_cast<long double>(rng() % 100000) * 0.1L);
  }
  // Odd multiples of 2^-b are exact ties of the 18-digit text for the right b.
  for (int i = 0; i < 4000; ++i) {
    const int b = 10 + i % 12;
    const uint64_t a = (rng() % (uint64_t{1} << (b + 6))) | 1;
    values.push_back(std::ldexp(static_cast<long double>(a), -b));
  }
  for (long double v : values) {
    for (int n : {0, 1, 3, 6, 17, 19}) {
      ASSERT_EQ(FormatFixed(v, n), ReferenceFixed(v, n)) << static_cast<double>(v) << " n=" << n;
    }
    ASSERT_EQ(FormatGeneral(v), ReferenceGeneral(v)) << static_cast<double>(v);
  }
}

TEST(ParseNumber, AcceptsDecimalTexts) {
  // Below the normal range a text still reads as the nearest subnormal.
  constexpr long double kTiny = std::numeric_limits<long double>::denorm_min();
  const std::pair<const char*, long double> cases[] = {
      {"1.5", 1.5L},         {" \t-2 \t", -2.0L},
      {"+3", 3.0L},          {".5", 0.5L},
      {"5.", 5.0L},          {"1e3", 1000.0L},
      {"1E-2", 0.01L},       {"0.1", 0.1L},
      {"-0.25e+1", -2.5L},   {"007", 7.0L},
      {"1e-5000", 0.0L},     {"123456789012345678901", 123456789012345678901.0L},
      {"1e-4940", 1e-4940L}, {"-4e-4951", -kTiny},
      {"2e-4951", kTiny},
  };
  for (const auto& [text, value] : cases) {
    const auto v = ParseNumber(text);
    ASSERT_TRUE(v.has_value()) << text;
    EXPECT_EQ(*v, value) << text;
  }
  // Full 80-bit precision, not a double widened afterwards.
  EXPECT_NE(*ParseNumber("0.1"), static_cast<long double>(0.1));
  EXPECT_TRUE(std::signbit(*ParseNumber("-0")));
}

TEST(ParseNumber, RejectsEverythingElse) {
  for (const char* text :
       {"",     "  ", "-",   "+",  ".",     ",",   "1,5", "inf", "-inf",   "nan",  "infinity",
        "0x10", "1e", "1e+", "e5", "1.2.3", "1 2", "- 1", "+-1", "1e5000", "5 mm", "\n5"}) {
    EXPECT_FALSE(ParseNumber(text).has_value()) << '"' << text << '"';
  }
}

TEST(NotANumberText, QuotesTheText) {
  EXPECT_EQ(NotANumberText("5,0"), "'5,0' ist kein gültiger Gleitkommawert");
  EXPECT_EQ(NotANumberText(""), "'' ist kein gültiger Gleitkommawert");
}

}  // namespace
TEST(NumKey, CommaTypesPointOthersDropped) {
  for (char32_t c : std::u32string(U"0123456789+-.\b")) EXPECT_EQ(CheckNumKey(c), c);
  EXPECT_EQ(CheckNumKey(U','), U'.');
  for (char32_t c : std::u32string(U"aZe E*/ \t\r\x7f\u00e4")) {
    EXPECT_EQ(CheckNumKey(c), std::nullopt) << static_cast<int>(c);
  }
}

}  // namespace korvane
