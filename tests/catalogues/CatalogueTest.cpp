#include <gtest/gtest.h>

#include "TestSupport.h"
#include "catalogues/Catalogue.h"

namespace kestrane {
namespace {

using test::TempDir;
using test::WriteFile;

std::vector<std::string> Items(const ListBox& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
    return items;
}

TEST(Catalogue, LineEndsAndLastLine) {
    struct Case { std::string_view text; std::vector<std::string_view> lines; };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\rc", {"a", "b", "c"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\n\r\nb\n\rc", {"a", "", "b", "", "c"}},
        {"\n", {""}},
        {"\r\r", {"", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(Catalogue, Utf8WithOrWithoutMarkElseWindows1252) {
    EXPECT_EQ(DecodeCatalogueText("\xEF\xBB\xBF" "Bf 109 \xC3\xA9"), "Bf 109 \xC3\xA9");
    EXPECT_EQ(DecodeCatalogueText("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(DecodeCatalogueText("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");  // not UTF-8: read as Windows-1252
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(Catalogue, ListsAreNumberedWithRandomAndNoneAfterTheAircraft) {
    TempDir dir;
    WriteFile(dir / "planes.txt", "Hurricane\r\nSpitfire\r\nBf 109");
    std::string targets;
    for (int i = 0; i < 11; ++i) targets += "Town " + std::to_string(i) + "\n";
    WriteFile(dir / "targets.txt", targets);
    test::ScriptedDialog dialog;
    Form1 form(dialog, dir.path());
    EXPECT_EQ(Items(form.List1), (std::vector<std::string>{" 0:Hurricane", " 1:Spitfire", " 2:Bf 109", "Random", "None"}));
    ASSERT_EQ(form.List2.ListCount(), 11);
    EXPECT_EQ(form.List2.List(10), " 10:Town 10");
    for (int i = 0; i < form.List2.ListCount(); ++i)
        EXPECT_EQ(form.List2.List(i).rfind(" " + std::to_string(i) + ":", 0), 0u);
    EXPECT_EQ(form.List1.ListIndex, -1);
}

TEST(Catalogue, MissingOrEmptyFilesGiveEmptyListsAndANote) {
    TempDir dir;
    WriteFile(dir / "planes.txt", "");
    test::ScriptedDialog dialog;
    Form1 form(dialog, dir.path());
    EXPECT_EQ(Items(form.List1), (std::vector<std::string>{"Random", "None"}));
    EXPECT_EQ(form.List2.ListCount(), 0);
    const std::string& status = form.StatusLine.Caption;
    EXPECT_NE(status.find("targets.txt was not found in " + dir.path().string()), std::string::npos) << status;
    EXPECT_NE(status.find("blocks.txt was not found"), std::string::npos) << status;
    EXPECT_EQ(status.find("planes.txt"), std::string::npos) << status;  // empty is not missing
    EXPECT_EQ(form.G.TextMatrix(273, 5), "");
}

TEST(Catalogue, BlocksFillTheBlockRowsAndIgnoreExtraLines) {
    TempDir dir;
    WriteFile(dir / "blocks.txt", test::Lines(test::Numbered("Block", 40)));
    test::ScriptedDialog dialog;
    Form1 form(dialog, dir.path());
    EXPECT_EQ(form.G.TextMatrix(273, 5), "Block 0");
    EXPECT_EQ(form.G.TextMatrix(277, 5), "Block 1");
    EXPECT_EQ(form.G.TextMatrix(397, 5), "Block 31");
    EXPECT_EQ(form.G.TextMatrix(274, 5), "");
    EXPECT_EQ(form.G.RowHeight(100), 0);
    EXPECT_NE(form.G.RowHeight(10), 0);
    EXPECT_FALSE(form.G.Visible());

    TempDir few;
    WriteFile(few / "blocks.txt", "one\ntwo\n");
    Form1 short_form(dialog, few.path());
    EXPECT_EQ(short_form.G.TextMatrix(277, 5), "two");
    EXPECT_EQ(short_form.G.TextMatrix(281, 5), "");
    EXPECT_NE(short_form.StatusLine.Caption.find("blocks.txt has 2 of 32 lines"), std::string::npos);
}

TEST(Catalogue, ReadFromTheCurrentFolderByDefault) {
    TempDir dir;
    WriteFile(dir / "planes.txt", "Only\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    test::ScriptedDialog dialog;
    Form1 form(dialog);
    std::filesystem::current_path(previous);
    EXPECT_EQ(form.StartDir, dir.path().string());
    EXPECT_EQ(form.List1.List(0), " 0:Only");
}

TEST(Catalogue, FilesDecodeAndSplitAsTheirTextDoes) {
    TempDir dir;
    struct Case { std::string bytes; std::vector<std::string_view> lines; };
    const Case cases[] = {
        {"", {}},
        {"\xEF\xBB\xBF" "Bf 109\r\nJu 87", {"Bf 109", "Ju 87"}},
        {"\xEF\xBB\xBF", {}},
        {"Caf\xE9\rZ\x80rich\n", {"Caf\xC3\xA9", "Z\xE2\x82\xACrich"}},
        {"ab", {"ab"}},  // short enough to sit inside the string object itself
    };
    for (const Case& c : cases) {
        WriteFile(dir / "t.txt", c.bytes);
        const CatalogueFile file = ReadCatalogue(dir / "t.txt");
        ASSERT_TRUE(file.read) << file.error;
        std::vector<std::string_view> lines;
        for (std::size_t n = 0; n < file.size(); ++n) lines.push_back(file.line(n));
        EXPECT_EQ(lines, c.lines) << c.bytes;
    }
}

TEST(Catalogue, WhatIsNotAPlainFileIsNotedAndNotRead) {
    TempDir dir;
    std::filesystem::create_directory(dir / "planes.txt");
    std::filesystem::create_symlink("/dev/zero", dir / "targets.txt");  // endless bytes
    const struct { const char* file; const char* error; } cases[] = {
        {"planes.txt", "is a folder"},
        {"targets.txt", "is not a plain file"},
        {"blocks.txt", "was not found"},
    };
    for (const auto& c : cases) {
        const CatalogueFile file = ReadCatalogue(dir / c.file);
        EXPECT_FALSE(file.read) << c.file;
        EXPECT_EQ(file.error, c.error) << c.file;
    }
}

}  // namespace
}  // namespace kestrane
