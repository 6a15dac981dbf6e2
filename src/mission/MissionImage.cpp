#include "mission/MissionImage.h"

#include "mission/Checksum.h"
#include "mission/Fields.h"

namespace kestrane {

void MissionImage::makeNew() {
    bytes_.fill(0);
    loaded_ = true;
    for (int k = 0; k < 4; ++k) setU8(kFixedHeaderField.offset + k, kFixedHeader[static_cast<std::size_t>(k)]);
}

void MissionImage::seal() {
    for (int k = 0; k < 4; ++k) setU8(kFixedHeaderField.offset + k, kFixedHeader[static_cast<std::size_t>(k)]);
    setU32(kStoredChecksumField.offset, MissionChecksum(bytes_));
}

}  // namespace kestrane
