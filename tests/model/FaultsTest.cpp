// What a hostile trial found: long catalogue entries, links out of the
// start folder and empty catalogues.

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace kestrane {

using C = ControlId;
using test::Editor;
using test::Mission;

TEST(Faults, ACatalogueEntryCostsTheSameWhateverItsLength) {
    Editor e;
    test::WriteFile(e.dir / "planes.txt", "Short\n" + std::string(3'000'000, 'x'));  // no line end
    test::WriteFile(e.dir / "targets.txt", "");
    WindowModel model(e.dialog, e.dir.path());
    const PickList& planes = model.Items(C::AircraftList);
    ASSERT_EQ(planes.Count(), 4);
    EXPECT_EQ(planes.Item(1), " 1:" + std::string(256, 'x') + "\u2026");
    const std::string& status = model.Text(C::StatusLine);
    EXPECT_NE(status.find("planes.txt has entries longer than 256 characters"), std::string::npos) << status;
    EXPECT_NE(status.find("targets.txt is empty"), std::string::npos) << status;
}

TEST(Faults, ALinkOutOfTheStartFolderIsFollowedAndTheFileWrittenIsNamed) {
    Editor e;
    test::TempDir elsewhere;
    const std::filesystem::path outside = elsewhere / "kept.bin";
    test::WriteFile(outside, std::string(1000, 'o'));
    std::filesystem::create_symlink(outside, e.dir / "out.msn");
    e.Load(Mission({{272, 2}}));
    e.Save("out");
    EXPECT_EQ(e.Status(), "Saved " + outside.string() + " (through the link " + (e.dir / "out.msn").string() +
                              "), the name typed beside \"***.msn\" filename:, not the loaded " + (e.dir / "in.msn").string() +
                              ", which stays as it was.");
    const std::string written = test::ReadFile(outside);
    EXPECT_EQ(written.substr(400), std::string(600, 'o'));
    EXPECT_EQ(static_cast<std::uint8_t>(written[272]), 2);
}

}  // namespace kestrane
