#include "mission/MissionImage.h"

#include "mission/Checksum.h"
#include "mission/Fields.h"

namespace kestrane {

void MissionImage::MakeNew() {
    bytes_.fill(0);
    loaded_ = true;
    Seal();
    SetU32(kStoredChecksumField.offset, 0);  // the checksum is computed only when saving
}

void MissionImage::Seal() {
    for (int k = 0; k < kFixedHeaderField.width; ++k)
        SetU8(kFixedHeaderField.offset + k, kFixedHeader[static_cast<std::size_t>(k)]);
    SetU32(kStoredChecksumField.offset, MissionChecksum(bytes_));
}

std::uint32_t MissionImage::Read(const Field& field) const {
    switch (field.width) {
    case 1: return U8(field.offset);
    case 2: return U16(field.offset);
    default: return U32(field.offset);
    }
}

void MissionImage::Write(const Field& field, std::uint32_t value) {
    switch (field.width) {
    case 1: return SetU8(field.offset, static_cast<std::uint8_t>(value));
    case 2: return SetU16(field.offset, static_cast<std::uint16_t>(value));
    default: return SetU32(field.offset, value);
    }
}

}  // namespace kestrane
