#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FailingWriter.h"
#include "TestSupport.h"
#include "mission/MissionFile.h"

namespace kestrane {

using test::ReadFile;
using test::WriteFile;

const MissionBytes kBytes = test::Mission({{0, 7}, {200, 9}, {399, 1}});
const std::string kNew(kBytes.begin(), kBytes.end());

TEST(ReadMission, RefusesAnythingButARegularFileOfAtLeast400Bytes) {
    test::TempDir d;
    std::filesystem::create_directory(d / "dir.msn");
    const struct { const char* file; int size; const char* error; } cases[] = {
        {"gone.msn", -1, "does not exist"}, {"dir.msn", -1, "is a folder, not a mission file"},
        {"empty.msn", 0, "is only 0 bytes long; a mission file has 400"},
        {"one.msn", 1, "is only 1 byte long; a mission file has 400"},
        {"short.msn", 399, "is only 399 bytes long; a mission file has 400"}};
    for (const auto& c : cases) {
        if (c.size >= 0) WriteFile(d / c.file, std::string(static_cast<std::size_t>(c.size), 'x'));
        EXPECT_EQ(ReadMission(d / c.file).error, c.error);
    }
    EXPECT_EQ(ReadMission(d / "one.msn" / "x").error, "cannot be opened: not a directory");
    WriteFile(d / "big.msn", kNew + std::string(1 << 20, 'z'));
    EXPECT_EQ(ReadMission(d / "big.msn").bytes, kBytes);
}

TEST(ReadMission, RefusesANamedPipe) {
    KESTRANE_SKIP_UNDER_NODE("no named pipes");
    test::TempDir d;
    ASSERT_EQ(::mkfifo((d / "pipe.msn").c_str(), 0600), 0);
    EXPECT_EQ(ReadMission(d / "pipe.msn").error, "is a pipe, not a plain file");
}

TEST(ReadMissionFrom, ReadsAPipeUpTo400BytesAndRefusesAFolder) {
    test::TempDir d;
    const int folder = ::open(d.path().c_str(), O_RDONLY);
    EXPECT_EQ(ReadMissionFrom(folder).error, "is a folder, not a mission file");
    ::close(folder);
    KESTRANE_SKIP_UNDER_NODE("no pipe reads as on Linux");
    for (const auto& [sent, error] : {std::pair{kNew + "tail", ""}, {std::string("abc"), "is only 3 bytes long; a mission file has 400"}}) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        ASSERT_EQ(::write(pipeFds[1], sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
        ::close(pipeFds[1]);
        const ReadResult r = ReadMissionFrom(pipeFds[0]);
        ::close(pipeFds[0]);
        EXPECT_EQ(r.error, error);
        EXPECT_EQ(r.bytes, r.ok ? kBytes : MissionBytes{});
    }
}

TEST(WriteMissionInPlace, WritesTheFirst400BytesAndKeepsALongerFilesTail) {
    test::TempDir d;
    WriteFile(d / "long.msn", std::string(500, 'L'));
    WriteFile(d / "short.msn", std::string(10, 'S'));
    for (const auto& [file, after] :
         {std::pair{"long.msn", kNew + std::string(100, 'L')}, {"short.msn", kNew}, {"new.msn", kNew}}) {
        EXPECT_TRUE(WriteMissionInPlace(d / file, kBytes).ok);
        EXPECT_EQ(ReadFile(d / file), after) << file;
    }
}

TEST(WriteMissionInPlace, AWriteFailingPartWayLeavesTheOldFileOrNone) {
    // What the error says became of an old file: a write that changed no
    // byte says so (on a full disk, putting back could fail too).
    constexpr const char* kNothing = "; nothing was written";
    constexpr const char* kBack = "; the old bytes are back";
    const struct { std::size_t keep; int err; const char* why; const char* then; } writers[] = {
        {0, ENOSPC, "no space left on device", kNothing}, {200, ENOSPC, "no space left on device", kBack},
        {0, 0, "only 0 of 400 bytes could be written", kNothing},
        {200, 0, "only 200 of 400 bytes could be written", kBack}, {399, 0, "only 399 of 400 bytes could be written", kBack}};
    for (const auto& w : writers) {
        test::TempDir d;
        for (const std::string& old : {std::string(450, '3'), std::string(7, 'k')}) {  // longer and shorter than 400
            WriteFile(d / "old.msn", old);
            const WriteResult r = WriteMissionInPlace(d / "old.msn", kBytes, test::FailingWriter(w.keep, w.err));
            EXPECT_EQ(r.error, std::string(w.why) + w.then);
            EXPECT_EQ(ReadFile(d / "old.msn"), old) << w.keep << " bytes written over " << old.size();
        }
        const WriteResult r = WriteMissionInPlace(d / "new.msn", kBytes, test::FailingWriter(w.keep, w.err));
        EXPECT_EQ(r.error, std::string(w.why) + "; no file was made");
        EXPECT_FALSE(std::filesystem::exists(d / "new.msn"));
    }
}

TEST(BuildSavePath, TheTypedNamePlusMsnInTheStartFolderOrARefusal) {
    const std::string l251(251, 'l');
    const struct { std::string typed, file, why; } cases[] = {
        {"mission1", "mission1.msn", ""}, {"mission1.msn", "mission1.msn.msn", ""}, {"", ".msn", ""},
        {"..", "...msn", ""}, {l251, l251 + ".msn", ""},
        {l251 + "l", "", "the file name would be 256 bytes long; at most 255 are allowed"},
        {"../up", "", "a file name cannot hold / or \\; missions are always saved in /start"},
        {"a\\b", "", "a file name cannot hold / or \\"}, {"a\nb", "", "it holds a control character"},
        {"\x7F", "", "it holds a control character"},
        {"a?", "", "it holds one of < > : \" | ? *, which Windows does not allow in file names. No file was written."}};
    for (const auto& c : cases) {
        const SavePath p = BuildSavePath("/start", c.typed);
        EXPECT_EQ(p.path, c.why.empty() ? std::filesystem::path("/start") / c.file : std::filesystem::path());
        EXPECT_NE(p.error.starts_with("Cannot save under the name \"" + c.typed + "\": " + c.why), p.ok) << p.error;
    }
    for (char reserved : std::string_view("<>:\"|?*"))
        EXPECT_FALSE(BuildSavePath("/start", std::string(1, reserved)).ok) << reserved;
}

}  // namespace kestrane
