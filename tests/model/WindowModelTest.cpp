// The window model driven by events as a view forwards them: load, new and
// save, the bad-input matrix, and the random round trips.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <sys/stat.h>

#include "TestSupport.h"

namespace kestrane {

using C = ControlId;
using test::Editor;
using test::Mission;

TEST(WindowModel, LoadShowsChecksumsCodesAndPlacesAndKeepsGroupsWithoutAMember) {
    Editor e(10, 3);
    e.Load(Mission({{272, 2}, {9, 128}}));
    const MissionBytes m = Mission({{0, 10}, {2, 255}, {3, 1}, {272, 7}, {9, 127}, {304, 255}, {320, 254},
                                    {324, 254}, {356, 10}, {288, 44}, {289, 1}});
    e.Load(m);
    EXPECT_EQ(e.model->Image().Bytes(), m);
    std::string shown = std::to_string(e.model->Value(C::YearOptions) * 10 + e.model->Value(C::InstantActionBox));
    for (C id : {C::AttackPlane2Name, C::AttackPlane2Number, C::EnemyPrimaryName, C::EnemySecondaryName,
                 C::AttackPlane1Name, C::TargetName, C::TargetNumber, C::ChecksumDecimal, C::ChecksumHex,
                 C::ChecksumByte0, C::ChecksumByte3, C::StoredChecksumDecimal, C::StoredChecksumBytes})
        shown += "|" + e.model->Text(id);
    // Year 7 has no member; the enemy primary has no None and attack plane 1 no codes: list items 254 and 10.
    // The checksum shows signed, the stored one unsigned; hexadecimal bytes without separators or leading zeros.
    EXPECT_EQ(shown, "20|Random|255||None|Random||300|-447022887|E55AF8D9|217|229|33488906|A0FF1");
}

TEST(WindowModel, WithoutAnOpenMissionTheEditorsWriteNothing) {
    Editor e;
    e.model->Select(C::AircraftList, 11);  // None, which attack plane 2 takes at any time
    e.model->Click(C::AttackPlane2Name);
    EXPECT_EQ(e.model->Image().U32(304), kNoneCode);
    e.Load(Mission({{272, 1}}));
    e.model->Click(C::LoadButton);  // cancelled: the image stays, the editors lock
    e.model->Click(C::YearOptions, 3);
    e.Enter(C::AttackPrimaryAltitudeBox, "1500");
    e.model->Check(C::InstantActionBox, true);
    e.model->Select(C::PlaceList, 4);
    e.model->Click(C::TargetName);
    e.model->Click(C::EnemySecondaryNumber);  // the labels change at any time
    EXPECT_EQ(e.model->Image().Bytes(), Mission({{272, 1}}));
    EXPECT_EQ(e.model->Text(C::EnemySecondaryName) + std::to_string(e.model->Value(C::YearOptions)), "None3");
    e.model->Click(C::NewButton);
    e.model->Click(C::EnemySecondaryNumber);  // with a mission open the None code is stored too
    EXPECT_EQ(e.model->Image().U32(384), kNoneCode);
}

TEST(WindowModel, NewMissionAndSave) {
    Editor e;
    e.model->Click(C::NewButton);
    std::vector<std::uint8_t> known{122, 203, 123, 63, 101, 2, 0, 170};  // checksum, fixed header, zeros
    known.resize(400);
    EXPECT_EQ(e.Save("mission1"), known);
    e.Load(Mission({{272, 3}, {9, 128}, {304, 5}, {368, 100}}));
    const auto controls = test::ControlStates(*e.model);
    e.model->Click(C::NewButton);
    EXPECT_EQ(test::ControlStates(*e.model), controls) << "the window still shows the loaded mission";
    const auto bytes = e.Save("typed");
    EXPECT_EQ(bytes[368], 100) << "a save commits every box, which still shows the loaded 100";
    EXPECT_EQ(bytes[272] + bytes[9] + bytes[304], 0) << "option, flag and slot stay 0 until chosen again";
}

TEST(WindowModel, EveryRefusalSaysWhyAndChangesNothing) {
    using Act = std::function<void(Editor&, C)>;
    const Act enter = [](Editor& e, C box) { e.model->KeyPress(box, kEnterKey); };
    const Act save = [](Editor& e, C) { e.model->Click(C::SaveButton); };
    const struct { std::string says; Act act; C box = C::FileNameBox; std::string text = {}; bool kept = true; } rows[] = {
        {"the file does not exist. Nothing was changed.", [](Editor& e, C) { e.model->Open((e.dir / "gone").string()); }},
        {"Drop one mission file to load it: 2 items were dropped", [](Editor& e, C) { e.model->Drop({"/a.msn", "/b.msn"}, 0); }},
        {"only a file on this computer can be loaded", [](Editor& e, C) { e.model->Drop({}, 1); }},
        {"nothing that names a file was dropped", [](Editor& e, C) { e.model->Drop({}, 0); }},
        {"Number of aircraft: \"300\" reads as 300, above 255", enter, C::AircraftCountBox, "300"},
        {"Enemy Secondary: \"-0.6\" reads as -0.6, below 0", save, C::EnemySecondaryAltitudeBox, "-0.6"},
        {"has 25 characters", enter, C::NameBox, std::string(25, 'n')},
        {"\"\U0001F680\", which a mission file cannot store", save, C::NameBox, "Raid \U0001F680"},
        {"cannot hold / or \\", save, C::FileNameBox, "../up"},
        // Targets that are no plain file: the image is committed and sealed.
        {"dir.msn: it is a folder, not a file; nothing was written", save, C::FileNameBox, "dir", false},
        {"linked.msn: it is a device, not a plain file; nothing was written", save, C::FileNameBox, "linked", false},
        {"it is a link to a file that does not exist; nothing was written", save, C::FileNameBox, "dangling", false},
        {"pipe.msn: it is a pipe, not a plain file; nothing was written", save, C::FileNameBox, "pipe", false}};
    Editor e;
    std::filesystem::create_directory(e.dir / "dir.msn");
    const bool device = test::MakeDevice(e.dir / "full.msn", test::kFullDevice);
    std::filesystem::create_symlink(e.dir / "full.msn", e.dir / "linked.msn");
    std::filesystem::create_symlink(e.dir / "gone.msn", e.dir / "dangling.msn");
    // Node's file system makes a plain file where a named pipe is asked for.
    const bool pipe = ::mkfifo((e.dir / "pipe.msn").c_str(), 0600) == 0 && !std::filesystem::is_regular_file(e.dir / "pipe.msn");
    e.Load(Mission({{272, 3}, {12, 'K'}}), "open.msn");
    for (const auto& row : rows) {
        if ((row.text == "linked" && !device) || (row.text == "pipe" && !pipe)) continue;  // no device node without root
        SCOPED_TRACE(row.says);
        e.model->Type(C::AttackSecondaryAltitudeBox, "1500");  // typed, not entered: a refused save commits nothing
        e.model->Type(row.box, row.text);
        const MissionBytes image = e.model->Image().Bytes();
        const auto controls = test::ControlStates(*e.model);
        const auto files = test::FolderContents(e.dir.path());
        row.act(e, row.box);
        EXPECT_NE(e.Status().find(row.says), std::string::npos) << e.Status();
        EXPECT_EQ(test::FolderContents(e.dir.path()), files);
        EXPECT_TRUE(e.model->EditorsUnlocked());
        EXPECT_TRUE(!row.kept || e.model->Image().Bytes() == image) << "the image changed";
        EXPECT_TRUE(!row.kept || test::ControlStates(*e.model) == controls) << "a control changed";
        e.Load(Mission({{272, 1}}), "after.msn");  // and the editor still loads, edits and saves
        e.model->Click(C::YearOptions, 2);
        EXPECT_EQ(e.Save("after-out")[272], 2) << e.Status();
    }
}

// A drop where a game folder is taken too (the page): a mission, the game
// folder (a folder, or catalogues alone, each once), or refused in words.
TEST(WindowModel, ADropIsAMissionAGameFolderOrRefusedInWords) {
    Editor e;
    EXPECT_EQ(e.model->PlanDrop({{"game", true}}, 0), DropUse::GameFolder);
    EXPECT_EQ(e.model->PlanDrop({{"targets.txt"}, {"planes.txt"}}, 0), DropUse::GameFolder);
    EXPECT_EQ(e.model->PlanDrop({{"raid.txt"}}, 0), DropUse::Mission) << "any one file, as a drop on the window";
    const struct {
        std::vector<DroppedItem> items;
        int notFiles;
        std::string held;
    } refused[] = {{{{"planes.txt"}, {"raid.msn"}}, 0, "2 items were dropped"},
                   {{{"planes.txt"}, {"planes.txt"}}, 0, "2 items were dropped"},
                   {{{"game", true}, {"blocks.txt"}}, 0, "2 items were dropped"},
                   {{}, 1, "only a file on this computer can be loaded"}};
    for (const auto& r : refused) {
        EXPECT_EQ(e.model->PlanDrop(r.items, r.notFiles), DropUse::Nothing) << r.held;
        EXPECT_EQ(e.Status(), "Drop one mission file to load it, or the game folder or its catalogues to read them: " +
                                  r.held + ". Nothing was changed.");
    }
}

// Random files load and save unchanged past the header; random edits show
// the same after a save and a reload.
TEST(WindowModel, RandomRoundTrips) {
    Editor e(40, 500);
    std::mt19937 rng(7);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 100; ++round) {
        MissionBytes m;
        for (auto& b : m) b = static_cast<std::uint8_t>(rng());
        e.Load(m);
        const auto file = e.Save("copy");
        ASSERT_EQ(file.size(), 400u) << e.Status();
        EXPECT_TRUE(std::equal(m.begin() + 8, m.end(), file.begin() + 8)) << "round " << round;
        EXPECT_TRUE(std::equal(file.begin(), file.end(), e.model->Image().Bytes().begin()))
            << "the image as sealed, checksum and header included";

        if (pick(2) != 0) e.model->Click(C::NewButton);
        std::vector<C> edited;
        for (const BoxControl& box : kBoxControls) edited.push_back(box.box);  // a save commits every box
        for (int step = 0; step < 20; ++step) {
            const OptionControl& o = kOptionControls[pick(10)];
            const BoxControl& b = kBoxControls[pick(11)];
            std::string text = b.number != nullptr ? std::to_string(rng() % (std::uint64_t{b.number->max} + 1)) : "";
            for (int n = b.number != nullptr ? 0 : pick(25); n > 0; --n) text += static_cast<char>(' ' + pick(95));
            const SlotControl& s = kSlotControls[pick(4)];
            const PlaceControl& p = kPlaceControls[pick(2)];
            switch (pick(5)) {
            case 0: e.model->Click(o.group, pick(o.setting->count)), edited.push_back(o.group); break;
            case 1: e.model->Type(b.box, text), e.model->KeyPress(b.box, pick(2) != 0 ? kEnterKey : 'a'); break;
            case 2:
                e.model->Select(C::AircraftList, pick(e.model->Items(C::AircraftList).Count()));
                e.model->Click(s.name);
                if (e.Status().find("nothing was changed") == std::string::npos) edited.push_back(s.name);
                break;
            case 3: e.model->Select(C::PlaceList, pick(500)), e.model->Click(p.name), edited.push_back(p.name); break;
            default: e.model->Check(C::InstantActionBox, pick(2) != 0), edited.push_back(C::InstantActionBox);
            }
        }
        std::vector<std::string> shown;
        for (C id : edited) shown.push_back(e.model->Text(id) + "|" + std::to_string(e.model->Value(id)));
        ASSERT_EQ(e.Save("edited").size(), 400u) << e.Status();
        e.model->Open((e.dir / "edited.msn").string());
        for (std::size_t i = 0; i < edited.size(); ++i)
            EXPECT_EQ(e.model->Text(edited[i]) + "|" + std::to_string(e.model->Value(edited[i])), shown[i])
                << "control " << Index(edited[i]) << " in round " << round;
    }
}

}  // namespace kestrane
