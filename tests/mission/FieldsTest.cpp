// The file layout as literals: a field moved by a byte, or a byte left out
// of every field, fails here.

#include <gtest/gtest.h>

#include "mission/Fields.h"

namespace kestrane {

TEST(Fields, EveryFieldsNameOffsetAndWidth) {
    const struct { std::string_view name; int offset, width; } golden[] = {
        {"StoredChecksum", 0, 4}, {"FixedHeader", 4, 4}, {"InstantActionFlag", 9, 1}, {"MissionName", 12, 24},
        {"YearSetting", 272, 1}, {"TimeOfDaySetting", 276, 1}, {"WeatherSetting", 280, 1},
        {"MissionTypeSetting", 284, 1}, {"TargetNumber", 288, 2}, {"AttackPlane1Count", 292, 1},
        {"CruiseAltitudeSetting", 296, 1}, {"HomeBaseNumber", 300, 2}, {"AttackPlane2Type", 304, 4},
        {"FormationSizeSetting", 308, 1}, {"PilotSkillSetting", 312, 1}, {"BattleSizeSetting", 316, 1},
        {"EnemyPrimaryType", 320, 4}, {"EnemySecondaryType", 324, 4}, {"EnemySkillSetting", 328, 1},
        {"AAASetting", 332, 1}, {"Unknown1", 336, 4}, {"Unknown2", 340, 4}, {"MissionWeather", 344, 4},
        {"MissionDate", 348, 4}, {"TargetOffset", 352, 4}, {"AttackPlane1Type", 356, 4},
        {"AttackPlane2TypeCopy", 360, 4}, {"PilotSkillCopy", 364, 1}, {"AttackPrimaryAltitude", 368, 4},
        {"AttackSecondaryAltitude", 372, 4}, {"BattleSizeCopy", 376, 1}, {"EnemyPrimaryTypeCopy", 380, 4},
        {"EnemySecondaryTypeCopy", 384, 4}, {"EnemySkillCopy", 388, 1}, {"EnemyPrimaryAltitude", 392, 4},
        {"EnemySecondaryAltitude", 396, 4}};
    ASSERT_EQ(kFields.size(), std::size(golden));
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        EXPECT_EQ(kFields[i].name, golden[i].name);
        EXPECT_EQ(kFields[i].offset, golden[i].offset) << golden[i].name;
        EXPECT_EQ(kFields[i].width, golden[i].width) << golden[i].name;
    }
}

TEST(Fields, TheBytesOutsideEveryField) {
    const std::vector<ByteRange> golden{{8, 1},   {10, 2},  {36, 236}, {273, 3}, {277, 3}, {281, 3}, {285, 3},
                                        {290, 2}, {293, 3}, {297, 3},  {302, 2}, {309, 3}, {313, 3}, {317, 3},
                                        {329, 3}, {333, 3}, {365, 3},  {377, 3}, {389, 3}};
    EXPECT_EQ(RangesOutsideFields(), golden);
}

TEST(Fields, DifferencesNameTheFieldOrTheRunOfBytesOutsideFields) {
    using Bytes = std::vector<std::pair<int, std::uint8_t>>;
    const struct { Bytes changed; std::vector<std::tuple<std::string_view, int, int>> found; } cases[] = {
        {{}, {}},
        {{{100, 1}}, {{"", 100, 1}}},
        {{{36, 1}, {37, 1}, {271, 9}}, {{"", 36, 2}, {"", 271, 1}}},  // runs of differing bytes, not the whole gap
        {{{273, 1}, {275, 1}}, {{"", 273, 1}, {"", 275, 1}}},
        {{{8, 1}, {9, 128}, {10, 1}}, {{"", 8, 1}, {"InstantActionFlag", 9, 1}, {"", 10, 1}}},
        {{{35, 1}, {364, 2}}, {{"MissionName", 12, 24}, {"PilotSkillCopy", 364, 1}}}};
    for (const auto& c : cases) {
        MissionBytes a{}, b{};
        for (const auto& [at, value] : c.changed) b[static_cast<std::size_t>(at)] = value;
        std::vector<std::tuple<std::string_view, int, int>> found;
        for (const Difference& d : Differences(a, b))
            found.emplace_back(d.field ? d.field->name : "", d.bytes.offset, d.bytes.length);
        EXPECT_EQ(found, c.found) << c.changed.size();
    }
}

}  // namespace kestrane
