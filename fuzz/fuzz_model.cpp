// Random sequences of events through the window model: loads of random and
// damaged files, clicks on every control, list selections, text of any
// length with and without Enter, new missions, undo and redo, saves under
// random names, saves onto links, pipes and folders, and saves that a full
// disk cuts short. After every event: no byte outside the fields the event
// may edit changed; a successful save wrote exactly the image, with the fixed
// header and a right checksum, to the named file in the start folder; a
// refused or failed save changed no file; nothing outside the start folder
// changed. Sessions end (a close or a signal) and start again: whatever
// was unsaved is kept whole and reads back as the same work, and Ctrl+R
// (with damaged or foreign kept works about) loses no kept work.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "mission/Checksum.h"
#include "mission/Fields.h"
#include "ui/KeptWork.h"
#include "ui/WindowModel.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrane;

// Stops with the line of the property that broke.
#define Require(ok)                                                          \
    do {                                                                     \
        if (!(ok)) {                                                         \
            std::fprintf(stderr, "property broken at line %d: %s\n", __LINE__, #ok); \
            std::abort();                                                    \
        }                                                                    \
    } while (false)

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The plain files of a folder and their bytes.
std::map<std::string, std::string> Files(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& e : fs::directory_iterator(dir))
        if (e.is_regular_file() && !e.is_symlink()) files[e.path().filename().string()] = ReadAll(e.path());
    return files;
}

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Next() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    bool Done() const { return size == 0; }
    std::string Bytes(std::size_t n) {
        std::string s;
        while (n-- > 0 && !Done()) s += static_cast<char>(Next());
        return s;
    }
};

struct Dialog : FileDialog {
    std::string answer;
    std::string ChooseFile(const std::string&, std::string_view, std::string_view) override { return answer; }
    std::string ChooseSaveFile(const std::string&, const std::string&, std::string_view, std::string_view) override {
        return answer;
    }
};

// The kept works in memory; a claim is held by one session at a time.
struct MemoryStore : WorkStore {
    std::map<std::string, std::string> files;
    std::set<std::string> claimed, asides;
    int clock = 0;
    std::vector<std::string> Names() override {
        std::vector<std::string> names;
        for (const auto& [name, text] : files) names.push_back(name);
        return names;
    }
    Reading Read(const std::string& name) override { return {true, files.at(name), {}}; }
    std::string Write(const std::string& name, std::string_view text) override {
        files[name] = std::string(text);
        return {};
    }
    void Remove(const std::string& name) override { files.erase(name); }
    std::string SetAside(const std::string& name, const std::string& folder) override {
        files.erase(name);
        asides.insert(name);
        return folder + "/" + name;
    }
    bool Claim(const std::string& name) override { return claimed.insert(name).second; }
    void Release(const std::string& name) override { claimed.erase(name); }
    std::string NewName() override { return "s" + std::to_string(clock) + ".json"; }
    std::string Now() override { return "2026-12-07 12:00:00." + std::to_string(1000 + clock++); }
    Keeping KeepReplaced(const std::string&) override { return {true, "copy"}; }
    std::string Where() override { return "memory"; }
};

struct World {
    fs::path root, dir, outside;
    World() {
        root = fs::temp_directory_path() / ("kestrane-fuzz-model-" + std::to_string(::getpid()));
        dir = root / "start";
        outside = root / "outside.msn";
        fs::create_directories(dir);
        std::ofstream(dir / "planes.txt") << "A\nB\nC\n";
        std::ofstream(dir / "targets.txt") << "X\nY\nZ\n";
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the size limit fails instead of ending the process
    }
    ~World() { fs::remove_all(root); }
};

// Text for a box: a few bytes, or a long run made of them.
std::string TextFrom(Input& in) {
    const std::uint8_t kind = in.Next();
    std::string piece = in.Bytes(kind % 8);
    if (kind & 0x80) {
        std::string run;
        const std::size_t times = 1 + (static_cast<std::size_t>(in.Next()) << 8);
        for (std::size_t i = 0; i < times && run.size() < 200000; ++i) run += piece.empty() ? "0" : piece;
        return run + piece;
    }
    return piece;
}

constexpr ControlId kBoxes[] = {ControlId::NameBox,          ControlId::AttackPrimaryAltitudeBox,
                                ControlId::EnemySecondaryAltitudeBox, ControlId::MissionDateBox,
                                ControlId::Unknown2Box,      ControlId::AircraftCountBox,
                                ControlId::FileNameBox};
constexpr ControlId kPickers[] = {ControlId::AttackPlane1Name, ControlId::AttackPlane2Name, ControlId::EnemyPrimaryName,
                                  ControlId::EnemySecondaryName, ControlId::EnemySecondaryNumber,
                                  ControlId::TargetName,       ControlId::HomeBaseName};

// The offsets an event on a control may write.
std::vector<bool> Writable(ControlId id) {
    std::vector<bool> may(kMissionSize, false);
    for (const Field* field : FieldsOf(id))
        for (int o = field->offset; o < field->End(); ++o) may[static_cast<std::size_t>(o)] = true;
    return may;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static World world;
    for (const fs::directory_entry& e : fs::directory_iterator(world.dir))
        if (e.path().extension() == ".msn" || e.path().filename().string().starts_with("x")) fs::remove_all(e.path());
    {
        std::ofstream(world.outside, std::ios::binary | std::ios::trunc) << std::string(1000, 'o');
    }
    Dialog dialog;
    WindowModel model(dialog, world.dir);
    MemoryStore store;
    auto kept = std::make_unique<KeptWork>(store, model);
    Input in{data, size};

    for (int step = 0; step < 64 && !in.Done(); ++step) {
        const MissionBytes before = model.Image().Bytes();
        auto filesBefore = Files(world.dir);
        const std::string outsideBefore = ReadAll(world.outside);
        std::vector<bool> may(kMissionSize, false);
        std::string savedAs;

        switch (in.Next() % 14) {
        case 0: {  // load a file of random length and bytes
            const std::string bytes = in.Bytes(in.Next() * 2u + (in.Next() & 1u) * 400u);
            std::ofstream(world.dir / "in.msn", std::ios::binary | std::ios::trunc) << bytes;
            filesBefore = Files(world.dir);
            dialog.answer = in.Next() % 8 == 0 ? std::string() : (world.dir / "in.msn").string();
            model.Click(ControlId::LoadButton);
            may.assign(kMissionSize, true);
            break;
        }
        case 1: {
            const ControlId group = kOptionControls[in.Next() % kOptionControls.size()].group;
            model.Click(group, in.Next() % 6 - 1);
            may = Writable(group);
            break;
        }
        case 2:
            model.Check(ControlId::InstantActionBox, in.Next() & 1);
            may = Writable(ControlId::InstantActionBox);
            break;
        case 3: {
            const ControlId box = kBoxes[in.Next() % std::size(kBoxes)];
            model.Type(box, TextFrom(in));
            if (in.Next() & 1) model.KeyPress(box, kEnterKey);
            may = Writable(box);
            break;
        }
        case 4:
            model.Select(in.Next() & 1 ? ControlId::AircraftList : ControlId::PlaceList, in.Next() % 8 - 1);
            break;
        case 5: {
            const ControlId picker = kPickers[in.Next() % std::size(kPickers)];
            model.Click(picker);
            may = Writable(picker);
            break;
        }
        case 6:
            model.Click(ControlId::NewButton);
            may.assign(kMissionSize, true);
            break;
        case 7:
            if (in.Next() & 1) model.Undo();
            else model.Redo();
            may.assign(kMissionSize, true);
            break;
        case 8: {  // save under a random name, into something odd or onto a full disk
            std::string name = "x" + in.Bytes(in.Next() % 6);
            const fs::path target = world.dir / (name + ".msn");
            std::error_code ec;
            switch (in.Next() % 6) {
            case 0:  // a link to a device node of the run's own, never to one of the system's
                ::mknod((world.dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3));
                fs::create_symlink(world.dir / "null", target, ec);
                break;
            case 1: ::mkfifo(target.c_str(), 0600); break;
            case 2: fs::create_directory(target, ec); break;
            case 3: fs::create_symlink(world.dir / "nowhere.msn", target, ec); break;
            default: break;
            }
            // A full disk: the file cannot grow past what it holds (200 bytes
            // for a new one), so the write stops part-way.
            const bool full = in.Next() % 4 == 0;
            struct stat st {};
            const rlim_t room = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? st.st_size : 200;
            model.Type(ControlId::FileNameBox, name);
            rlimit old{};
            ::getrlimit(RLIMIT_FSIZE, &old);
            if (full) {
                const rlimit small{room, old.rlim_max};
                ::setrlimit(RLIMIT_FSIZE, &small);
            }
            model.Click(ControlId::SaveButton);
            if (full) ::setrlimit(RLIMIT_FSIZE, &old);
            for (const ControlId box : kBoxes)
                for (std::size_t o = 0; o < kMissionSize; ++o) may[o] = may[o] || Writable(box)[o];
            for (int o = 0; o < 8; ++o) may[static_cast<std::size_t>(o)] = true;
            if (model.Text(ControlId::StatusLine).starts_with("Saved ")) savedAs = target.filename().string();
            break;
        }
        case 9: {
            std::vector<std::string> dropped;
            for (int n = in.Next() % 3; n > 0; --n) dropped.push_back((world.dir / "in.msn").string());
            model.Drop(dropped, in.Next() % 2);
            may.assign(kMissionSize, true);
            break;
        }
        case 10:
            model.Type(ControlId::FileNameBox, in.Bytes(in.Next() % 12));
            break;
        case 11: {  // the session ends, however: what was unsaved is kept whole
            // Work longer than a kept work may be is refused, as documented,
            // and only such work.
            if (const std::string error = kept->Keep(); !error.empty()) {
                Require(WorkText(model.Work()).size() > kLargestWorkText);
                kept = std::make_unique<KeptWork>(store, model);
                break;
            }
            if (model.Unsaved()) {
                const WorkReading read = ReadWorkText(store.files.at(kept->Own()));
                Require(read.work && read.work->SameWork(model.Work()));
            } else {
                Require(kept->Own().empty());
            }
            kept = std::make_unique<KeptWork>(store, model);  // and a new one starts
            break;
        }
        case 12: {  // Ctrl+R, with a damaged or foreign kept work about
            if (in.Next() & 1) {
                std::string text = store.files.empty() ? in.Bytes(in.Next()) : store.files.begin()->second;
                if (!text.empty()) text[in.Next() % text.size()] ^= static_cast<char>(in.Next());
                store.files["h" + std::to_string(step) + ".json"] = text;
            }
            const auto keptBefore = store.files;
            const std::string own = kept->Own();
            kept->RestoreNext();
            for (const auto& [name, text] : keptBefore)
                Require(name == own || store.files.contains(name) || store.asides.contains(name));
            may.assign(kMissionSize, true);
            break;
        }
        default:
            model.Click(ControlId::LoadButton);  // a cancelled dialog
            dialog.answer.clear();
            may.assign(kMissionSize, true);
            break;
        }

        // Only the bytes the event may write have changed.
        const MissionBytes& after = model.Image().Bytes();
        for (std::size_t o = 0; o < kMissionSize; ++o) Require(may[o] || after[o] == before[o]);
        // No file outside the start folder changed, and in it only the saved one.
        Require(ReadAll(world.outside) == outsideBefore);
        auto filesAfter = Files(world.dir);
        if (!savedAs.empty()) {
            const std::string written = filesAfter[savedAs];
            Require(std::memcmp(after.data(), written.data(), after.size()) == 0);
            Require(after[4] == 101 && after[5] == 2 && after[6] == 0 && after[7] == 170);
            Require(StoredChecksum(after) == MissionChecksum(after));
            filesAfter.erase(savedAs);
        }
        auto expected = filesBefore;
        if (!savedAs.empty()) expected.erase(savedAs);
        Require(filesAfter == expected);
    }
    return 0;
}
