#include "mission/Checksum.h"

#include "mission/Grid.h"
#include "ui/Controls.h"

namespace kestrane {

std::string SignedDecimalText(std::uint32_t checksum) {
    return std::to_string(static_cast<std::int32_t>(checksum));
}

std::string ChecksumHexText(std::uint32_t checksum) { return HexText(checksum); }

std::uint8_t ChecksumByte(std::uint32_t checksum, int k) {
    return static_cast<std::uint8_t>((checksum >> (8 * k)) & 0xFFu);
}

std::int32_t Module1::InitCrcTable(std::int32_t polynomial, std::int32_t preset) {
    // The table depends only on the polynomial, so later calls with the same
    // one keep the table already built.
    if (!tableBuilt_ || static_cast<std::uint32_t>(CrcTable[128]) != static_cast<std::uint32_t>(polynomial)) {
        const auto poly = static_cast<std::uint32_t>(polynomial);
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? (c >> 1) ^ poly : (c >> 1);
            CrcTable[i] = static_cast<std::int32_t>(c);
        }
        tableBuilt_ = true;
    }
    return preset;
}

std::int32_t Module1::UpdateCrc(std::string_view text, std::int32_t crc) const {
    auto value = static_cast<std::uint32_t>(crc);
    for (char ch : text) {
        const std::uint32_t index = (value & 0xFFu) ^ static_cast<unsigned char>(ch);
        value = (value >> 8) ^ static_cast<std::uint32_t>(CrcTable[index]);
    }
    return static_cast<std::int32_t>(value);
}

std::uint32_t Module1::ShowChecksum(Label& label1, Label& label2) {
    std::int32_t crc = InitCrcTable(kPolynomial, -1);
    crc = UpdateCrc(ChecksumText, crc);
    const auto checksum = static_cast<std::uint32_t>(InvertCrc(crc));
    label1.Caption = SignedDecimalText(checksum);
    label2.Caption = ChecksumHexText(checksum);
    return checksum;
}

std::uint32_t Crc32(std::string_view bytes) {
    static const Module1 module = [] {
        Module1 m;
        m.InitCrcTable(Module1::kPolynomial, -1);
        return m;
    }();
    return static_cast<std::uint32_t>(Module1::InvertCrc(module.UpdateCrc(bytes, -1)));
}

}  // namespace kestrane
