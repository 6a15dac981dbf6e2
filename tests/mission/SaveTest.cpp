#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

#include "TestSupport.h"

namespace kestrane {
namespace {

using test::Editor;
using test::Mission;

TEST(Save, NewMissionWithEmptyBoxesGivesTheKnownFile) {
    Editor e;
    e.form->Command3_Click();
    const auto bytes = e.Save("mission1");
    ASSERT_EQ(bytes.size(), 400u);
    const std::uint8_t head[] = {122, 203, 123, 63, 101, 2, 0, 170};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(bytes[static_cast<std::size_t>(i)], head[i]) << i;
    for (int i = 8; i < 400; ++i) ASSERT_EQ(bytes[static_cast<std::size_t>(i)], 0) << i;
    EXPECT_EQ(e.form->Label1.Caption, "1065077626");
    EXPECT_EQ(e.form->Label2.Caption, "3F7BCB7A");
    EXPECT_EQ(e.form->G.TextMatrix(1, 2), "122");
    EXPECT_EQ(e.form->StatusLine.Caption, "Saved " + (e.dir / "mission1.msn").string() + ".");
    EXPECT_TRUE(e.form->MissionOpen);
}

TEST(Save, CommitsTextTypedWithoutEnter) {
    Editor e;
    e.form->Command3_Click();
    e.form->AltText[0].Text = "1500";
    e.form->MDate.Text = "70000";
    e.form->AP1Num.Text = "4";
    e.form->Text1.Text = "Raid";
    const auto bytes = e.Save("typed");
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 368, bytes.begin() + 372), (std::vector<std::uint8_t>{220, 5, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 348, bytes.begin() + 352), (std::vector<std::uint8_t>{0x70, 0x11, 1, 0}));
    EXPECT_EQ(bytes[292], 4);
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "Raid");
}

TEST(Save, FileNamesAreTheTypedNamePlusMsnInTheStartFolder) {
    Editor e;
    test::TempDir elsewhere;
    test::WriteFile(elsewhere / "far.msn", Mission({{272, 2}}));
    e.dialog.answers.push_back((elsewhere / "far.msn").string());
    e.form->Command2_Click();
    for (const std::string name : {"mission1", "mission1.msn", "", "..", "with space"}) {
        e.Save(name);
        EXPECT_TRUE(std::filesystem::exists(e.dir / (name + ".msn"))) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(e.dir / "mission1.msn.msn"));
    EXPECT_TRUE(std::filesystem::exists(e.dir / ".msn"));
    EXPECT_FALSE(std::filesystem::exists(elsewhere / "mission1.msn"));
}

TEST(Save, OverwritesInPlaceKeepingALongerFilesTail) {
    Editor e;
    std::string old(500, '\x5A');
    test::WriteFile(e.dir / "long.msn", old);
    e.form->Command3_Click();
    const auto bytes = e.Save("long");
    ASSERT_EQ(bytes.size(), 500u);
    EXPECT_EQ(bytes[4], 101);
    EXPECT_EQ(bytes[399], 0);
    for (int i = 400; i < 500; ++i) EXPECT_EQ(bytes[static_cast<std::size_t>(i)], 0x5A);

    test::WriteFile(e.dir / "short.msn", std::string(10, 'x'));
    EXPECT_EQ(e.Save("short").size(), 400u);
}

TEST(Save, BeforeAnyMissionNothingIsWritten) {
    Editor e;
    e.form->Text2.Text = "nothing";
    e.form->AP2L_Click();  // allowed before a mission, but no file follows
    e.form->Command4_Click();
    EXPECT_FALSE(std::filesystem::exists(e.dir / "nothing.msn"));
    EXPECT_NE(e.form->StatusLine.Caption.find("Nothing to save yet"), std::string::npos);
}

TEST(Save, AfterACancelledLoadTheEarlierMissionIsSaved) {
    Editor e;
    e.Load(Mission({{272, 3}}));
    e.form->Command2_Click();  // cancelled
    const auto bytes = e.Save("kept");
    ASSERT_EQ(bytes.size(), 400u);
    EXPECT_EQ(bytes[272], 3);
}

TEST(Save, AFailedOpenKeepsTheCommittedImageAndSaysWhy) {
    Editor e;
    e.form->Command3_Click();
    std::filesystem::create_directory(e.dir / "taken.msn");
    e.form->AltText[0].Text = "100";
    e.form->Text2.Text = "taken";
    e.form->Command4_Click();
    EXPECT_NE(e.form->StatusLine.Caption.find("Could not save"), std::string::npos);
    EXPECT_NE(e.form->StatusLine.Caption.find("is a directory"), std::string::npos) << e.form->StatusLine.Caption;
    EXPECT_EQ(e.Byte(368), 100);  // committed before the file was opened
    EXPECT_EQ(e.form->G.TextMatrix(1, 2), e.form->Label18[0].Caption);

    // The editor goes on working normally.
    e.form->Text2.Text = "free";
    e.form->Command4_Click();
    EXPECT_EQ(test::ReadBytes(e.dir / "free.msn")[368], 100);
}

// A disk that fails after part of the write: the file must end up as it was.
ssize_t HalfWrite(int fd, const void* data, std::size_t size, off_t offset) {
    const ssize_t n = ::pwrite(fd, data, size / 2, offset);
    (void)n;
    errno = ENOSPC;
    return -1;
}

ssize_t ShortWrite(int fd, const void* data, std::size_t size, off_t offset) {
    return ::pwrite(fd, data, size - 1, offset);
}

TEST(Save, AWriteFailingPartWayLeavesTheOldFileOrNone) {
    for (WriteFn failing : {&HalfWrite, &ShortWrite}) {
        Editor e;
        e.form->Command3_Click();
        e.form->SaveWrite = failing;
        std::string old(450, '\x33');
        test::WriteFile(e.dir / "old.msn", old);
        e.form->Text2.Text = "old";
        e.form->Command4_Click();
        EXPECT_EQ(test::ReadFile(e.dir / "old.msn"), old);
        EXPECT_NE(e.form->StatusLine.Caption.find("left as it was"), std::string::npos) << e.form->StatusLine.Caption;

        test::WriteFile(e.dir / "short.msn", std::string(7, 'k'));
        e.form->Text2.Text = "short";
        e.form->Command4_Click();
        EXPECT_EQ(test::ReadFile(e.dir / "short.msn"), std::string(7, 'k'));

        e.form->Text2.Text = "new";
        e.form->Command4_Click();
        EXPECT_FALSE(std::filesystem::exists(e.dir / "new.msn"));
        EXPECT_NE(e.form->StatusLine.Caption.find("no file was made"), std::string::npos);

        e.form->SaveWrite = nullptr;
        e.form->Command4_Click();
        EXPECT_EQ(test::ReadBytes(e.dir / "new.msn").size(), 400u);
    }
}

}  // namespace
}  // namespace kestrane
