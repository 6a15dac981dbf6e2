// Unsaved work kept across the end of a session: the text a kept work is
// written as, and the policy of what is kept, when, and what a restore
// trusts, over a store in memory.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "mission/Checksum.h"
#include "ui/KeptWork.h"

namespace kestrane {

using C = ControlId;
using test::Editor;
using test::Mission;
using Json = nlohmann::ordered_json;

namespace {

// The folder of kept works in memory, shared by the sessions of a test as a
// disk is by running editors: a claim is held by one session, as a lock file
// by one process. Names are handed out in the reverse of time order, so that
// only the times inside the texts can tell which work is newest.
struct MemoryFolder {
    std::map<std::string, std::string> files;
    std::map<std::string, const void*> claims;  // name -> the session holding it
    std::vector<std::string> asides;
    std::map<std::string, std::string> replaced;  // path -> the bytes copied aside
    bool full = false;
    int clock = 0, names = 0;
};

// One session's view of the folder.
struct MemoryStore : WorkStore {
    explicit MemoryStore(MemoryFolder& f) : folder(f) {}
    MemoryFolder& folder;

    std::vector<std::string> Names() override {
        std::vector<std::string> n;
        for (const auto& [name, text] : folder.files) n.push_back(name);
        return n;
    }
    Reading Read(const std::string& name) override {
        if (name.starts_with("pipe")) return {false, {}, "it is not a plain file"};
        return {true, folder.files.at(name), {}};
    }
    std::string Write(const std::string& name, std::string_view text) override {
        if (folder.full) return "No space left on device";
        folder.files[name] = std::string(text);
        return {};
    }
    void Remove(const std::string& name) override { folder.files.erase(name); }
    std::string SetAside(const std::string& name, const std::string& into) override {
        folder.files.erase(name);
        folder.asides.push_back(into + "/" + name);
        return into + "/" + name;
    }
    bool Claim(const std::string& name) override {
        if (folder.full && !folder.claims.contains(name)) return false;  // no room for a lock file
        return folder.claims.try_emplace(name, this).first->second == this;
    }
    void Release(const std::string& name) override {
        if (auto held = folder.claims.find(name); held != folder.claims.end() && held->second == this) folder.claims.erase(held);
    }
    std::string NewName() override { return "s" + std::to_string(900 - ++folder.names) + ".json"; }
    std::string Now() override { return "2026-12-07 12:00:" + std::to_string(10 + folder.clock++); }
    std::string Where() override { return "unsaved"; }
    Keeping KeepReplaced(const std::string& path) override {
        if (folder.full) return {false, "No space left on device"};
        folder.replaced[path] = test::ReadFile(path);
        return {true, "replaced/copy.msn"};
    }
};

const MissionBytes kLoaded = Mission({{272, 1}, {304, 3}, {288, 5}, {12, 'A'}});

// A session of the editor: a start folder, its window model and its kept work.
struct Session {
    explicit Session(MemoryFolder& folder, int planes = 10) : store(folder), editor(planes, 20), kept(store, *editor.model) {}
    MemoryStore store;
    Editor editor;
    KeptWork kept;
    WindowModel& model() { return *editor.model; }
};

}  // namespace

TEST(KeptWorkText, RestoresTheUsersWorkAndDerivesTheRestFromTheImageAndTodaysLists) {
    Editor e(10, 20);
    e.Load(kLoaded);
    e.model->Click(C::YearOptions, 3);
    e.model->Type(C::MissionDateBox, "typed, not entered");
    e.model->Select(C::AircraftList, 9);
    UnsavedWork work = e.model->Work();
    work.savedAt = "2026-12-07 10:00:00";
    work.file = "/games/caf\xe9.msn";  // a name that is not UTF-8 comes back byte for byte
    const WorkReading read = ReadWorkText(WorkText(work));
    ASSERT_TRUE(read.work) << read.error;
    EXPECT_TRUE(read.work->SameWork(work));

    Editor fresh(4, 3);  // another folder: shorter lists, other names
    fresh.model->RestoreWork(*read.work);
    EXPECT_EQ(fresh.model->Image().Bytes(), e.model->Image().Bytes());
    EXPECT_EQ(fresh.model->Text(C::MissionDateBox), "typed, not entered");
    EXPECT_EQ(fresh.model->Value(C::YearOptions), 3);
    EXPECT_EQ(fresh.model->Text(C::AttackPlane2Name), " 3:Plane 3");
    EXPECT_EQ(fresh.model->Text(C::TargetName), "") << "place 5 is past today's three places";
    EXPECT_EQ(fresh.model->Value(C::AircraftList), -1) << "entry 9 is past today's list of 6";
    EXPECT_EQ(fresh.model->Text(C::SaveButton), "Save!");
    EXPECT_TRUE(fresh.model->Modified());
    EXPECT_TRUE(fresh.model->EditorsUnlocked());
}

TEST(KeptWorkText, DamagedCutForeignOrMistypedTextIsRefusedWholeWithAReason) {
    Editor e;
    e.Load(kLoaded);
    UnsavedWork work = e.model->Work();
    work.savedAt = "2026-12-07 10:00:00";
    const std::string text = WorkText(work);
    // The text with members of its body changed (one dropped) and sealed
    // again, so that only the content is at fault.
    auto resealed = [&](const Json& members, const char* dropped = "") {
        Json doc = Json::parse(text);
        doc["body"].update(members);
        doc["body"].erase(dropped);
        const std::string body = doc["body"].dump();
        doc["seal"] = Crc32(std::span(reinterpret_cast<const std::uint8_t*>(body.data()), body.size()));
        return doc.dump();
    };
    ASSERT_TRUE(ReadWorkText(resealed({{"version", 2}})).work) << "the resealing itself is sound";
    // The earlier format kept every control's [text, value] in the window's order.
    Json controls = Json::array();
    for (std::size_t i = 0; i < kControlCount; ++i) controls.push_back({"", -1});
    controls[Index(C::AttackPrimaryAltitudeBox)] = {"1,500", -1};
    controls[Index(C::PlaceList)] = {"", 4};
    const WorkReading earlier = ReadWorkText(resealed({{"version", 1}, {"controls", controls}}, "boxes"));
    ASSERT_TRUE(earlier.work) << earlier.error;
    EXPECT_EQ(earlier.work->boxes[1], "1,500");
    EXPECT_EQ(earlier.work->place, 4);
    EXPECT_EQ(earlier.work->image, kLoaded);

    std::vector<std::string> bad{"", "{}", "not json", "[1,2]", R"({"body":{"format":"other"},"seal":1})",
                                 resealed({{"version", "2"}}), resealed({{"version", nullptr}}), resealed({{"version", 3}}),
                                 resealed({{"version", 2.5}}), resealed({{"image", "00"}}), resealed({{"lists", Json::array()}}),
                                 resealed({{"boxes", {{"MissionName", 7}}}}), resealed({{"format", "another-editor"}})};
    for (std::size_t cut : {1ul, text.size() / 2, text.size() - 3}) bad.push_back(text.substr(0, cut));
    std::string flipped = text;
    flipped[flipped.find("\"image\": \"") + 12] ^= 1;  // one hex digit of the image
    bad.push_back(flipped);
    for (const std::string& t : bad) {
        const WorkReading read = ReadWorkText(t);
        EXPECT_FALSE(read.work) << t.substr(0, 60);
        EXPECT_FALSE(read.error.empty());
    }
    EXPECT_EQ(ReadWorkText(resealed({{"version", "2"}})).error, "it has no version number");
    EXPECT_EQ(ReadWorkText(resealed({{"version", 3}})).error, "it is of version 3, which this editor does not know");
}

TEST(KeptWorkPolicy, ASessionKeepsOnlyWhatIsUnsavedAndASaveEndsOnlyItsOwnFile) {
    MemoryFolder store;
    Session first(store);
    first.editor.Load(kLoaded);
    EXPECT_EQ(first.kept.Keep(), "");
    EXPECT_TRUE(store.files.empty()) << "a freshly loaded mission has nothing unsaved";
    first.model().Type(C::NameBox, "Night raid");  // typed, not entered, is unsaved too
    EXPECT_EQ(first.kept.Keep(), "");
    ASSERT_EQ(store.files.size(), 1u);
    const std::string firstFile = store.files.begin()->first;
    EXPECT_EQ(first.kept.Keep(), "");
    EXPECT_EQ(store.clock, 1) << "unchanged work is not written again";

    Session second(store);  // another editor, running at the same time
    EXPECT_EQ(second.kept.Survey(), "") << "a running session's work is not offered";
    second.kept.RestoreNext();
    EXPECT_EQ(second.editor.Status(), "No unsaved work is kept but that of 1 editor that is still running.");
    second.model().Click(C::NewButton);
    second.model().Click(C::AaaOptions, 2);
    second.kept.Keep();
    second.editor.Save("other");
    EXPECT_EQ(store.files.size(), 1u);
    EXPECT_TRUE(store.files.contains(firstFile)) << "a save ends its own session's file only";
    EXPECT_TRUE(store.replaced.empty()) << "a new file replaces no mission";
}

TEST(KeptWorkPolicy, EveryEndedSessionsWorkComesBackOneCtrlREach) {
    MemoryFolder store;
    for (const char* name : {"Alpha", "Bravo"}) {
        Session ended(store);
        ended.editor.Load(kLoaded);
        ended.editor.Enter(C::NameBox, name);
        ASSERT_EQ(ended.kept.Keep(), "");
    }
    store.files["broken.json"] = "{\"body\":";
    store.files["pipe.json"] = "";
    store.files["cut.json"] = "{";
    store.files["empty.json"] = "";
    Session next(store);
    const std::string said = next.kept.Survey();
    EXPECT_NE(said.find("2 unsaved works are kept; the newest, the unsaved work \"Bravo\" from 2026-12-07 12:00:11"),
              std::string::npos) << said;
    EXPECT_NE(said.find("set aside in damaged: broken.json (it is not JSON (damaged or cut short)), cut.json (it is not JSON "
                        "(damaged or cut short)), empty.json (it is not JSON (damaged or cut short)) and 1 more."),
              std::string::npos) << said;
    EXPECT_EQ(store.asides, (std::vector<std::string>{"damaged/broken.json", "damaged/cut.json", "damaged/empty.json",
                                                      "damaged/pipe.json"}));

    next.kept.RestoreNext();
    EXPECT_EQ(next.model().Text(C::NameBox), "Bravo");
    EXPECT_NE(next.editor.Status().find("1 more kept"), std::string::npos) << next.editor.Status();
    EXPECT_NE(next.editor.Status().find("; its aircraft and places are named from the catalogues of " + next.model().StartDir()),
              std::string::npos) << "each session here has a start folder of its own";
    {
        Session other(store);  // a second editor started meanwhile gets the other work, never the same
        other.kept.RestoreNext();
        EXPECT_EQ(other.model().Text(C::NameBox), "Alpha");
        next.kept.RestoreNext();
        EXPECT_EQ(next.editor.Status(), "No other unsaved work is kept but that of 1 editor that is still running.");
        EXPECT_EQ(next.model().Text(C::NameBox), "Bravo");
    }
    // The work restored before stays kept as the window holds it: a change
    // kept and then undone is not left in it.
    const std::string bravo = next.kept.Own();
    next.model().Click(C::WeatherOptions, 4);
    ASSERT_EQ(next.kept.Keep(), "");
    next.model().Undo();
    next.kept.RestoreNext();
    EXPECT_EQ(next.model().Text(C::NameBox), "Alpha");
    EXPECT_EQ(ReadWorkText(store.files.at(bravo)).work.value().image[280], kLoaded[280]) << "the undone weather stayed";
    EXPECT_EQ(store.files.size(), 2u);
    next.kept.RestoreNext();
    EXPECT_EQ(next.editor.Status(), "No other unsaved work is kept.");
}

// The policy says when work is kept, on the view's clock: two seconds after
// a change and not put off by later ones; a failed keep is said once and
// tried again every two seconds, and its recovery is said.
TEST(KeptWorkPolicy, KeepsTwoSecondsAfterAChangeAndRetriesAFailureQuietly) {
    MemoryFolder store;
    Session s(store);
    s.editor.Load(kLoaded);
    s.model().Click(C::YearOptions, 2);
    s.kept.Touched(1000);
    s.kept.Touched(2500);
    EXPECT_EQ(s.kept.Due(), 3000);
    s.kept.Tick(2999);
    EXPECT_TRUE(store.files.empty());
    s.kept.Tick(3000);
    EXPECT_EQ(store.files.size(), 1u);
    EXPECT_EQ(s.kept.Due(), std::nullopt);

    store.full = true;
    s.model().Click(C::YearOptions, 3);
    s.kept.Touched(4000);
    s.kept.Tick(6000);
    EXPECT_EQ(s.editor.Status(), "Your unsaved work could not be kept in unsaved (No space left on device); save the mission to keep it.");
    EXPECT_EQ(s.kept.Due(), 8000);
    s.model().Say("Undone.");
    s.kept.Tick(8000);
    EXPECT_EQ(s.editor.Status(), "Undone.") << "a failure is said once";
    store.full = false;
    s.kept.Tick(10000);
    EXPECT_EQ(s.editor.Status(), "Your unsaved work is kept again in unsaved.");
    EXPECT_EQ(s.kept.Due(), std::nullopt);

    // Work longer than a kept work may be is refused plainly, not written
    // unreadable.
    const std::string kept = store.files.begin()->second;
    s.model().Type(C::MissionDateBox, std::string(kLargestWorkText, '0') + "7");
    EXPECT_NE(s.kept.Keep().find("more than the 1 MB a kept work may be"), std::string::npos);
    EXPECT_EQ(store.files.begin()->second, kept);
}

// Load and New keep unsaved changes first, or refuse; a restore says when the
// file its work began from has changed since, and asks to compare them.
TEST(KeptWorkPolicy, UnsavedChangesAreKeptBeforeALoadOrNewAndNeverReplacedByARestore) {
    MemoryFolder store;
    Session s(store);
    s.editor.Load(kLoaded);
    s.model().Click(C::WeatherOptions, 4);
    store.full = true;
    EXPECT_EQ(s.kept.Keep(), "no lock file could be made for it");
    store.full = false;
    ASSERT_EQ(s.kept.Keep(), "");
    EXPECT_EQ(Session(store).kept.Survey(), "") << "work kept after a failed claim is this session's all the same";
    s.model().Click(C::YearOptions, 3);
    store.full = true;
    test::WriteFile(s.editor.dir / "next.msn", Mission({{276, 2}}));
    s.model().Open((s.editor.dir / "next.msn").string());
    EXPECT_EQ(s.model().Image().U8(280), 4) << "work that cannot be kept is not replaced";
    EXPECT_NE(s.editor.Status().find("could not be kept first (No space left on device)"), std::string::npos);
    s.model().Click(C::NewButton);
    EXPECT_EQ(s.model().Image().U8(280), 4);

    store.full = false;
    s.model().Open((s.editor.dir / "next.msn").string());
    EXPECT_EQ(s.model().Image().U8(276), 2);
    EXPECT_NE(s.editor.Status().find("Your unsaved changes are kept: Ctrl+R brings them back."), std::string::npos);
    test::WriteFile(s.editor.dir / "in.msn", Mission({{12, 'X'}}));  // another program writes it meanwhile
    s.kept.RestoreNext();
    EXPECT_EQ(s.model().Image().U8(280), 4);
    EXPECT_NE(s.editor.Status().find(". in.msn has changed since this work was kept: the inspector compares the two"),
              std::string::npos) << s.editor.Status();
    EXPECT_EQ(s.model().TakeCompareRequest(), (s.editor.dir / "in.msn").string());
    // Changes made since a restore are not replaced by the next; a save ends
    // the restored work's file.
    s.editor.Enter(C::AttackPrimaryAltitudeBox, "500");
    s.kept.RestoreNext();
    EXPECT_NE(s.editor.Status().find("save or undo them first"), std::string::npos) << s.editor.Status();
    s.editor.Save("saved");
    EXPECT_TRUE(store.files.empty()) << "the restored work is saved now";
}

// A save keeps a copy of what it writes over, unless that is the work's own
// file as this session left it; a copy that cannot be kept writes nothing.
TEST(KeptWorkPolicy, ASaveOverADifferentMissionKeepsItFirstOrWritesNothing) {
    MemoryFolder store;
    Session s(store);
    test::WriteFile(s.editor.dir / "raid.msn", kLoaded);
    s.editor.Load(kLoaded, "channel.msn");
    s.editor.Save("raid");  // the same 400 bytes but the seal: a different mission on disk
    const std::string raid = (s.editor.dir / "raid.msn").string();
    ASSERT_EQ(store.replaced.size(), 1u);
    EXPECT_EQ(store.replaced[raid], std::string(kLoaded.begin(), kLoaded.end())) << "the copy is of the mission before the save";
    EXPECT_EQ(s.editor.Status(), "Saved " + raid + ", the name typed beside \"***.msn\" filename:, not the loaded " +
                                     (s.editor.dir / "channel.msn").string() +
                                     ", which stays as it was. The mission it replaced is kept as replaced/copy.msn.");
    s.editor.Save("raid");
    s.model().Click(C::YearOptions, 1);
    s.model().SaveToOwnFile();
    EXPECT_EQ(store.replaced.size(), 1u) << "writing the same bytes, or over the work's own file, replaces nothing";

    test::WriteFile(s.editor.dir / "raid.msn", kLoaded);  // another program writes it meanwhile
    s.model().Click(C::YearOptions, 2);
    store.replaced.clear();
    s.model().SaveToOwnFile();
    EXPECT_EQ(store.replaced.size(), 1u);
    EXPECT_NE(s.editor.Status().find(". It replaces changes made to the file elsewhere since this work began. The mission"),
              std::string::npos) << s.editor.Status();

    test::WriteFile(s.editor.dir / "other.msn", kLoaded);
    store.full = true;
    s.editor.Save("other");
    EXPECT_EQ(test::ReadFile(s.editor.dir / "other.msn"), std::string(kLoaded.begin(), kLoaded.end()));
    EXPECT_NE(s.editor.Status().find("Nothing was written"), std::string::npos) << s.editor.Status();
}

TEST(KeptWorkPolicy, OnlyTheTwentyNewestAreKept) {
    MemoryFolder store;
    UnsavedWork work;
    for (int i = 10; i < 35; ++i) {  // the later the work, the earlier its name sorts
        work.savedAt = "2026-12-07 11:00:" + std::to_string(i);
        store.files["w" + std::to_string(99 - i) + ".json"] = WorkText(work);
    }
    Session s(store);
    const std::string said = s.kept.Survey();
    EXPECT_NE(said.find("20 unsaved works are kept"), std::string::npos) << said;
    EXPECT_NE(said.find("5 older kept works were moved to older, past the 20 newest that Ctrl+R offers."), std::string::npos)
        << said;
    EXPECT_EQ(store.files.size(), 20u);
    EXPECT_EQ(store.asides.size(), 5u) << "moved aside, never deleted";
    EXPECT_TRUE(store.files.contains("w84.json")) << "the twentieth newest, 11:00:15";
    EXPECT_FALSE(store.files.contains("w85.json")) << "the twenty-first newest, 11:00:14";
}

}  // namespace kestrane
