// What a hostile trial found: long catalogue entries, save
// targets that are not plain files, links out of the start folder and empty
// catalogues.

#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(Faults, SaveTargetsThatAreNotPlainFilesAreRefusedWithTheTrueReason) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"link to a device", [](auto& p) {
             test::MakeDevice(p.parent_path() / "null", test::kNullDevice);
             std::filesystem::create_symlink(p.parent_path() / "null", p);
         }, "it is a device"},
        {"folder", [](auto& p) { std::filesystem::create_directory(p); }, "it is a folder"},
        {"dangling link", [](auto& p) { std::filesystem::create_symlink(p.parent_path() / "gone.msn", p); },
         "it is a link to a file that does not exist"},
        {"pipe", [](auto& p) { ::mkfifo(p.c_str(), 0600); }, "it is a pipe"},  // last: skipped under node
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.what == std::string_view("pipe")) KESTRANE_SKIP_UNDER_NODE("no named pipes");
        Editor e;
        e.Load(Mission({{272, 2}}));
        c.make(e.dir / "out.msn");
        if (c.reason == std::string("it is a device") && !std::filesystem::exists(e.dir / "null")) continue;  // no node without root
        e.model->Type(C::FileNameBox, "out");
        e.model->Click(C::SaveButton);
        EXPECT_NE(e.Status().find(c.reason), std::string::npos) << e.Status();
        EXPECT_NE(e.Status().find("nothing was written"), std::string::npos) << e.Status();
        EXPECT_EQ(e.Status().find("damaged"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(e.dir / "gone.msn"));
    }
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
    ASSERT_EQ(written.size(), 1000u);
    EXPECT_EQ(written.substr(400), std::string(600, 'o'));
    EXPECT_EQ(static_cast<std::uint8_t>(written[272]), 2);
}

}  // namespace kestrane
