#pragma once
// The CRC-32 (reflected polynomial EDB88320, preset all ones, final
// complement) that a mission file stores over its offsets 4 to 399.

#include <cstdint>
#include <span>

#include "mission/MissionImage.h"

namespace kestrane {

inline constexpr int kChecksumStart = 4;  // the checksum covers offsets 4..399

std::uint32_t Crc32(std::span<const std::uint8_t> bytes);
// The checksum a mission's first four bytes should hold.
std::uint32_t MissionChecksum(const MissionBytes& bytes);
// The checksum its first four bytes do hold.
std::uint32_t StoredChecksum(const MissionBytes& bytes);

}  // namespace kestrane
