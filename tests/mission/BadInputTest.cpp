// Every kind of bad input the editor can meet, through the window model.
// Each row checks what the status line says, that the image and every file
// in the start folder are as they were, and that the editor then still
// loads, edits and saves normally.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"

namespace kestrane {
namespace {

using test::Editor;
using test::Mission;

std::map<std::string, std::string> FolderContents(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        const auto status = std::filesystem::symlink_status(entry.path());
        std::string content = std::filesystem::is_regular_file(status) ? test::ReadFile(entry.path()) : "<other>";
        files[entry.path().lexically_relative(dir).string()] = content;
    }
    return files;
}

// After any failure the editor must still do a whole load, edit and save.
void StillWorks(Editor& e) {
    test::WriteFile(e.dir / "after.msn", Mission({{272, 1}}));
    e.dialog.answers.clear();
    e.dialog.answers.push_back((e.dir / "after.msn").string());
    e.form->Command2_Click();
    ASSERT_TRUE(e.form->MissionOpen) << e.form->StatusLine.Caption;
    e.form->Yrbut_Click(2);
    for (TextBox* box : {&e.form->AltText[0], &e.form->AltText[1], &e.form->AltText[2], &e.form->AltText[3],
                         &e.form->MDate, &e.form->MWeather, &e.form->TOffset, &e.form->UKN[0], &e.form->UKN[1],
                         &e.form->AP1Num})
        box->Text = "1";
    e.form->Text1.Text = "ok";
    e.form->SaveWrite = nullptr;
    const auto bytes = e.Save("after-out");
    ASSERT_EQ(bytes.size(), 400u) << e.form->StatusLine.Caption;
    EXPECT_EQ(bytes[272], 2);
}

struct Row {
    std::string name;
    std::function<void(Editor&)> arrange;  // prepares files and controls
    std::function<void(Editor&)> act;
    std::string says;  // part of the status line
    bool imageKept = true;  // false where a failed write keeps the committed fields
};

void Load(Editor& e, const std::string& file) {
    e.dialog.answers.push_back((e.dir / file).string());
    e.form->Command2_Click();
}

void SaveAs(Editor& e, const std::string& name) {
    e.form->Text2.Text = name;
    e.form->Command4_Click();
}

std::function<void(Editor&)> Typed(const std::string& box, int index, const std::string& text) {
    return [=](Editor& e) { e.form->Find<TextBox>(box, index)->Text = text; };
}

std::function<void(Editor&)> Enter(const std::string& box, int index = -1) {
    return [=](Editor& e) { e.Press(box, index); };
}

const auto Nothing = [](Editor&) {};

std::vector<Row> Rows() {
    std::vector<Row> rows = {
        // Files chosen for loading.
        {"missing file", Nothing, [](Editor& e) { Load(e, "gone.msn"); }, "does not exist"},
        {"folder chosen", [](Editor& e) { std::filesystem::create_directory(e.dir / "dir.msn"); },
         [](Editor& e) { Load(e, "dir.msn"); }, "is a folder"},
        {"empty file", [](Editor& e) { test::WriteFile(e.dir / "z.msn", std::string()); },
         [](Editor& e) { Load(e, "z.msn"); }, "is only 0 bytes long"},
        {"399 bytes", [](Editor& e) { test::WriteFile(e.dir / "s.msn", std::string(399, 'x')); },
         [](Editor& e) { Load(e, "s.msn"); }, "is only 399 bytes long"},
        {"pipe chosen", [](Editor& e) { ::mkfifo((e.dir / "p.msn").c_str(), 0600); },
         [](Editor& e) { Load(e, "p.msn"); }, "is not a regular file"},
        // Numbers.
        {"negative altitude", Typed("AltText", 2, "-100"), Enter("AltText", 2), "Enemy Primary: \"-100\" reads as -100, below 0"},
        {"number above range", Typed("TOffset", -1, "4294967296"), Enter("TOffset"), "above 4294967295"},
        {"huge exponent", Typed("UKN", 0, "1e308000"), Enter("UKN", 0), "UK#1: \"1e308000\" is too large"},
        {"huge negative exponent mantissa", Typed("MDate", -1, "-9e9999"), Enter("MDate"), "is too far below 0"},
        {"hex too wide", Typed("MWeather", -1, "&H1FFFFFFFF"), Enter("MWeather"), "is too large"},
        {"hex negative", Typed("UKN", 1, "&H8000"), Enter("UKN", 1), "reads as -32768, below 0"},
        {"hex FFFF", Typed("UKN", 0, "&HFFFF"), Enter("UKN", 0), "UK#1: \"&HFFFF\" reads as -1, below 0"},
        {"aircraft count too large", Typed("AP1Num", -1, "300"), Enter("AP1Num"),
         "Number of aircraft:: \"300\" reads as 300, above 255; enter a whole number from 0 to 255"},
        {"aircraft count negative", Typed("AP1Num", -1, "-1"), Enter("AP1Num"), "below 0"},
        {"bad number at save", Typed("AltText", 3, "-0.6"), [](Editor& e) { SaveAs(e, "x"); }, "Enemy Secondary"},
        // Names.
        {"name too long", Typed("Text1", -1, std::string(25, 'n')), Enter("Text1"), "25 characters"},
        {"name too long at save", Typed("Text1", -1, "A name that is far too long for it"),
         [](Editor& e) { SaveAs(e, "x"); }, "has 34 characters"},
        {"name outside Windows-1252", Typed("Text1", -1, "Привет"), Enter("Text1"), "\"П\", which a mission file cannot store"},
        {"name emoji at save", Typed("Text1", -1, "Raid \xF0\x9F\x9A\x80"), [](Editor& e) { SaveAs(e, "x"); },
         "cannot store"},
        // File names to save under.
        {"separator", Nothing, [](Editor& e) { SaveAs(e, "../up"); }, "cannot hold / or \\"},
        {"dot dot path", Nothing, [](Editor& e) { SaveAs(e, "a/../b"); }, "cannot hold / or \\"},
        {"reserved character", Nothing, [](Editor& e) { SaveAs(e, "a<b"); }, "Windows does not allow"},
        {"colon", Nothing, [](Editor& e) { SaveAs(e, "c:x"); }, "Windows does not allow"},
        {"300 characters", Nothing, [](Editor& e) { SaveAs(e, std::string(300, 'l')); }, "304 bytes long"},
        {"backslash", Nothing, [](Editor& e) { SaveAs(e, "back\\slash"); }, "cannot hold / or \\"},
        {"newline in name", Nothing, [](Editor& e) { SaveAs(e, "a\nb"); }, "control character"},
        // The file system refuses the write.
        {"target is a folder", [](Editor& e) { std::filesystem::create_directory(e.dir / "t.msn"); },
         [](Editor& e) { SaveAs(e, "t"); }, "is a directory", false},
        {"full device", [](Editor& e) { std::filesystem::create_symlink("/dev/full", e.dir / "full.msn"); },
         [](Editor& e) { SaveAs(e, "full"); }, "no space left on device", false},
        {"write fails part-way",
         [](Editor& e) {
             test::WriteFile(e.dir / "w.msn", std::string(420, 'w'));
             e.form->SaveWrite = [](int fd, const void* data, std::size_t size, off_t offset) -> ssize_t {
                 const ssize_t n = ::pwrite(fd, data, size / 3, offset);
                 return n < 0 ? n : n;  // a short write, as a disk filling up gives
             };
         },
         [](Editor& e) { SaveAs(e, "w"); }, "only 133 of 400 bytes could be written; the file was left as it was", false},
        {"start folder removed", [](Editor& e) { e.form->StartDir = (e.dir / "gone").string(); },
         [](Editor& e) { SaveAs(e, "x"); }, "no such file or directory", false},
    };
    if (::geteuid() != 0) {
        rows.push_back({"read-only target", [](Editor& e) {
                            test::WriteFile(e.dir / "ro.msn", Mission());
                            ::chmod((e.dir / "ro.msn").c_str(), 0444);
                        },
                        [](Editor& e) { SaveAs(e, "ro"); }, "permission denied", false});
        rows.push_back({"unreadable file", [](Editor& e) {
                            test::WriteFile(e.dir / "u.msn", Mission());
                            ::chmod((e.dir / "u.msn").c_str(), 0);
                        },
                        [](Editor& e) { Load(e, "u.msn"); }, "cannot be opened"});
    }
    return rows;
}

TEST(BadInput, EveryRefusalSaysWhyAndChangesNothing) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        Editor e;
        e.Load(Mission({{272, 3}, {12, 'K'}}), "open.msn");
        row.arrange(e);
        const auto cells = test::ImageCells(*e.form);
        const auto files = FolderContents(e.dir.path());
        const bool open = e.form->MissionOpen;

        row.act(e);

        EXPECT_NE(e.form->StatusLine.Caption.find(row.says), std::string::npos) << e.form->StatusLine.Caption;
        EXPECT_EQ(FolderContents(e.dir.path()), files);
        if (row.imageKept) {
            EXPECT_EQ(test::ImageCells(*e.form), cells);
        }
        EXPECT_EQ(e.form->MissionOpen, open);
        e.form->StartDir = e.dir.path().string();
        StillWorks(e);
    }
}

TEST(BadInput, AFileReplacedBetweenDialogAndReadIsReadAsItIsThen) {
    Editor e;
    e.Load(Mission({{272, 3}}), "open.msn");
    const auto cells = test::ImageCells(*e.form);
    test::WriteFile(e.dir / "r.msn", Mission());
    e.dialog.afterShow = [&] { test::WriteFile(e.dir / "r.msn", std::string(12, 'q')); };
    Load(e, "r.msn");
    EXPECT_NE(e.form->StatusLine.Caption.find("is only 12 bytes long"), std::string::npos);
    EXPECT_EQ(test::ImageCells(*e.form), cells);

    e.dialog.afterShow = [&] { test::WriteFile(e.dir / "r.msn", Mission({{272, 1}})); };
    Load(e, "r.msn");
    EXPECT_EQ(e.Byte(272), 1);  // the bytes on disk at the moment of reading
    e.dialog.afterShow = nullptr;
    StillWorks(e);
}

TEST(BadInput, AStartFolderThatRefusesWritesIsReported) {
    // A folder made read-only stops everyone but root; a path inside a
    // regular file stops root too.
    Editor e;
    e.form->Command3_Click();
    test::WriteFile(e.dir / "plain", "x");
    e.form->StartDir = (e.dir / "plain").string();
    SaveAs(e, "m");
    EXPECT_NE(e.form->StatusLine.Caption.find("not a directory"), std::string::npos) << e.form->StatusLine.Caption;
    e.form->StartDir = e.dir.path().string();
    StillWorks(e);
}

TEST(BadInput, BigFilesLoadFastFromTheirFirst400Bytes) {
    Editor e;
    std::string big(10 * 1024 * 1024, '\x07');
    test::WriteFile(e.dir / "big.msn", big);
    const auto start = std::chrono::steady_clock::now();
    Load(e, "big.msn");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(e.form->MissionOpen);
    EXPECT_LT(elapsed, std::chrono::milliseconds(200));
    EXPECT_EQ(e.Byte(399), 7);
}

TEST(BadInput, OddCataloguesStillGiveNumberedLists) {
    struct Case { std::string name; std::string bytes; int items; std::string item0; };
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "Line " + std::to_string(i) + "\n";
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131) & 0xFF);
    const Case cases[] = {
        {"empty", "", 0, ""},
        {"binary", binary, -1, ""},
        {"100,000 lines", many, 100000, " 0:Line 0"},
        {"one very long line", std::string(1 << 20, 'L'), 1, " 0:" + std::string(1 << 20, 'L')},
        {"mixed line ends", "a\r\nb\rc\nd", 4, " 0:a"},
        {"only line ends", "\r\n\r\n\n", 3, " 0:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        test::WriteFile(dir / "targets.txt", c.bytes);
        test::WriteFile(dir / "planes.txt", c.bytes);
        test::ScriptedDialog dialog;
        Form1 form(dialog, dir.path());
        if (c.items >= 0) {
            EXPECT_EQ(form.List2.ListCount(), c.items);
            EXPECT_EQ(form.List1.ListCount(), c.items + 2);
            if (c.items > 0) {
                EXPECT_EQ(form.List2.List(0), c.item0);
            }
        }
        for (int i = 0; i < form.List2.ListCount(); i += 997)
            EXPECT_EQ(form.List2.List(i).rfind(" " + std::to_string(i) + ":", 0), 0u);
        EXPECT_EQ(form.List1.List(form.List1.ListCount() - 2), "Random");
        EXPECT_EQ(form.List1.List(form.List1.ListCount() - 1), "None");
    }
}

}  // namespace
}  // namespace kestrane
