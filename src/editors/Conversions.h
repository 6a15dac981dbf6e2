#pragma once
// Conversions between the window's text and the bytes of the image: the
// four-byte numbers, the one-byte count and the mission name.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mission/Grid.h"

namespace kestrane {

// The placeholder that shows a zero byte inside a mission name. It has no
// Windows-1252 code, so it cannot stand for any other byte.
inline constexpr char32_t kNullPlaceholder = 0x2400;  // SYMBOL FOR NULL
inline constexpr std::size_t kNameLength = 24;

using NameBytes = std::array<std::uint8_t, kNameLength>;

struct NameResult {
    std::optional<NameBytes> bytes;
    std::string error;  // a sentence for the status line when refused
};
// Encodes the text of the name box: at most 24 Windows-1252 characters, the
// rest zero.
NameResult EncodeName(std::string_view text);
// The text that shows the 24 name bytes: the zero padding at the end is
// dropped, a zero byte before other characters shows as the placeholder.
std::string DisplayName(const NameBytes& bytes);

struct NumberResult {
    std::optional<std::uint32_t> value;
    std::string error;  // names the box by its caption when refused
};
// Reads a box's text as a whole number in 0..max.
NumberResult ReadWholeNumber(std::string_view caption, std::string_view text, std::uint32_t max);

void WriteU32(Grid& grid, int firstRow, std::uint32_t value);
void WriteU16(Grid& grid, int firstRow, std::uint32_t value);
std::uint32_t ReadU32(const Grid& grid, int firstRow);

}  // namespace kestrane
