// Field values as text: whatever a mission file or a catalogue holds, each
// field's line is one printable line; whatever text a change gives, setting
// it writes only its fields or nothing; and after any change, every settable
// field's line set again leaves the bytes as they were.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editors/FieldValues.h"

namespace {

using namespace kestrane;

// A line holds no control character: names are escaped, comments cleaned.
void CheckPrintable(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x20 || c == 0x7F) std::abort();
        if (c == 0xC2 && i + 1 < line.size() && static_cast<unsigned char>(line[i + 1]) < 0xA0) std::abort();
    }
}

void CheckRoundTrip(const MissionImage& image, const NameLists& lists) {
    for (const Field& field : kFields) {
        if (!Settable(field)) continue;
        const std::string line = ValueLine(field, ValueOf(image, field, lists));
        MissionImage again = image;
        if (!SetFieldValue(again, field, line.substr(line.find('=') + 1), lists).stored) std::abort();
        if (again.Bytes() != image.Bytes()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const Field& field = kFields[data[0] % kFields.size()];
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const CatalogueFile planes = ParseCatalogue(std::string(rest.substr(0, rest.size() / 2)));
    const CatalogueFile places = ParseCatalogue(std::string(rest.substr(rest.size() / 2)));
    const NameLists lists = data[1] & 1 ? NameLists{&planes, &places} : NameLists{};

    // Any bytes as a mission: every line is one printable line.
    MissionImage raw;
    MissionBytes bytes{};
    for (std::size_t i = 0; i < bytes.size() && i < rest.size(); ++i) bytes[i] = static_cast<std::uint8_t>(rest[i]);
    raw.Assign(bytes);
    for (const Field& f : kFields) CheckPrintable(ValueLine(f, ValueOf(raw, f, lists)));

    // Any text as a change to a new mission.
    MissionImage image;
    image.MakeNew();
    const MissionImage before = image;
    const Edit edit = SetFieldValue(image, field, rest, lists);
    for (int i = 0; i < kMissionSize; ++i) {
        bool written = false;
        for (const Field* f : edit.written) written = written || f->Holds(i);
        if (!written && image.U8(i) != before.U8(i)) std::abort();
    }
    if (!edit.stored && image.Bytes() != before.Bytes()) std::abort();
    CheckRoundTrip(image, lists);
    return 0;
}
