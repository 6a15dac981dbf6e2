// The nine free-number boxes: Enter commits the box's number into its
// four-byte field while a mission is open; saving commits them all again.

#include "editors/Conversions.h"
#include "editors/EditorTables.h"

namespace kestrane {

const std::array<NumericBoxSpec, 9> kNumericBoxes{{
    {"AltText", 0, &Field("AttackPrimaryAltitude")},
    {"AltText", 1, &Field("AttackSecondaryAltitude")},
    {"AltText", 2, &Field("EnemyPrimaryAltitude")},
    {"AltText", 3, &Field("EnemySecondaryAltitude")},
    {"MDate", -1, &Field("MissionDate")},
    {"MWeather", -1, &Field("MissionWeather")},
    {"TOffset", -1, &Field("TargetOffset")},
    {"UKN", 0, &Field("Unknown1")},
    {"UKN", 1, &Field("Unknown2")},
}};

std::string_view NumericBoxCaption(const Form1& form, const NumericBoxSpec& box) {
    if (box.control == "AltText") return form.Label10[static_cast<std::size_t>(box.index)].Caption;
    if (box.control == "UKN") return form.Label13[static_cast<std::size_t>(box.index)].Caption;
    if (box.control == "MDate") return form.Label11[0].Caption;
    if (box.control == "MWeather") return form.Label11[1].Caption;
    return form.Label11[2].Caption;
}

bool Form1::ByteWrite(std::string_view text, int firstRow) {
    const NumberResult number = ReadWholeNumber("The number", text, kUnsignedMax);
    if (!number.value) return false;
    WriteU32(G, firstRow, *number.value);
    return true;
}

bool Form1::CommitNumericBox(std::string_view caption, std::string_view text, int firstRow) {
    const NumberResult number = ReadWholeNumber(caption, text, kUnsignedMax);
    if (!number.value) {
        StatusLine.Caption = number.error;
        return false;
    }
    WriteU32(G, firstRow, *number.value);
    StatusLine.Caption = std::string(caption) + ": stored " + std::to_string(*number.value) + ".";
    return true;
}

void Form1::AltText_KeyPress(int index, int& keyAscii) {
    if (!MissionOpen || keyAscii != kEnterKey || index < 0 || index > 3) return;
    const NumericBoxSpec& box = kNumericBoxes[static_cast<std::size_t>(index)];
    CommitNumericBox(NumericBoxCaption(*this, box), AltText[static_cast<std::size_t>(index)].Text, box.field->row());
}

void Form1::MDate_KeyPress(int& keyAscii) {
    if (!MissionOpen || keyAscii != kEnterKey) return;
    CommitNumericBox(Label11[0].Caption, MDate.Text, kNumericBoxes[4].field->row());
}

void Form1::MWeather_KeyPress(int& keyAscii) {
    if (!MissionOpen || keyAscii != kEnterKey) return;
    CommitNumericBox(Label11[1].Caption, MWeather.Text, kNumericBoxes[5].field->row());
}

void Form1::TOffset_KeyPress(int& keyAscii) {
    if (!MissionOpen || keyAscii != kEnterKey) return;
    CommitNumericBox(Label11[2].Caption, TOffset.Text, kNumericBoxes[6].field->row());
}

void Form1::UKN_KeyPress(int index, int& keyAscii) {
    if (!MissionOpen || keyAscii != kEnterKey || index < 0 || index > 1) return;
    const NumericBoxSpec& box = kNumericBoxes[7 + static_cast<std::size_t>(index)];
    CommitNumericBox(NumericBoxCaption(*this, box), UKN[static_cast<std::size_t>(index)].Text, box.field->row());
}

}  // namespace kestrane
