#pragma once
// The mission file layout as one table: every field's name, offset, width,
// encoding and the control that shows it. Loading, saving, the editors and
// the tests address the image through this table.

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

namespace kestrane {

inline constexpr int kMissionSize = 400;
inline constexpr int kChecksumFirst = 4;  // the checksum covers offsets 4..399

enum class Encoding {
    Checksum,          // unsigned 32-bit CRC-32 of offsets 4..399
    FixedHeader,       // always 101, 2, 0, 170
    InstantFlag,       // 128 = instant action
    Name,              // 24 single-byte character codes, zero padded
    OptionIndex,       // 0-based member of an option group
    PlaceCode,         // unsigned 16-bit position in the place list
    Count,             // one byte, 0..255
    AircraftCode,      // position p as p,0,0,0; Random -1; None -2
    AircraftPosition,  // position as a 4-byte number, no special codes
    Unsigned32,        // raw unsigned 32-bit number
};

struct FieldSpec {
    std::string_view name;
    int offset;
    int width;
    Encoding encoding;
    std::string_view control;  // the control that shows it, empty for copies
    int controlIndex;          // member of a control array, -1 otherwise

    // The image row of the first byte (row = offset + 1).
    constexpr int row() const { return offset + 1; }
    constexpr int lastRow() const { return offset + width; }
};

inline constexpr std::array<FieldSpec, 36> kFields{{
    {"StoredChecksum", 0, 4, Encoding::Checksum, "Label15", -1},
    {"FixedHeader", 4, 4, Encoding::FixedHeader, "", -1},
    {"InstantActionFlag", 9, 1, Encoding::InstantFlag, "IA", -1},
    {"MissionName", 12, 24, Encoding::Name, "Text1", -1},
    {"YearSetting", 272, 1, Encoding::OptionIndex, "Yrbut", -1},
    {"TimeOfDaySetting", 276, 1, Encoding::OptionIndex, "TOD", -1},
    {"WeatherSetting", 280, 1, Encoding::OptionIndex, "Weather", -1},
    {"MissionTypeSetting", 284, 1, Encoding::OptionIndex, "MTBut", -1},
    {"TargetNumber", 288, 2, Encoding::PlaceCode, "Targl", -1},
    {"AttackPlane1Count", 292, 1, Encoding::Count, "AP1Num", -1},
    {"CruiseAltitudeSetting", 296, 1, Encoding::OptionIndex, "PAlt", -1},
    {"HomeBaseNumber", 300, 2, Encoding::PlaceCode, "HBL", -1},
    {"AttackPlane2Type", 304, 4, Encoding::AircraftCode, "AP2L", -1},
    {"FormationSizeSetting", 308, 1, Encoding::OptionIndex, "AP2But", -1},
    {"PilotSkillSetting", 312, 1, Encoding::OptionIndex, "Pskill", -1},
    {"BattleSizeSetting", 316, 1, Encoding::OptionIndex, "BSBut", -1},
    {"EnemyPrimaryType", 320, 4, Encoding::AircraftCode, "DP1L", -1},
    {"EnemySecondaryType", 324, 4, Encoding::AircraftCode, "DP2L", -1},
    {"EnemySkillSetting", 328, 1, Encoding::OptionIndex, "EPskill", -1},
    {"AAASetting", 332, 1, Encoding::OptionIndex, "AAA", -1},
    {"Unknown1", 336, 4, Encoding::Unsigned32, "UKN", 0},
    {"Unknown2", 340, 4, Encoding::Unsigned32, "UKN", 1},
    {"MissionWeather", 344, 4, Encoding::Unsigned32, "MWeather", -1},
    {"MissionDate", 348, 4, Encoding::Unsigned32, "MDate", -1},
    {"TargetOffset", 352, 4, Encoding::Unsigned32, "TOffset", -1},
    {"AttackPlane1Type", 356, 4, Encoding::AircraftPosition, "AP1L", -1},
    {"AttackPlane2TypeCopy", 360, 4, Encoding::AircraftCode, "", -1},
    {"PilotSkillCopy", 364, 1, Encoding::OptionIndex, "", -1},
    {"AttackPrimaryAltitude", 368, 4, Encoding::Unsigned32, "AltText", 0},
    {"AttackSecondaryAltitude", 372, 4, Encoding::Unsigned32, "AltText", 1},
    {"BattleSizeCopy", 376, 1, Encoding::OptionIndex, "", -1},
    {"EnemyPrimaryTypeCopy", 380, 4, Encoding::AircraftCode, "", -1},
    {"EnemySecondaryTypeCopy", 384, 4, Encoding::AircraftCode, "", -1},
    {"EnemySkillCopy", 388, 1, Encoding::OptionIndex, "", -1},
    {"EnemyPrimaryAltitude", 392, 4, Encoding::Unsigned32, "AltText", 2},
    {"EnemySecondaryAltitude", 396, 4, Encoding::Unsigned32, "AltText", 3},
}};

// Looks a field up by name at compile time; a misspelt name does not compile.
consteval const FieldSpec& Field(std::string_view name) {
    for (const FieldSpec& f : kFields)
        if (f.name == name) return f;
    throw std::logic_error("no such mission field");
}

inline constexpr std::array<std::uint8_t, 4> kFixedHeader{101, 2, 0, 170};
inline constexpr int kBlockCount = 32;
inline constexpr int kSettingsOffset = 272;  // 32 blocks of 4 bytes up to 399
// Row of settings block i (0..31), whose description comes from "blocks.txt".
constexpr int BlockRow(int block) { return kSettingsOffset + 1 + 4 * block; }

// The fields that a load decodes, in the order it decodes them.
inline constexpr std::array<std::string_view, 26> kDecodeOrder{
    "YearSetting", "TimeOfDaySetting", "WeatherSetting", "MissionTypeSetting",
    "CruiseAltitudeSetting", "FormationSizeSetting", "PilotSkillSetting",
    "BattleSizeSetting", "EnemySkillSetting", "AAASetting", "AttackPlane1Count",
    "TargetNumber", "HomeBaseNumber", "AttackPlane2Type", "EnemyPrimaryType",
    "EnemySecondaryType", "AttackPlane1Type", "AttackPrimaryAltitude",
    "AttackSecondaryAltitude", "EnemyPrimaryAltitude", "EnemySecondaryAltitude",
    "MissionWeather", "MissionDate", "TargetOffset", "Unknown1", "Unknown2"};

// Run-time lookup for tables that hold field names; null for an unknown name.
const FieldSpec* FindField(std::string_view name);

}  // namespace kestrane
