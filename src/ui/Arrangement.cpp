#include "ui/Arrangement.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include <array>

namespace kestrane {

namespace {

using C = ControlId;

constexpr int kStripTop = kSheetHeight + 60;  // first row of the strip

// Shorthands: a control on the window, and a control inside a frame; the
// form with a member places one button of an option group.
constexpr Placement W(C id, int left, int top, int width, int height) {
    return {id, -1, kOnWindow, left, top, width, height};
}
constexpr Placement In(C frame, C id, int left, int top, int width, int height) {
    return {id, -1, frame, left, top, width, height};
}
constexpr Placement In(C frame, C id, int member, int left, int top, int width, int height) {
    return {id, member, frame, left, top, width, height};
}

constexpr std::array kPlacements{
    // ---- Left: file commands, the name and file name, the two pick lists ----
    W(C::LoadedPath, 30, 0, 3885, 405),
    W(C::LoadButton, 180, 450, 1605, 405),
    W(C::NewButton, 1980, 450, 1605, 405),
    W(C::LoadedName, 150, 930, 3645, 315),
    W(C::NameCaption, 30, 1290, 1455, 315),
    W(C::NameBox, 1560, 1290, 1545, 315),
    W(C::FileNameCaption, 30, 1650, 1455, 315),
    W(C::FileNameBox, 1560, 1650, 1545, 315),
    // Save stands right of both boxes; it comes after them so that Tab goes
    // name, file name, Save.
    W(C::SaveButton, 3150, 1290, 795, 675),
    W(C::AircraftListCaption, 30, 2070, 1185, 255),
    W(C::PlaceListCaption, 1770, 2070, 1935, 285),
    W(C::AircraftList, 0, 2340, 1695, 5520),
    W(C::PlaceList, 1740, 2340, 2205, 5520),

    // ---- First column of frames ----
    W(C::YearFrame, 3990, -15, 2385, 1095),  // "Year"
    In(C::YearFrame, C::YearOptions, 0, 180, 240, 825, 195),
    In(C::YearFrame, C::YearOptions, 1, 180, 510, 825, 195),
    In(C::YearFrame, C::YearOptions, 2, 1200, 240, 825, 195),
    In(C::YearFrame, C::YearOptions, 3, 1200, 510, 825, 195),
    In(C::YearFrame, C::InstantActionBox, 540, 780, 1545, 255),

    W(C::TimeOfDayFrame, 3990, 1110, 2385, 855),  // "Time of Day"
    In(C::TimeOfDayFrame, C::TimeOfDayOptions, 0, 180, 270, 1005, 195),
    In(C::TimeOfDayFrame, C::TimeOfDayOptions, 1, 180, 540, 1005, 195),
    In(C::TimeOfDayFrame, C::TimeOfDayOptions, 2, 1200, 270, 1005, 195),
    In(C::TimeOfDayFrame, C::TimeOfDayOptions, 3, 1200, 540, 1005, 195),

    W(C::WeatherFrame, 3990, 1965, 2385, 1815),  // "Weather"
    In(C::WeatherFrame, C::WeatherOptions, 0, 120, 300, 1125, 225),
    In(C::WeatherFrame, C::WeatherOptions, 1, 120, 600, 855, 225),
    In(C::WeatherFrame, C::WeatherOptions, 2, 120, 900, 2055, 225),
    In(C::WeatherFrame, C::WeatherOptions, 3, 120, 1200, 2055, 225),
    In(C::WeatherFrame, C::WeatherOptions, 4, 120, 1500, 2055, 225),

    W(C::AttackPlane1Frame, 3990, 3795, 2385, 1035),  // "Attack Plane 1"
    In(C::AttackPlane1Frame, C::AttackPlane1Name, 60, 270, 1725, 315),
    In(C::AttackPlane1Frame, C::AttackPlane1Number, 1830, 270, 465, 315),
    In(C::AttackPlane1Frame, C::AircraftCountCaption, 120, 630, 1365, 165),
    In(C::AttackPlane1Frame, C::AircraftCountBox, 1770, 630, 555, 285),

    W(C::AttackPlane2Frame, 3990, 4830, 2385, 2085),  // "Attack Plane 2"
    In(C::AttackPlane2Frame, C::AttackPlane2Name, 90, 240, 1755, 315),
    In(C::AttackPlane2Frame, C::AttackPlane2Number, 1890, 240, 405, 315),
    In(C::AttackPlane2Frame, C::FormationSizeCaption, 120, 600, 1485, 165),
    In(C::AttackPlane2Frame, C::FormationSizeOptions, 0, 270, 840, 1455, 225),
    In(C::AttackPlane2Frame, C::FormationSizeOptions, 1, 270, 1125, 1455, 225),
    In(C::AttackPlane2Frame, C::FormationSizeOptions, 2, 270, 1410, 1455, 225),
    In(C::AttackPlane2Frame, C::FormationSizeOptions, 3, 270, 1695, 1455, 225),

    W(C::UnknownFrame, 3990, 6900, 2385, 1035),  // "Two unknown settings"
    In(C::UnknownFrame, C::Unknown1Caption, 120, 270, 495, 225),
    In(C::UnknownFrame, C::Unknown1Box, 690, 270, 1575, 285),
    In(C::UnknownFrame, C::Unknown2Caption, 120, 660, 495, 225),
    In(C::UnknownFrame, C::Unknown2Box, 690, 630, 1575, 285),

    // ---- Second column ----
    W(C::TargetFrame, 6390, 0, 2415, 795),  // "Target"
    In(C::TargetFrame, C::TargetName, 180, 270, 1545, 315),
    In(C::TargetFrame, C::TargetNumber, 1830, 270, 405, 315),

    W(C::MissionTypeFrame, 6390, 810, 2415, 1755),  // "Mission Type"
    In(C::MissionTypeFrame, C::MissionTypeOptions, 0, 420, 330, 1455, 195),
    In(C::MissionTypeFrame, C::MissionTypeOptions, 1, 420, 615, 1455, 195),
    In(C::MissionTypeFrame, C::MissionTypeOptions, 2, 420, 900, 1455, 195),
    In(C::MissionTypeFrame, C::MissionTypeOptions, 3, 420, 1185, 1455, 195),
    In(C::MissionTypeFrame, C::MissionTypeOptions, 4, 420, 1470, 1455, 195),

    W(C::CruiseAltitudeFrame, 6390, 2580, 2415, 975),  // "Cruse Altitude"
    In(C::CruiseAltitudeFrame, C::CruiseAltitudeOptions, 0, 60, 270, 1065, 195),
    In(C::CruiseAltitudeFrame, C::CruiseAltitudeOptions, 1, 60, 540, 1065, 195),
    In(C::CruiseAltitudeFrame, C::CruiseAltitudeOptions, 2, 1110, 270, 1065, 195),
    In(C::CruiseAltitudeFrame, C::CruiseAltitudeOptions, 3, 1110, 570, 1065, 195),

    W(C::AltitudesFrame, 6390, 3570, 2415, 1965),  // "Altitudes (feet)"
    In(C::AltitudesFrame, C::AttackPrimaryAltitudeCaption, 60, 420, 1425, 255),
    In(C::AltitudesFrame, C::AttackPrimaryAltitudeBox, 1530, 390, 795, 285),
    In(C::AltitudesFrame, C::AttackSecondaryAltitudeCaption, 60, 810, 1425, 255),
    In(C::AltitudesFrame, C::AttackSecondaryAltitudeBox, 1530, 780, 795, 285),
    In(C::AltitudesFrame, C::EnemyPrimaryAltitudeCaption, 60, 1260, 1425, 255),
    In(C::AltitudesFrame, C::EnemyPrimaryAltitudeBox, 1530, 1200, 795, 285),
    In(C::AltitudesFrame, C::EnemySecondaryAltitudeCaption, 60, 1590, 1425, 255),
    In(C::AltitudesFrame, C::EnemySecondaryAltitudeBox, 1530, 1560, 795, 285),

    W(C::PilotSkillFrame, 6390, 5550, 2415, 1035),  // "Pilots' skill level"
    In(C::PilotSkillFrame, C::PilotSkillOptions, 0, 60, 300, 1065, 195),
    In(C::PilotSkillFrame, C::PilotSkillOptions, 1, 60, 630, 1065, 195),
    In(C::PilotSkillFrame, C::PilotSkillOptions, 2, 1110, 300, 1065, 195),
    In(C::PilotSkillFrame, C::PilotSkillOptions, 3, 1110, 630, 1065, 195),

    W(C::MiscFrame, 6390, 6600, 4845, 1335),  // "Miscellaneous Values"
    In(C::MiscFrame, C::MissionDateCaption, 480, 240, 1335, 225),
    In(C::MiscFrame, C::MissionDateBox, 1920, 180, 1125, 315),
    In(C::MiscFrame, C::MissionWeatherCaption, 480, 585, 1335, 225),
    In(C::MiscFrame, C::MissionWeatherBox, 1920, 540, 1125, 315),
    In(C::MiscFrame, C::TargetOffsetCaption, 480, 930, 1335, 225),
    In(C::MiscFrame, C::TargetOffsetBox, 1920, 900, 1125, 315),
    In(C::MiscFrame, C::UnknownNote, 3270, 210, 1425, 1065),

    // ---- Third column ----
    W(C::HomeBaseFrame, 8820, 0, 2415, 795),  // "Home Base"
    In(C::HomeBaseFrame, C::HomeBaseName, 150, 300, 1545, 315),
    In(C::HomeBaseFrame, C::HomeBaseNumber, 1830, 300, 405, 315),

    W(C::EnemyFrame, 8820, 810, 2415, 3225),  // "Enemy aircraft"
    In(C::EnemyFrame, C::EnemyPrimaryCaption, 90, 270, 1485, 225),
    In(C::EnemyFrame, C::EnemyPrimaryName, 60, 540, 1725, 315),
    In(C::EnemyFrame, C::EnemyPrimaryNumber, 1830, 540, 465, 315),
    In(C::EnemyFrame, C::EnemySecondaryCaption, 90, 930, 1485, 225),
    In(C::EnemyFrame, C::EnemySecondaryName, 60, 1230, 1725, 315),
    In(C::EnemyFrame, C::EnemySecondaryNumber, 1830, 1230, 465, 315),
    In(C::EnemyFrame, C::BattleSizeCaption, 240, 1740, 1485, 165),
    In(C::EnemyFrame, C::BattleSizeOptions, 0, 390, 1980, 1455, 225),
    In(C::EnemyFrame, C::BattleSizeOptions, 1, 390, 2265, 1455, 225),
    In(C::EnemyFrame, C::BattleSizeOptions, 2, 390, 2550, 1455, 225),
    In(C::EnemyFrame, C::BattleSizeOptions, 3, 390, 2835, 1455, 225),

    W(C::EnemySkillFrame, 8820, 4050, 2415, 975),  // "Enemy pilots' skill level"
    In(C::EnemySkillFrame, C::EnemySkillOptions, 0, 60, 270, 1065, 195),
    In(C::EnemySkillFrame, C::EnemySkillOptions, 1, 60, 540, 1065, 195),
    In(C::EnemySkillFrame, C::EnemySkillOptions, 2, 1110, 270, 1065, 195),
    In(C::EnemySkillFrame, C::EnemySkillOptions, 3, 1110, 540, 1065, 195),

    W(C::AaaFrame, 8820, 5040, 2415, 1545),  // "AAA"
    In(C::AaaFrame, C::AaaOptions, 0, 210, 240, 1035, 285),
    In(C::AaaFrame, C::AaaOptions, 1, 210, 555, 1035, 285),
    In(C::AaaFrame, C::AaaOptions, 2, 210, 870, 1035, 285),
    In(C::AaaFrame, C::AaaOptions, 3, 210, 1185, 1035, 285),

    // ---- The strip below the sheet ----
    W(C::StatusLine, 30, kStripTop, 6450, 1005),
    // The checksum labels, kChecksumShift below their sheet positions
    // (the stored checksum and the checksum caption stand at 6870 on the sheet).
    W(C::StoredChecksumDecimal, 6570, 6870 + kChecksumShift, 1635, 285),
    W(C::ChecksumCaption, 8970, 6870 + kChecksumShift, 1365, 285),
    W(C::StoredChecksumBytes, 6570, 7170 + kChecksumShift, 1635, 285),
    W(C::ChecksumDecimal, 8880, 7170 + kChecksumShift, 1515, 315),
    W(C::ChecksumByte0, 6570, 7500 + kChecksumShift, 465, 345),
    W(C::ChecksumByte1, 7065, 7500 + kChecksumShift, 465, 345),
    W(C::ChecksumByte2, 7560, 7500 + kChecksumShift, 465, 345),
    W(C::ChecksumByte3, 8055, 7500 + kChecksumShift, 465, 345),
    W(C::ChecksumHex, 8880, 7560 + kChecksumShift, 1515, 315),
};

static_assert(6870 + kChecksumShift == kStripTop, "the checksum block starts at the strip's first row");

}  // namespace

std::span<const Placement> Arrangement() { return kPlacements; }

int NextZoom(int percent, int direction) {
    const int* const first = std::begin(kZoomSteps);
    const int* const last = std::end(kZoomSteps) - 1;
    const int* nearest = first;
    for (const int* step = first; step <= last; ++step)
        if (std::abs(*step - percent) < std::abs(*nearest - percent)) nearest = step;
    if (direction > 0 && nearest < last && *nearest <= percent) ++nearest;
    if (direction < 0 && nearest > first && *nearest >= percent) --nearest;
    return *nearest;
}

const Placement* FindPlacement(ControlId id, int member) {
    for (const Placement& p : kPlacements)
        if (p.id == id && p.member == member) return &p;
    return nullptr;
}

TwipRect WindowRect(const Placement& placement) {
    TwipRect r{placement.left, placement.top, placement.width, placement.height};
    if (!placement.onWindow())
        if (const Placement* frame = FindPlacement(placement.parent)) {
            r.left += frame->left;
            r.top += frame->top;
        }
    return r;
}

TwipRect GroupBounds(ControlId group) {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool first = true;
    for (const Placement& p : kPlacements) {
        if (p.id != group) continue;
        left = first ? p.left : std::min(left, p.left);
        top = first ? p.top : std::min(top, p.top);
        right = first ? p.right() : std::max(right, p.right());
        bottom = first ? p.bottom() : std::max(bottom, p.bottom());
        first = false;
    }
    return {left, top, right - left, bottom - top};
}

}  // namespace kestrane
