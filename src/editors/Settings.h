#pragma once
// The settings a user edits and the editors that write them: functions over
// the mission image that check a new value, write its field (and the field's
// copy) when the value is accepted, and say what they did or why they
// refused. A refused edit leaves the image unchanged. The window and the
// command line both edit through these.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mission/Fields.h"
#include "mission/MissionImage.h"

namespace kestrane {

// What an editor did.
struct Edit {
    bool stored = false;                // false: refused, nothing was written
    std::string message;                // what the status line says; may be empty
    std::vector<const Field*> written;  // the fields written, copies included
};

// ---- Option settings: one byte holding the chosen member's index ----

struct OptionSetting {
    std::string_view title;  // how messages name the setting
    std::array<std::string_view, 5> captions;
    int count;
    const Field* field;
    const Field* copy;  // written with the same index, or null
};

inline constexpr OptionSetting kYear{"Year", {"1940", "1943", "1944", "1945", ""}, 4, &FieldNamed("YearSetting"), nullptr};
inline constexpr OptionSetting kTimeOfDay{
    "Time of Day", {"Random", "Dawn", "Day", "Dusk", ""}, 4, &FieldNamed("TimeOfDaySetting"), nullptr};
inline constexpr OptionSetting kWeather{"Weather",
                                        {"Random", "Clear", "Partly cloudy", "Heavy clouds", "Overcast"},
                                        5,
                                        &FieldNamed("WeatherSetting"),
                                        nullptr};
inline constexpr OptionSetting kMissionType{"Mission Type",
                                            {"Escort Flight ", "Fighter Sweep", "Bomb Target", "Intercept ", "Interdiction"},
                                            5,
                                            &FieldNamed("MissionTypeSetting"),
                                            nullptr};
inline constexpr OptionSetting kCruiseAltitude{
    "Cruise altitude", {"Random", "Low", "Medium", "High", ""}, 4, &FieldNamed("CruiseAltitudeSetting"), nullptr};
inline constexpr OptionSetting kFormationSize{
    "Formation size", {"Random", "Small", "Medium", "Large", ""}, 4, &FieldNamed("FormationSizeSetting"), nullptr};
inline constexpr OptionSetting kPilotSkill{"Pilots' skill level",
                                           {"Random", "Green", "Seasoned", "Expert", ""},
                                           4,
                                           &FieldNamed("PilotSkillSetting"),
                                           &FieldNamed("PilotSkillCopy")};
inline constexpr OptionSetting kEnemySkill{"Enemy pilots' skill level",
                                           {"Random", "Green", "Seasoned", "Expert", ""},
                                           4,
                                           &FieldNamed("EnemySkillSetting"),
                                           &FieldNamed("EnemySkillCopy")};
inline constexpr OptionSetting kBattleSize{"Battle size",
                                           {"Random", "Small", "Medium", "Large", ""},
                                           4,
                                           &FieldNamed("BattleSizeSetting"),
                                           &FieldNamed("BattleSizeCopy")};
inline constexpr OptionSetting kAaa{"AAA", {"Random", "Light", "Moderate", "Heavy", ""}, 4, &FieldNamed("AAASetting"), nullptr};

inline constexpr std::array<const OptionSetting*, 10> kOptionSettings{
    &kYear, &kTimeOfDay, &kWeather, &kMissionType, &kCruiseAltitude,
    &kFormationSize, &kPilotSkill, &kEnemySkill, &kBattleSize, &kAaa};

// Writes member (0..count-1) into the field and its copy.
Edit ChooseOption(MissionImage& image, const OptionSetting& setting, int member);

// ---- Numbers typed into a box ----

struct NumberSetting {
    std::string_view caption;  // the box's caption, which messages name it by
    const Field* field;        // one byte or four
    std::uint32_t max;
};

inline constexpr std::uint32_t kUnsignedMax = 0xFFFFFFFFu;
inline constexpr NumberSetting kAttackPrimaryAltitude{"Attack Primary", &FieldNamed("AttackPrimaryAltitude"), kUnsignedMax};
inline constexpr NumberSetting kAttackSecondaryAltitude{"Attack Secondary", &FieldNamed("AttackSecondaryAltitude"), kUnsignedMax};
inline constexpr NumberSetting kEnemyPrimaryAltitude{"Enemy Primary", &FieldNamed("EnemyPrimaryAltitude"), kUnsignedMax};
inline constexpr NumberSetting kEnemySecondaryAltitude{"Enemy Secondary", &FieldNamed("EnemySecondaryAltitude"), kUnsignedMax};
inline constexpr NumberSetting kMissionDate{"Mission Date", &FieldNamed("MissionDate"), kUnsignedMax};
inline constexpr NumberSetting kMissionWeather{"Mission Weather", &FieldNamed("MissionWeather"), kUnsignedMax};
inline constexpr NumberSetting kTargetOffset{"Target Offset", &FieldNamed("TargetOffset"), kUnsignedMax};
inline constexpr NumberSetting kUnknown1{"UK#1", &FieldNamed("Unknown1"), kUnsignedMax};
inline constexpr NumberSetting kUnknown2{"UK#2", &FieldNamed("Unknown2"), kUnsignedMax};
inline constexpr NumberSetting kAircraftCount{"Number of aircraft", &FieldNamed("AttackPlane1Count"), 255};
inline constexpr std::array<const NumberSetting*, 10> kNumberSettings{
    &kAttackPrimaryAltitude, &kAttackSecondaryAltitude, &kEnemyPrimaryAltitude, &kEnemySecondaryAltitude,
    &kMissionDate, &kMissionWeather, &kTargetOffset, &kUnknown1, &kUnknown2, &kAircraftCount};

// The text's number (read as NumberReading.h says, brought to a whole number)
// when it lies in 0..max; otherwise a message that names the box.
struct NumberResult {
    std::optional<std::uint32_t> value;
    std::string error;
};
NumberResult ReadWholeNumber(std::string_view caption, std::string_view text, std::uint32_t max);

Edit StoreNumber(MissionImage& image, const NumberSetting& setting, std::string_view text);

// ---- Mission name and instant action ----

// The placeholder that shows a zero byte inside a mission name. It has no
// Windows-1252 code, so it cannot stand for any other byte.
inline constexpr char32_t kNullPlaceholder = 0x2400;  // SYMBOL FOR NULL
inline constexpr const Field& kMissionNameField = FieldNamed("MissionName");
inline constexpr const Field& kInstantActionField = FieldNamed("InstantActionFlag");
inline constexpr std::uint8_t kInstantActionOn = 128;  // any other byte reads as off
inline constexpr std::size_t kNameLength = static_cast<std::size_t>(kMissionNameField.width);

// The name's text as the window shows it: the zero padding at the end is
// dropped, a zero byte before other characters shows as the placeholder.
std::string MissionName(const MissionImage& image);
// At most 24 Windows-1252 characters; the rest of the field becomes zero.
Edit StoreName(MissionImage& image, std::string_view text);

bool InstantAction(const MissionImage& image);
Edit SetInstantAction(MissionImage& image, bool on);

// Every text box at once, as a save commits them: all are read first, and
// the first refusal (the name first, then the numbers in the given order)
// writes nothing.
struct TypedNumber {
    const NumberSetting* setting;
    std::string_view text;
};
Edit CommitTexts(MissionImage& image, std::string_view name, std::span<const TypedNumber> numbers);

// ---- Aircraft slots and places, picked from a catalogue list ----

// An entry picked from a list: its position, the text the list shows for it,
// and for the aircraft list whether it is the "Random" or "None" entry.
struct Pick {
    enum class Kind { Entry, Random, None };
    Kind kind = Kind::Entry;
    int position = -1;  // -1 when nothing is selected
    std::string item;
};

// What an aircraft or place editor leaves its two labels showing.
struct PickEdit : Edit {
    std::string name;
    std::string number;
};

struct AircraftSlot {
    std::string_view what;  // as messages name the slot
    std::array<const Field*, 2> fields;  // the second is null for attack plane 1
    bool usesCodes;          // Random and None are codes, not list positions
    bool offersNone;
    bool randomNoneAnyTime;  // Random and None may be chosen with no mission open
    int firstRefused;        // the lowest position the field cannot tell apart
};

// Positions 254 and 255 would be read back as the None and Random codes,
// whose first bytes they share; attack plane 1 has no codes but only its
// first byte is read back, so 256 and beyond cannot be told apart.
inline constexpr AircraftSlot kAttackPlane1{
    "Attack plane 1", {&FieldNamed("AttackPlane1Type"), nullptr}, false, false, false, 256};
inline constexpr AircraftSlot kAttackPlane2{
    "Attack plane 2", {&FieldNamed("AttackPlane2Type"), &FieldNamed("AttackPlane2TypeCopy")}, true, true, true, 254};
inline constexpr AircraftSlot kEnemyPrimary{
    "Enemy primary", {&FieldNamed("EnemyPrimaryType"), &FieldNamed("EnemyPrimaryTypeCopy")}, true, false, false, 255};
inline constexpr AircraftSlot kEnemySecondary{
    "Enemy secondary", {&FieldNamed("EnemySecondaryType"), &FieldNamed("EnemySecondaryTypeCopy")}, true, true, false, 254};
inline constexpr std::array<const AircraftSlot*, 4> kAircraftSlots{&kAttackPlane1, &kAttackPlane2, &kEnemyPrimary,
                                                                   &kEnemySecondary};

// The aircraft list a user picks from holds the catalogue's entries and then
// these two, in this order.
inline constexpr std::array<std::string_view, 2> kAircraftListEnd{"Random", "None"};
// The pick of the entry at index in an aircraft list of size entries (the
// last two are Random and None, all others plain entries); item is the text
// the list shows for it.
Pick AircraftListPick(int index, int size, std::string item);
// How a slot names a Random or None pick: "Random" or "None" (empty for an
// entry).
std::string_view CodeName(Pick::Kind kind);

inline constexpr std::uint32_t kRandomCode = 0xFFFFFFFFu;  // 255, 255, 255, 255
inline constexpr std::uint32_t kNoneCode = 0xFFFFFFFEu;    // 254, 255, 255, 255
// The first bytes of the two codes, which is all a load reads of a slot.
inline constexpr int kRandomByte = static_cast<int>(kRandomCode & 0xFFu);
inline constexpr int kNoneByte = static_cast<int>(kNoneCode & 0xFFu);

// Whether the pick may be written while no mission is open.
bool PickableWithoutMission(const AircraftSlot& slot, const Pick& pick);
PickEdit AssignAircraft(MissionImage& image, const AircraftSlot& slot, const Pick& pick);
// Stores the None code in the slot and its copy.
Edit StoreNone(MissionImage& image, const AircraftSlot& slot);

// What a slot holds as a load reads it: its first byte, and whether that is
// the Random or None code.
struct StoredAircraft {
    Pick::Kind kind;
    int position;
};
StoredAircraft ReadAircraft(const MissionImage& image, const AircraftSlot& slot);
// The same for a value the slot or its copy holds.
StoredAircraft ReadAircraft(const AircraftSlot& slot, std::uint32_t stored);

struct PlaceSetting {
    std::string_view what;
    std::string_view missing;  // what the message asks to click when nothing is picked
    const Field* field;
};
inline constexpr PlaceSetting kTarget{"Target", "target", &FieldNamed("TargetNumber")};
inline constexpr PlaceSetting kHomeBase{"Home base", "home base", &FieldNamed("HomeBaseNumber")};
inline constexpr std::array<const PlaceSetting*, 2> kPlaceSettings{&kTarget, &kHomeBase};
inline constexpr int kLastPlace = 65535;  // the most a two-byte code holds

PickEdit AssignPlace(MissionImage& image, const PlaceSetting& place, const Pick& pick);

// ---- Which setting writes a field ----

struct FieldSetting {
    enum class Kind { None, Option, Number, Name, InstantAction, Aircraft, Place };
    Kind kind = Kind::None;
    bool copy = false;  // the field is the setting's copy, written along with it
    const OptionSetting* option = nullptr;
    const NumberSetting* number = nullptr;
    const AircraftSlot* slot = nullptr;
    const PlaceSetting* place = nullptr;
};
// The setting whose editor writes the field, its copy included; Kind::None
// for the stored checksum and the fixed header, which every save writes.
FieldSetting SettingFor(const Field& field);

}  // namespace kestrane
