// The four aircraft slots: a click on a slot's name label takes the entry
// selected in the aircraft list, and the number of aircraft of attack plane 1.

#include "editors/Conversions.h"
#include "editors/EditorTables.h"

namespace kestrane {

// Positions 254 and 255 would be read back as the None and Random codes,
// whose first bytes they share; attack plane 1 has no codes but only its first
// byte is read back, so 256 and beyond cannot be told apart.
const AircraftSlotSpec kAttackPlane1{"Attack plane 1", &Form1::AP1L, &Form1::AP1N,
                                     {&Field("AttackPlane1Type"), nullptr}, false, false, false, 256};
const AircraftSlotSpec kAttackPlane2{"Attack plane 2", &Form1::AP2L, &Form1::AP2N,
                                     {&Field("AttackPlane2Type"), &Field("AttackPlane2TypeCopy")}, true, true, true, 254};
const AircraftSlotSpec kEnemyPrimary{"Enemy primary", &Form1::DP1L, &Form1::DP1N,
                                     {&Field("EnemyPrimaryType"), &Field("EnemyPrimaryTypeCopy")}, true, false, false, 255};
const AircraftSlotSpec kEnemySecondary{"Enemy secondary", &Form1::DP2L, &Form1::DP2N,
                                       {&Field("EnemySecondaryType"), &Field("EnemySecondaryTypeCopy")}, true, true, false, 254};

const AircraftSlotSpec* SlotForField(std::string_view fieldName) {
    for (const AircraftSlotSpec* slot : {&kAttackPlane1, &kAttackPlane2, &kEnemyPrimary, &kEnemySecondary})
        if (slot->fields[0]->name == fieldName) return slot;
    return nullptr;
}

namespace {

constexpr std::uint32_t kRandomCode = 0xFFFFFFFFu;  // 255, 255, 255, 255
constexpr std::uint32_t kNoneCode = 0xFFFFFFFEu;    // 254, 255, 255, 255

void WriteSlot(Grid& grid, const AircraftSlotSpec& slot, std::uint32_t code) {
    for (const FieldSpec* field : slot.fields)
        if (field != nullptr) WriteU32(grid, field->row(), code);
}

const char* kNoMission = "No mission is open: load one or make a new one first.";

}  // namespace

struct FormEditors {
    static void Assign(Form1& form, const AircraftSlotSpec& slot) {
        Label& name = form.*slot.name;
        Label& number = form.*slot.number;
        const int p = form.List1.ListIndex;
        const int c = form.List1.ListCount();
        const bool isRandom = p == c - 2;
        const bool isNone = p == c - 1;

        const bool codeChoice = slot.usesCodes && (isRandom || isNone);
        if (!form.MissionOpen && !(slot.randomNoneAnyTime && codeChoice)) {
            form.StatusLine.Caption = kNoMission;
            return;
        }
        if (p < 0) {
            form.StatusLine.Caption = "Select an aircraft in the Aircraft list first, then click the slot.";
            return;
        }
        if (isNone && !slot.offersNone) {
            form.StatusLine.Caption = std::string(slot.what) + " cannot be \"None\"; nothing was changed.";
            return;
        }
        if (codeChoice) {
            name.Caption = isRandom ? "Random" : "None";
            number.Caption.clear();
            WriteSlot(form.G, slot, isRandom ? kRandomCode : kNoneCode);
            form.StatusLine.Caption = std::string(slot.what) + ": " + name.Caption + ".";
            return;
        }
        if (p >= slot.firstRefused) {
            form.StatusLine.Caption = std::string(slot.what) + ": list position " + std::to_string(p) +
                                      " cannot be stored (a mission file tells positions apart only up to " +
                                      std::to_string(slot.firstRefused - 1) + "); nothing was changed.";
            return;
        }
        name.Caption = form.List1.List(p);
        number.Caption = std::to_string(p);
        WriteSlot(form.G, slot, static_cast<std::uint32_t>(p));
        form.StatusLine.Caption = std::string(slot.what) + ": " + name.Caption + ".";
    }
};

void Form1::AP1L_Click() { FormEditors::Assign(*this, kAttackPlane1); }
void Form1::AP2L_Click() { FormEditors::Assign(*this, kAttackPlane2); }
void Form1::DP1L_Click() { FormEditors::Assign(*this, kEnemyPrimary); }
void Form1::DP2L_Click() { FormEditors::Assign(*this, kEnemySecondary); }

void Form1::DP2N_Click() {
    // The number label is a quick way to "None": the labels change at any
    // time, and with a mission open the None code is stored as well, so that
    // what the window shows is what the file gets.
    DP2L.Caption = "None";
    DP2N.Caption.clear();
    if (MissionOpen) {
        WriteSlot(G, kEnemySecondary, kNoneCode);
        StatusLine.Caption = "Enemy secondary: None.";
    }
}

void Form1::AP1Num_KeyPress(int& keyAscii) {
    if (!MissionOpen || keyAscii != kEnterKey) return;
    const NumberResult number = ReadWholeNumber(Label6.Caption, AP1Num.Text, 255);
    if (!number.value) {
        StatusLine.Caption = number.error;
        return;
    }
    G.SetByte(Field("AttackPlane1Count").row(), static_cast<std::uint8_t>(*number.value));
    StatusLine.Caption = std::string(Label6.Caption) + " stored " + std::to_string(*number.value) + ".";
}

}  // namespace kestrane
