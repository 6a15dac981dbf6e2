#include <gtest/gtest.h>


#include "TestSupport.h"
#include "editors/Conversions.h"
#include "mission/Checksum.h"

namespace kestrane {
namespace {

using test::Editor;
using test::Mission;

// Stamps the correct checksum of offsets 4..399 into offsets 0..3.
void Stamp(MissionBytes& m) {
    const std::uint32_t crc = Crc32(std::string_view(reinterpret_cast<const char*>(m.data()) + 4, 396));
    test::SetU32(m, 0, crc);
}

TEST(Load, RowsHoldOffsetsPlusOneInEveryColumn) {
    Editor e;
    MissionBytes m{};
    for (int i = 0; i < 400; ++i) m[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 3);
    m[0] = 7;
    m[399] = 0xAB;
    e.Load(m);
    const Grid& g = e.form->G;
    EXPECT_EQ(g.TextMatrix(1, 0), "1");
    EXPECT_EQ(g.TextMatrix(1, 1), "0");
    EXPECT_EQ(g.TextMatrix(1, 2), "7");
    EXPECT_EQ(g.TextMatrix(400, 0), "400");
    EXPECT_EQ(g.TextMatrix(400, 1), "18F");
    EXPECT_EQ(g.TextMatrix(400, 2), "171");
    EXPECT_EQ(g.TextMatrix(400, 3), "AB");
    EXPECT_EQ(g.TextMatrix(400, 4), "\xC2\xAB");  // the character of code 0xAB
    EXPECT_EQ(g.TextMatrix(10, 5), "Instant Action");
    // Decoding writes nothing back: column 2 is exactly the file.
    for (int r = 1; r <= 400; ++r) ASSERT_EQ(g.Byte(r), m[static_cast<std::size_t>(r - 1)]) << "row " << r;
    EXPECT_TRUE(e.form->MissionOpen);
    EXPECT_EQ(e.form->Label16.Caption, (e.dir / "in.msn").string());
    EXPECT_EQ(e.dialog.DefaultExt, "msn");
    EXPECT_EQ(e.dialog.InitDir, e.dir.path().string());
    EXPECT_EQ(e.dialog.Filter, "Mission files(*.msn) |*.msn");
}

TEST(Load, StoredChecksumIsUnsignedAndComputedOneSigned) {
    Editor e;
    // Search for contents whose checksum has bit 31 set, and one without.
    for (bool high : {false, true}) {
        MissionBytes m = Mission({{4, 101}, {5, 2}, {7, 170}});
        for (int seed = 0;; ++seed) {
            m[100] = static_cast<std::uint8_t>(seed);
            Stamp(m);
            if (((m[3] & 0x80) != 0) == high) break;
        }
        e.Load(m);
        const std::uint32_t crc = Crc32(std::string_view(reinterpret_cast<const char*>(m.data()) + 4, 396));
        EXPECT_EQ(e.form->Label15.Caption, std::to_string(crc));
        EXPECT_EQ(e.form->Label1.Caption, std::to_string(static_cast<std::int32_t>(crc)));
        EXPECT_EQ(e.form->Label15.Caption == e.form->Label1.Caption, !high);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(e.form->Label18[static_cast<std::size_t>(k)].Caption, std::to_string(m[static_cast<std::size_t>(k)]));
    }
}

TEST(Load, StoredChecksumHexBytesHaveNoSeparatorOrLeadingZero) {
    Editor e;
    e.Load(Mission({{0, 10}, {1, 0}, {2, 255}, {3, 1}}));
    EXPECT_EQ(e.form->Label3.Caption, "A0FF1");
    EXPECT_EQ(e.form->Label15.Caption, std::to_string(10u + 255u * 65536u + 16777216u));
}

TEST(Load, InstantActionTicksOnlyFor128) {
    for (int value : {0, 1, 5, 127, 128, 255}) {
        Editor e;
        e.form->IA.Value = 1;
        e.Load(Mission({{9, static_cast<std::uint8_t>(value)}}));
        EXPECT_EQ(e.form->IA.Value, value == 128 ? 1 : 0) << value;
        EXPECT_EQ(e.Byte(9), value);
    }
}

TEST(Load, AircraftCodesShowNamesNumbersAndSpecialValues) {
    struct Case { int offset; std::uint8_t value; Label Form1::*name; Label Form1::*number; const char* shown; };
    const Case cases[] = {
        {304, 254, &Form1::AP2L, &Form1::AP2N, "None"},
        {304, 255, &Form1::AP2L, &Form1::AP2N, "Random"},
        {304, 3, &Form1::AP2L, &Form1::AP2N, " 3:Plane 3"},
        {320, 254, &Form1::DP1L, &Form1::DP1N, ""},  // no None for the enemy primary: item 254, empty
        {320, 255, &Form1::DP1L, &Form1::DP1N, "Random"},
        {324, 254, &Form1::DP2L, &Form1::DP2N, "None"},
        {324, 255, &Form1::DP2L, &Form1::DP2N, "Random"},
        {356, 255, &Form1::AP1L, &Form1::AP1N, ""},  // no codes for attack plane 1
        {356, 10, &Form1::AP1L, &Form1::AP1N, "Random"},  // position N of a 10-entry catalogue
        {356, 11, &Form1::AP1L, &Form1::AP1N, "None"},
    };
    for (const Case& c : cases) {
        Editor e;
        e.Load(Mission({{c.offset, c.value}, {c.offset + 1, 255}}));
        EXPECT_EQ((e.form.get()->*c.name).Caption, c.shown) << c.offset << "=" << int(c.value);
        EXPECT_EQ((e.form.get()->*c.number).Caption, std::to_string(c.value));
    }
}

TEST(Load, PlaceCodesAreLowPlus256High) {
    Editor e(10, 400);
    e.Load(Mission({{288, 44}, {289, 1}, {300, 5}, {301, 0}}));
    EXPECT_EQ(e.form->Targl.Caption, " 300:Place 300");
    EXPECT_EQ(e.form->TargLN.Caption, "300");
    EXPECT_EQ(e.form->HBL.Caption, " 5:Place 5");
    EXPECT_EQ(e.form->HBN.Caption, "5");

    Editor small(10, 3);  // past the end of the list: an empty name
    small.Load(Mission({{288, 44}, {289, 1}}));
    EXPECT_EQ(small.form->Targl.Caption, "");
    EXPECT_EQ(small.form->TargLN.Caption, "300");
}

TEST(Load, OptionGroupsSelectTheStoredIndexAndKeepTheirStateForValuesWithoutMember) {
    Editor e;
    e.Load(Mission({{272, 2}, {276, 3}, {280, 4}, {284, 4}, {296, 1}, {308, 2}, {312, 3}, {316, 1}, {328, 2}, {332, 3}}));
    EXPECT_EQ(e.form->Yrbut.Value, 2);
    EXPECT_EQ(e.form->TOD.Value, 3);
    EXPECT_EQ(e.form->Weather.Value, 4);
    EXPECT_EQ(e.form->MTBut.Value, 4);
    EXPECT_EQ(e.form->PAlt.Value, 1);
    EXPECT_EQ(e.form->AP2But.Value, 2);
    EXPECT_EQ(e.form->Pskill.Value, 3);
    EXPECT_EQ(e.form->BSBut.Value, 1);
    EXPECT_EQ(e.form->EPskill.Value, 2);
    EXPECT_EQ(e.form->AAA.Value, 3);

    e.Load(Mission({{272, 7}, {280, 5}}));
    EXPECT_EQ(e.form->Yrbut.Value, 2);  // no member 7: left as it was
    EXPECT_EQ(e.form->Weather.Value, 4);
    EXPECT_EQ(e.Byte(272), 7);          // and the byte stays as read
    EXPECT_EQ(e.form->TOD.Value, 0);
}

TEST(Load, NumbersShowUnsignedDecimal) {
    Editor e;
    MissionBytes m = Mission({{292, 12}});
    test::SetU32(m, 368, 10000);
    test::SetU32(m, 372, 0xFFFFFFFF);
    test::SetU32(m, 392, 2147483648u);
    test::SetU32(m, 396, 1);
    test::SetU32(m, 344, 2);
    test::SetU32(m, 348, 3);
    test::SetU32(m, 352, 4);
    test::SetU32(m, 336, 5);
    test::SetU32(m, 340, 6);
    e.Load(m);
    const Form1& f = *e.form;
    EXPECT_EQ(f.AltText[0].Text, "10000");
    EXPECT_EQ(f.AltText[1].Text, "4294967295");
    EXPECT_EQ(f.AltText[2].Text, "2147483648");
    EXPECT_EQ(f.AltText[3].Text, "1");
    EXPECT_EQ(f.MWeather.Text, "2");
    EXPECT_EQ(f.MDate.Text, "3");
    EXPECT_EQ(f.TOffset.Text, "4");
    EXPECT_EQ(f.UKN[0].Text, "5");
    EXPECT_EQ(f.UKN[1].Text, "6");
    EXPECT_EQ(f.AP1Num.Text, "12");
}

TEST(Load, MissionNamePaddingShowsAsNothingAndInnerZerosAsPlaceholder) {
    Editor e;
    MissionBytes m{};
    const std::string name = "Dogfight";
    for (std::size_t i = 0; i < name.size(); ++i) m[12 + i] = static_cast<std::uint8_t>(name[i]);
    m[36] = 'Z';  // the byte after the name is not part of it
    e.Load(m);
    EXPECT_EQ(e.form->Text1.Text, "Dogfight");
    EXPECT_EQ(e.form->Label17.Caption, "Dogfight");

    m[13] = 0;
    m[35] = 0x80;  // a full 24-byte name ending in the euro sign
    e.Load(m);
    EXPECT_EQ(e.form->Text1.Text, "D\u2400gfight\u2400\u2400\u2400\u2400\u2400\u2400\u2400\u2400\u2400\u2400\u2400\u2400\u2400\u2400\u2400€");
    // Written back, the name gives the same bytes.
    e.Press("Text1");
    for (int i = 12; i < 36; ++i) EXPECT_EQ(e.Byte(i), m[static_cast<std::size_t>(i)]) << i;
}

TEST(Load, CancelKeepsImageButLocksEditors) {
    Editor e;
    e.Load(Mission({{272, 1}}));
    const auto cells = test::ImageCells(*e.form);
    e.form->Command2_Click();  // no scripted answer: cancel
    EXPECT_FALSE(e.form->MissionOpen);
    EXPECT_EQ(test::ImageCells(*e.form), cells);
    e.form->Yrbut_Click(3);
    EXPECT_EQ(e.Byte(272), 1);
    EXPECT_EQ(e.form->Yrbut.Value, 3);  // the screen changes, the image does not
}

}  // namespace
}  // namespace kestrane
