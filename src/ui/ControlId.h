#pragma once
// Every control of the editor's window, by a typed id: frames, captions,
// value labels, boxes, option groups (one id for the whole group), lists,
// buttons and the status line, in the window's reading order.

#include <cstddef>
#include <cstdint>

namespace kestrane {

enum class ControlId : std::uint8_t {
    LoadedPath, LoadButton, NewButton, LoadedName, NameCaption, NameBox, FileNameCaption, FileNameBox, SaveButton,
    AircraftListCaption, PlaceListCaption, AircraftList, PlaceList,

    YearFrame, YearOptions, InstantActionBox,
    TimeOfDayFrame, TimeOfDayOptions,
    WeatherFrame, WeatherOptions,
    AttackPlane1Frame, AttackPlane1Name, AttackPlane1Number, AircraftCountCaption, AircraftCountBox,
    AttackPlane2Frame, AttackPlane2Name, AttackPlane2Number, FormationSizeCaption, FormationSizeOptions,
    UnknownFrame, Unknown1Caption, Unknown1Box, Unknown2Caption, Unknown2Box,

    TargetFrame, TargetName, TargetNumber,
    MissionTypeFrame, MissionTypeOptions,
    CruiseAltitudeFrame, CruiseAltitudeOptions,
    AltitudesFrame,
    AttackPrimaryAltitudeCaption, AttackPrimaryAltitudeBox, AttackSecondaryAltitudeCaption, AttackSecondaryAltitudeBox,
    EnemyPrimaryAltitudeCaption, EnemyPrimaryAltitudeBox, EnemySecondaryAltitudeCaption, EnemySecondaryAltitudeBox,
    PilotSkillFrame, PilotSkillOptions,
    MiscFrame, MissionDateCaption, MissionDateBox, MissionWeatherCaption, MissionWeatherBox, TargetOffsetCaption,
    TargetOffsetBox, UnknownNote,

    HomeBaseFrame, HomeBaseName, HomeBaseNumber,
    EnemyFrame, EnemyPrimaryCaption, EnemyPrimaryName, EnemyPrimaryNumber, EnemySecondaryCaption, EnemySecondaryName,
    EnemySecondaryNumber, BattleSizeCaption, BattleSizeOptions,
    EnemySkillFrame, EnemySkillOptions,
    AaaFrame, AaaOptions,

    StatusLine, StoredChecksumDecimal, ChecksumCaption, StoredChecksumBytes, ChecksumDecimal,
    ChecksumByte0, ChecksumByte1, ChecksumByte2, ChecksumByte3, ChecksumHex,

    Count
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::Count);
constexpr std::size_t Index(ControlId id) { return static_cast<std::size_t>(id); }

}  // namespace kestrane
