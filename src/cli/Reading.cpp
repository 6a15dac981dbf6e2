// The commands that only read: show, check, diff, list and fields.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <span>

#include "cli/Cli.h"
#include "cli/Commands.h"
#include "mission/Checksum.h"
#include "mission/Fields.h"
#include "mission/Hex.h"
#include "ui/MissionFolder.h"

namespace kestrane::cli {

namespace {

Json Unreadable(const std::string& file, const std::string& error) {
    Json entry;
    NameFile(entry, "file", file);
    entry["error"] = error;
    return entry;
}

void AddChecksums(Json& entry, const MissionImage& image) {
    const std::uint32_t stored = StoredChecksum(image.Bytes());
    const std::uint32_t computed = MissionChecksum(image.Bytes());
    entry["stored_checksum"] = stored;
    entry["computed_checksum"] = computed;
    entry["checksum_ok"] = stored == computed;
}

// A field's value in JSON: the form set takes, but the mission name as its
// plain text (its set form is a JSON string of its own).
Json ValueJson(const MissionImage& image, const Field& field, const FieldValue& value) {
    return field.encoding == Encoding::Name ? Json(MissionName(image)) : Json(value.text);
}

Json MissionJson(const std::string& file, const MissionImage& image, const NameLists& lists) {
    Json entry;
    NameFile(entry, "file", file);
    AddChecksums(entry, image);
    Json fields = Json::object(), values = Json::object(), captions = Json::object(), names = Json::object();
    for (const Field& field : kFields) {
        const std::string key(field.name);
        const FieldValue value = ValueOf(image, field, lists);
        fields[key] = field.encoding == Encoding::Name ? Json(MissionName(image)) : Json(image.Read(field));
        if (Settable(field)) values[key] = ValueJson(image, field, value);
        if (!value.caption.empty()) captions[key] = value.caption;
        if (!value.name.empty()) names[key] = value.name;
    }
    entry["fields"] = fields;
    entry["values"] = values;
    entry["captions"] = captions;
    entry["names"] = names;
    return entry;
}

std::string HexOf(const MissionImage& image, ByteRange range) {
    return HexBytes(std::span(image.Bytes()).subspan(static_cast<std::size_t>(range.offset),
                                                     static_cast<std::size_t>(range.length)));
}


}  // namespace

int Show(const Io& io, const Options& o) {
    if (!StdinOnce(io, o.args)) return kExitFailed;
    const std::optional<Catalogues> catalogues = ReadNamesFrom(io, o.catalogues, o.cataloguesGiven);
    if (!catalogues) return kExitFailed;
    const NameLists lists = catalogues->Lists();
    const std::string_view separator = o.args.size() > 1 ? ": " : "";
    JsonList files(io, o.json, Json::object(), "files");
    int status = kExitOk;
    for (const std::string& file : o.args) {
        const Input input = ReadInput(io, file);
        if (!input.image) status = kExitFailed;
        if (o.json) files.Add(input.image ? MissionJson(file, *input.image, lists) : Unreadable(file, input.error));
        else if (input.image)
            for (const Field& field : kFields)
                if (Settable(field))
                    io.out << (separator.empty() ? "" : file) << separator
                           << ValueLine(field, ValueOf(*input.image, field, lists)) << "\n";
    }
    files.Finish();
    return status;
}

int Check(const Io& io, const Options& o) {
    if (!StdinOnce(io, o.args)) return kExitFailed;
    JsonList files(io, o.json, Json::object(), "files");
    int status = kExitOk;
    for (const std::string& file : o.args) {
        const Input input = ReadInput(io, file);
        if (!input.image) {
            status = kExitFailed;
            files.Add(Unreadable(file, input.error));
            continue;
        }
        const std::uint32_t stored = StoredChecksum(input.image->Bytes());
        const std::uint32_t computed = MissionChecksum(input.image->Bytes());
        status = std::max(status, stored == computed ? kExitOk : kExitDiffers);
        if (o.json) {
            Json entry;
            NameFile(entry, "file", file);
            AddChecksums(entry, *input.image);
            files.Add(entry);
        } else if (stored == computed) {
            io.out << file << ": ok\n";
        } else {
            io.out << file << ": checksum differs: stored " << Hex(stored, 8) << ", computed " << Hex(computed, 8) << "\n";
        }
    }
    files.Finish();
    return status;
}


Json DifferencesJson(const MissionImage& a, const MissionImage& b, const NameLists& lists) {
    Json found = Json::array();
    for (const Difference& d : Differences(a.Bytes(), b.Bytes())) {
        Json entry{{"field", d.field != nullptr ? Json(std::string(d.field->name)) : Json()},
                   {"offset", d.bytes.offset},
                   {"length", d.bytes.length}};
        if (d.field != nullptr) {
            const FieldValue va = ValueOf(a, *d.field, lists), vb = ValueOf(b, *d.field, lists);
            entry["a"] = ValueJson(a, *d.field, va);
            entry["b"] = ValueJson(b, *d.field, vb);
            if (!va.name.empty() || !vb.name.empty()) entry["a_name"] = va.name, entry["b_name"] = vb.name;
        }
        entry["a_bytes"] = HexOf(a, d.bytes);
        entry["b_bytes"] = HexOf(b, d.bytes);
        found.push_back(entry);
    }
    return found;
}

int Diff(const Io& io, const Options& o) {
    if (!StdinOnce(io, o.args)) return kExitFailed;
    const std::optional<Catalogues> catalogues = ReadNamesFrom(io, o.catalogues, o.cataloguesGiven);
    if (!catalogues) return kExitFailed;
    const NameLists lists = catalogues->Lists();
    const Input a = ReadInput(io, o.args[0]);
    const Input b = ReadInput(io, o.args[1]);
    if (!a.image || !b.image) return kExitFailed;
    const bool same = a.image->Bytes() == b.image->Bytes();
    if (o.json) {
        Json document = Document({});
        NameFile(document["a"], "file", o.args[0]);
        NameFile(document["b"], "file", o.args[1]);
        document["same"] = same;
        document["differences"] = DifferencesJson(*a.image, *b.image, lists);
        PrintJson(io, document);
    } else {
        for (const std::string& line : DifferenceLines(*a.image, *b.image, lists)) io.out << line << "\n";
    }
    return same ? kExitOk : kExitDiffers;
}

int ListFields(const Io& io, const Options& o) {
    if (!o.json) {
        for (const Field& field : kFields) {
            char columns[48];
            std::snprintf(columns, sizeof columns, "%-24s %3d %2d  ", std::string(field.name).c_str(), field.offset, field.width);
            io.out << columns << AcceptedValues(field) << "\n";
        }
        return kExitOk;
    }
    Json fields = Json::array(), outside = Json::array();
    for (const Field& field : kFields) {
        Json entry{{"name", field.name}, {"offset", field.offset}, {"width", field.width}, {"about", field.about},
                   {"settable", Settable(field)}, {"accepts", AcceptedValues(field)}};
        if (const OptionSetting* option = SettingFor(field).option) {
            for (int i = 0; i < option->count; ++i) entry["choices"].push_back(CaptionOf(*option, i));
        }
        fields.push_back(entry);
    }
    for (const ByteRange& range : RangesOutsideFields()) outside.push_back({{"offset", range.offset}, {"length", range.length}});
    PrintJson(io, Document({{"fields", fields}, {"outside", outside}}));
    return kExitOk;
}

namespace {

// The JSON member of each column of list, in the Missions window's order.
constexpr std::array<const char*, kMissionColumns> kColumnKeys{
    "file", "name", "year", "time_of_day", "weather", "mission_type", "attack_plane_1", "target", "home_base",
    "checksum", "size", "modified", "note"};

// A cell of a tab-separated line: control characters (a tab or line end in
// a file or mission name) show as ?, so every row stays one line.
std::string Cell(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

Json RowJson(const MissionRow& row) {
    Json entry;
    for (std::size_t column = 0; column < kMissionColumns; ++column) {
        const auto id = static_cast<MissionColumn>(column);
        if (id == MissionColumn::File) NameFile(entry, "file", row.entry.file);
        else if (id == MissionColumn::Size) entry["size"] = row.entry.size;
        else entry[kColumnKeys[column]] = row.Text(id);
    }
    entry["mission"] = row.mission;
    return entry;
}

}  // namespace

int List(const Io& io, const Options& o) {
    const std::string folder = o.args.empty() ? "." : o.args[0];
    if (DIR* dir = ::opendir(folder.c_str())) {
        ::closedir(dir);
    } else {
        Complain(io, folder + ": the folder cannot be read: " + LowerFirst(std::strerror(errno)));
        return kExitFailed;
    }
    const std::optional<Catalogues> catalogues = ReadNamesFrom(io, o.cataloguesGiven ? o.catalogues : folder, o.cataloguesGiven);
    if (!catalogues) return kExitFailed;
    Json head;
    NameFile(head, "folder", folder);
    JsonList missions(io, o.json, head, "missions");
    if (!o.json) {
        std::string header;
        for (std::size_t column = 0; column < kMissionColumns; ++column)
            header += (column == 0 ? "" : "\t") + std::string(ColumnTitle(static_cast<MissionColumn>(column)));
        io.out << header << "\n";
    }
    int status = kExitOk;
    const OpenFolder open(folder);
    for (const FolderEntry& entry : ListMissionFiles(open)) {
        const MissionRow row = ReadMissionRow(open, entry, catalogues->Lists());
        if (!row.mission) status = kExitFailed;
        if (o.json) {
            missions.Add(RowJson(row));
            continue;
        }
        std::string line;
        for (std::size_t column = 0; column < kMissionColumns; ++column) line += (column == 0 ? "" : "\t") + Cell(row.texts[column]);
        io.out << line << "\n";
    }
    missions.Finish();
    return status;
}

}  // namespace kestrane::cli
