// The ten option groups: choosing member i writes i into the group's field
// (and its copy) at once, while a mission is open.

#include "editors/EditorTables.h"

namespace kestrane {

const std::array<OptionGroupSpec, 10> kOptionGroups{{
    {"Yrbut", &Form1::Yrbut, "Year", {"1940", "1943", "1944", "1945", ""}, 4, &Field("YearSetting"), nullptr},
    {"TOD", &Form1::TOD, "Time of Day", {"Random", "Dawn", "Day", "Dusk", ""}, 4, &Field("TimeOfDaySetting"), nullptr},
    {"Weather", &Form1::Weather, "Weather", {"Random", "Clear", "Partly cloudy", "Heavy clouds", "Overcast"}, 5,
     &Field("WeatherSetting"), nullptr},
    {"MTBut", &Form1::MTBut, "Mission Type",
     {"Escort Flight ", "Fighter Sweep", "Bomb Target", "Intercept ", "Interdiction"}, 5,
     &Field("MissionTypeSetting"), nullptr},
    {"PAlt", &Form1::PAlt, "Cruise altitude", {"Random", "Low", "Medium", "High", ""}, 4,
     &Field("CruiseAltitudeSetting"), nullptr},
    {"AP2But", &Form1::AP2But, "Formation size", {"Random", "Small", "Medium", "Large", ""}, 4,
     &Field("FormationSizeSetting"), nullptr},
    {"Pskill", &Form1::Pskill, "Pilots' skill level", {"Random", "Green", "Seasoned", "Expert", ""}, 4,
     &Field("PilotSkillSetting"), &Field("PilotSkillCopy")},
    {"EPskill", &Form1::EPskill, "Enemy pilots' skill level", {"Random", "Green", "Seasoned", "Expert", ""}, 4,
     &Field("EnemySkillSetting"), &Field("EnemySkillCopy")},
    {"BSBut", &Form1::BSBut, "Battle size", {"Random", "Small", "Medium", "Large", ""}, 4,
     &Field("BattleSizeSetting"), &Field("BattleSizeCopy")},
    {"AAA", &Form1::AAA, "AAA", {"Random", "Light", "Moderate", "Heavy", ""}, 4, &Field("AAASetting"), nullptr},
}};

const OptionGroupSpec* FindOptionGroup(const Form1& form, const OptionGroup& group) {
    for (const OptionGroupSpec& spec : kOptionGroups)
        if (&(form.*spec.group) == &group) return &spec;
    return nullptr;
}

void Form1::InitOptionGroups() {
    for (const OptionGroupSpec& spec : kOptionGroups) {
        OptionGroup& group = this->*spec.group;
        group.Captions.assign(spec.captions.begin(), spec.captions.begin() + spec.count);
        group.Value = -1;
    }
}

void Form1::OptionClick(OptionGroup& group, int index) {
    const OptionGroupSpec* spec = FindOptionGroup(*this, group);
    if (spec == nullptr || index < 0 || index >= group.Count()) return;
    group.Value = index;  // the button shows as selected in any case
    if (!MissionOpen) {
        StatusLine.Caption = "No mission is open: load one or make a new one to change its settings.";
        return;
    }
    G.SetByte(spec->field->row(), static_cast<std::uint8_t>(index));
    if (spec->copy != nullptr) G.SetByte(spec->copy->row(), static_cast<std::uint8_t>(index));
    StatusLine.Caption = std::string(spec->frame) + ": " + group.Captions[static_cast<std::size_t>(index)] + ".";
}

void Form1::SelectOption(OptionGroup& group, int value) {
    // A stored value with no member leaves the group as it was.
    if (value < 0 || value >= group.Count()) return;
    group.Value = value;
    OptionClick(group, value);
}

void Form1::Yrbut_Click(int index) { OptionClick(Yrbut, index); }
void Form1::TOD_Click(int index) { OptionClick(TOD, index); }
void Form1::Weather_Click(int index) { OptionClick(Weather, index); }
void Form1::MTBut_Click(int index) { OptionClick(MTBut, index); }
void Form1::PAlt_Click(int index) { OptionClick(PAlt, index); }
void Form1::AP2But_Click(int index) { OptionClick(AP2But, index); }
void Form1::Pskill_Click(int index) { OptionClick(Pskill, index); }
void Form1::EPskill_Click(int index) { OptionClick(EPskill, index); }
void Form1::BSBut_Click(int index) { OptionClick(BSBut, index); }
void Form1::AAA_Click(int index) { OptionClick(AAA, index); }

}  // namespace kestrane
