#include "ui/ControlNames.h"

#include <span>
#include <utility>

namespace kestrane {

namespace {

using C = ControlId;

constexpr std::string_view kPutAircraft = "Space puts the aircraft selected in the Aircraft list in.";
constexpr std::string_view kPutPlace = "Space puts the place selected in the Target/Home Base list in.";

constexpr Description kDescriptions[] = {
    {C::LoadedPath, "Path of the loaded file", "", Reach::Tab},
    {C::LoadedName, "Mission name read from the file", "", Reach::Tab},
    {C::AttackPlane1Name, "Attack plane 1", kPutAircraft, Reach::Press},
    {C::AttackPlane1Number, "Attack plane 1, aircraft number", "", Reach::None},
    {C::AttackPlane2Name, "Attack plane 2", kPutAircraft, Reach::Press},
    {C::AttackPlane2Number, "Attack plane 2, aircraft number", "", Reach::None},
    {C::EnemyPrimaryName, "Enemy primary", kPutAircraft, Reach::Press},
    {C::EnemyPrimaryNumber, "Enemy primary, aircraft number", "", Reach::None},
    {C::EnemySecondaryName, "Enemy secondary", kPutAircraft, Reach::Press},
    {C::EnemySecondaryNumber, "Enemy secondary, aircraft number", "Space sets the enemy secondary to None.", Reach::Press},
    {C::TargetName, "Target", kPutPlace, Reach::Press},
    {C::TargetNumber, "Target, place number", "", Reach::None},
    {C::HomeBaseName, "Home base", kPutPlace, Reach::Press},
    {C::HomeBaseNumber, "Home base, place number", "", Reach::None},
    {C::StoredChecksumDecimal, "Stored checksum, decimal", "", Reach::Tab},
    {C::StoredChecksumBytes, "Stored checksum, hexadecimal bytes", "", Reach::Tab},
    {C::ChecksumDecimal, "Current checksum, decimal", "", Reach::Tab},
    {C::ChecksumHex, "Current checksum, hexadecimal", "", Reach::Tab},
    {C::ChecksumByte0, "Current checksum, byte 0 (lowest)", "", Reach::Tab},
    {C::ChecksumByte1, "Current checksum, byte 1", "", Reach::Tab},
    {C::ChecksumByte2, "Current checksum, byte 2", "", Reach::Tab},
    {C::ChecksumByte3, "Current checksum, byte 3 (highest)", "", Reach::Tab},
};

constexpr std::pair<ControlId, ControlId> kNamedBy[] = {
    {C::NameBox, C::NameCaption},
    {C::FileNameBox, C::FileNameCaption},
    {C::AttackPrimaryAltitudeBox, C::AttackPrimaryAltitudeCaption},
    {C::AttackSecondaryAltitudeBox, C::AttackSecondaryAltitudeCaption},
    {C::EnemyPrimaryAltitudeBox, C::EnemyPrimaryAltitudeCaption},
    {C::EnemySecondaryAltitudeBox, C::EnemySecondaryAltitudeCaption},
    {C::MissionDateBox, C::MissionDateCaption},
    {C::MissionWeatherBox, C::MissionWeatherCaption},
    {C::TargetOffsetBox, C::TargetOffsetCaption},
    {C::Unknown1Box, C::Unknown1Caption},
    {C::Unknown2Box, C::Unknown2Caption},
    {C::AircraftCountBox, C::AircraftCountCaption},
    {C::AircraftList, C::AircraftListCaption},
    {C::PlaceList, C::PlaceListCaption},
};

constexpr std::pair<ControlId, ControlId> kGroupCaptions[] = {
    {C::FormationSizeOptions, C::FormationSizeCaption},
    {C::BattleSizeOptions, C::BattleSizeCaption},
};

ControlId Lookup(std::span<const std::pair<ControlId, ControlId>> rows, ControlId id) {
    for (const auto& [control, caption] : rows)
        if (control == id) return caption;
    return ControlId::Count;
}

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

const Description* FindDescription(ControlId id) {
    for (const Description& d : kDescriptions)
        if (d.id == id) return &d;
    return nullptr;
}

std::string AccessibleNameOf(const Description* description, std::string_view shown) {
    if (description == nullptr || description->reach == Reach::None) return std::string(shown);
    while (!shown.empty() && IsBlank(shown.front())) shown.remove_prefix(1);
    while (!shown.empty() && IsBlank(shown.back())) shown.remove_suffix(1);
    return std::string(description->what) + ": " + (shown.empty() ? std::string("empty") : std::string(shown));
}

ControlId NamingCaption(ControlId control) { return Lookup(kNamedBy, control); }
ControlId GroupCaption(ControlId group) { return Lookup(kGroupCaptions, group); }

std::string AsName(std::string_view caption) {
    while (!caption.empty() && (caption.back() == ':' || IsBlank(caption.back()))) caption.remove_suffix(1);
    while (!caption.empty() && IsBlank(caption.front())) caption.remove_prefix(1);
    return std::string(caption);
}

}  // namespace kestrane
