#pragma once
// What kind each control is and the caption it starts with, as one table,
// and the ties between controls and the settings they edit.

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "editors/Settings.h"
#include "ui/ControlId.h"

namespace kestrane {

enum class ControlKind {
    Frame,           // a titled group box
    Label,           // a caption or a value shown as text
    ClickableLabel,  // a label that takes clicks (the pickers' name labels, the enemy secondary's number)
    Button,
    TextBox,
    CheckBox,
    Options,  // an option group: one id, a button per member
    List,
    StatusLine,
};

struct ControlSpec {
    ControlId id;
    ControlKind kind;
    std::string_view caption;  // the caption (or text) at start-up
};

// Every control, in ControlId order.
const ControlSpec& Spec(ControlId id);
std::span<const ControlSpec> AllControls();

// The option groups and the settings they choose.
struct OptionControl {
    ControlId group;
    const OptionSetting* setting;
};
extern const std::array<OptionControl, 10> kOptionControls;

// The boxes committed by Enter and by every save, in the order a save reads
// them; the mission name box has no number setting.
struct BoxControl {
    ControlId box;
    const NumberSetting* number;  // null for the mission name
};
extern const std::array<BoxControl, 11> kBoxControls;

// The aircraft slots and places with their name and number labels.
struct SlotControl {
    ControlId name;
    ControlId number;
    const AircraftSlot* slot;
};
extern const std::array<SlotControl, 4> kSlotControls;

struct PlaceControl {
    ControlId name;
    ControlId number;
    const PlaceSetting* place;
};
extern const std::array<PlaceControl, 2> kPlaceControls;

// What a list entry's context menu offers: the slots its pick can go
// into, each with the caption the menu gives it.
struct EntryUse {
    ControlId slot;
    std::string_view caption;  // "Use as Attack plane 1"
};
std::span<const EntryUse> EntryUses(ControlId list);

// The row that ties a control to its setting, or null.
const OptionControl* OptionFor(ControlId group);
const BoxControl* BoxFor(ControlId box);
const SlotControl* SlotFor(ControlId name);
const PlaceControl* PlaceFor(ControlId name);
// The fields a control edits (a setting and its copy), empty for others.
std::vector<const Field*> FieldsOf(ControlId id);

}  // namespace kestrane
