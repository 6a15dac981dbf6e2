#include <gtest/gtest.h>

#include "TestSupport.h"

namespace kestrane {
namespace {

using test::Editor;
using test::Mission;
using Bytes = std::vector<std::uint8_t>;

struct Open : Editor {
    explicit Open(int planes = 10, int targets = 20) : Editor(planes, targets) { form->Command3_Click(); }
};

TEST(OptionGroups, ClickWritesTheIndexIntoTheFieldAndItsCopy) {
    struct Case { const char* group; int index; std::vector<int> offsets; };
    const Case cases[] = {
        {"Yrbut", 3, {272}}, {"TOD", 2, {276}}, {"Weather", 4, {280}}, {"MTBut", 4, {284}},
        {"PAlt", 1, {296}}, {"AP2But", 3, {308}}, {"Pskill", 3, {312, 364}},
        {"BSBut", 1, {316, 376}}, {"EPskill", 1, {328, 388}}, {"AAA", 3, {332}},
    };
    for (const Case& c : cases) {
        Open e;
        const auto before = test::ImageColumn(*e.form);
        e.form->Click(c.group, c.index);
        auto after = test::ImageColumn(*e.form);
        for (int offset : c.offsets) {
            EXPECT_EQ(after[static_cast<std::size_t>(offset)], std::to_string(c.index)) << c.group;
            after[static_cast<std::size_t>(offset)] = before[static_cast<std::size_t>(offset)];
        }
        EXPECT_EQ(after, before) << c.group << ": only the field and its copy change";
        EXPECT_EQ(e.form->Find<OptionGroup>(c.group)->Value, c.index);
    }
}

TEST(OptionGroups, WriteNothingWithoutAMissionAndOnlyTheirByteAfterALoad) {
    Editor e;
    e.form->Yrbut_Click(3);
    EXPECT_EQ(e.form->G.TextMatrix(273, 2), "");
    EXPECT_EQ(e.form->Yrbut.Value, 3);

    e.Load(Mission({{272, 0}, {273, 9}, {274, 9}, {275, 9}, {312, 2}, {364, 0}}));
    EXPECT_EQ(e.form->Pskill.Value, 2);
    EXPECT_EQ(e.Byte(364), 0);  // the copy keeps its difference until edited
    e.form->Yrbut_Click(1);
    EXPECT_EQ(e.Bytes(272, 4), (Bytes{1, 9, 9, 9}));
    EXPECT_EQ(e.form->G.TextMatrix(273, 3), "0");  // other columns keep the loaded text
}

TEST(NumericFields, EnterCommitsFourLittleEndianBytes) {
    struct Case { const char* text; Bytes bytes; };
    const Case cases[] = {
        {"1500", {220, 5, 0, 0}}, {"2147483647", {255, 255, 255, 127}}, {"", {0, 0, 0, 0}},
        {"2 500", {196, 9, 0, 0}}, {"1.5E3", {220, 5, 0, 0}}, {"12abc", {12, 0, 0, 0}},
        {"1,500", {1, 0, 0, 0}}, {"4294967295", {255, 255, 255, 255}}, {"255.6", {0, 1, 0, 0}},
        {"&H10000", {0, 0, 1, 0}}, {"2.5", {2, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Open e;
        e.form->TOffset.Text = c.text;
        e.Press("TOffset");
        EXPECT_EQ(e.Bytes(352, 4), c.bytes) << c.text;
        EXPECT_EQ(e.form->TOffset.Text, c.text);  // the box keeps the text as typed
    }
}

TEST(NumericFields, EachBoxWritesOnlyItsRows) {
    struct Case { const char* box; int index; int offset; };
    const Case cases[] = {
        {"AltText", 0, 368}, {"AltText", 1, 372}, {"AltText", 2, 392}, {"AltText", 3, 396},
        {"MDate", -1, 348}, {"MWeather", -1, 344}, {"TOffset", -1, 352}, {"UKN", 0, 336}, {"UKN", 1, 340},
    };
    for (const Case& c : cases) {
        Open e;
        const auto before = test::ImageColumn(*e.form);
        e.form->Find<TextBox>(c.box, c.index)->Text = "16909060";  // 04 03 02 01
        int other = 'a';
        e.form->KeyPress(c.box, c.index, other);
        EXPECT_EQ(test::ImageColumn(*e.form), before) << "a key other than Enter writes nothing";
        e.Press(c.box, c.index);
        auto after = test::ImageColumn(*e.form);
        EXPECT_EQ(e.Bytes(c.offset, 4), (Bytes{4, 3, 2, 1})) << c.box << c.index;
        for (int k = 0; k < 4; ++k) after[static_cast<std::size_t>(c.offset + k)] = before[static_cast<std::size_t>(c.offset + k)];
        EXPECT_EQ(after, before) << c.box << c.index;
    }
}

TEST(NumericFields, EnterWithoutAMissionDoesNothing) {
    Editor e;
    e.Load(Mission());
    e.form->Command2_Click();  // cancelled: editors locked
    const auto before = test::ImageColumn(*e.form);
    e.form->AltText[0].Text = "1500";
    e.Press("AltText", 0);
    e.form->AP1Num.Text = "3";
    e.Press("AP1Num");
    e.form->Text1.Text = "X";
    e.Press("Text1");
    EXPECT_EQ(test::ImageColumn(*e.form), before);
}

TEST(AttackPlane1Count, RoundsHalfToEvenAndReadsLikeTheOtherBoxes) {
    struct Case { const char* text; int byte; };
    const Case cases[] = {{"12", 12}, {"2.5", 2}, {"3.5", 4}, {"abc", 0}, {"&HFF", 255}, {" 1 2 ", 12}};
    for (const Case& c : cases) {
        Open e;
        e.form->AP1Num.Text = c.text;
        e.Press("AP1Num");
        EXPECT_EQ(e.Byte(292), c.byte) << c.text;
        EXPECT_EQ(e.Byte(293), 0);
    }
}

TEST(MissionName, EnterWritesCodesAndZeroPadding) {
    Open e;
    e.form->Text1.Text = "Dogfight";
    e.Press("Text1");
    EXPECT_EQ(e.Bytes(12, 8), (Bytes{68, 111, 103, 102, 105, 103, 104, 116}));
    EXPECT_EQ(e.Bytes(20, 16), Bytes(16, 0));

    e.form->Text1.Text = "Caf\xC3\xA9 \xE2\x82\xAC";  // é and € are Windows-1252 characters
    e.Press("Text1");
    EXPECT_EQ(e.Bytes(12, 6), (Bytes{'C', 'a', 'f', 0xE9, ' ', 0x80}));

    e.form->Text1.Text = std::string(24, 'x');
    e.Press("Text1");
    EXPECT_EQ(e.Byte(35), 'x');

    e.form->G.SetByte(37, 77);
    e.form->Text1.Text = std::string(25, 'y');  // refused: offset 36 and beyond never change
    e.Press("Text1");
    EXPECT_EQ(e.Byte(12), 'x');
    EXPECT_EQ(e.Byte(36), 77);
    EXPECT_NE(e.form->StatusLine.Caption.find("25 characters"), std::string::npos);

    e.form->Text1.Text = "";
    e.Press("Text1");
    EXPECT_EQ(e.Bytes(12, 24), Bytes(24, 0));
}

TEST(InstantAction, TickWrites128AndUntickZeroOnlyWithAMission) {
    Editor e;
    e.form->IA.Value = 1;
    e.form->IA_Click();
    EXPECT_EQ(e.form->G.TextMatrix(10, 2), "");
    e.form->Command3_Click();
    e.form->Click("IA");
    EXPECT_EQ(e.Byte(9), 128);
    e.form->IA.Value = 0;
    e.form->IA_Click();
    EXPECT_EQ(e.Byte(9), 0);

    e.Load(Mission({{9, 5}}));
    EXPECT_EQ(e.form->IA.Value, 0);
    EXPECT_EQ(e.Byte(9), 5);
}

TEST(AircraftSlots, PicksFollowEachSlotsRandomAndNoneRules) {
    constexpr int N = 10;  // Random at 10, None at 11
    struct Case {
        const char* label;
        int pick;
        std::vector<std::pair<int, Bytes>> fields;  // expected bytes, empty: no change
        const char* name;
        const char* number;
    };
    const Bytes none{254, 255, 255, 255}, random{255, 255, 255, 255};
    const Case cases[] = {
        {"DP2L", 7, {{324, {7, 0, 0, 0}}, {384, {7, 0, 0, 0}}}, " 7:Plane 7", "7"},
        {"AP2L", N + 1, {{304, none}, {360, none}}, "None", ""},
        {"AP2L", N, {{304, random}, {360, random}}, "Random", ""},
        {"AP1L", N, {{356, {N, 0, 0, 0}}}, "Random", "10"},
        {"AP1L", N + 1, {}, nullptr, nullptr},
        {"DP1L", N + 1, {}, nullptr, nullptr},
        {"DP1L", N, {{320, random}, {380, random}}, "Random", ""},
        {"DP2L", N + 1, {{324, none}, {384, none}}, "None", ""},
        {"AP1L", 0, {{356, {0, 0, 0, 0}}}, " 0:Plane 0", "0"},
    };
    for (const Case& c : cases) {
        Open e(N);
        Label* name = e.form->Find<Label>(c.label);
        name->Caption = "before";
        const auto before = test::ImageColumn(*e.form);
        e.form->List1.ListIndex = c.pick;
        e.form->Click(c.label);
        auto after = test::ImageColumn(*e.form);
        for (const auto& [offset, bytes] : c.fields) {
            EXPECT_EQ(e.Bytes(offset, 4), bytes) << c.label << " pick " << c.pick;
            for (int k = 0; k < 4; ++k) after[static_cast<std::size_t>(offset + k)] = before[static_cast<std::size_t>(offset + k)];
        }
        EXPECT_EQ(after, before) << c.label << " pick " << c.pick;
        EXPECT_EQ(name->Caption, c.name ? c.name : "before") << c.label << " pick " << c.pick;
        if (c.number) {
            std::string numberLabel = c.label;
            numberLabel.back() = 'N';  // AP1L -> AP1N
            EXPECT_EQ(e.form->Find<Label>(numberLabel)->Caption, c.number);
        }
        EXPECT_EQ(e.form->List1.ListIndex, c.pick);  // the selection is left alone
    }
}

TEST(AircraftSlots, BeforeAMissionOnlyRandomAndNoneForAttackPlane2) {
    Editor e;
    e.form->List1.ListIndex = 11;
    e.form->AP2L_Click();
    EXPECT_EQ(e.form->AP2L.Caption, "None");
    EXPECT_EQ(e.form->G.TextMatrix(305, 2), "254");
    EXPECT_EQ(e.form->G.TextMatrix(361, 2), "254");

    e.form->List1.ListIndex = 3;
    e.form->AP2L_Click();
    EXPECT_EQ(e.form->AP2L.Caption, "None");
    for (const char* other : {"AP1L", "DP1L", "DP2L"}) {
        e.form->List1.ListIndex = 10;
        e.form->Click(other);
        EXPECT_EQ(e.form->Find<Label>(other)->Caption, "") << other;
    }
    EXPECT_EQ(e.form->G.TextMatrix(321, 2), "");
}

TEST(AircraftSlots, EmptyCatalogueMakesRandomPositionZero) {
    Open e(0);
    e.form->List1.ListIndex = 0;
    e.form->AP1L_Click();
    EXPECT_EQ(e.form->AP1L.Caption, "Random");
    EXPECT_EQ(e.Bytes(356, 4), (Bytes{0, 0, 0, 0}));
}

TEST(AircraftSlots, NoSelectionAndUnstorablePositionsChangeNothing) {
    Open e(300);
    const auto before = test::ImageColumn(*e.form);
    for (const char* slot : {"AP1L", "AP2L", "DP1L", "DP2L"}) {
        e.form->List1.ListIndex = -1;
        e.form->Click(slot);
        EXPECT_NE(e.form->StatusLine.Caption.find("Select an aircraft"), std::string::npos);
    }
    struct Case { const char* slot; int pick; bool stored; };
    const Case cases[] = {
        {"AP2L", 253, true}, {"AP2L", 254, false}, {"DP2L", 254, false}, {"DP1L", 254, true},
        {"DP1L", 255, false}, {"AP1L", 255, true}, {"AP1L", 256, false}, {"AP1L", 300, false},  // Random at 300
    };
    for (const Case& c : cases) {
        Open f(300);
        f.form->List1.ListIndex = c.pick;
        f.form->Click(c.slot);
        EXPECT_EQ(f.form->Find<Label>(c.slot)->Caption.empty(), !c.stored) << c.slot << c.pick;
        if (!c.stored) {
            EXPECT_NE(f.form->StatusLine.Caption.find("cannot be stored"), std::string::npos);
        }
    }
    EXPECT_EQ(test::ImageColumn(*e.form), before);
}

TEST(AircraftSlots, NumberLabelOfEnemySecondaryMeansNone) {
    Editor e;
    e.form->DP2N.Caption = "7";
    e.form->DP2N_Click();  // labels change at any time
    EXPECT_EQ(e.form->DP2L.Caption, "None");
    EXPECT_EQ(e.form->DP2N.Caption, "");
    EXPECT_EQ(e.form->G.TextMatrix(325, 2), "");
    e.form->Command3_Click();
    e.form->DP2N_Click();  // and with a mission open the code is stored too
    EXPECT_EQ(e.Bytes(324, 4), (Bytes{254, 255, 255, 255}));
    EXPECT_EQ(e.Bytes(384, 4), (Bytes{254, 255, 255, 255}));
}

TEST(Places, PicksStoreTwoByteCodes) {
    Open e(10, 400);
    e.form->List2.ListIndex = 5;
    e.form->Targl_Click();
    EXPECT_EQ(e.Bytes(288, 4), (Bytes{5, 0, 0, 0}));
    EXPECT_EQ(e.form->TargLN.Caption, "5");
    EXPECT_EQ(e.form->Targl.Caption, " 5:Place 5");

    e.form->G.SetByte(304, 9);  // offset 303, the spare byte after the code
    e.form->List2.ListIndex = 300;
    e.form->HBL_Click();
    EXPECT_EQ(e.Bytes(300, 4), (Bytes{44, 1, 0, 9}));
    EXPECT_EQ(e.form->HBN.Caption, "300");

    e.form->Targl_Click();
    EXPECT_EQ(e.Bytes(288, 2), e.Bytes(300, 2));

    e.form->List2.ListIndex = -1;
    e.form->Targl_Click();
    EXPECT_EQ(e.Bytes(288, 2), (Bytes{44, 1}));
}

TEST(Places, NothingBeforeAMissionAndNothingPast65535) {
    Editor e(2, 65537);
    e.form->List2.ListIndex = 1;
    e.form->Targl_Click();
    EXPECT_EQ(e.form->Targl.Caption, "");
    e.form->Command3_Click();
    e.form->List2.ListIndex = 65535;
    e.form->HBL_Click();
    EXPECT_EQ(e.Bytes(300, 2), (Bytes{255, 255}));
    e.form->List2.ListIndex = 65536;
    e.form->Targl_Click();
    EXPECT_EQ(e.Bytes(288, 2), (Bytes{0, 0}));
    EXPECT_NE(e.form->StatusLine.Caption.find("0 to 65535"), std::string::npos);
}

}  // namespace
}  // namespace kestrane
