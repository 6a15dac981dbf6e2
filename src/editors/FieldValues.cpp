// Field values as text and back: ValueOf and SetFieldValue agree, so that a
// value written out and read back in stores the bytes it came from.

#include "editors/FieldValues.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "mission/Hex.h"

namespace kestrane {

namespace {

using K = FieldSetting::Kind;

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Equal but for ASCII case and blanks at either end.
bool SameText(std::string_view a, std::string_view b) {
    a = Trimmed(a);
    b = Trimmed(b);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool Holds(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char x, char y) { return Lower(x) == Lower(y); }) != text.end();
}

// A value's caption is never also one of its indexes, so the two forms of
// an option's value cannot be confused.
consteval bool NoCaptionIsAnIndex() {
    for (const OptionSetting* option : kOptionSettings)
        for (int i = 0; i < option->count; ++i) {
            const std::string_view caption = option->captions[static_cast<std::size_t>(i)];
            if (caption.size() == 1 && caption[0] >= '0' && caption[0] < '0' + option->count) return false;
        }
    return true;
}
static_assert(NoCaptionIsAnIndex(), "an option caption reads as one of its indexes");

// Digits only, as their number (the largest long long when there are too
// many digits for one); nothing for any other text.
std::optional<long long> WholeNumber(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)ptr;
    return ec == std::errc{} ? value : LLONG_MAX;
}

// A JSON string that shows every character: quotes, backslashes and control
// characters (C1 as well, which some terminals obey) are escaped.
std::string Quoted(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const bool c1 = c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        const unsigned code = c1 ? static_cast<unsigned char>(utf8[++i]) : c;
        if (c == '"' || c == '\\') out.append(1, '\\').append(1, static_cast<char>(c));
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c == 0x7F || c1) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
            out += escaped;
        } else out += static_cast<char>(c);
    }
    return out + "\"";
}

// The same text with every control character shown as "?".
std::string Printable(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            out += '?';
            ++i;
        } else out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
    }
    return out;
}

std::string_view Line(const CatalogueFile* list, std::uint64_t position) {
    return list != nullptr && position < list->Count() ? list->Line(position) : std::string_view();
}

// The aircraft list's entry at a position: a line of planes.txt, then
// Random and None. Without planes.txt no entry is known.
std::string AircraftEntry(const CatalogueFile* planes, std::uint64_t position) {
    if (planes == nullptr || !planes->read) return {};
    const std::uint64_t count = planes->Count();
    if (position < count) return std::string(planes->Line(position));
    if (position - count < kAircraftListEnd.size()) return std::string(kAircraftListEnd[position - count]);
    return {};
}

Edit Refused(std::string message) { return {false, std::move(message), {}}; }

// ---- Reading a value text ----

struct ValueText {
    std::string text;
    std::string error;  // why the text is no value
};

ValueText ReadJsonString(std::string_view text) {
    std::size_t end = 1;
    while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
    if (end >= text.size()) return {{}, "has no closing quote"};
    const std::string_view rest = Trimmed(text.substr(end + 1));
    if (!rest.empty() && rest.front() != '#') return {{}, "has more than a # comment after its closing quote"};
    try {
        return {nlohmann::json::parse(text.substr(0, end + 1)).get<std::string>(), {}};
    } catch (const nlohmann::json::exception&) {
        return {{}, "is not a JSON string"};
    }
}

// A JSON string's text, or the text before a comment.
ValueText ReadValueText(std::string_view text) {
    if (!text.empty() && text.front() == '"') return ReadJsonString(text);
    for (std::size_t i = 1; i < text.size(); ++i)
        if (text[i] == '#' && IsBlank(text[i - 1])) {
            std::size_t end = i;
            while (end > 0 && IsBlank(text[end - 1])) --end;
            return {std::string(text.substr(0, end)), {}};
        }
    return {std::string(text), {}};
}

// ---- Finding a catalogue entry by name ----

constexpr std::size_t kCandidatesShown = 10;

// "3:Spitfire", as the window's list shows it (without its leading blank),
// or "3" for a position with no entry.
std::string ItemText(std::uint64_t position, std::string_view entry) {
    return entry.empty() ? std::to_string(position) : Printable(CatalogueItem(position, entry).substr(1));
}

std::string Candidates(const CatalogueFile& list, const std::vector<std::size_t>& positions, std::size_t total) {
    std::string text;
    for (const std::size_t p : positions) text += (text.empty() ? "" : ", ") + ItemText(p, list.Line(p));
    if (total > positions.size()) text += " and " + std::to_string(total - positions.size()) + " more";
    return text;
}

struct Lookup {
    long long position = -1;
    std::string error;
};

// The one entry whose whole line is the text (ASCII case and blanks at
// either end aside); otherwise why not, with the candidates.
Lookup FindEntry(const CatalogueFile* list, std::string_view file, std::string_view text) {
    if (list == nullptr || !list->read)
        return {-1, std::string(file) + (list != nullptr ? " " + list->error : std::string(" was not read"))};
    std::vector<std::size_t> same, holding;
    std::size_t sameCount = 0, holdingCount = 0;
    for (std::size_t i = 0; i < list->Count(); ++i) {
        if (SameText(list->Line(i), text)) {
            if (++sameCount <= kCandidatesShown) same.push_back(i);
        } else if (!text.empty() && Holds(list->Line(i), text)) {
            if (++holdingCount <= kCandidatesShown) holding.push_back(i);
        }
    }
    if (sameCount == 1) return {static_cast<long long>(same[0]), {}};
    if (sameCount > 1)
        return {-1, "several entries of " + std::string(file) + " are named so (" + Candidates(*list, same, sameCount) +
                        "); give the list position"};
    return {-1, "no entry of " + std::string(file) + " is named so" +
                    (holding.empty() ? "" : "; entries that hold it: " + Candidates(*list, holding, holdingCount))};
}

// ---- The setters ----

Edit SetOption(MissionImage& image, const OptionSetting& option, std::string_view text) {
    const auto count = static_cast<std::size_t>(option.count);
    for (std::size_t i = 0; i < count; ++i)
        if (SameText(option.captions[i], text)) return ChooseOption(image, option, static_cast<int>(i));
    if (const auto index = WholeNumber(Trimmed(text)); index && *index < option.count)
        return ChooseOption(image, option, static_cast<int>(*index));
    std::string choices;
    for (std::size_t i = 0; i < count; ++i)
        choices += (i > 0 ? ", " : "") + std::to_string(i) + " (" + CaptionOf(option, static_cast<int>(i)) + ")";
    return Refused(std::string(option.title) + ": " + Quoted(text) + " is no choice; give one of " + choices +
                   ". Nothing was stored.");
}

Edit SetInstant(MissionImage& image, std::string_view text) {
    for (const auto& [word, on] : {std::pair{"on", true}, {"1", true}, {"off", false}, {"0", false}})
        if (SameText(text, word)) {
            Edit edit = SetInstantAction(image, on);
            edit.message = std::string("Instant Action: ") + (on ? "on." : "off.");
            return edit;
        }
    return Refused("Instant Action: " + Quoted(text) + " is neither on nor off (nor 1 or 0). Nothing was stored.");
}

Edit TooFar(std::string_view what, std::string_view position) {
    return Refused(std::string(what) + ": list position " + std::string(position) + " cannot be stored; nothing was changed.");
}

Edit SetAircraft(MissionImage& image, const AircraftSlot& slot, std::string_view text, const CatalogueFile* planes) {
    const std::string_view t = Trimmed(text);
    if (const auto position = WholeNumber(t)) {
        if (*position > INT_MAX) return TooFar(slot.what, t);
        const auto p = static_cast<std::uint64_t>(*position);
        return AssignAircraft(image, slot, {Pick::Kind::Entry, static_cast<int>(p), ItemText(p, AircraftEntry(planes, p))});
    }
    // Random and None always name the list's last two entries.
    const std::size_t count = planes != nullptr ? planes->Count() : 0;
    const int size = static_cast<int>(std::min<std::size_t>(count, INT_MAX - 2)) + 2;
    long long index = SameText(t, kAircraftListEnd[0]) ? size - 2 : SameText(t, kAircraftListEnd[1]) ? size - 1 : -1;
    // Where Random and None are list positions, they are known only from the catalogue.
    if (index >= 0 && !slot.usesCodes && planes == nullptr)
        return Refused(std::string(slot.what) + ": " + Quoted(t) + " is the list's entry after the last of " + std::string(kPlanesFile) +
                       ", which was not read; give a position. Nothing was changed.");
    if (index < 0) {
        const Lookup found = FindEntry(planes, kPlanesFile, t);
        if (found.position < 0) return Refused(std::string(slot.what) + ": " + Quoted(t) + ": " + found.error + ". Nothing was changed.");
        index = std::min<long long>(found.position, INT_MAX);
    }
    const auto p = static_cast<std::uint64_t>(index);
    return AssignAircraft(image, slot, AircraftListPick(static_cast<int>(index), size, ItemText(p, AircraftEntry(planes, p))));
}

Edit SetPlace(MissionImage& image, const PlaceSetting& place, std::string_view text, const CatalogueFile* places) {
    const std::string_view t = Trimmed(text);
    std::optional<long long> position = WholeNumber(t);
    if (!position) {
        const Lookup found = FindEntry(places, kTargetsFile, t);
        if (found.position < 0) return Refused(std::string(place.what) + ": " + Quoted(t) + ": " + found.error + ". Nothing was changed.");
        position = found.position;
    }
    if (*position > INT_MAX) return TooFar(place.what, t);
    const auto p = static_cast<std::uint64_t>(*position);
    return AssignPlace(image, place, {Pick::Kind::Entry, static_cast<int>(p), ItemText(p, Line(places, p))});
}

const Field& MainField(const FieldSetting& setting) {
    return setting.option != nullptr ? *setting.option->field : *setting.slot->fields[0];
}

void DescribeAircraft(const AircraftSlot& slot, std::uint32_t stored, const CatalogueFile* planes, FieldValue& value) {
    if (slot.usesCodes && stored == kRandomCode) value.text = CodeName(Pick::Kind::Random);
    if (slot.usesCodes && slot.offersNone && stored == kNoneCode) value.text = CodeName(Pick::Kind::None);
    const StoredAircraft read = ReadAircraft(slot, stored);
    value.name = read.kind != Pick::Kind::Entry ? std::string(CodeName(read.kind))
                                                : AircraftEntry(planes, static_cast<std::uint64_t>(read.position));
}

}  // namespace

FieldValue ValueOf(const MissionImage& image, const Field& field, const NameLists& lists) {
    const FieldSetting setting = SettingFor(field);
    const std::uint32_t stored = field.encoding == Encoding::Name ? 0 : image.Read(field);
    FieldValue value{std::to_string(stored), {}, {}};
    switch (setting.kind) {
    case K::Option:
        if (stored < static_cast<std::uint32_t>(setting.option->count)) value.caption = CaptionOf(*setting.option, static_cast<int>(stored));
        break;
    case K::Name: value.text = Quoted(MissionName(image)); break;
    case K::InstantAction:
        value.caption = stored == kInstantActionOn ? "on" : "off";
        if (stored == kInstantActionOn || stored == 0) value.text = value.caption;
        break;
    case K::Aircraft: DescribeAircraft(*setting.slot, stored, lists.planes, value); break;
    case K::Place: value.name = Line(lists.places, stored); break;
    default: break;
    }
    return value;
}

std::string ValueLine(const Field& field, const FieldValue& value) {
    std::string line = std::string(field.name) + "=" + value.text;
    const std::string& note = value.caption.empty() ? value.name : value.caption;
    if (!note.empty() && note != value.text) line += "  # " + Printable(ShownText(note));
    return line;
}

Edit SetFieldValue(MissionImage& image, const Field& field, std::string_view text, const NameLists& lists) {
    const ValueText value = ReadValueText(text);
    if (!value.error.empty())
        return Refused(std::string(field.name) + ": the value " + std::string(text) + " " + value.error + ". Nothing was stored.");
    const FieldSetting setting = SettingFor(field);
    if (setting.copy) return Refused(std::string(field.name) + " is not set directly: it is written with " +
                                     std::string(MainField(setting).name) + ".");
    switch (setting.kind) {
    case K::Option: return SetOption(image, *setting.option, value.text);
    case K::Number: return StoreNumber(image, *setting.number, value.text);
    case K::Name: return StoreName(image, value.text);
    case K::InstantAction: return SetInstant(image, value.text);
    case K::Aircraft: return SetAircraft(image, *setting.slot, value.text, lists.planes);
    case K::Place: return SetPlace(image, *setting.place, value.text, lists.places);
    default: return Refused(std::string(field.name) + " is not set directly: every save writes it.");
    }
}

std::string CaptionOf(const OptionSetting& option, int index) {
    return std::string(Trimmed(option.captions[static_cast<std::size_t>(index)]));
}

bool Settable(const Field& field) {
    const FieldSetting setting = SettingFor(field);
    return setting.kind != K::None && !setting.copy;
}

std::string AcceptedValues(const Field& field) {
    const FieldSetting setting = SettingFor(field);
    if (setting.copy) return "not set directly: written with " + std::string(MainField(setting).name);
    switch (setting.kind) {
    case K::Option: {
        std::string text = "0-" + std::to_string(setting.option->count - 1) + ", or";
        for (std::size_t i = 0; i < static_cast<std::size_t>(setting.option->count); ++i)
            text += (i > 0 ? ", " : " ") + CaptionOf(*setting.option, static_cast<int>(i));
        return text;
    }
    case K::Number: return "a number from 0 to " + std::to_string(setting.number->max) + ", read as the window reads a typed number";
    case K::Name: return "a text of up to " + std::to_string(kNameLength) + " Windows-1252 characters";
    case K::InstantAction: return "on or off (or 1 or 0)";
    case K::Aircraft: {
        const AircraftSlot& slot = *setting.slot;
        return "a list position from 0 to " + std::to_string(slot.firstRefused - 1) + ", an entry of planes.txt, " +
               (!slot.usesCodes ? "or Random (the position after planes.txt's last entry)"
                : slot.offersNone ? "Random or None (stored as codes)" : "or Random (stored as a code)");
    }
    case K::Place: return "a list position from 0 to " + std::to_string(kLastPlace) + ", or an entry of targets.txt";
    default: return "not set directly: every save writes it";
    }
}

namespace {

std::string HexOfRange(const MissionImage& image, ByteRange range) {
    return HexBytes(std::span(image.Bytes()).subspan(static_cast<std::size_t>(range.offset),
                                                     static_cast<std::size_t>(range.length)));
}

std::string RangeText(ByteRange range) {
    return range.length == 1 ? "byte " + std::to_string(range.offset)
                             : "bytes " + std::to_string(range.offset) + ".." + std::to_string(range.End() - 1);
}

}  // namespace

std::vector<std::string> DifferenceLines(const MissionImage& a, const MissionImage& b, const NameLists& lists) {
    std::vector<std::string> lines;
    for (const Difference& d : Differences(a.Bytes(), b.Bytes())) {
        if (d.field == nullptr) {
            lines.push_back(RangeText(d.bytes) + " (outside any field): " + HexOfRange(a, d.bytes) + " -> " +
                            HexOfRange(b, d.bytes));
            continue;
        }
        const FieldValue from = ValueOf(a, *d.field, lists), to = ValueOf(b, *d.field, lists);
        std::string line = std::string(d.field->name) + ": " + from.text + " -> " + to.text;
        const std::string& noteFrom = from.caption.empty() ? from.name : from.caption;
        const std::string& noteTo = to.caption.empty() ? to.name : to.caption;
        if ((!noteFrom.empty() && noteFrom != from.text) || (!noteTo.empty() && noteTo != to.text))
            line += "  # " + (noteFrom.empty() ? "-" : noteFrom) + " -> " + (noteTo.empty() ? "-" : noteTo);
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace kestrane
