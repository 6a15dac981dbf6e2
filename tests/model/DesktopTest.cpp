// The editor as a desktop application: the start folder chosen at start-up,
// the game folder changed while running, and the recent missions.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "catalogues/Catalogue.h"
#include "ui/StartFolder.h"

namespace kestrane {

using C = ControlId;
using test::Editor;
using test::TempDir;

TEST(StartFolder, TheCurrentFolderThenTheMissionsThenTheRememberedOneThenTheCurrentWithANote) {
    TempDir home, game, other;
    test::WriteFile(game / "targets.txt", "Dover\n");  // any one of the three catalogues will do
    test::WriteFile(other / "blocks.txt", "");
    const auto mission = game / "raid.msn";
    const struct {
        std::filesystem::path current, mission, remembered, chosen;
        bool isGameFolder;
    } kCases[] = {
        {other.path(), mission, game.path(), other.path(), true},  // started in a game folder: nothing changes
        {home.path(), mission, other.path(), game.path(), true},   // the mission's folder before the remembered
        {home.path(), home / "x.msn", other.path(), other.path(), true},
        {home.path(), {}, other.path(), other.path(), true},
        {home.path(), {}, {}, home.path(), false},
        {home.path(), {}, home / "gone", home.path(), false},
    };
    for (const auto& c : kCases) {
        const StartFolder start = ChooseStartFolder(c.current, c.mission, c.remembered);
        EXPECT_EQ(start.folder, c.chosen) << c.current << " " << c.mission << " " << c.remembered;
        EXPECT_EQ(start.isGameFolder, c.isGameFolder);
        EXPECT_EQ(start.note.empty(), c.isGameFolder);
    }
    EXPECT_NE(ChooseStartFolder(home.path(), {}, {}).note.find("choose the game folder with File, Choose game folder"),
              std::string::npos);
}

TEST(RecentMissions, NewestFirstEachOnceAtMostEight) {
    RecentFiles recent;
    for (int i = 0; i < 10; ++i) recent.Add("/m/" + std::to_string(i) + ".msn");
    recent.Add("/m/5.msn");
    recent.Add("/m/./7.msn");  // the same file by another spelling
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/m/7.msn", "/m/5.msn", "/m/9.msn", "/m/8.msn", "/m/6.msn",
                                                        "/m/4.msn", "/m/3.msn", "/m/2.msn"}));
    EXPECT_EQ(RecentFiles({"/a.msn", "", "/b.msn", "/a.msn"}).Files(), (std::vector<std::string>{"/a.msn", "/b.msn"}));
}

// A name that is not UTF-8 is shown readably and kept as its bytes, to open
// the file again.
TEST(RecentMissions, LoadsAndSavesGoOnTheListAndAFileThatHasGoneComesOff) {
    Editor e;
    const std::string first = (e.dir / "caf\xe9.msn").string(), second = (e.dir / "second.msn").string();
    const std::string shown = e.dir.path().string() + "/caf\u00e9.msn";
    e.Load(test::Mission({{272, 3}}), "caf\xe9.msn");
    EXPECT_EQ(e.Status(), "Loaded " + shown + ".");
    e.Save("second");
    EXPECT_EQ(e.model->Recent().Files(), (std::vector<std::string>{second, first}));
    EXPECT_EQ(e.model->LastFile(), second);
    std::filesystem::remove(first);
    e.model->OpenRecent(first);
    EXPECT_EQ(e.model->Recent().Files(), (std::vector<std::string>{second}));
    EXPECT_EQ(e.Status(), shown + " is no longer there; it was taken off the recent missions. Nothing was changed.");
    EXPECT_EQ(e.model->LastFile(), second);
}

TEST(GameFolder, AnotherFolderRereadsTheListsKeepsTheMissionAndTakesTheSaves) {
    Editor e(10, 20);
    e.Load(test::Mission({{356, 2}, {288, 3}}));
    e.model->Type(C::AttackPrimaryAltitudeBox, "1500");
    e.model->Select(C::AircraftList, 9);
    TempDir game;
    test::WriteFile(game / "planes.txt", test::Lines({"Hurricane", "Spitfire", "Typhoon"}));
    test::WriteFile(game / "targets.txt", test::Lines({"Dover", "Calais", "Caen", "Arnhem"}));
    const MissionBytes image = e.model->Image().Bytes();
    e.model->ChangeFolder(ReadCatalogues(game.path()));
    EXPECT_EQ(e.Status(), "Read 3 aircraft and 4 places from " + game.path().string() + "; missions are saved there now. " +
                              "blocks.txt was not found in " + game.path().string() +
                              ": the settings blocks have no descriptions.");
    EXPECT_EQ(e.model->Image().Bytes(), image);
    EXPECT_EQ(e.model->Text(C::AttackPrimaryAltitudeBox), "1500");
    EXPECT_EQ(e.model->Text(C::AttackPlane1Name), " 2:Typhoon");
    EXPECT_EQ(e.model->Text(C::TargetName), " 3:Arnhem");
    EXPECT_EQ(e.model->Value(C::AircraftList), -1);
    EXPECT_EQ(e.model->Items(C::AircraftList).Count(), 5);
    EXPECT_EQ(e.model->SharedCatalogues()->dir, game.path()) << "the missions window names rows from the new folder's catalogues";
    EXPECT_EQ(e.model->BlockDescription(0), "");
    e.model->Type(C::FileNameBox, "there");
    e.model->Click(C::SaveButton);
    EXPECT_TRUE(std::filesystem::exists(game / "there.msn")) << e.Status();
}

}  // namespace kestrane
