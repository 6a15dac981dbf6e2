#pragma once
// The mission image: the 400 bytes of one mission file in memory, with
// little-endian access by byte offset, and whether a mission has been loaded
// or made yet.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrane {

inline constexpr int kMissionSize = 400;
using MissionBytes = std::array<std::uint8_t, kMissionSize>;

class MissionImage {
public:
    // True once a load or a new mission has filled the image.
    bool loaded() const { return loaded_; }
    const MissionBytes& bytes() const { return bytes_; }

    // Takes the 400 bytes of a file (or of a recovered image) whole.
    void assign(const MissionBytes& bytes) {
        bytes_ = bytes;
        loaded_ = true;
    }
    // A new mission: every byte zero, then the fixed header.
    void makeNew();
    // Stamps the fixed header and then the checksum of the result into the
    // first eight bytes, as a save writes them.
    void seal();

    std::uint8_t u8(int offset) const { return bytes_[at(offset)]; }
    std::uint16_t u16(int offset) const { return static_cast<std::uint16_t>(u8(offset) | u8(offset + 1) << 8); }
    std::uint32_t u32(int offset) const {
        return static_cast<std::uint32_t>(u16(offset)) | static_cast<std::uint32_t>(u16(offset + 2)) << 16;
    }
    void setU8(int offset, std::uint8_t value) { bytes_[at(offset)] = value; }
    void setU16(int offset, std::uint16_t value) {
        setU8(offset, static_cast<std::uint8_t>(value & 0xFFu));
        setU8(offset + 1, static_cast<std::uint8_t>(value >> 8));
    }
    void setU32(int offset, std::uint32_t value) {
        setU16(offset, static_cast<std::uint16_t>(value & 0xFFFFu));
        setU16(offset + 2, static_cast<std::uint16_t>(value >> 16));
    }

private:
    static std::size_t at(int offset) { return static_cast<std::size_t>(offset); }

    MissionBytes bytes_{};
    bool loaded_ = false;
};

}  // namespace kestrane
