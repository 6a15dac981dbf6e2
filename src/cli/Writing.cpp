// The commands that write: set, stamp and new.

#include <algorithm>
#include <filesystem>
#include <stdlib.h>
#include <unistd.h>

#include "cli/Cli.h"
#include "cli/Commands.h"
#include "mission/Checksum.h"
#include "mission/Fields.h"
#include "mission/Hex.h"
#include "mission/MissionFile.h"

namespace kestrane::cli {

namespace {

// What a write command says: lines on standard output, or on standard error
// when standard output carries a mission's bytes; with --json, one object a
// file, printed as one document at the end.
class Report {
public:
    Report(const Io& io, const Options& o)
        : io_(io), json_(o.json), toErr_(o.outputGiven && o.output == kStdio && !o.dryRun),
          files_(io, o.json, Json{{"dry_run", o.dryRun}}, "files") {}
    void Say(const std::string& line) const {
        if (json_) return;
        if (toErr_) Complain(io_, line);
        else io_.out << line << "\n";
    }
    int Add(Json entry, int status) {
        entry["status"] = status;
        files_.Add(entry);
        return status;
    }
    void Finish() { files_.Finish(); }

private:
    const Io& io_;
    bool json_, toErr_;
    JsonList files_;
};

bool Refuse(const Io& io, const std::string& why) {
    Complain(io, why);
    return false;
}

// The output options against the inputs; false, with the reason said, when
// they cannot go together.
bool UsableOutput(const Io& io, const Options& o, const std::vector<std::string>& inputs) {
    if (o.outputGiven && o.output.empty()) return Refuse(io, "-o: the output file name is empty; give a file, or - for standard output");
    if (o.outputGiven && inputs.size() > 1)
        return Refuse(io, "-o takes one input file, and " + std::to_string(inputs.size()) + " were given");
    if (o.outputGiven && o.output == kStdio && o.json) return Refuse(io, "--json and -o - would both write to standard output");
    if (!o.outputGiven && std::count(inputs.begin(), inputs.end(), std::string(kStdio)) > 0)
        return Refuse(io, "standard input (-) cannot be written in place; give -o FILE, or -o - for standard output");
    return StdinOnce(io, inputs);
}

// Copies a plain file to FILE~ (through a new file renamed into place, so
// that an old FILE~ is replaced, never written through). Empty, or why not.
std::string KeepBackup(const std::string& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return {};  // nothing to keep; the write says what it is
    const std::string backup = file + "~";
    std::string temp = backup + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) ec = std::error_code(errno, std::generic_category());
    else ::close(fd);
    if (!ec) std::filesystem::copy_file(file, temp, std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec) std::filesystem::rename(temp, backup, ec);
    if (!ec) return {};
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return LowerFirst(ec.message());
}

int Fail(const Io& io, Json& entry, const std::string& why, int status) {
    Complain(io, why);
    entry["error"] = why;
    return status;
}

// Writes the 400 bytes to the target: standard output for "-", otherwise
// in place, after a backup when asked for. Nothing is written in a dry run.
// reached names where the bytes went.
int Deliver(const Io& io, const Options& o, const std::string& target, const MissionBytes& bytes, Json& entry,
            std::string& reached) {
    NameFile(entry, "output", target);
    entry["written"] = false;
    if (o.dryRun) return kExitOk;
    if (target == kStdio) {
        io.out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        // Flushed now, so that nothing says the bytes went out before they
        // have; the reason of a failure is said as the program ends.
        if (!io.out.flush()) {
            entry["error"] = "cannot write to standard output";
            return kExitFailed;
        }
        entry["written"] = true;
        reached = "to standard output";
        return kExitOk;
    }
    if (o.backup)
        if (const std::string why = KeepBackup(target); !why.empty())
            return Fail(io, entry, target + ": could not keep a backup as " + target + "~: " + why + "; nothing was written",
                        kExitFailed);
    const WriteResult written = WriteMissionInPlace(target, bytes);
    if (!written.ok) return Fail(io, entry, "could not save " + target + ": " + written.error, kExitFailed);
    entry["written"] = true;
    reached = written.written == target ? target : written.written.string() + " (through the link " + target + ")";
    return kExitOk;
}

// ---- set ----

struct Change {
    const Field* field;
    std::string value;
};

// NAME=VALUE, NAME a letter followed by letters and digits: a change, not a file.
bool IsChange(std::string_view arg) {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const std::size_t eq = arg.find('=');
    return eq != std::string_view::npos && eq > 0 && isLetter(arg[0]) &&
           std::all_of(arg.begin(), arg.begin() + static_cast<std::ptrdiff_t>(eq),
                       [&](char c) { return isLetter(c) || (c >= '0' && c <= '9'); });
}

// The fields a misspelt name may have meant: the same but for case, or
// names that hold it or that it holds.
std::string FieldCandidates(std::string_view name) {
    const auto lower = [](std::string_view s) {
        std::string t(s);
        std::transform(t.begin(), t.end(), t.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        return t;
    };
    std::string candidates;
    for (const Field& field : kFields) {
        const std::string a = lower(field.name), b = lower(name);
        if (Settable(field) && (a.find(b) != std::string::npos || b.find(a) != std::string::npos))
            candidates += (candidates.empty() ? "" : ", ") + std::string(field.name);
    }
    return candidates.empty() ? "" : "; did you mean " + candidates + "?";
}

bool SplitChanges(const Io& io, const std::vector<std::string>& args, std::vector<std::string>& files,
                  std::vector<Change>& changes) {
    for (const std::string& arg : args) {
        if (!IsChange(arg)) {
            files.push_back(arg);
            continue;
        }
        const std::size_t eq = arg.find('=');
        const Field* field = FindField(std::string_view(arg).substr(0, eq));
        if (field == nullptr)
            return Refuse(io, "\"" + arg + "\": no field is named " + arg.substr(0, eq) + FieldCandidates(arg.substr(0, eq)) +
                                  " (kestrane-msn fields lists them; a file named so is given as ./" + arg + ")");
        changes.push_back({field, arg.substr(eq + 1)});
    }
    if (files.empty()) return Refuse(io, "set: no mission file given");
    if (changes.empty()) return Refuse(io, "set: no FIELD=VALUE change given");
    return true;
}

bool NeedsNames(const std::vector<Change>& changes) {
    return std::any_of(changes.begin(), changes.end(), [](const Change& c) {
        const FieldSetting::Kind kind = SettingFor(*c.field).kind;
        return kind == FieldSetting::Kind::Aircraft || kind == FieldSetting::Kind::Place;
    });
}

// The changes applied in order: what the editors said, or false (the
// refusals said) when one was refused.
bool Apply(const Io& io, MissionImage& image, const std::vector<Change>& changes, const NameLists& lists,
           std::vector<std::string>& said) {
    bool refused = false;
    for (const Change& change : changes) {
        const Edit edit = SetFieldValue(image, *change.field, change.value, lists);
        if (!edit.stored) Complain(io, edit.message);
        else if (!edit.message.empty()) said.push_back(edit.message);
        refused = refused || !edit.stored;
    }
    return !refused;
}

// A file a command writes, read; the entry names it, and says why when it
// cannot be read.
Input ReadToWrite(const Io& io, const std::string& file, Json& entry) {
    NameFile(entry, "file", file);
    Input input = ReadInput(io, file);
    if (!input.image) entry["error"] = input.error;
    return input;
}

int SetOne(const Io& io, const Options& o, const std::string& file, const std::vector<Change>& changes,
           const NameLists& lists, Report& report) {
    Json entry;
    const Input input = ReadToWrite(io, file, entry);
    if (!input.image) return report.Add(entry, kExitFailed);
    MissionImage image = *input.image;
    std::vector<std::string> said;
    if (!Apply(io, image, changes, lists, said)) {
        const int refused = Fail(io, entry, file + ": a change was refused; it was not written", kExitDiffers);
        return report.Add(entry, refused);
    }
    image.Seal();
    entry["changes"] = DifferencesJson(*input.image, image);
    const std::string target = o.outputGiven ? o.output : file;
    std::string reached;
    const int status = Deliver(io, o, target, image.Bytes(), entry, reached);
    if (status == kExitOk && o.dryRun) {
        for (const std::string& line : DifferenceLines(*input.image, image, lists)) report.Say(file + ": " + line);
        report.Say("Would save " + target + " (dry run: nothing was written).");
    } else if (status == kExitOk) {
        for (const std::string& line : said) report.Say(file + ": " + line);
        report.Say("Saved " + reached + ".");
    }
    return report.Add(entry, status);
}

// ---- stamp ----

int StampOne(const Io& io, const Options& o, const std::string& file, Report& report) {
    Json entry;
    const Input input = ReadToWrite(io, file, entry);
    if (!input.image) return report.Add(entry, kExitFailed);
    MissionImage image = *input.image;
    const std::uint32_t computed = MissionChecksum(image.Bytes());
    entry["stored_checksum"] = StoredChecksum(image.Bytes());
    entry["computed_checksum"] = computed;
    if (!o.outputGiven && StoredChecksum(image.Bytes()) == computed) {
        entry["written"] = false;
        report.Say(file + ": ok, not written");
        return report.Add(entry, kExitOk);
    }
    image.Write(kStoredChecksumField, computed);
    entry["changes"] = DifferencesJson(*input.image, image);
    std::string reached;
    const int status = Deliver(io, o, o.outputGiven ? o.output : file, image.Bytes(), entry, reached);
    if (status == kExitOk)
        report.Say(file + ": checksum " + Hex(computed, 8) + (o.dryRun ? " would be written" : " written") +
                   (o.outputGiven ? (o.output == kStdio ? " to standard output" : " to " + o.output) : "") +
                   (o.dryRun ? " (dry run: nothing was written)" : ""));
    return report.Add(entry, status);
}

}  // namespace

int Set(const Io& io, const Options& o) {
    std::vector<std::string> files;
    std::vector<Change> changes;
    if (!SplitChanges(io, o.args, files, changes) || !UsableOutput(io, o, files)) return kExitFailed;
    std::optional<Catalogues> catalogues;
    if (NeedsNames(changes) || o.cataloguesGiven) {
        catalogues = ReadNamesFrom(io, o.catalogues, o.cataloguesGiven);
        if (!catalogues) return kExitFailed;
    }
    const NameLists lists = catalogues ? catalogues->Lists() : NameLists{};
    // A change refused for one file is refused for all: nothing is written.
    MissionImage trial;
    trial.MakeNew();
    std::vector<std::string> said;
    if (!Apply(io, trial, changes, lists, said)) {
        Complain(io, "a change was refused; no file was written");
        return kExitDiffers;
    }
    Report report(io, o);
    int status = kExitOk;
    for (const std::string& file : files) status = std::max(status, SetOne(io, o, file, changes, lists, report));
    report.Finish();
    return status;
}

int Stamp(const Io& io, const Options& o) {
    if (!UsableOutput(io, o, o.args)) return kExitFailed;
    Report report(io, o);
    int status = kExitOk;
    for (const std::string& file : o.args) status = std::max(status, StampOne(io, o, file, report));
    report.Finish();
    return status;
}

int New(const Io& io, const Options& o) {
    if (!UsableOutput(io, o, {})) return kExitFailed;
    // What "Make a new mission" and then Save! with every box empty write.
    MissionImage image;
    image.MakeNew();
    image.Seal();
    Report report(io, o);
    Json entry;
    std::string reached;
    const int status = Deliver(io, o, o.output, image.Bytes(), entry, reached);
    if (status == kExitOk) report.Say("Saved " + reached + ".");
    report.Add(entry, status);
    report.Finish();
    return status;
}

}  // namespace kestrane::cli
