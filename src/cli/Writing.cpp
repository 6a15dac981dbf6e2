// The commands that write: set, stamp and new.

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <pthread.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/Cli.h"
#include "cli/Commands.h"
#include "mission/Checksum.h"
#include "mission/Fields.h"
#include "mission/FileCopy.h"
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

std::string Reason(int err) { return LowerFirst(std::strerror(err)); }

// SIGINT, SIGTERM and SIGHUP held back while it lives: what is done
// meanwhile is done whole, and a signal that came is taken after.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t set;
        ::sigemptyset(&set);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaddset(&set, signal);
        ::pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t old_;
};

std::string FolderOf(const std::string& file) {
    const std::filesystem::path parent = std::filesystem::path(file).parent_path();
    return parent.empty() ? "." : parent.string();
}

// Gives the unnamed file open as fd a free name beside the backup. 0 or the
// errno.
int NameTemporary(int fd, const std::string& backup, std::string& temp) {
    const std::string open = "/proc/self/fd/" + std::to_string(fd);
    for (int n = 0; n < 100; ++n) {
        temp = backup + "." + std::to_string(::getpid()) + "-" + std::to_string(n);
        if (::linkat(AT_FDCWD, open.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

// Copies the plain file open as fd to FILE~, holes and all, through a new
// file renamed into place (so that an old FILE~ is replaced, never written
// through). The new file has no name until it is whole (O_TMPFILE), and is
// named and renamed with the signals held, so an interrupted batch leaves
// no temporary behind; where there are no unnamed files, the signals are
// held from the named one's making. Empty, or why not.
std::string KeepBackup(int fd, const std::string& file) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Reason(errno);
    const std::string backup = file + "~";
    std::string temp = backup + ".XXXXXX";
    std::optional<SignalsHeld> held;
    // An unnamed file is named through /proc, which a chroot may lack.
    int copy = ::access("/proc/self/fd", X_OK) == 0 ? ::open(FolderOf(file).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600) : -1;
    bool named = copy < 0;
    if (named) {
        held.emplace();
        copy = ::mkostemp(temp.data(), O_CLOEXEC);
        if (copy < 0) return Reason(errno);
    }
    std::string why = CopyFileData(fd, st.st_size, copy);
    if (why.empty() && ::fchmod(copy, st.st_mode & 07777) != 0) why = Reason(errno);
    if (why.empty()) {
        if (!held) held.emplace();
        const int err = named ? 0 : NameTemporary(copy, backup, temp);
        named = named || err == 0;
        if (err != 0) why = Reason(err);
        else if (::rename(temp.c_str(), backup.c_str()) == 0) named = false;
        else why = Reason(errno);
    }
    if (named) ::unlink(temp.c_str());
    ::close(copy);
    return why;
}

// The backup of a file given by its name (the -o target): nothing to keep
// when it is no plain file; the write then says what it is.
std::string KeepBackupOf(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return {};
    struct stat st {};
    const std::string why = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? KeepBackup(fd, file) : std::string();
    ::close(fd);
    return why;
}

int Fail(const Io& io, Json& entry, const std::string& why, int status) {
    Complain(io, why);
    entry["error"] = why;
    return status;
}

int BackupFailed(const Io& io, Json& entry, const std::string& target, const std::string& why) {
    return Fail(io, entry, target + ": could not keep a backup as " + target + "~: " + why + "; nothing was written",
                kExitFailed);
}

// Writes the 400 bytes to the target: standard output for "-", otherwise
// in place, after a backup when asked for. Nothing is written in a dry run,
// which says whether the write would be refused. reached names where the
// bytes went.
int Deliver(const Io& io, const Options& o, const std::string& target, const MissionBytes& bytes, Json& entry,
            std::string& reached) {
    NameFile(entry, "output", target);
    entry["written"] = false;
    if (o.dryRun && target != kStdio)
        if (const std::string why = WriteRefusal(target, o.backup); !why.empty())
            return Fail(io, entry, "could not save " + target + ": " + why + " (dry run: nothing was written)", kExitFailed);
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
        if (const std::string why = KeepBackupOf(target); !why.empty()) return BackupFailed(io, entry, target, why);
    const WriteResult written = WriteMissionInPlace(target, bytes);
    if (!written.ok) return Fail(io, entry, "could not save " + target + ": " + written.error, kExitFailed);
    entry["written"] = true;
    reached = written.written == target ? target : written.written.string() + " (through the link " + target + ")";
    return kExitOk;
}

// What a command does to one mission: it changes the image and says whether
// to write it. A refusal has been said.
enum class Verdict { Write, Leave, Refused };
using Changer = std::function<Verdict(MissionImage& image)>;

// One file's mission before and after, and where it went.
struct Rewritten {
    MissionImage before, after;
    Verdict verdict = Verdict::Leave;
    std::string reached;
};

int Judged(const Io& io, const std::string& file, Verdict verdict, Json& entry) {
    entry["written"] = false;
    if (verdict == Verdict::Refused) return Fail(io, entry, file + ": a change was refused; it was not written", kExitDiffers);
    return kExitOk;
}

// A file changed in place: read, changed, backed up and written under the
// file's lock, through one descriptor (ChangeMissionInPlace).
int RewriteInPlace(const Io& io, const Options& o, const std::string& file, const Changer& change, Json& entry,
                   Rewritten& r) {
    std::string backupFailure;
    const ChangeResult changed = ChangeMissionInPlace(file, [&](MissionBytes& bytes, int fd) {
        r.before.Assign(bytes);
        r.after = r.before;
        r.verdict = change(r.after);
        if (r.verdict != Verdict::Write) return false;
        if (o.backup) backupFailure = KeepBackup(fd, file);
        bytes = r.after.Bytes();
        return backupFailure.empty();
    });
    using O = ChangeResult::Outcome;
    if (changed.outcome == O::Unreadable) {
        entry["error"] = "the file " + changed.error;  // as ReadInput says it
        Complain(io, file + ": the file " + changed.error);
        return kExitFailed;
    }
    if (changed.outcome != O::Left) entry["changes"] = DifferencesJson(r.before, r.after);
    NameFile(entry, "output", file);
    if (!backupFailure.empty()) return BackupFailed(io, entry, file, backupFailure);
    if (changed.outcome == O::Left) return Judged(io, file, r.verdict, entry);
    entry["written"] = changed.outcome == O::Written;
    if (changed.outcome == O::Unwritten) return Fail(io, entry, "could not save " + file + ": " + changed.error, kExitFailed);
    r.reached = changed.written == file ? file : changed.written.string() + " (through the link " + file + ")";
    return kExitOk;
}

// Reads a file (or standard input), changes its mission and writes it back
// in place, or to -o, or (in a dry run) nowhere. The entry names the file
// and says what became of it.
int Rewrite(const Io& io, const Options& o, const std::string& file, const Changer& change, Json& entry, Rewritten& r) {
    NameFile(entry, "file", file);
    if (!o.outputGiven && !o.dryRun) return RewriteInPlace(io, o, file, change, entry, r);
    const Input input = ReadInput(io, file);
    if (!input.image) {
        entry["error"] = input.error;
        return kExitFailed;
    }
    r.before = r.after = *input.image;
    r.verdict = change(r.after);
    if (r.verdict != Verdict::Write) return Judged(io, file, r.verdict, entry);
    entry["changes"] = DifferencesJson(r.before, r.after);
    return Deliver(io, o, o.outputGiven ? o.output : file, r.after.Bytes(), entry, r.reached);
}

// ---- set ----

struct Change {
    const Field* field;
    std::string value;
    std::string origin;  // "--from FILE, line N" for a change read from a file
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
        changes.push_back({field, arg.substr(eq + 1), {}});
    }
    if (files.empty()) return Refuse(io, "set: no mission file given");
    return true;
}

// A --from file's text, whole, or false (said why). A list of changes is
// short: more than a mebibyte (a device that never ends, say) is refused.
bool ReadChangeText(const Io& io, const std::string& name, std::string& text) {
    constexpr std::size_t kLargest = 1 << 20;
    const bool stdinput = name == kStdio;
    const std::string shown = "--from " + (stdinput ? std::string("standard input") : name);
    const int fd = stdinput ? io.inFd : ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Refuse(io, shown + ": cannot be opened: " + Reason(errno));
    struct stat st {};
    std::string why = ::fstat(fd, &st) != 0 ? Reason(errno) : S_ISDIR(st.st_mode) ? "it is a folder" : "";
    char chunk[1 << 14];
    while (why.empty()) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0) why = Reason(errno);
            break;
        }
        text.append(chunk, static_cast<std::size_t>(n));
        if (text.size() > kLargest) why = "it is longer than a list of changes can be (1 MiB)";
    }
    if (!stdinput) ::close(fd);
    return why.empty() || Refuse(io, shown + ": " + why + "; no file was written");
}

// The changes of a --from file, one FIELD=VALUE a line, in order. Blank
// lines and lines starting with # are skipped; blanks before a change and a
// carriage return after it are dropped. Any other line that is no change of
// a field refuses the whole list, naming its line.
bool ChangesFrom(const Io& io, const std::string& name, std::vector<Change>& changes) {
    std::string text;
    if (!ReadChangeText(io, name, text)) return false;
    const std::string shown = "--from " + (name == kStdio ? std::string("standard input") : name);
    std::size_t number = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        line.erase(0, std::min(line.find_first_not_of(" \t"), line.size()));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::string where = shown + ", line " + std::to_string(number);
        if (!IsChange(line)) return Refuse(io, where + ": \"" + line + "\" is no FIELD=VALUE change; no file was written");
        const std::string fieldName = line.substr(0, line.find('='));
        const Field* field = FindField(fieldName);
        if (field == nullptr)
            return Refuse(io, where + ": no field is named " + fieldName + FieldCandidates(fieldName) + "; no file was written");
        changes.push_back({field, line.substr(fieldName.size() + 1), where});
    }
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
        if (!edit.stored) Complain(io, change.origin.empty() ? edit.message : change.origin + ": " + edit.message);
        else if (!edit.message.empty()) said.push_back(edit.message);
        refused = refused || !edit.stored;
    }
    return !refused;
}

int SetOne(const Io& io, const Options& o, const std::string& file, const std::vector<Change>& changes,
           const NameLists& lists, Report& report) {
    Json entry;
    Rewritten r;
    std::vector<std::string> said;
    const int status = Rewrite(io, o, file, [&](MissionImage& image) {
        if (!Apply(io, image, changes, lists, said)) return Verdict::Refused;
        image.Seal();
        return Verdict::Write;
    }, entry, r);
    if (status == kExitOk && o.dryRun) {
        for (const std::string& line : DifferenceLines(r.before, r.after, lists)) report.Say(file + ": " + line);
        report.Say("Would save " + (o.outputGiven ? o.output : file) + " (dry run: nothing was written).");
    } else if (status == kExitOk) {
        for (const std::string& line : said) report.Say(file + ": " + line);
        report.Say("Saved " + r.reached + ".");
    }
    return report.Add(entry, status);
}

// ---- stamp ----

int StampOne(const Io& io, const Options& o, const std::string& file, Report& report) {
    Json entry;
    Rewritten r;
    std::uint32_t computed = 0;
    const int status = Rewrite(io, o, file, [&](MissionImage& image) {
        computed = MissionChecksum(image.Bytes());
        entry["stored_checksum"] = StoredChecksum(image.Bytes());
        entry["computed_checksum"] = computed;
        if (!o.outputGiven && StoredChecksum(image.Bytes()) == computed) return Verdict::Leave;
        image.Write(kStoredChecksumField, computed);
        return Verdict::Write;
    }, entry, r);
    if (status == kExitOk && r.verdict == Verdict::Leave) report.Say(file + ": ok, not written");
    else if (status == kExitOk)
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
    if (o.fromGiven) {  // before the command line's changes, which may then change them again
        std::vector<std::string> readers = files;
        readers.push_back(o.from);
        std::vector<Change> listed;
        if (!StdinOnce(io, readers) || !ChangesFrom(io, o.from, listed)) return kExitFailed;
        changes.insert(changes.begin(), listed.begin(), listed.end());
    }
    if (changes.empty()) {
        Complain(io, "set: no FIELD=VALUE change given");
        return kExitFailed;
    }
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
