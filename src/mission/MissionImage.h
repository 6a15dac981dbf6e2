#pragma once
// The mission image: the 400 bytes of one mission file in memory, with
// little-endian access by byte offset or by field, and whether a mission has
// been loaded or made yet.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrane {

inline constexpr int kMissionSize = 400;
using MissionBytes = std::array<std::uint8_t, kMissionSize>;

struct Field;

class MissionImage {
public:
    // True once a load or a new mission has filled the image.
    bool Loaded() const { return loaded_; }
    const MissionBytes& Bytes() const { return bytes_; }

    // Takes the 400 bytes of a file (or of a recovered image) whole.
    void Assign(const MissionBytes& bytes) {
        bytes_ = bytes;
        loaded_ = true;
    }
    // A new mission: every byte zero, then the fixed header.
    void MakeNew();
    // Stamps the fixed header and then the checksum of the result into the
    // first eight bytes, as a save writes them.
    void Seal();

    std::uint8_t U8(int offset) const { return bytes_[At(offset)]; }
    std::uint16_t U16(int offset) const { return static_cast<std::uint16_t>(U8(offset) | U8(offset + 1) << 8); }
    std::uint32_t U32(int offset) const {
        return static_cast<std::uint32_t>(U16(offset)) | static_cast<std::uint32_t>(U16(offset + 2)) << 16;
    }
    void SetU8(int offset, std::uint8_t value) { bytes_[At(offset)] = value; }
    void SetU16(int offset, std::uint16_t value) {
        SetU8(offset, static_cast<std::uint8_t>(value & 0xFFu));
        SetU8(offset + 1, static_cast<std::uint8_t>(value >> 8));
    }
    void SetU32(int offset, std::uint32_t value) {
        SetU16(offset, static_cast<std::uint16_t>(value & 0xFFFFu));
        SetU16(offset + 2, static_cast<std::uint16_t>(value >> 16));
    }

    // A number field of one, two or four bytes as its unsigned value, and
    // back; a value wider than the field keeps its low bytes.
    std::uint32_t Read(const Field& field) const;
    void Write(const Field& field, std::uint32_t value);

private:
    static std::size_t At(int offset) { return static_cast<std::size_t>(offset); }

    MissionBytes bytes_{};
    bool loaded_ = false;
};

}  // namespace kestrane
