// The mission name box and the instant-action check box.

#include "editors/Conversions.h"
#include "editors/EditorTables.h"

namespace kestrane {

bool Form1::NameWrite() {
    const NameResult name = EncodeName(Text1.Text);
    if (!name.bytes) {
        StatusLine.Caption = name.error;
        return false;
    }
    const int first = Field("MissionName").row();
    for (std::size_t j = 0; j < kNameLength; ++j) G.SetByte(first + static_cast<int>(j), (*name.bytes)[j]);
    return true;
}

void Form1::Text1_KeyPress(int& keyAscii) {
    if (!MissionOpen || keyAscii != kEnterKey) return;
    if (NameWrite()) StatusLine.Caption = "Mission name stored.";
}

void Form1::IA_Click() {
    if (!MissionOpen) return;
    const int row = Field("InstantActionFlag").row();
    G.SetByte(row, 0);
    if (IA.Value == 1) G.SetByte(row, 128);
}

}  // namespace kestrane
