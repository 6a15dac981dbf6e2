#include <gtest/gtest.h>

#include "TestSupport.h"
#include "catalogues/Catalogue.h"

namespace kestrane {

using Lines = std::vector<std::string_view>;

static Lines LinesOf(const CatalogueFile& file) {
    Lines lines;
    for (std::size_t n = 0; n < file.Count(); ++n) lines.push_back(file.Line(n));
    return lines;
}

TEST(Catalogue, LineEndsAndTextDecoding) {
    const struct { std::string bytes; Lines lines; } cases[] = {
        {"", {}}, {"a", {"a"}}, {"a\n", {"a"}}, {"\n", {""}}, {"\r\r", {"", ""}}, {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\rc", {"a", "b", "c"}}, {"a\r\n\r\nb\n\rc", {"a", "", "b", "", "c"}}, {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB\xBF" "Bf 109\r\nJu 87", {"Bf 109", "Ju 87"}},  // UTF-8: the byte-order mark is dropped
        {"Caf\xC3\xA9", {"Caf\xC3\xA9"}},
        {"Caf\xE9\rZ\x80rich\n", {"Caf\xC3\xA9", "Z\xE2\x82\xACrich"}}};  // not UTF-8: read as Windows-1252
    for (const auto& c : cases) EXPECT_EQ(LinesOf(ParseCatalogue(c.bytes)), c.lines) << testing::PrintToString(c.bytes);
}

TEST(Catalogue, ReadsPlainFilesAndRefusesTheRest) {
    test::TempDir dir;
    test::WriteFile(dir / "t.txt", "Caf\xE9\nB");
    EXPECT_EQ(LinesOf(ReadCatalogue(dir / "t.txt")), (Lines{"Caf\xC3\xA9", "B"}));
    std::filesystem::create_directory(dir / "folder.txt");
    const bool device = test::MakeDevice(dir / "zero", test::kZeroDevice);  // endless bytes
    std::filesystem::create_symlink(dir / "zero", dir / "zero.txt");
    for (const auto& [name, error] : {std::pair{"folder.txt", "is a folder"}, {"zero.txt", "is not a plain file"},
                                      {"gone.txt", "was not found"}})
        if (device || std::string_view(name) != "zero.txt") {
            EXPECT_EQ(ReadCatalogue(dir / name).error, error);
        }
    KESTRANE_SKIP_UNDER_NODE("no file of 4 GiB");
    test::WriteFile(dir / "huge.txt", "");
    std::filesystem::resize_file(dir / "huge.txt", std::uintmax_t{1} << 32);  // sparse: nothing is written
    EXPECT_EQ(ReadCatalogue(dir / "huge.txt").error, "is too large");
}

TEST(Catalogue, TheWindowNumbersTheListsAndNotesMissingOrShortFiles) {
    test::TempDir dir;
    test::WriteFile(dir / "planes.txt", "Hurricane\r\nSpitfire\n\nBf 109");
    test::WriteFile(dir / "blocks.txt", "one\ntwo\n");
    test::ScriptedDialog dialog;
    const WindowModel model(dialog, dir.path());
    const std::string items[] = {"", " 0:Hurricane", " 1:Spitfire", " 2:", " 3:Bf 109", "Random", "None", ""};
    for (int i = -1; i < 7; ++i) EXPECT_EQ(model.Items(ControlId::AircraftList).Item(i), items[i + 1]) << i;
    EXPECT_EQ(model.BlockDescription(1) + "|" + model.BlockDescription(2), "two|");
    const std::string& status = model.Text(ControlId::StatusLine);
    EXPECT_NE(status.find("targets.txt was not found in " + dir.path().string()), std::string::npos) << status;
    EXPECT_NE(status.find("blocks.txt has 2 of 32 lines"), std::string::npos) << status;
    const test::Editor e(3, 5);
    EXPECT_EQ(e.Status(), "Ready: 3 aircraft and 5 places read from " + e.dir.path().string() + ".");
}

}  // namespace kestrane
