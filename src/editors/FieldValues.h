#pragma once
// A mission as named values, and back: each field's value as text in the
// form SetFieldValue takes back, with an option's caption and the catalogue
// name of an aircraft or place as the window shows them. The command line
// prints and reads these; a view that lists missions can show them.

#include <string>
#include <string_view>
#include <vector>

#include "catalogues/Catalogue.h"
#include "editors/Settings.h"

namespace kestrane {


struct FieldValue {
    // The value as SetFieldValue takes it back: an option's index, on or off
    // for the Instant Action flag, Random or None for an aircraft code, the
    // mission name as a JSON string, and every other value as its decimal
    // number. A stored value that its editor never writes (an option index
    // with no choice, an aircraft position past what the file tells apart) is
    // its number, which SetFieldValue refuses.
    std::string text;
    // An option's caption (without trailing blanks), or how the Instant
    // Action flag reads: on or off. Empty for other fields.
    std::string caption;
    // The aircraft or place the window names: the catalogue's entry (the
    // aircraft list's Random and None entries included), or Random or None
    // for a code. Empty when the list has no such entry.
    std::string name;
};
// Any field, copies, the checksum and the fixed header included.
FieldValue ValueOf(const MissionImage& image, const Field& field, const NameLists& lists);

// "Field=text", followed by "  # " and the caption or name when there is one
// that the text does not already say. SetFieldValue takes the part after "="
// back whole. Control characters in the caption or name show as "?".
std::string ValueLine(const Field& field, const FieldValue& value);

// Sets a field through its setting's editor, from a value text:
// - an option takes its index or its caption (in any case);
// - a number is read as the window reads a typed number;
// - the mission name takes its text;
// - the Instant Action flag takes on or off, 1 or 0;
// - an aircraft takes a list position (digits), Random, None, or the name of
//   an entry of planes.txt; a place a list position or an entry of
//   targets.txt. Random and None name the aircraft list's last two entries
//   and are stored as codes where the slot has them. A name that matches no
//   entry, or several, is refused with the candidates.
// Any value may be a JSON string ("..."), taken as its text. Otherwise a
// blank followed by "#" starts a comment, which is dropped with the blanks
// before it. Copies, the checksum and the fixed header are not set directly.
Edit SetFieldValue(MissionImage& image, const Field& field, std::string_view text, const NameLists& lists);

// An option's caption for an index below its count, without trailing blanks.
std::string CaptionOf(const OptionSetting& option, int index);

// Whether SetFieldValue sets the field: every field but the copies, the
// stored checksum and the fixed header.
bool Settable(const Field& field);

// The values SetFieldValue takes for a field, in words, or why it sets none.
std::string AcceptedValues(const Field& field);

// Where two missions differ, a line each, in offset order: a field as
// "Name: a -> b", with the captions or names after "  # " when they say
// more, and a run of bytes outside every field as "bytes 40..42 (outside
// any field): 000102 -> 0A0B0C". None when all 400 bytes are equal.
std::vector<std::string> DifferenceLines(const MissionImage& a, const MissionImage& b, const NameLists& lists = {});

}  // namespace kestrane
