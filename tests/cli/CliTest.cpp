// kestrane-msn against the window model and the files it leaves behind.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "TestSupport.h"
#include "cli/Cli.h"
#include "mission/Checksum.h"

namespace kestrane {
namespace {

using test::Editor;

struct CliRun {
    int status;
    std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

MissionBytes Stamped(MissionBytes m) {
    const std::uint32_t crc = MissionChecksum(m);
    for (int k = 0; k < 4; ++k) m[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(crc >> (8 * k));
    return m;
}

TEST(Cli, SetThenShowAgreesWithTheWindowModel) {
    Editor ed(10, 20);
    const std::string file = (ed.dir / "m.msn").string();
    test::WriteFile(file, test::Mission({{9, 128}}));
    const std::string dir = ed.dir.path().string();
    const CliRun set = Cli({"set", file, "YearSetting=2", "AttackPlane2Type=Random", "EnemySecondaryType=None",
                         "AttackPlane1Type=10", "TargetNumber=7", "AttackPrimaryAltitude=1.5e4", "MissionName=Raid",
                         "AttackPlane1Count=&H10", "InstantActionFlag=0", "--catalogues", dir});
    ASSERT_EQ(set.status, kExitOk) << set.err;

    const CliRun show = Cli({"show", "--json", "--catalogues", dir, file});
    ASSERT_EQ(show.status, kExitOk) << show.err;
    const auto doc = nlohmann::json::parse(show.out).at(0);
    EXPECT_TRUE(doc["checksum_ok"].get<bool>());

    ed.Load(test::Mission(), "other.msn");
    ed.dialog.answers.push_back(file);
    ed.model->Click(ControlId::LoadButton);
    const WindowModel& m = *ed.model;
    EXPECT_EQ(doc["fields"]["YearSetting"], m.Value(ControlId::YearOptions));
    EXPECT_EQ(doc["fields"]["AttackPrimaryAltitude"].dump(), m.Text(ControlId::AttackPrimaryAltitudeBox));
    EXPECT_EQ(doc["fields"]["AttackPlane1Count"].dump(), m.Text(ControlId::AircraftCountBox));
    EXPECT_EQ(doc["fields"]["MissionName"], m.Text(ControlId::NameBox));
    EXPECT_EQ(doc["fields"]["InstantActionFlag"], m.Value(ControlId::InstantActionBox));
    EXPECT_EQ(doc["names"]["AttackPlane2Type"], m.Text(ControlId::AttackPlane2Name));
    EXPECT_EQ(doc["names"]["EnemySecondaryType"], m.Text(ControlId::EnemySecondaryName));
    // Position 10 of ten planes is the list's "Random" entry, stored as a position.
    EXPECT_EQ(doc["names"]["AttackPlane1Type"], m.Text(ControlId::AttackPlane1Name));
    EXPECT_EQ(" 7:" + doc["names"]["TargetNumber"].get<std::string>(), m.Text(ControlId::TargetName));
}

TEST(Cli, CheckExitStatus) {
    test::TempDir dir;
    const std::string good = (dir / "good.msn").string(), bad = (dir / "bad.msn").string();
    test::WriteFile(good, Stamped(test::Mission({{300, 4}})));
    test::WriteFile(bad, test::Mission({{300, 4}}));
    test::WriteFile(dir / "short.msn", std::string(399, '\0'));
    EXPECT_EQ(Cli({"check", good}).status, kExitOk);
    EXPECT_EQ(Cli({"check", good, bad}).status, kExitDiffers);
    for (const std::string& unreadable : {(dir / "short.msn").string(), (dir / "none.msn").string(), dir.path().string()}) {
        const CliRun run = Cli({"check", good, bad, unreadable});
        EXPECT_EQ(run.status, kExitFailed) << unreadable;
        EXPECT_NE(run.err.find(unreadable), std::string::npos) << run.err;
    }
    EXPECT_EQ(Cli({"check"}).status, kExitFailed);
}

TEST(Cli, StampKeepsTheTailAndLeavesARightFileAlone) {
    test::TempDir dir;
    const std::string file = (dir / "m.msn").string(), right = (dir / "right.msn").string();
    MissionBytes m = test::Mission({{100, 7}});
    test::WriteFile(file, std::string(m.begin(), m.end()) + "tail");
    test::WriteFile(right, Stamped(m));
    const auto before = std::filesystem::last_write_time(right);
    ASSERT_EQ(Cli({"stamp", file, right}).status, kExitOk);
    MissionBytes stamped = Stamped(m);
    EXPECT_EQ(test::ReadFile(file), std::string(stamped.begin(), stamped.end()) + "tail");
    EXPECT_EQ(std::filesystem::last_write_time(right), before);
}

TEST(Cli, RefusedSetWritesNothing) {
    test::TempDir dir;
    const std::string file = (dir / "m.msn").string(), out = (dir / "out.msn").string();
    test::WriteFile(file, test::Mission());
    const std::string before = test::ReadFile(file);
    for (const std::vector<std::string>& changes :
         {std::vector<std::string>{"YearSetting=1", "YearSetting=4"}, {"AttackPlane1Count=256"},
          {"EnemyPrimaryType=None"}, {"MissionName=ThisNameIsMuchTooLongForAMission"}, {"PilotSkillCopy=1"}}) {
        std::vector<std::string> args{"set", file};
        args.insert(args.end(), changes.begin(), changes.end());
        args.insert(args.end(), {"-o", out});
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kExitDiffers) << changes.back();
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(Cli({"set", file, "NoSuchField=1"}).status, kExitFailed);
    EXPECT_EQ(test::ReadFile(file), before);
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace kestrane
