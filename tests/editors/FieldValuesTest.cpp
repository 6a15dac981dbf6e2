// Field values as text and back: what ValueOf writes, SetFieldValue takes
// back to the same bytes; names, captions and codes are taken as the window
// means them, and a position is always a position.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "editors/FieldValues.h"
#include "mission/MissionFile.h"

namespace kestrane {

namespace {

using Bytes = std::vector<std::pair<int, std::uint8_t>>;
constexpr std::int64_t kRefused = -1;

const CatalogueFile kPlanes = ParseCatalogue(test::Lines({"Spitfire I", "Spitfire V", "Hurricane", "Bf 109", "Bf 109"}));
const CatalogueFile kPlaces = ParseCatalogue("Dover\nCalais\n");
const NameLists kNamed{&kPlanes, &kPlaces};

MissionImage ImageOf(const Bytes& bytes) {
    MissionImage image;
    image.MakeNew();
    for (const auto& [at, value] : bytes) image.SetU8(at, value);
    return image;
}

}  // namespace

TEST(FieldValues, ALineSaysTheStoredValueAndWhatTheWindowShowsForIt) {
    const struct { Bytes bytes; std::string_view field; bool named; std::string line; } cases[] = {
        {{{272, 3}}, "YearSetting", false, "YearSetting=3  # 1945"},
        {{{272, 7}}, "YearSetting", false, "YearSetting=7"},  // no such choice
        {{{284, 0}}, "MissionTypeSetting", false, "MissionTypeSetting=0  # Escort Flight"},
        {{{364, 2}}, "PilotSkillCopy", false, "PilotSkillCopy=2  # Seasoned"},
        {{{9, 128}}, "InstantActionFlag", false, "InstantActionFlag=on"},
        {{{9, 7}}, "InstantActionFlag", false, "InstantActionFlag=7  # off"},
        {{{304, 255}, {305, 255}, {306, 255}, {307, 255}}, "AttackPlane2Type", false, "AttackPlane2Type=Random"},
        {{{304, 255}}, "AttackPlane2Type", false, "AttackPlane2Type=255  # Random"},  // the window reads one byte
        {{{324, 254}, {325, 255}, {326, 255}, {327, 255}}, "EnemySecondaryType", false, "EnemySecondaryType=None"},
        {{{320, 254}, {321, 255}, {322, 255}, {323, 255}}, "EnemyPrimaryType", true, "EnemyPrimaryType=4294967294"},
        {{{304, 3}}, "AttackPlane2Type", true, "AttackPlane2Type=3  # Bf 109"},
        {{{304, 3}}, "AttackPlane2Type", false, "AttackPlane2Type=3"},
        {{{356, 5}}, "AttackPlane1Type", true, "AttackPlane1Type=5  # Random"},  // the list's entry, as a position
        {{{300, 1}}, "HomeBaseNumber", true, "HomeBaseNumber=1  # Calais"},
        {{{12, '"'}, {13, '\n'}, {14, 0x81}, {16, 'x'}}, "MissionName", false, "MissionName=\"\\\"\\n\\u0081\u2400x\""},
        {{{368, 0x10}, {369, 0x27}}, "AttackPrimaryAltitude", false, "AttackPrimaryAltitude=10000"}};
    for (const auto& c : cases) {
        const Field& field = *FindField(c.field);
        EXPECT_EQ(ValueLine(field, ValueOf(ImageOf(c.bytes), field, c.named ? kNamed : NameLists{})), c.line);
    }
}

TEST(FieldValues, SetFieldValueTakesIndexesCaptionsNamesAndCodes) {
    const struct { std::string_view field; std::string text; bool named; std::int64_t stored; std::string says; } cases[] = {
        {"YearSetting", "1945", false, 3, "Year: 1945."}, {"YearSetting", "3  # 1945", false, 3, ""},
        {"WeatherSetting", " overcast", false, 4, ""}, {"MissionTypeSetting", "Escort Flight", false, 0, ""},
        {"YearSetting", "1946", false, kRefused, "Year: \"1946\" is no choice; give one of 0 (1940), 1 (1943), 2 (1944), 3 (1945)."},
        {"InstantActionFlag", "on", false, 128, "Instant Action: on."}, {"InstantActionFlag", "0", false, 0, ""},
        {"InstantActionFlag", "yes", false, kRefused, "\"yes\" is neither on nor off"},
        {"AttackPlane2Type", "0", false, 0, ""}, {"EnemySecondaryType", "1", false, 1, ""},  // positions, not codes
        {"AttackPlane2Type", "5", true, 5, ""}, {"AttackPlane2Type", "Random", false, kRandomCode, ""},
        {"EnemySecondaryType", "none", true, kNoneCode, ""}, {"EnemyPrimaryType", "None", true, kRefused, "cannot be \"None\""},
        {"AttackPlane1Type", "Random", true, 5, ""},  // no codes: the list's Random entry, by its position
        {"AttackPlane1Type", "random", false, kRefused, "after the last of planes.txt, which was not read"},
        {"AttackPlane2Type", "hurricane", true, 2, "Attack plane 2: 2:Hurricane."},
        {"AttackPlane2Type", "Bf 109", true, kRefused, "several entries of planes.txt are named so (3:Bf 109, 4:Bf 109)"},
        {"AttackPlane2Type", "Spit", true, kRefused, "no entry of planes.txt is named so; entries that hold it: 0:Spitfire I, 1:Spitfire V."},
        {"AttackPlane2Type", "Hurricane", false, kRefused, "planes.txt was not read"},
        {"EnemyPrimaryType", "99999999999999999999", true, kRefused, "list position 99999999999999999999 cannot be stored"},
        {"TargetNumber", "calais", true, 1, "Target: 1:Calais."}, {"TargetNumber", "65536", true, kRefused, "places 0 to 65535"},
        {"AttackPrimaryAltitude", "12 000  # feet", false, 12000, ""},
        {"PilotSkillCopy", "1", false, kRefused, "PilotSkillCopy is not set directly: it is written with PilotSkillSetting."},
        {"EnemySecondaryTypeCopy", "1", false, kRefused, "it is written with EnemySecondaryType."},
        {"StoredChecksum", "0", false, kRefused, "every save writes it"},
        {"YearSetting", "\"1945\" # the last", false, 3, ""}, {"YearSetting", "\"3", false, kRefused, "has no closing quote"},
        {"YearSetting", "\"3\" 4", false, kRefused, "has more than a # comment after its closing quote"}};
    for (const auto& c : cases) {
        const Field& field = *FindField(c.field);
        MissionImage image = ImageOf({});
        const MissionImage before = image;
        const Edit edit = SetFieldValue(image, field, c.text, c.named ? kNamed : NameLists{});
        EXPECT_EQ(edit.stored ? std::int64_t{image.Read(field)} : kRefused, c.stored) << c.field << "=" << c.text;
        EXPECT_NE(edit.message.find(c.says), std::string::npos) << edit.message;
        EXPECT_TRUE(edit.stored || image.Bytes() == before.Bytes());
    }
}

TEST(FieldValues, ANameIsItsTextUpToACommentOrAJsonString) {
    const struct { std::string text, name; } cases[] = {
        {"Raid #1", "Raid"}, {"Raid#1", "Raid#1"}, {"\"Raid #1\"  # at dawn", "Raid #1"},
        {"\"a\\tb\\u00e9\"", "a\tb\u00e9"}, {" Raid ", " Raid "}, {"#1", "#1"}};
    for (const auto& c : cases) {
        MissionImage image = ImageOf({});
        EXPECT_TRUE(SetFieldValue(image, kMissionNameField, c.text, {}).stored) << c.text;
        EXPECT_EQ(MissionName(image), c.name) << c.text;
    }
}

// The property the command line rests on: for a mission as a save leaves
// it, each field's line set again stores the same bytes.
TEST(FieldValues, EveryLineSetAgainLeavesTheBytesAsTheyWere) {
    MissionImage odd = ImageOf({{9, 128}, {12, 'R'}, {13, '\n'}, {14, 0}, {15, '"'}, {16, 0x9D}, {272, 3}, {280, 4},
                                {284, 4}, {288, 0xFF}, {289, 0xFF}, {292, 255}, {300, 1}, {312, 3}, {364, 3},
                                {320, 254}, {380, 254}, {356, 255}, {336, 0xFF}, {337, 0xFF}, {338, 0xFF}, {339, 0xFF}});
    for (const AircraftSlot* slot : {&kAttackPlane2, &kEnemySecondary})
        for (const Field* f : slot->fields) odd.Write(*f, slot == &kAttackPlane2 ? kRandomCode : kNoneCode);
    odd.Seal();
    MissionImage sample;
    sample.Assign(ReadMission(std::string(KESTRANE_EXAMPLES_DIR) + "/sample.msn").bytes);
    for (const MissionImage& image : {odd, sample, ImageOf({})})
        for (const NameLists& lists : {kNamed, NameLists{}})
            for (const Field& field : kFields) {
                if (!Settable(field)) continue;
                const std::string line = ValueLine(field, ValueOf(image, field, lists));
                MissionImage again = image;
                EXPECT_TRUE(SetFieldValue(again, field, line.substr(line.find('=') + 1), lists).stored) << line;
                EXPECT_EQ(again.Bytes(), image.Bytes()) << line;
            }
}

}  // namespace kestrane
