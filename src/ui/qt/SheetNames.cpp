// The names the controls have on the sheet, used as the widgets' object
// names so that the window can be compared with the sheet and driven by
// tools that know those names. This table is the only place they appear.

#include "ui/qt/SheetNames.h"

#include <array>
#include <string_view>

namespace kestrane {

namespace {

using C = ControlId;

struct SheetName {
    ControlId id;
    std::string_view name;
    int index;  // member of a control array on the sheet, -1 otherwise
};

constexpr std::array<SheetName, kControlCount> kSheetNames{{
    {C::LoadedPath, "Label16", -1},
    {C::LoadButton, "Command2", -1},
    {C::NewButton, "Command3", -1},
    {C::LoadedName, "Label17", -1},
    {C::NameCaption, "Label19", -1},
    {C::NameBox, "Text1", -1},
    {C::FileNameCaption, "Label20", -1},
    {C::FileNameBox, "Text2", -1},
    {C::SaveButton, "Command4", -1},
    {C::AircraftListCaption, "Label4", 0},
    {C::PlaceListCaption, "Label4", 1},
    {C::AircraftList, "List1", -1},
    {C::PlaceList, "List2", -1},
    {C::YearFrame, "Frame1", 1},
    {C::YearOptions, "Yrbut", -1},
    {C::InstantActionBox, "IA", -1},
    {C::TimeOfDayFrame, "Frame1", 2},
    {C::TimeOfDayOptions, "TOD", -1},
    {C::WeatherFrame, "Frame1", 3},
    {C::WeatherOptions, "Weather", -1},
    {C::AttackPlane1Frame, "Frame1", 5},
    {C::AttackPlane1Name, "AP1L", -1},
    {C::AttackPlane1Number, "AP1N", -1},
    {C::AircraftCountCaption, "Label6", -1},
    {C::AircraftCountBox, "AP1Num", -1},
    {C::AttackPlane2Frame, "Frame1", 6},
    {C::AttackPlane2Name, "AP2L", -1},
    {C::AttackPlane2Number, "AP2N", -1},
    {C::FormationSizeCaption, "Label5", -1},
    {C::FormationSizeOptions, "AP2But", -1},
    {C::UnknownFrame, "Frame3", -1},
    {C::Unknown1Caption, "Label13", 0},
    {C::Unknown1Box, "UKN", 0},
    {C::Unknown2Caption, "Label13", 1},
    {C::Unknown2Box, "UKN", 1},
    {C::TargetFrame, "Frame1", 7},
    {C::TargetName, "Targl", -1},
    {C::TargetNumber, "TargLN", -1},
    {C::MissionTypeFrame, "Frame1", 9},
    {C::MissionTypeOptions, "MTBut", -1},
    {C::CruiseAltitudeFrame, "Frame1", 0},
    {C::CruiseAltitudeOptions, "PAlt", -1},
    {C::AltitudesFrame, "Frame1", 11},
    {C::AttackPrimaryAltitudeCaption, "Label10", 0},
    {C::AttackPrimaryAltitudeBox, "AltText", 0},
    {C::AttackSecondaryAltitudeCaption, "Label10", 1},
    {C::AttackSecondaryAltitudeBox, "AltText", 1},
    {C::EnemyPrimaryAltitudeCaption, "Label10", 2},
    {C::EnemyPrimaryAltitudeBox, "AltText", 2},
    {C::EnemySecondaryAltitudeCaption, "Label10", 3},
    {C::EnemySecondaryAltitudeBox, "AltText", 3},
    {C::PilotSkillFrame, "Frame1", 10},
    {C::PilotSkillOptions, "Pskill", -1},
    {C::MiscFrame, "Frame2", -1},
    {C::MissionDateCaption, "Label11", 0},
    {C::MissionDateBox, "MDate", -1},
    {C::MissionWeatherCaption, "Label11", 1},
    {C::MissionWeatherBox, "MWeather", -1},
    {C::TargetOffsetCaption, "Label11", 2},
    {C::TargetOffsetBox, "TOffset", -1},
    {C::UnknownNote, "Label12", -1},
    {C::HomeBaseFrame, "Frame1", 8},
    {C::HomeBaseName, "HBL", -1},
    {C::HomeBaseNumber, "HBN", -1},
    {C::EnemyFrame, "Frame1", 19},
    {C::EnemyPrimaryCaption, "Label7", -1},
    {C::EnemyPrimaryName, "DP1L", -1},
    {C::EnemyPrimaryNumber, "DP1N", -1},
    {C::EnemySecondaryCaption, "Label8", -1},
    {C::EnemySecondaryName, "DP2L", -1},
    {C::EnemySecondaryNumber, "DP2N", -1},
    {C::BattleSizeCaption, "Label9", -1},
    {C::BattleSizeOptions, "BSBut", -1},
    {C::EnemySkillFrame, "Frame1", 4},
    {C::EnemySkillOptions, "EPskill", -1},
    {C::AaaFrame, "Frame1", 22},
    {C::AaaOptions, "AAA", -1},
    {C::StatusLine, "StatusLine", -1},
    {C::StoredChecksumDecimal, "Label15", -1},
    {C::ChecksumCaption, "Label14", -1},
    {C::StoredChecksumBytes, "Label3", -1},
    {C::ChecksumDecimal, "Label1", -1},
    {C::ChecksumByte0, "Label18", 0},
    {C::ChecksumByte1, "Label18", 1},
    {C::ChecksumByte2, "Label18", 2},
    {C::ChecksumByte3, "Label18", 3},
    {C::ChecksumHex, "Label2", -1},
}};

constexpr bool EveryControlInIdOrder() {
    for (std::size_t i = 0; i < kSheetNames.size(); ++i)
        if (Index(kSheetNames[i].id) != i) return false;
    return true;
}
static_assert(EveryControlInIdOrder(), "the sheet-name table names every control once, in id order");

}  // namespace

QString ObjectName(ControlId id, int member) {
    const SheetName& sheet = kSheetNames[Index(id)];
    QString name = QString::fromLatin1(sheet.name.data(), static_cast<qsizetype>(sheet.name.size()));
    const int index = member >= 0 ? member : sheet.index;
    if (index >= 0) name += u'_' + QString::number(index);
    return name;
}

QString WindowObjectName() { return QStringLiteral("Form1"); }

}  // namespace kestrane
