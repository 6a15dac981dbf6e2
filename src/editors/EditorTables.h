#pragma once
// Tables that tie the window model's controls to the fields they edit.
// Shared by the editors and by loading, which decodes through them.

#include <array>
#include <string_view>

#include "mission/Layout.h"
#include "ui/Form1.h"

namespace kestrane {

struct OptionGroupSpec {
    std::string_view control;
    OptionGroup Form1::*group;
    std::string_view frame;  // what the status line calls the group
    std::array<std::string_view, 5> captions;
    int count;
    const FieldSpec* field;
    const FieldSpec* copy;  // written with the same index, or null
};
extern const std::array<OptionGroupSpec, 10> kOptionGroups;
const OptionGroupSpec* FindOptionGroup(const Form1& form, const OptionGroup& group);

struct AircraftSlotSpec {
    std::string_view what;  // as the status line names the slot
    Label Form1::*name;
    Label Form1::*number;
    std::array<const FieldSpec*, 2> fields;  // the second is null for attack plane 1
    bool usesCodes;     // Random and None are codes, not list positions
    bool offersNone;
    bool randomNoneAnyTime;  // Random and None may be chosen with no mission open
    int firstRefused;  // the lowest catalogue position the field cannot tell apart
};
extern const AircraftSlotSpec kAttackPlane1, kAttackPlane2, kEnemyPrimary, kEnemySecondary;
const AircraftSlotSpec* SlotForField(std::string_view fieldName);

struct PlaceSpec {
    std::string_view what;
    Label Form1::*name;
    Label Form1::*number;
    const FieldSpec* field;
};
extern const PlaceSpec kTarget, kHomeBase;
const PlaceSpec* PlaceForField(std::string_view fieldName);

// The free-text boxes that Update commits, in its order, with the caption
// that the status line uses for each.
struct NumericBoxSpec {
    std::string_view control;
    int index;
    const FieldSpec* field;
};
extern const std::array<NumericBoxSpec, 9> kNumericBoxes;
std::string_view NumericBoxCaption(const Form1& form, const NumericBoxSpec& box);

inline constexpr std::uint32_t kUnsignedMax = 0xFFFFFFFFu;

}  // namespace kestrane
