#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>

#include "catalogues/Catalogue.h"
#include "editors/Settings.h"
#include "mission/Checksum.h"
#include "mission/Fields.h"
#include "mission/Hex.h"
#include "mission/MissionFile.h"

namespace kestrane {

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr const char* kProgram = "kestrane-msn";

// The aircraft and place catalogues that give numbers their names, read from
// a folder as the window reads them from its start folder.
struct Catalogues {
    CatalogueFile planes;
    CatalogueFile places;

    explicit Catalogues(const fs::path& dir)
        : planes(ReadCatalogue(dir / kPlanesFile)), places(ReadCatalogue(dir / kTargetsFile)) {}

    // The aircraft list's entry at a position: a catalogue line, then
    // "Random" and "None", as the window's list holds them.
    std::optional<std::string> Aircraft(std::size_t position) const {
        if (position < planes.Count()) return std::string(planes.Line(position));
        if (position == planes.Count()) return "Random";
        if (position == planes.Count() + 1) return "None";
        return std::nullopt;
    }
    std::optional<std::string> Place(std::size_t position) const {
        if (position < places.Count()) return std::string(places.Line(position));
        return std::nullopt;
    }
};

const AircraftSlot* SlotOf(const Field& field) {
    for (const AircraftSlot* slot : kAircraftSlots)
        if (slot->fields[0] == &field) return slot;
    return nullptr;
}
const PlaceSetting* PlaceOf(const Field& field) {
    for (const PlaceSetting* place : {&kTarget, &kHomeBase})
        if (place->field == &field) return place;
    return nullptr;
}
const OptionSetting* OptionOf(const Field& field) {
    for (const OptionSetting* option : kOptionSettings)
        if (option->field == &field) return option;
    return nullptr;
}
const NumberSetting* NumberOf(const Field& field) {
    for (const NumberSetting* number :
         {&kAttackPrimaryAltitude, &kAttackSecondaryAltitude, &kEnemyPrimaryAltitude, &kEnemySecondaryAltitude,
          &kMissionDate, &kMissionWeather, &kTargetOffset, &kUnknown1, &kUnknown2, &kAircraftCount})
        if (number->field == &field) return number;
    return nullptr;
}

// A field's value as a number (the mission name as its text).
Json FieldValue(const MissionImage& image, const Field& field) {
    if (field.encoding == Encoding::Name) return MissionName(image);
    return image.Read(field);
}

// The catalogue name of an aircraft or place field, as the window shows it.
std::optional<std::string> FieldName(const MissionImage& image, const Field& field, const Catalogues& catalogues) {
    if (const AircraftSlot* slot = SlotOf(field)) {
        const StoredAircraft stored = ReadAircraft(image, *slot);
        if (stored.kind == Pick::Kind::Random) return "Random";
        if (stored.kind == Pick::Kind::None) return "None";
        return catalogues.Aircraft(static_cast<std::size_t>(stored.position));
    }
    if (PlaceOf(field) != nullptr) return catalogues.Place(image.U16(field.offset));
    return std::nullopt;
}

std::optional<MissionImage> Read(const std::string& file, std::ostream& err) {
    const ReadResult read = ReadMission(file);
    if (!read.ok) {
        err << kProgram << ": " << file << ": the file " << read.error << "\n";
        return std::nullopt;
    }
    MissionImage image;
    image.Assign(read.bytes);
    return image;
}

// Runs a command's work on each file that reads as a mission and returns the
// worst status: a file that cannot be read is a failure, said on stderr.
template <class Work>
int EachMission(const std::vector<std::string>& files, std::ostream& err, Work&& work) {
    int status = kExitOk;
    for (const std::string& file : files) {
        const std::optional<MissionImage> image = Read(file, err);
        status = std::max(status, image ? work(file, *image) : kExitFailed);
    }
    return status;
}

// A value as text: numbers as digits, the name in JSON quotes.
std::string ValueText(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

// ---- Commands ----

int Show(const std::vector<std::string>& files, bool json, const std::string& catalogueDir, std::ostream& out,
         std::ostream& err) {
    const Catalogues catalogues(catalogueDir);
    Json documents = Json::array();
    const int status = EachMission(files, err, [&](const std::string& file, const MissionImage& image) {
        const std::uint32_t stored = StoredChecksum(image.Bytes());
        const std::uint32_t computed = MissionChecksum(image.Bytes());
        Json fields = Json::object();
        Json names = Json::object();
        for (const Field& field : kFields) {
            fields[std::string(field.name)] = FieldValue(image, field);
            if (const auto name = FieldName(image, field, catalogues)) names[std::string(field.name)] = *name;
        }
        if (json) {
            documents.push_back({{"file", file},
                                 {"stored_checksum", stored},
                                 {"computed_checksum", computed},
                                 {"checksum_ok", stored == computed},
                                 {"fields", fields},
                                 {"names", names}});
            return kExitOk;
        }
        out << file << "\n";
        for (const Field& field : kFields) {
            const std::string key(field.name);
            char offset[8];
            std::snprintf(offset, sizeof offset, "%5d", field.offset);
            out << offset << "  " << key << std::string(key.size() < 24 ? 24 - key.size() : 1, ' ')
                << ValueText(fields[key]);
            if (names.contains(key)) out << "  (" << names[key].get<std::string>() << ")";
            out << "\n";
        }
        out << "  checksum: stored " << Hex(stored, 8) << ", computed " << Hex(computed, 8)
            << (stored == computed ? ", ok\n" : ", DIFFERENT\n");
        return kExitOk;
    });
    // File names need not be UTF-8; such bytes are written as replacement characters.
    if (json) out << documents.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
    return status;
}

int Check(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    std::string report;
    const int status = EachMission(files, err, [&](const std::string& file, const MissionImage& image) {
        const std::uint32_t stored = StoredChecksum(image.Bytes());
        const std::uint32_t computed = MissionChecksum(image.Bytes());
        if (stored == computed) {
            report += file + ": ok\n";
            return kExitOk;
        }
        report += file + ": checksum differs: stored " + Hex(stored, 8) + ", computed " + Hex(computed, 8) + "\n";
        return kExitDiffers;
    });
    out << report;
    return status;
}

int Stamp(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    return EachMission(files, err, [&](const std::string& file, const MissionImage& image) {
        const std::uint32_t computed = MissionChecksum(image.Bytes());
        if (StoredChecksum(image.Bytes()) == computed) {
            out << file << ": ok, not written\n";
            return kExitOk;
        }
        MissionBytes bytes = image.Bytes();
        for (int k = 0; k < 4; ++k) bytes[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(computed >> (8 * k));
        const WriteResult written = WriteMissionInPlace(file, bytes);
        if (!written.ok) {
            err << kProgram << ": " << file << ": could not write the checksum: " << written.error << "\n";
            return kExitFailed;
        }
        out << file << ": checksum " << Hex(computed, 8) << " written\n";
        return kExitOk;
    });
}

// One FIELD=VALUE change through the editor the window uses for that field.
Edit Apply(MissionImage& image, const Field& field, const std::string& value, const Catalogues& catalogues) {
    if (const OptionSetting* option = OptionOf(field)) {
        int member = -1;
        const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), member);
        if (ec != std::errc{} || ptr != value.data() + value.size() || member < 0 || member >= option->count) {
            std::string choices;
            for (int i = 0; i < option->count; ++i)
                choices += (i ? ", " : "") + std::to_string(i) + " (" +
                           std::string(option->captions[static_cast<std::size_t>(i)]) + ")";
            return {false, std::string(option->title) + ": \"" + value + "\" is no choice; give one of " + choices +
                               ". Nothing was stored.", {}};
        }
        return ChooseOption(image, *option, member);
    }
    if (const NumberSetting* number = NumberOf(field)) return StoreNumber(image, *number, value);
    if (&field == &kMissionNameField) return StoreName(image, value);
    if (&field == &kInstantActionField) {
        if (value != "0" && value != "1")
            return {false, "Instant Action: \"" + value + "\" is neither 1 (on) nor 0 (off). Nothing was stored.", {}};
        return SetInstantAction(image, value == "1");
    }
    const AircraftSlot* slot = SlotOf(field);
    const PlaceSetting* place = PlaceOf(field);
    if (slot != nullptr || place != nullptr) {
        // Random and None are the aircraft list's last two entries.
        Pick pick;
        const std::size_t planeCount = catalogues.planes.Count();
        if (slot != nullptr && value == "Random") pick = {Pick::Kind::Random, static_cast<int>(planeCount), "Random"};
        else if (slot != nullptr && value == "None") pick = {Pick::Kind::None, static_cast<int>(planeCount + 1), "None"};
        else {
            long long position = -1;
            const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), position);
            if (ec != std::errc{} || ptr != value.data() + value.size() || position < 0 || position > 1 << 20)
                return {false, std::string(slot ? slot->what : place->what) + ": \"" + value +
                                   "\" is no list position" + (slot ? " (nor Random or None)" : "") +
                                   ". Nothing was stored.", {}};
            const auto p = static_cast<std::size_t>(position);
            pick.position = static_cast<int>(position);
            pick.item = (slot ? catalogues.Aircraft(p) : catalogues.Place(p)).value_or(value);
            if (slot != nullptr && p == planeCount) pick.kind = Pick::Kind::Random;
            if (slot != nullptr && p == planeCount + 1) pick.kind = Pick::Kind::None;
        }
        return slot ? AssignAircraft(image, *slot, pick) : AssignPlace(image, *place, pick);
    }
    return {false, std::string(field.name) + " is not set directly: " + std::string(field.about) +
                       (field.name.ends_with("Copy") ? ", written with its setting" : ", written by every save") + ".",
            {}};
}

int Set(const std::string& file, const std::vector<std::string>& changes, const std::string& output,
        const std::string& catalogueDir, std::ostream& out, std::ostream& err) {
    std::optional<MissionImage> image = Read(file, err);
    if (!image) return kExitFailed;
    const Catalogues catalogues(catalogueDir);
    bool refused = false;
    std::string said;
    for (const std::string& change : changes) {
        const std::size_t eq = change.find('=');
        const Field* field = eq == std::string::npos ? nullptr : FindField(std::string_view(change).substr(0, eq));
        if (field == nullptr) {
            err << kProgram << ": \"" << change << "\" is not FIELD=VALUE with a field of the mission file"
                << " (see kestrane-msn show)\n";
            return kExitFailed;
        }
        const Edit edit = Apply(*image, *field, change.substr(eq + 1), catalogues);
        if (!edit.stored) {
            err << kProgram << ": " << file << ": " << edit.message << "\n";
            refused = true;
        } else if (!edit.message.empty()) {
            said += edit.message + "\n";
        }
    }
    if (refused) {
        err << kProgram << ": " << file << ": a change was refused; no file was written\n";
        return kExitDiffers;
    }
    const std::string target = output.empty() ? file : output;
    image->Seal();
    const WriteResult written = WriteMissionInPlace(target, image->Bytes());
    if (!written.ok) {
        err << kProgram << ": could not save " << target << ": " << written.error << "\n";
        return kExitFailed;
    }
    out << said << "Saved " << written.written.string();
    if (written.written != target) out << " (through the link " << target << ")";
    out << ".\n";
    return kExitOk;
}

int Diff(const std::string& a, const std::string& b, std::ostream& out, std::ostream& err) {
    const std::optional<MissionImage> left = Read(a, err);
    const std::optional<MissionImage> right = Read(b, err);
    if (!left || !right) return kExitFailed;
    int status = kExitOk;
    for (const Field& field : kFields) {
        const Json l = FieldValue(*left, field);
        const Json r = FieldValue(*right, field);
        if (l == r) continue;
        out << field.name << ": " << ValueText(l) << " -> " << ValueText(r) << "\n";
        status = kExitDiffers;
    }
    return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"Look at, check, stamp, change and compare .msn mission files.", kProgram};
    app.set_version_flag("--version", std::string(kProgram) + " " + KESTRANE_VERSION);
    app.require_subcommand(1);

    std::vector<std::string> files;
    bool json = false;
    std::string catalogueDir = ".";
    std::string output;
    std::string fileA, fileB;
    std::vector<std::string> changes;

    CLI::App* show = app.add_subcommand("show", "Print every field of each file, with its offset and value.");
    show->add_option("FILE", files, "Mission files")->required();
    show->add_flag("--json", json, "Print one JSON document: an array with one object per file");
    show->add_option("--catalogues", catalogueDir, "Folder holding planes.txt and targets.txt (default: .)");

    CLI::App* check = app.add_subcommand("check", "Say whether each file's stored checksum is right.");
    check->add_option("FILE", files, "Mission files")->required();

    CLI::App* stamp = app.add_subcommand("stamp", "Write the right checksum into each file where it is wrong.");
    stamp->add_option("FILE", files, "Mission files")->required();

    CLI::App* set = app.add_subcommand("set", "Change fields as the editor would, then save as the editor does.");
    set->add_option("FILE", fileA, "Mission file")->required();
    set->add_option("CHANGE", changes, "FIELD=VALUE, e.g. YearSetting=2 AttackPlane2Type=Random")->required();
    set->add_option("-o,--output", output, "Save into this file instead of FILE");
    set->add_option("--catalogues", catalogueDir, "Folder holding planes.txt and targets.txt (default: .)");

    CLI::App* diff = app.add_subcommand("diff", "Print the fields whose values differ between two files.");
    diff->add_option("A", fileA, "First mission file")->required();
    diff->add_option("B", fileB, "Second mission file")->required();

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kExitOk : kExitFailed;
    }
    if (show->parsed()) return Show(files, json, catalogueDir, out, err);
    if (check->parsed()) return Check(files, out, err);
    if (stamp->parsed()) return Stamp(files, out, err);
    if (set->parsed()) return Set(fileA, changes, output, catalogueDir, out, err);
    return Diff(fileA, fileB, out, err);
}

}  // namespace kestrane
