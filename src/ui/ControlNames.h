#pragma once
// How every view names the window's controls to assistive technology: what
// each value label is and how a user reaches it, which caption names a box,
// a list or an option group, and the name read for a value label showing a
// text. Toolkit-free, so that each view names the controls alike.

#include <string>
#include <string_view>

#include "ui/ControlId.h"

namespace kestrane {

// How a user reaches a value label: not at all, by Tab (a read-only value),
// or as a button that a press acts on (a slot).
enum class Reach { None, Tab, Press };

struct Description {
    ControlId id;
    std::string_view what;  // what the label is
    std::string_view hint;  // what a press does, for slots; empty for others
    Reach reach;
};

// The description of a value label, or null for other controls.
const Description* FindDescription(ControlId id);

// The name read for a value label showing a text. A plain value is named by
// the text it shows. A value that Tab reaches, and a slot, are named by what
// they are and what they show ("Attack plane 1: 14:P-47 Thunderbolt", or
// "...: empty"), since a screen reader reads only a focused control's name.
std::string AccessibleNameOf(const Description* description, std::string_view shown);

// The label whose caption names a text box or a list, or Count for none.
ControlId NamingCaption(ControlId control);
// The option groups that share their frame with other controls stand in a
// box of their own, named by this caption; Count for the other groups,
// which their frame names.
ControlId GroupCaption(ControlId group);

// A caption as a name: without the blanks and colons that end it, and
// without leading blanks.
std::string AsName(std::string_view caption);

}  // namespace kestrane
