// The aircraft slots and the two places: an entry picked from a catalogue
// list is stored as its position, or as the Random or None code.

#include "editors/Settings.h"

namespace kestrane {

namespace {

void WriteSlot(MissionImage& image, const AircraftSlot& slot, std::uint32_t code, std::vector<const Field*>& written) {
    for (const Field* field : slot.fields)
        if (field != nullptr) {
            image.SetU32(field->offset, code);
            written.push_back(field);
        }
}

// An entry as a sentence names it: " 3:Spitfire" as "3:Spitfire".
std::string Named(const std::string& item) { return item.starts_with(' ') ? item.substr(1) : item; }

PickEdit Refused(std::string message) {
    PickEdit edit;
    edit.message = std::move(message);
    return edit;
}

}  // namespace

Pick AircraftListPick(int index, int size, std::string item) {
    Pick pick{Pick::Kind::Entry, index, std::move(item)};
    if (index >= 0 && index == size - 2) pick.kind = Pick::Kind::Random;
    if (index >= 0 && index == size - 1) pick.kind = Pick::Kind::None;
    return pick;
}

std::string_view CodeName(Pick::Kind kind) {
    switch (kind) {
    case Pick::Kind::Random: return kAircraftListEnd[0];
    case Pick::Kind::None: return kAircraftListEnd[1];
    default: return {};
    }
}

bool PickableWithoutMission(const AircraftSlot& slot, const Pick& pick) {
    return slot.randomNoneAnyTime && slot.usesCodes && pick.kind != Pick::Kind::Entry;
}

PickEdit AssignAircraft(MissionImage& image, const AircraftSlot& slot, const Pick& pick) {
    if (pick.position < 0) return Refused("Select an aircraft in the Aircraft list first, then click the slot.");
    if (pick.kind == Pick::Kind::None && !slot.offersNone)
        return Refused(std::string(slot.what) + " cannot be \"None\"; nothing was changed.");
    PickEdit edit;
    edit.stored = true;
    if (slot.usesCodes && pick.kind != Pick::Kind::Entry) {
        edit.name = CodeName(pick.kind);
        WriteSlot(image, slot, pick.kind == Pick::Kind::Random ? kRandomCode : kNoneCode, edit.written);
    } else {
        if (pick.position >= slot.firstRefused)
            return Refused(std::string(slot.what) + ": list position " + std::to_string(pick.position) +
                           " cannot be stored (a mission file tells positions apart only up to " +
                           std::to_string(slot.firstRefused - 1) + "); nothing was changed.");
        edit.name = pick.item;
        edit.number = std::to_string(pick.position);
        WriteSlot(image, slot, static_cast<std::uint32_t>(pick.position), edit.written);
    }
    edit.message = std::string(slot.what) + ": " + Named(edit.name) + ".";
    return edit;
}

Edit StoreNone(MissionImage& image, const AircraftSlot& slot) {
    Edit edit{true, std::string(slot.what) + ": None.", {}};
    WriteSlot(image, slot, kNoneCode, edit.written);
    return edit;
}

StoredAircraft ReadAircraft(const MissionImage& image, const AircraftSlot& slot) {
    return ReadAircraft(slot, image.Read(*slot.fields[0]));
}

StoredAircraft ReadAircraft(const AircraftSlot& slot, std::uint32_t stored) {
    const int first = static_cast<int>(stored & 0xFFu);
    Pick::Kind kind = Pick::Kind::Entry;
    if (slot.usesCodes && first == kRandomByte) kind = Pick::Kind::Random;
    if (slot.usesCodes && slot.offersNone && first == kNoneByte) kind = Pick::Kind::None;
    return {kind, first};
}

PickEdit AssignPlace(MissionImage& image, const PlaceSetting& place, const Pick& pick) {
    if (pick.position < 0)
        return Refused("Select a place in the Target/Home Base list first, then click the " + std::string(place.missing) + ".");
    if (pick.position > kLastPlace)
        return Refused(std::string(place.what) + ": list position " + std::to_string(pick.position) +
                       " cannot be stored (a mission file holds places 0 to 65535); nothing was changed.");
    PickEdit edit;
    edit.stored = true;
    edit.name = pick.item;
    edit.number = std::to_string(pick.position);
    image.SetU16(place.field->offset, static_cast<std::uint16_t>(pick.position));
    edit.written.push_back(place.field);
    edit.message = std::string(place.what) + ": " + Named(edit.name) + ".";
    return edit;
}

}  // namespace kestrane
