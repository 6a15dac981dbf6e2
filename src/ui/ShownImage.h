#pragma once
// What the window shows of a mission image, for every view: each label's
// text, each option group's chosen member, each number box's text, the
// aircraft and place names from today's lists, the checksums, and how a
// field's value is worded in the status line and the undo history. It
// holds nothing: it is the image and the lists, shown. The window model
// applies it to its controls; a view shows the model's controls.

#include <optional>
#include <string>
#include <vector>

#include "mission/Fields.h"
#include "mission/MissionImage.h"
#include "ui/ControlId.h"
#include "ui/PickList.h"

namespace kestrane {

// A control as the image shows it: its text, its value (a group's member,
// the check box's state), or both.
struct ShownControl {
    ControlId id;
    std::optional<std::string> text;
    std::optional<int> value;
};
using Shown = std::vector<ShownControl>;

// The lists that name aircraft and places.
struct ShownLists {
    const PickList& aircraft;
    const PickList& places;
};

// The checksum a save would stamp: signed decimal, hexadecimal and its four
// bytes, least significant first.
Shown ChecksumShown(const MissionImage& image);
// What a load shows of the file: its path, the checksum as computed and as
// stored (decimal and the stored bytes in hexadecimal), the mission's name
// and the instant action box.
Shown LoadedLabelsShown(const MissionImage& image, const std::string& path);
// The aircraft and place labels: names from today's lists, and numbers.
Shown PicksShown(const MissionImage& image, const ShownLists& lists);
// Every setting: each group's member (a stored value that is no member
// leaves its group out), each number box's text, then the picks.
Shown SettingsShown(const MissionImage& image, const ShownLists& lists);

// How the window words a field's value: an option's caption, a number, on
// or off, the name in quotes, an aircraft or place as its list shows it.
std::string FieldWords(const MissionImage& image, const Field& field, const ShownLists& lists);
// What a box shows for its field: the name's text, or the number's words.
std::string BoxWords(const MissionImage& image, const Field& field, const ShownLists& lists);

}  // namespace kestrane
