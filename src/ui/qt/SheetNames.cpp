// The names the controls have on the original sheet, used as the widgets'
// object names so that the window can be compared with the sheet and driven
// by tools that know those names. This table is the only place they appear.

#include "ui/qt/SheetNames.h"

#include <array>
#include <string_view>

namespace kestrane {

namespace {

struct SheetName {
    std::string_view name;
    int index;  // member of a control array on the sheet, -1 otherwise
};

// In ControlId order.
constexpr std::array<SheetName, kControlCount> kSheetNames{{
    {"Label16", -1},  // LoadedPath
    {"Command2", -1},  // LoadButton
    {"Command3", -1},  // NewButton
    {"Label17", -1},  // LoadedName
    {"Label19", -1},  // NameCaption
    {"Text1", -1},  // NameBox
    {"Label20", -1},  // FileNameCaption
    {"Text2", -1},  // FileNameBox
    {"Command4", -1},  // SaveButton
    {"Label4", 0},  // AircraftListCaption
    {"Label4", 1},  // PlaceListCaption
    {"List1", -1},  // AircraftList
    {"List2", -1},  // PlaceList
    {"Frame1", 1},  // YearFrame
    {"Yrbut", -1},  // YearOptions
    {"IA", -1},  // InstantActionBox
    {"Frame1", 2},  // TimeOfDayFrame
    {"TOD", -1},  // TimeOfDayOptions
    {"Frame1", 3},  // WeatherFrame
    {"Weather", -1},  // WeatherOptions
    {"Frame1", 5},  // AttackPlane1Frame
    {"AP1L", -1},  // AttackPlane1Name
    {"AP1N", -1},  // AttackPlane1Number
    {"Label6", -1},  // AircraftCountCaption
    {"AP1Num", -1},  // AircraftCountBox
    {"Frame1", 6},  // AttackPlane2Frame
    {"AP2L", -1},  // AttackPlane2Name
    {"AP2N", -1},  // AttackPlane2Number
    {"Label5", -1},  // FormationSizeCaption
    {"AP2But", -1},  // FormationSizeOptions
    {"Frame3", -1},  // UnknownFrame
    {"Label13", 0},  // Unknown1Caption
    {"UKN", 0},  // Unknown1Box
    {"Label13", 1},  // Unknown2Caption
    {"UKN", 1},  // Unknown2Box
    {"Frame1", 7},  // TargetFrame
    {"Targl", -1},  // TargetName
    {"TargLN", -1},  // TargetNumber
    {"Frame1", 9},  // MissionTypeFrame
    {"MTBut", -1},  // MissionTypeOptions
    {"Frame1", 0},  // CruiseAltitudeFrame
    {"PAlt", -1},  // CruiseAltitudeOptions
    {"Frame1", 11},  // AltitudesFrame
    {"Label10", 0},  // AttackPrimaryAltitudeCaption
    {"AltText", 0},  // AttackPrimaryAltitudeBox
    {"Label10", 1},  // AttackSecondaryAltitudeCaption
    {"AltText", 1},  // AttackSecondaryAltitudeBox
    {"Label10", 2},  // EnemyPrimaryAltitudeCaption
    {"AltText", 2},  // EnemyPrimaryAltitudeBox
    {"Label10", 3},  // EnemySecondaryAltitudeCaption
    {"AltText", 3},  // EnemySecondaryAltitudeBox
    {"Frame1", 10},  // PilotSkillFrame
    {"Pskill", -1},  // PilotSkillOptions
    {"Frame2", -1},  // MiscFrame
    {"Label11", 0},  // MissionDateCaption
    {"MDate", -1},  // MissionDateBox
    {"Label11", 1},  // MissionWeatherCaption
    {"MWeather", -1},  // MissionWeatherBox
    {"Label11", 2},  // TargetOffsetCaption
    {"TOffset", -1},  // TargetOffsetBox
    {"Label12", -1},  // UnknownNote
    {"Frame1", 8},  // HomeBaseFrame
    {"HBL", -1},  // HomeBaseName
    {"HBN", -1},  // HomeBaseNumber
    {"Frame1", 19},  // EnemyFrame
    {"Label7", -1},  // EnemyPrimaryCaption
    {"DP1L", -1},  // EnemyPrimaryName
    {"DP1N", -1},  // EnemyPrimaryNumber
    {"Label8", -1},  // EnemySecondaryCaption
    {"DP2L", -1},  // EnemySecondaryName
    {"DP2N", -1},  // EnemySecondaryNumber
    {"Label9", -1},  // BattleSizeCaption
    {"BSBut", -1},  // BattleSizeOptions
    {"Frame1", 4},  // EnemySkillFrame
    {"EPskill", -1},  // EnemySkillOptions
    {"Frame1", 22},  // AaaFrame
    {"AAA", -1},  // AaaOptions
    {"StatusLine", -1},  // StatusLine
    {"Label15", -1},  // StoredChecksumDecimal
    {"Label14", -1},  // ChecksumCaption
    {"Label3", -1},  // StoredChecksumBytes
    {"Label1", -1},  // ChecksumDecimal
    {"Label18", 0},  // ChecksumByte0
    {"Label18", 1},  // ChecksumByte1
    {"Label18", 2},  // ChecksumByte2
    {"Label18", 3},  // ChecksumByte3
    {"Label2", -1},  // ChecksumHex
}};

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
