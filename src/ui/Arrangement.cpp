#include "ui/Arrangement.h"

#include <array>

namespace kestrane {

namespace {

using K = WidgetKind;

constexpr int kStripTop = kSheetHeight + 60;  // first row of the strip

// Shorthands: a control on the window, and a control inside a frame.
constexpr Placement W(std::string_view name, int index, K kind, int left, int top, int width, int height) {
    return {name, index, kind, {}, -1, left, top, width, height};
}
constexpr Placement In(std::string_view frame, int frameIndex, std::string_view name, int index, K kind, int left,
                       int top, int width, int height) {
    return {name, index, kind, frame, frameIndex, left, top, width, height};
}

constexpr std::array kPlacements{
    // ---- Left: file commands, the name and file name, the two pick lists ----
    W("Label16", -1, K::Label, 30, 0, 3885, 405),
    W("Command2", -1, K::Button, 180, 450, 1605, 405),
    W("Command3", -1, K::Button, 1980, 450, 1605, 405),
    W("Label17", -1, K::Label, 150, 930, 3645, 315),
    W("Label19", -1, K::Label, 30, 1290, 1455, 315),
    W("Text1", -1, K::TextBox, 1560, 1290, 1545, 315),
    W("Label20", -1, K::Label, 30, 1650, 1455, 315),
    W("Text2", -1, K::TextBox, 1560, 1650, 1545, 315),
    // Save stands right of both boxes; it comes after them so that Tab goes
    // name, file name, Save.
    W("Command4", -1, K::Button, 3150, 1290, 795, 675),
    W("Label4", 0, K::Label, 30, 2070, 1185, 255),
    W("Label4", 1, K::Label, 1770, 2070, 1935, 285),
    W("List1", -1, K::ListBox, 0, 2340, 1695, 5520),
    W("List2", -1, K::ListBox, 1740, 2340, 2205, 5520),

    // ---- First column of frames ----
    W("Frame1", 1, K::Frame, 3990, -15, 2385, 1095),  // "Year"
    In("Frame1", 1, "Yrbut", 0, K::OptionButton, 180, 240, 825, 195),
    In("Frame1", 1, "Yrbut", 1, K::OptionButton, 180, 510, 825, 195),
    In("Frame1", 1, "Yrbut", 2, K::OptionButton, 1200, 240, 825, 195),
    In("Frame1", 1, "Yrbut", 3, K::OptionButton, 1200, 510, 825, 195),
    In("Frame1", 1, "IA", -1, K::CheckBox, 540, 780, 1545, 255),

    W("Frame1", 2, K::Frame, 3990, 1110, 2385, 855),  // "Time of Day"
    In("Frame1", 2, "TOD", 0, K::OptionButton, 180, 270, 1005, 195),
    In("Frame1", 2, "TOD", 1, K::OptionButton, 180, 540, 1005, 195),
    In("Frame1", 2, "TOD", 2, K::OptionButton, 1200, 270, 1005, 195),
    In("Frame1", 2, "TOD", 3, K::OptionButton, 1200, 540, 1005, 195),

    W("Frame1", 3, K::Frame, 3990, 1965, 2385, 1815),  // "Weather"
    In("Frame1", 3, "Weather", 0, K::OptionButton, 120, 300, 1125, 225),
    In("Frame1", 3, "Weather", 1, K::OptionButton, 120, 600, 855, 225),
    In("Frame1", 3, "Weather", 2, K::OptionButton, 120, 900, 2055, 225),
    In("Frame1", 3, "Weather", 3, K::OptionButton, 120, 1200, 2055, 225),
    In("Frame1", 3, "Weather", 4, K::OptionButton, 120, 1500, 2055, 225),

    W("Frame1", 5, K::Frame, 3990, 3795, 2385, 1035),  // "Attack Plane 1"
    In("Frame1", 5, "AP1L", -1, K::ClickableLabel, 60, 270, 1725, 315),
    In("Frame1", 5, "AP1N", -1, K::Label, 1830, 270, 465, 315),
    In("Frame1", 5, "Label6", -1, K::Label, 120, 630, 1365, 165),
    In("Frame1", 5, "AP1Num", -1, K::TextBox, 1770, 630, 555, 285),

    W("Frame1", 6, K::Frame, 3990, 4830, 2385, 2085),  // "Attack Plane 2"
    In("Frame1", 6, "AP2L", -1, K::ClickableLabel, 90, 240, 1755, 315),
    In("Frame1", 6, "AP2N", -1, K::Label, 1890, 240, 405, 315),
    In("Frame1", 6, "Label5", -1, K::Label, 120, 600, 1485, 165),
    In("Frame1", 6, "AP2But", 0, K::OptionButton, 270, 840, 1455, 225),
    In("Frame1", 6, "AP2But", 1, K::OptionButton, 270, 1125, 1455, 225),
    In("Frame1", 6, "AP2But", 2, K::OptionButton, 270, 1410, 1455, 225),
    In("Frame1", 6, "AP2But", 3, K::OptionButton, 270, 1695, 1455, 225),

    W("Frame3", -1, K::Frame, 3990, 6900, 2385, 1035),  // "Two unknown settings"
    In("Frame3", -1, "Label13", 0, K::Label, 120, 270, 495, 225),
    In("Frame3", -1, "UKN", 0, K::TextBox, 690, 270, 1575, 285),
    In("Frame3", -1, "Label13", 1, K::Label, 120, 660, 495, 225),
    In("Frame3", -1, "UKN", 1, K::TextBox, 690, 630, 1575, 285),

    // ---- Second column ----
    W("Frame1", 7, K::Frame, 6390, 0, 2415, 795),  // "Target"
    In("Frame1", 7, "Targl", -1, K::ClickableLabel, 180, 270, 1545, 315),
    In("Frame1", 7, "TargLN", -1, K::Label, 1830, 270, 405, 315),

    W("Frame1", 9, K::Frame, 6390, 810, 2415, 1755),  // "Mission Type"
    In("Frame1", 9, "MTBut", 0, K::OptionButton, 420, 330, 1455, 195),
    In("Frame1", 9, "MTBut", 1, K::OptionButton, 420, 615, 1455, 195),
    In("Frame1", 9, "MTBut", 2, K::OptionButton, 420, 900, 1455, 195),
    In("Frame1", 9, "MTBut", 3, K::OptionButton, 420, 1185, 1455, 195),
    In("Frame1", 9, "MTBut", 4, K::OptionButton, 420, 1470, 1455, 195),

    W("Frame1", 0, K::Frame, 6390, 2580, 2415, 975),  // "Cruse Altitude"
    In("Frame1", 0, "PAlt", 0, K::OptionButton, 60, 270, 1065, 195),
    In("Frame1", 0, "PAlt", 1, K::OptionButton, 60, 540, 1065, 195),
    In("Frame1", 0, "PAlt", 2, K::OptionButton, 1110, 270, 1065, 195),
    In("Frame1", 0, "PAlt", 3, K::OptionButton, 1110, 570, 1065, 195),

    W("Frame1", 11, K::Frame, 6390, 3570, 2415, 1965),  // "Altitudes (feet)"
    In("Frame1", 11, "Label10", 0, K::Label, 60, 420, 1425, 255),
    In("Frame1", 11, "AltText", 0, K::TextBox, 1530, 390, 795, 285),
    In("Frame1", 11, "Label10", 1, K::Label, 60, 810, 1425, 255),
    In("Frame1", 11, "AltText", 1, K::TextBox, 1530, 780, 795, 285),
    In("Frame1", 11, "Label10", 2, K::Label, 60, 1260, 1425, 255),
    In("Frame1", 11, "AltText", 2, K::TextBox, 1530, 1200, 795, 285),
    In("Frame1", 11, "Label10", 3, K::Label, 60, 1590, 1425, 255),
    In("Frame1", 11, "AltText", 3, K::TextBox, 1530, 1560, 795, 285),

    W("Frame1", 10, K::Frame, 6390, 5550, 2415, 1035),  // "Pilots' skill level"
    In("Frame1", 10, "Pskill", 0, K::OptionButton, 60, 300, 1065, 195),
    In("Frame1", 10, "Pskill", 1, K::OptionButton, 60, 630, 1065, 195),
    In("Frame1", 10, "Pskill", 2, K::OptionButton, 1110, 300, 1065, 195),
    In("Frame1", 10, "Pskill", 3, K::OptionButton, 1110, 630, 1065, 195),

    W("Frame2", -1, K::Frame, 6390, 6600, 4845, 1335),  // "Miscellaneous Values"
    In("Frame2", -1, "Label11", 0, K::Label, 480, 240, 1335, 225),
    In("Frame2", -1, "MDate", -1, K::TextBox, 1920, 180, 1125, 315),
    In("Frame2", -1, "Label11", 1, K::Label, 480, 585, 1335, 225),
    In("Frame2", -1, "MWeather", -1, K::TextBox, 1920, 540, 1125, 315),
    In("Frame2", -1, "Label11", 2, K::Label, 480, 930, 1335, 225),
    In("Frame2", -1, "TOffset", -1, K::TextBox, 1920, 900, 1125, 315),
    In("Frame2", -1, "Label12", -1, K::Label, 3270, 210, 1425, 1065),

    // ---- Third column ----
    W("Frame1", 8, K::Frame, 8820, 0, 2415, 795),  // "Home Base"
    In("Frame1", 8, "HBL", -1, K::ClickableLabel, 150, 300, 1545, 315),
    In("Frame1", 8, "HBN", -1, K::Label, 1830, 300, 405, 315),

    W("Frame1", 19, K::Frame, 8820, 810, 2415, 3225),  // "Enemy aircraft"
    In("Frame1", 19, "Label7", -1, K::Label, 90, 270, 1485, 225),
    In("Frame1", 19, "DP1L", -1, K::ClickableLabel, 60, 540, 1725, 315),
    In("Frame1", 19, "DP1N", -1, K::Label, 1830, 540, 465, 315),
    In("Frame1", 19, "Label8", -1, K::Label, 90, 930, 1485, 225),
    In("Frame1", 19, "DP2L", -1, K::ClickableLabel, 60, 1230, 1725, 315),
    In("Frame1", 19, "DP2N", -1, K::ClickableLabel, 1830, 1230, 465, 315),
    In("Frame1", 19, "Label9", -1, K::Label, 240, 1740, 1485, 165),
    In("Frame1", 19, "BSBut", 0, K::OptionButton, 390, 1980, 1455, 225),
    In("Frame1", 19, "BSBut", 1, K::OptionButton, 390, 2265, 1455, 225),
    In("Frame1", 19, "BSBut", 2, K::OptionButton, 390, 2550, 1455, 225),
    In("Frame1", 19, "BSBut", 3, K::OptionButton, 390, 2835, 1455, 225),

    W("Frame1", 4, K::Frame, 8820, 4050, 2415, 975),  // "Enemy pilots' skill level"
    In("Frame1", 4, "EPskill", 0, K::OptionButton, 60, 270, 1065, 195),
    In("Frame1", 4, "EPskill", 1, K::OptionButton, 60, 540, 1065, 195),
    In("Frame1", 4, "EPskill", 2, K::OptionButton, 1110, 270, 1065, 195),
    In("Frame1", 4, "EPskill", 3, K::OptionButton, 1110, 540, 1065, 195),

    W("Frame1", 22, K::Frame, 8820, 5040, 2415, 1545),  // "AAA"
    In("Frame1", 22, "AAA", 0, K::OptionButton, 210, 240, 1035, 285),
    In("Frame1", 22, "AAA", 1, K::OptionButton, 210, 555, 1035, 285),
    In("Frame1", 22, "AAA", 2, K::OptionButton, 210, 870, 1035, 285),
    In("Frame1", 22, "AAA", 3, K::OptionButton, 210, 1185, 1035, 285),

    // ---- The strip below the sheet ----
    W("StatusLine", -1, K::StatusLine, 30, kStripTop, 6450, 1005),
    // The checksum labels, kChecksumShift below their sheet positions
    // (Label15 and Label14 stand at 6870 on the sheet).
    W("Label15", -1, K::Label, 6570, 6870 + kChecksumShift, 1635, 285),
    W("Label14", -1, K::Label, 8970, 6870 + kChecksumShift, 1365, 285),
    W("Label3", -1, K::Label, 6570, 7170 + kChecksumShift, 1635, 285),
    W("Label1", -1, K::Label, 8880, 7170 + kChecksumShift, 1515, 315),
    W("Label18", 0, K::Label, 6570, 7500 + kChecksumShift, 465, 345),
    W("Label18", 1, K::Label, 7065, 7500 + kChecksumShift, 465, 345),
    W("Label18", 2, K::Label, 7560, 7500 + kChecksumShift, 465, 345),
    W("Label18", 3, K::Label, 8055, 7500 + kChecksumShift, 465, 345),
    W("Label2", -1, K::Label, 8880, 7560 + kChecksumShift, 1515, 315),
};

static_assert(6870 + kChecksumShift == kStripTop, "the checksum block starts at the strip's first row");

}  // namespace

std::span<const Placement> Arrangement() { return kPlacements; }

const Placement* FindPlacement(std::string_view name, int index) {
    for (const Placement& p : kPlacements)
        if (p.name == name && p.index == index) return &p;
    return nullptr;
}

TwipRect WindowRect(const Placement& placement) {
    TwipRect r{placement.left, placement.top, placement.width, placement.height};
    if (!placement.onWindow())
        if (const Placement* frame = FindPlacement(placement.parent, placement.parentIndex)) {
            r.left += frame->left;
            r.top += frame->top;
        }
    return r;
}

}  // namespace kestrane
