#include "mission/Checksum.h"

#include <array>

namespace kestrane {

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

constexpr std::array<std::uint32_t, 256> kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? (c >> 1) ^ kPolynomial : (c >> 1);
        table[i] = c;
    }
    return table;
}();

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes) crc = (crc >> 8) ^ kTable[(crc ^ b) & 0xFFu];
    return ~crc;
}

std::uint32_t MissionChecksum(const MissionBytes& bytes) {
    return Crc32(std::span(bytes).subspan(kChecksumStart));
}

std::uint32_t StoredChecksum(const MissionBytes& bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace kestrane
