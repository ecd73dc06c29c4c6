#include "base/numtext.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace korvane {
namespace {

constexpr uint64_t kPow10[] = {1ULL,
                               10ULL,
                               100ULL,
                               1000ULL,
                               10000ULL,
                               100000ULL,
                               1000000ULL,
                               10000000ULL,
                               100000000ULL,
                               1000000000ULL,
                               10000000000ULL,
                               100000000000ULL,
                               1000000000000ULL,
                               10000000000000ULL,
                               100000000000000ULL,
                               1000000000000000ULL,
                               10000000000000000ULL,
                               100000000000000000ULL,
                               1000000000000000000ULL,
                               10000000000000000000ULL};

int DigitCount(uint64_t n) {
  int d = 1;
  while (d < 20 && n >= kPow10[d]) ++d;
  return d;
}

// A positive finite magnitude as the decimal string every fixed and general
// text starts from: 17 decimals below 10, 18 significant digits from 10 on,
// correctly rounded (ties to even, as the exact binary value decides).
// The value of the string is digits * 10^-decimals; decimals < 0 for huge values.
struct Dec18 {
  uint64_t digits = 0;
  int decimals = 0;
};

// Exact integer route for magnitudes below 2^60: the 64-bit mantissa times a
// power of ten fits in 128 bits, so one shift with a remainder rounds exactly.
bool FastDec18(long double mag, Dec18& out) {
  unsigned char raw[sizeof(long double)];
  std::memcpy(raw, &mag, sizeof raw);
  uint64_t m;
  std::memcpy(&m, raw, 8);
  uint16_t se;
  std::memcpy(&se, raw + 8, 2);
  const int biased = se & 0x7FFF;
  if (biased == 0x7FFF) return false;
  // value = m * 2^(exp - 63)
  const int exp = (biased == 0 ? 1 : biased) - 16383;
  if (exp >= 60) return false;
  const int shift = 63 - exp;  // >= 4
  const uint64_t ip = shift >= 64 ? 0 : (m >> shift);
  if (ip >= kPow10[18]) return false;
  int p = 17;
  if (ip >= 10) p = 17 - (DigitCount(ip) - 1);
  const unsigned __int128 prod = static_cast<unsigned __int128>(m) * kPow10[p];
  uint64_t d = 0;
  if (shift < 128) {
    const unsigned __int128 q = prod >> shift;
    const unsigned __int128 rem = prod - (q << shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    d = static_cast<uint64_t>(q);
    if (rem > half || (rem == half && (d & 1))) ++d;
  }
  // prod < 2^121 <= half when shift >= 128, so the digits are 0.
  out.digits = d;
  out.decimals = p;
  return true;
}

// Huge magnitudes (from 2^60 on): the library's correctly rounded 18-digit
// scientific text; such values have no decimals left.
Dec18 SlowDec18(long double mag) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, mag, std::chars_format::scientific, 17);
  Dec18 out;
  const char* p = buf;
  for (; p < res.ptr && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') out.digits = out.digits * 10 + static_cast<uint64_t>(*p - '0');
  }
  int k = 0;
  if (p < res.ptr) std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, k);
  out.decimals = 17 - k;
  return out;
}

Dec18 ToDec18(long double mag) {
  Dec18 d;
  if (!FastDec18(mag, d)) d = SlowDec18(mag);
  return d;
}

void AppendUnsigned(std::string& s, uint64_t n) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, n);
  s.append(buf, res.ptr);
}

// Append q * 10^-decimals; decimals < 0 appends zeros to the integer.
void AppendScaled(std::string& s, uint64_t q, int decimals) {
  if (decimals <= 0) {
    AppendUnsigned(s, q);
    if (q != 0) s.append(static_cast<size_t>(-decimals), '0');
    return;
  }
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, q);
  const int len = static_cast<int>(res.ptr - buf);
  if (len <= decimals) {
    s += "0.";
    s.append(static_cast<size_t>(decimals - len), '0');
    s.append(buf, res.ptr);
  } else {
    s.append(buf, buf + (len - decimals));
    s += '.';
    s.append(buf + (len - decimals), res.ptr);
  }
}

// A checked decimal text whose value lies below the normal range, correctly
// rounded by the C library in the "C" locale.
long double BelowNormalRange(const std::string& text) {
  const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (c == static_cast<locale_t>(0)) return 0;
  const long double v = strtold_l(text.c_str(), nullptr, c);
  freelocale(c);
  return v;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FormatFixed(long double value, int decimals) {
  const int n = decimals < 0 ? 0 : decimals;
  std::string s;
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) {
    s = "0";
    if (n > 0) {
      s += '.';
      s.append(static_cast<size_t>(n), '0');
    }
    return s;
  }
  if (value < 0) s = "-";
  const Dec18 d = ToDec18(std::fabs(value));
  uint64_t q = d.digits;
  int qd = d.decimals;
  if (qd > n) {
    // Half away from zero on the digit string: the sign is not part of it.
    const uint64_t unit = kPow10[qd - n];
    const uint64_t r = q % unit;
    q /= unit;
    if (2 * r >= unit) ++q;
    qd = n;
  }
  AppendScaled(s, q, qd);
  if (n > 0) {
    if (qd <= 0) s += '.';
    s.append(static_cast<size_t>(qd <= 0 ? n : n - qd), '0');
  }
  return s;
}

std::string FormatGeneral(long double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return "0";
  const Dec18 d = ToDec18(std::fabs(value));
  uint64_t q = d.digits;
  int qd = d.decimals;
  const int sig = q == 0 ? 0 : DigitCount(q);
  if (sig > 15) {
    const uint64_t unit = kPow10[sig - 15];
    const uint64_t r = q % unit;
    q /= unit;
    if (2 * r >= unit) ++q;
    qd -= sig - 15;
  }
  while (qd > 0 && q != 0 && q % 10 == 0) {
    q /= 10;
    --qd;
  }
  // A value too small for the 17 decimals reads as plain zero, without a sign.
  if (q == 0) return "0";
  std::string s = value < 0 ? "-" : "";
  AppendScaled(s, q, qd);
  return s;
}

std::optional<long double> ParseNumber(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  const std::string_view t = text.substr(b, e - b);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  const size_t body = i;
  size_t intDigits = 0, fracDigits = 0;
  // Decimal position of the first non-zero digit, to tell overflow from underflow.
  long lead = 0;
  bool seenNonZero = false;
  while (i < t.size() && IsDigit(t[i])) {
    if (seenNonZero || t[i] != '0') {
      if (!seenNonZero) lead = 0;
      seenNonZero = true;
      ++lead;
    }
    ++i;
    ++intDigits;
  }
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) {
      if (!seenNonZero && t[i] != '0') {
        seenNonZero = true;
        lead = -static_cast<long>(fracDigits);
      }
      ++i;
      ++fracDigits;
    }
  }
  if (intDigits + fracDigits == 0) return std::nullopt;
  long exponent = 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) expNegative = t[i++] == '-';
    size_t expDigits = 0;
    while (i < t.size() && IsDigit(t[i])) {
      if (exponent < 1000000) exponent = exponent * 10 + (t[i] - '0');
      ++i;
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
    if (expNegative) exponent = -exponent;
  }
  if (i != t.size()) return std::nullopt;

  long double v = 0;
  const char* first = t.data() + body;
  const char* last = t.data() + t.size();
  auto res = std::from_chars(first, last, v, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large is no number. Too small is the nearest subnormal (0 below
    // them), which from_chars reports as out of range without giving it.
    if (seenNonZero && lead + exponent > 0) return std::nullopt;
    v = BelowNormalRange(std::string(first, last));
  } else if (res.ec != std::errc() || res.ptr != last) {
    return std::nullopt;
  }
  return negative ? -v : v;
}

std::string NotANumberText(std::string_view text) {
  std::string s = "'";
  s += text;
  s += "' ist kein gültiger Gleitkommawert";
  return s;
}

std::optional<char32_t> CheckNumKey(char32_t key) {
  if (key == U',') return U'.';
  if (key == 8 || key == U'+' || key == U'-' || key == U'.' || (key >= U'0' && key <= U'9')) {
    return key;
  }
  return std::nullopt;
}

}  // namespace korvane
