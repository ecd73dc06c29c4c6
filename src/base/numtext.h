#pragma once
// Locale-independent conversions between numbers and text. Every place that
// reads a typed number or writes a number in fixed or general notation uses
// these, so the desktop program, korvane-cli and the exports agree to the digit.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Read a decimal number: optional blanks/tabs around, optional sign, digits
// with an optional ".", optional exponent e/E. Rejects empty text, a lone sign,
// ",", inf, nan and hexadecimal. The result is the correctly rounded 80-bit value.
std::optional<long double> ParseNumber(std::string_view text);

// "'%s' ist kein gültiger Gleitkommawert" for the given text.
std::string NotANumberText(std::string_view text);

// Fixed notation with `decimals` decimals: the magnitude as a correctly rounded
// 18-significant-digit string (17 decimals below 10), then rounded half away
// from zero at the last kept decimal. A negative value that rounds to zero
// keeps its "-"; negative zero is written without a sign.
std::string FormatFixed(long double value, int decimals);

// General notation of the exports: at most 15 significant digits from the same
// 18-digit string, rounded half up, trailing zeros and a trailing point removed.
std::string FormatGeneral(long double value);

// Key filter of the numeric fields: backspace (8), "+", ",", "-", "." and the
// digits pass, "," becomes "."; any other key is dropped (nothing returned).
std::optional<char32_t> CheckNumKey(char32_t key);

}  // namespace korvane
