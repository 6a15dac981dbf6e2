#include <gtest/gtest.h>

#include "mission/Checksum.h"
#include "mission/MissionFile.h"

namespace kestrane {

TEST(Checksum, StandardCheckValues) {
    for (const auto& [text, crc] : {std::pair<std::string, std::uint32_t>{"123456789", 0xCBF43926}, {"", 0},
                                    {"The quick brown fox jumps over the lazy dog", 0x414FA339},
                                    {std::string(32, '\0'), 0x190A55AD}})
        EXPECT_EQ(Crc32({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}), crc) << text;
}

TEST(Checksum, ASavedFileCarriesTheChecksumOfItsOffsets4To399) {
    const ReadResult sample = ReadMission(KESTRANE_EXAMPLES_DIR "/sample.msn");
    ASSERT_TRUE(sample.ok) << sample.error;
    EXPECT_EQ(MissionChecksum(sample.bytes), 0x5FDD9FBDu);
    EXPECT_EQ(StoredChecksum(sample.bytes), 0x5FDD9FBDu);
}

}  // namespace kestrane
