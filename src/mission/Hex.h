#pragma once
// Hexadecimal text, the one way the program writes it: upper-case digits,
// with no leading zeros or padded to a width, and bytes as two digits each.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrane {

// "1F" for 31; with digits, padded with zeros to that many ("001F").
std::string Hex(std::uint32_t value, int digits = 0);
// Two digits a byte, no separator.
std::string HexBytes(std::span<const std::uint8_t> bytes);
// The bytes of a text of two hexadecimal digits each (either case), or none
// when the text holds anything else.
std::optional<std::vector<std::uint8_t>> BytesOfHex(std::string_view hex);

}  // namespace kestrane
