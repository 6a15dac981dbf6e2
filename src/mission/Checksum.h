#pragma once
// The CRC-32 (reflected polynomial 0xEDB88320, preset all ones, final
// complement) that a mission file stores over its offsets 4 to 399.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrane {

struct Label;

// Display formats of the computed checksum.
std::string SignedDecimalText(std::uint32_t checksum);  // Label1: read as signed 32-bit
std::string ChecksumHexText(std::uint32_t checksum);    // Label2: upper-case, no leading zeros
std::uint8_t ChecksumByte(std::uint32_t checksum, int k);  // Label18(k): byte k, least significant first

class Module1 {
public:
    static constexpr std::int32_t kPolynomial = static_cast<std::int32_t>(0xEDB88320u);

    std::array<std::int32_t, 256> CrcTable{};
    // One character (byte) per image byte of offsets 4..399.
    std::string ChecksumText;

    // Fills CrcTable from the polynomial and returns the preset, which starts
    // the running value.
    std::int32_t InitCrcTable(std::int32_t polynomial, std::int32_t preset);
    // Feeds every byte of the text, in order, into the running value.
    std::int32_t UpdateCrc(std::string_view text, std::int32_t crc) const;
    static std::int32_t InvertCrc(std::int32_t value) { return ~value; }

    // Computes the checksum of ChecksumText and shows it in the two labels;
    // returns it for the caller that splits it into bytes.
    std::uint32_t ShowChecksum(Label& label1, Label& label2);

private:
    bool tableBuilt_ = false;
};

// CRC-32 of a byte range, the same computation without the window state.
std::uint32_t Crc32(std::string_view bytes);

}  // namespace kestrane
