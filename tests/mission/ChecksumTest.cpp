#include <gtest/gtest.h>

#include "TestSupport.h"
#include "mission/Checksum.h"

namespace kestrane {
namespace {

TEST(Checksum, TableEntriesAreTheStandardCrc32Table) {
    Module1 m;
    EXPECT_EQ(m.InitCrcTable(Module1::kPolynomial, -1), -1);
    EXPECT_EQ(static_cast<std::uint32_t>(m.CrcTable[0]), 0u);
    EXPECT_EQ(static_cast<std::uint32_t>(m.CrcTable[1]), 0x77073096u);
    EXPECT_EQ(static_cast<std::uint32_t>(m.CrcTable[128]), 0xEDB88320u);
    EXPECT_EQ(static_cast<std::uint32_t>(m.CrcTable[255]), 0x2D02EF8Du);
}

TEST(Checksum, CheckValueShowsInEveryFormat) {
    Module1 m;
    Label l1, l2;
    m.ChecksumText = "123456789";
    const std::uint32_t crc = m.ShowChecksum(l1, l2);
    EXPECT_EQ(crc, 0xCBF43926u);
    EXPECT_EQ(l1.Caption, "-873187034");
    EXPECT_EQ(l2.Caption, "CBF43926");
    const std::uint8_t bytes[] = {38, 57, 244, 203};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(ChecksumByte(crc, k), bytes[k]);
    // Empty input leaves the running value as preset.
    EXPECT_EQ(m.UpdateCrc("", 12345), 12345);
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
}

TEST(Checksum, DisplayFormats) {
    struct Case { std::uint32_t value; const char* decimal; const char* hex; std::array<int, 4> bytes; };
    const Case cases[] = {
        {0x0012ABCD, "1223629", "12ABCD", {205, 171, 18, 0}},  // top digits zero: six digits, byte 3 still 0
        {0x3F7BCB7A, "1065077626", "3F7BCB7A", {122, 203, 123, 63}},
        {0x80000000, "-2147483648", "80000000", {0, 0, 0, 128}},
        {0, "0", "0", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SignedDecimalText(c.value), c.decimal);
        EXPECT_EQ(ChecksumHexText(c.value), c.hex);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(ChecksumByte(c.value, k), c.bytes[static_cast<std::size_t>(k)]);
    }
}

TEST(Checksum, CoversOffsetsFourToEnd) {
    test::Editor e;
    e.form->Command3_Click();
    e.form->RefreshChecksum();
    EXPECT_EQ(e.form->Label2.Caption, "3F7BCB7A");
    EXPECT_EQ(e.form->Label1.Caption, "1065077626");
    EXPECT_EQ(e.form->module1.ChecksumText.size(), 396u);

    e.form->G.SetByte(1, 99);  // the stored checksum is not part of the input
    e.form->RefreshChecksum();
    EXPECT_EQ(e.form->Label2.Caption, "3F7BCB7A");

    e.form->G.SetByte(400, 1);  // the last byte is
    e.form->RefreshChecksum();
    EXPECT_NE(e.form->Label2.Caption, "3F7BCB7A");
}

}  // namespace
}  // namespace kestrane
