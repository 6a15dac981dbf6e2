#include "ui/Controls.h"

namespace kestrane {

namespace {

using C = ControlId;
using K = ControlKind;

// The captions are the game's own texts, kept to the letter on purpose,
// spelling included ("Miission name :", "Cruse Altitude"), and so are the
// trailing blanks of "Escort Flight " and "Intercept ": mission makers know
// the sheet by them.
constexpr std::array<ControlSpec, kControlCount> kControls{{
    {C::LoadedPath, K::Label, ""},
    {C::LoadButton, K::Button, "Load a \".msn\" file"},
    {C::NewButton, K::Button, "Make a new mission"},
    {C::LoadedName, K::Label, ""},
    {C::NameCaption, K::Label, "Miission name :"},
    {C::NameBox, K::TextBox, ""},
    {C::FileNameCaption, K::Label, "\"***.msn\" filename:"},
    {C::FileNameBox, K::TextBox, ""},
    {C::SaveButton, K::Button, "Save!"},
    {C::AircraftListCaption, K::Label, "Aircraft"},
    {C::PlaceListCaption, K::Label, "Target/Home Base"},
    {C::AircraftList, K::List, ""},
    {C::PlaceList, K::List, ""},

    {C::YearFrame, K::Frame, "Year"},
    {C::YearOptions, K::Options, ""},
    {C::InstantActionBox, K::CheckBox, "Instant Action"},
    {C::TimeOfDayFrame, K::Frame, "Time of Day"},
    {C::TimeOfDayOptions, K::Options, ""},
    {C::WeatherFrame, K::Frame, "Weather"},
    {C::WeatherOptions, K::Options, ""},
    {C::AttackPlane1Frame, K::Frame, "Attack Plane 1"},
    {C::AttackPlane1Name, K::ClickableLabel, ""},
    {C::AttackPlane1Number, K::Label, ""},
    {C::AircraftCountCaption, K::Label, "Number of aircraft:"},
    {C::AircraftCountBox, K::TextBox, ""},
    {C::AttackPlane2Frame, K::Frame, "Attack Plane 2"},
    {C::AttackPlane2Name, K::ClickableLabel, ""},
    {C::AttackPlane2Number, K::Label, ""},
    {C::FormationSizeCaption, K::Label, "Formation size:"},
    {C::FormationSizeOptions, K::Options, ""},
    {C::UnknownFrame, K::Frame, "Two unknown settings"},
    {C::Unknown1Caption, K::Label, kUnknown1.caption},
    {C::Unknown1Box, K::TextBox, ""},
    {C::Unknown2Caption, K::Label, kUnknown2.caption},
    {C::Unknown2Box, K::TextBox, ""},

    {C::TargetFrame, K::Frame, "Target"},
    {C::TargetName, K::ClickableLabel, ""},
    {C::TargetNumber, K::Label, ""},
    {C::MissionTypeFrame, K::Frame, "Mission Type"},
    {C::MissionTypeOptions, K::Options, ""},
    {C::CruiseAltitudeFrame, K::Frame, "Cruse Altitude"},
    {C::CruiseAltitudeOptions, K::Options, ""},
    {C::AltitudesFrame, K::Frame, "Altitudes (feet)"},
    {C::AttackPrimaryAltitudeCaption, K::Label, kAttackPrimaryAltitude.caption},
    {C::AttackPrimaryAltitudeBox, K::TextBox, ""},
    {C::AttackSecondaryAltitudeCaption, K::Label, kAttackSecondaryAltitude.caption},
    {C::AttackSecondaryAltitudeBox, K::TextBox, ""},
    {C::EnemyPrimaryAltitudeCaption, K::Label, kEnemyPrimaryAltitude.caption},
    {C::EnemyPrimaryAltitudeBox, K::TextBox, ""},
    {C::EnemySecondaryAltitudeCaption, K::Label, kEnemySecondaryAltitude.caption},
    {C::EnemySecondaryAltitudeBox, K::TextBox, ""},
    {C::PilotSkillFrame, K::Frame, "Pilots' skill level"},
    {C::PilotSkillOptions, K::Options, ""},
    {C::MiscFrame, K::Frame, "Miscellaneous Values"},
    {C::MissionDateCaption, K::Label, kMissionDate.caption},
    {C::MissionDateBox, K::TextBox, ""},
    {C::MissionWeatherCaption, K::Label, kMissionWeather.caption},
    {C::MissionWeatherBox, K::TextBox, ""},
    {C::TargetOffsetCaption, K::Label, kTargetOffset.caption},
    {C::TargetOffsetBox, K::TextBox, ""},
    {C::UnknownNote, K::Label, "We have no idea as yet what these do and what values might be entered."},

    {C::HomeBaseFrame, K::Frame, "Home Base"},
    {C::HomeBaseName, K::ClickableLabel, ""},
    {C::HomeBaseNumber, K::Label, ""},
    {C::EnemyFrame, K::Frame, "Enemy aircraft"},
    {C::EnemyPrimaryCaption, K::Label, "Primary:"},
    {C::EnemyPrimaryName, K::ClickableLabel, ""},
    {C::EnemyPrimaryNumber, K::Label, ""},
    {C::EnemySecondaryCaption, K::Label, "Secondary:"},
    {C::EnemySecondaryName, K::ClickableLabel, ""},
    {C::EnemySecondaryNumber, K::ClickableLabel, ""},
    {C::BattleSizeCaption, K::Label, "Battle size:"},
    {C::BattleSizeOptions, K::Options, ""},
    {C::EnemySkillFrame, K::Frame, "Enemy pilots' skill level"},
    {C::EnemySkillOptions, K::Options, ""},
    {C::AaaFrame, K::Frame, "AAA"},
    {C::AaaOptions, K::Options, ""},

    {C::StatusLine, K::StatusLine, ""},
    {C::StoredChecksumDecimal, K::Label, ""},
    {C::ChecksumCaption, K::Label, "Current checksum:"},
    {C::StoredChecksumBytes, K::Label, ""},
    {C::ChecksumDecimal, K::Label, ""},
    {C::ChecksumByte0, K::Label, ""},
    {C::ChecksumByte1, K::Label, ""},
    {C::ChecksumByte2, K::Label, ""},
    {C::ChecksumByte3, K::Label, ""},
    {C::ChecksumHex, K::Label, ""},
}};

constexpr bool InIdOrder() {
    for (std::size_t i = 0; i < kControls.size(); ++i)
        if (Index(kControls[i].id) != i) return false;
    return true;
}
static_assert(InIdOrder(), "the control table lists every control once, in id order");

template <class Row, std::size_t N, class Key>
const Row* Find(const std::array<Row, N>& rows, Key Row::*key, ControlId id) {
    for (const Row& row : rows)
        if (row.*key == id) return &row;
    return nullptr;
}

}  // namespace

const ControlSpec& Spec(ControlId id) { return kControls[Index(id)]; }
std::span<const ControlSpec> AllControls() { return kControls; }

const std::array<OptionControl, 10> kOptionControls{{
    {C::YearOptions, &kYear},
    {C::TimeOfDayOptions, &kTimeOfDay},
    {C::WeatherOptions, &kWeather},
    {C::MissionTypeOptions, &kMissionType},
    {C::CruiseAltitudeOptions, &kCruiseAltitude},
    {C::FormationSizeOptions, &kFormationSize},
    {C::PilotSkillOptions, &kPilotSkill},
    {C::EnemySkillOptions, &kEnemySkill},
    {C::BattleSizeOptions, &kBattleSize},
    {C::AaaOptions, &kAaa},
}};

const std::array<BoxControl, 11> kBoxControls{{
    {C::NameBox, nullptr},
    {C::AttackPrimaryAltitudeBox, &kAttackPrimaryAltitude},
    {C::AttackSecondaryAltitudeBox, &kAttackSecondaryAltitude},
    {C::EnemyPrimaryAltitudeBox, &kEnemyPrimaryAltitude},
    {C::EnemySecondaryAltitudeBox, &kEnemySecondaryAltitude},
    {C::MissionDateBox, &kMissionDate},
    {C::MissionWeatherBox, &kMissionWeather},
    {C::TargetOffsetBox, &kTargetOffset},
    {C::Unknown1Box, &kUnknown1},
    {C::Unknown2Box, &kUnknown2},
    {C::AircraftCountBox, &kAircraftCount},
}};

const std::array<SlotControl, 4> kSlotControls{{
    {C::AttackPlane1Name, C::AttackPlane1Number, &kAttackPlane1},
    {C::AttackPlane2Name, C::AttackPlane2Number, &kAttackPlane2},
    {C::EnemyPrimaryName, C::EnemyPrimaryNumber, &kEnemyPrimary},
    {C::EnemySecondaryName, C::EnemySecondaryNumber, &kEnemySecondary},
}};

const std::array<PlaceControl, 2> kPlaceControls{{
    {C::TargetName, C::TargetNumber, &kTarget},
    {C::HomeBaseName, C::HomeBaseNumber, &kHomeBase},
}};

const OptionControl* OptionFor(ControlId group) { return Find(kOptionControls, &OptionControl::group, group); }
const BoxControl* BoxFor(ControlId box) { return Find(kBoxControls, &BoxControl::box, box); }
const SlotControl* SlotFor(ControlId name) { return Find(kSlotControls, &SlotControl::name, name); }
const PlaceControl* PlaceFor(ControlId name) { return Find(kPlaceControls, &PlaceControl::name, name); }

namespace {
constexpr EntryUse kAircraftUses[] = {{C::AttackPlane1Name, "Use as Attack plane 1"},
                                      {C::AttackPlane2Name, "Use as Attack plane 2"},
                                      {C::EnemyPrimaryName, "Use as Enemy primary"},
                                      {C::EnemySecondaryName, "Use as Enemy secondary"}};
constexpr EntryUse kPlaceUses[] = {{C::TargetName, "Use as Target"}, {C::HomeBaseName, "Use as Home base"}};
}  // namespace

std::span<const EntryUse> EntryUses(ControlId list) {
    if (list == C::AircraftList) return kAircraftUses;
    if (list == C::PlaceList) return kPlaceUses;
    return {};
}

std::vector<const Field*> FieldsOf(ControlId id) {
    std::vector<const Field*> fields;
    auto add = [&](const Field* field) {
        if (field != nullptr) fields.push_back(field);
    };
    if (const OptionControl* option = OptionFor(id)) {
        add(option->setting->field);
        add(option->setting->copy);
    } else if (const BoxControl* box = BoxFor(id)) {
        add(box->number != nullptr ? box->number->field : &kMissionNameField);
    } else if (const SlotControl* slot = SlotFor(id)) {
        for (const Field* field : slot->slot->fields) add(field);
    } else if (const PlaceControl* place = PlaceFor(id)) {
        add(place->place->field);
    } else if (id == C::InstantActionBox) {
        add(&kInstantActionField);
    } else if (id == C::EnemySecondaryNumber) {
        for (const Field* field : kEnemySecondary.fields) add(field);
    }
    return fields;
}

}  // namespace kestrane
