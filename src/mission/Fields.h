#pragma once
// The mission file layout as one table: every field's name, offset, width,
// encoding and what it holds. Loading, saving, the editors, the command line
// and the byte views address the image through this table.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "mission/MissionImage.h"

namespace kestrane {

enum class Encoding {
    Checksum,          // unsigned 32-bit CRC-32 of offsets 4..399
    FixedHeader,       // always 101, 2, 0, 170
    InstantFlag,       // 128 = instant action, 0 = not
    Name,              // 24 Windows-1252 character codes, zero padded
    OptionIndex,       // 0-based member of an option group
    PlaceCode,         // unsigned 16-bit position in the place list
    Count,             // one byte, 0..255
    AircraftCode,      // position p as p,0,0,0; Random 255,255,255,255; None 254,255,255,255
    AircraftPosition,  // position as a 4-byte number, no special codes
    Unsigned32,        // raw unsigned 32-bit number
};

struct Field {
    std::string_view name;
    int offset;
    int width;
    Encoding encoding;
    std::string_view about;  // what the bytes hold, for byte views and help

    constexpr int End() const { return offset + width; }
    constexpr bool Holds(int at) const { return at >= offset && at < End(); }
};

inline constexpr std::array<Field, 36> kFields{{
    {"StoredChecksum", 0, 4, Encoding::Checksum, "CRC-32 of offsets 4 to 399"},
    {"FixedHeader", 4, 4, Encoding::FixedHeader, "always 101, 2, 0, 170"},
    {"InstantActionFlag", 9, 1, Encoding::InstantFlag, "Instant Action: 128 on, 0 off"},
    {"MissionName", 12, 24, Encoding::Name, "mission name, Windows-1252, zero padded"},
    {"YearSetting", 272, 1, Encoding::OptionIndex, "year: 1940, 1943, 1944, 1945"},
    {"TimeOfDaySetting", 276, 1, Encoding::OptionIndex, "time of day"},
    {"WeatherSetting", 280, 1, Encoding::OptionIndex, "weather"},
    {"MissionTypeSetting", 284, 1, Encoding::OptionIndex, "mission type"},
    {"TargetNumber", 288, 2, Encoding::PlaceCode, "target: place number"},
    {"AttackPlane1Count", 292, 1, Encoding::Count, "attack plane 1: number of aircraft"},
    {"CruiseAltitudeSetting", 296, 1, Encoding::OptionIndex, "cruise altitude"},
    {"HomeBaseNumber", 300, 2, Encoding::PlaceCode, "home base: place number"},
    {"AttackPlane2Type", 304, 4, Encoding::AircraftCode, "attack plane 2: aircraft"},
    {"FormationSizeSetting", 308, 1, Encoding::OptionIndex, "attack plane 2: formation size"},
    {"PilotSkillSetting", 312, 1, Encoding::OptionIndex, "pilots' skill level"},
    {"BattleSizeSetting", 316, 1, Encoding::OptionIndex, "battle size"},
    {"EnemyPrimaryType", 320, 4, Encoding::AircraftCode, "enemy primary: aircraft"},
    {"EnemySecondaryType", 324, 4, Encoding::AircraftCode, "enemy secondary: aircraft"},
    {"EnemySkillSetting", 328, 1, Encoding::OptionIndex, "enemy pilots' skill level"},
    {"AAASetting", 332, 1, Encoding::OptionIndex, "anti-aircraft fire"},
    {"Unknown1", 336, 4, Encoding::Unsigned32, "unknown setting 1"},
    {"Unknown2", 340, 4, Encoding::Unsigned32, "unknown setting 2"},
    {"MissionWeather", 344, 4, Encoding::Unsigned32, "mission weather (raw number)"},
    {"MissionDate", 348, 4, Encoding::Unsigned32, "mission date (raw number)"},
    {"TargetOffset", 352, 4, Encoding::Unsigned32, "target offset (raw number)"},
    {"AttackPlane1Type", 356, 4, Encoding::AircraftPosition, "attack plane 1: aircraft"},
    {"AttackPlane2TypeCopy", 360, 4, Encoding::AircraftCode, "copy of AttackPlane2Type"},
    {"PilotSkillCopy", 364, 1, Encoding::OptionIndex, "copy of PilotSkillSetting"},
    {"AttackPrimaryAltitude", 368, 4, Encoding::Unsigned32, "attack primary altitude, feet"},
    {"AttackSecondaryAltitude", 372, 4, Encoding::Unsigned32, "attack secondary altitude, feet"},
    {"BattleSizeCopy", 376, 1, Encoding::OptionIndex, "copy of BattleSizeSetting"},
    {"EnemyPrimaryTypeCopy", 380, 4, Encoding::AircraftCode, "copy of EnemyPrimaryType"},
    {"EnemySecondaryTypeCopy", 384, 4, Encoding::AircraftCode, "copy of EnemySecondaryType"},
    {"EnemySkillCopy", 388, 1, Encoding::OptionIndex, "copy of EnemySkillSetting"},
    {"EnemyPrimaryAltitude", 392, 4, Encoding::Unsigned32, "enemy primary altitude, feet"},
    {"EnemySecondaryAltitude", 396, 4, Encoding::Unsigned32, "enemy secondary altitude, feet"},
}};

// Looks a field up by name at compile time; a misspelt name does not compile.
consteval const Field& FieldNamed(std::string_view name) {
    for (const Field& f : kFields)
        if (f.name == name) return f;
    throw std::logic_error("no such mission field");
}

// Run-time lookups: by name (null when unknown), and the field that holds an
// offset (null for a pass-through byte).
const Field* FindField(std::string_view name);
const Field* FieldAt(int offset);

// A run of bytes: its first offset and how many there are.
struct ByteRange {
    int offset;
    int length;
    constexpr int End() const { return offset + length; }
    bool operator==(const ByteRange&) const = default;
};
// The runs of bytes that no field holds (the unknown stretch after the name,
// the parts of the settings blocks no field covers), in offset order.
std::vector<ByteRange> RangesOutsideFields();

// One place where two missions differ: a field with any byte different, or a
// run of differing bytes that no field holds (field is null).
struct Difference {
    const Field* field;
    ByteRange bytes;
};
// Every difference between two missions, in offset order; none when all 400
// bytes are equal.
std::vector<Difference> Differences(const MissionBytes& a, const MissionBytes& b);

inline constexpr const Field& kStoredChecksumField = FieldNamed("StoredChecksum");
inline constexpr const Field& kFixedHeaderField = FieldNamed("FixedHeader");
inline constexpr std::array<std::uint8_t, 4> kFixedHeader{101, 2, 0, 170};

// The settings area: 32 blocks of 4 bytes from offset 272, each described by
// one line of "blocks.txt".
inline constexpr int kSettingsOffset = 272;
inline constexpr int kBlockCount = 32;
// The block an offset lies in, or -1 outside the settings area.
constexpr int BlockOf(int offset) {
    return offset >= kSettingsOffset && offset < kMissionSize ? (offset - kSettingsOffset) / 4 : -1;
}

}  // namespace kestrane
