#pragma once
// How a number is read from a text box: blanks, tabs and line
// feeds are ignored anywhere; an optional sign, digits with at most one full
// stop, an optional E or D exponent; reading stops at the first character
// that cannot continue the number; no number reads as 0. &H and &O start a
// hexadecimal or octal whole number.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrane {

// Never fails. A value too large for a double, or a hexadecimal/octal number
// wider than 32 bits, reads as an infinity of its sign.
double ReadNumber(std::string_view text);

// The shortest text that ReadNumber reads back as value, laid out as
// std::to_chars lays out a double ("0.5", "300", "1e+05"), in every locale.
std::string NumberText(double value);

// A number brought to the nearest whole number (a half to the even
// neighbour), when it lies in 0..max.
std::optional<std::uint32_t> ToWholeInRange(double value, std::uint32_t max);

}  // namespace kestrane
