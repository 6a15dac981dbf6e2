#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "FailingWriter.h"
#include "TestSupport.h"
#include "mission/MissionFile.h"

namespace kestrane {

using test::ReadFile;
using test::WriteFile;

const MissionBytes kBytes = test::Mission({{0, 7}, {200, 9}, {399, 1}});
const std::string kNew(kBytes.begin(), kBytes.end());

TEST(ReadMission, RefusesAnythingButARegularFileOrAPipeOfAtLeast400Bytes) {
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

    // From a descriptor: a pipe is read up to 400 bytes, a folder refused.
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

// A change that sets one byte, after a pause that lets another change in
// between its read and its write when nothing holds it off.
MissionChange SetByte(int offset, std::uint8_t value, std::function<void()> meanwhile = [] {}) {
    return [=](MissionBytes& bytes, int) {
        meanwhile();
        bytes[static_cast<std::size_t>(offset)] = value;
        return true;
    };
}

TEST(ChangeMissionInPlace, NeverLosesAConcurrentChangeAndWaitsForALockAWhile) {
    KESTRANE_SKIP_UNDER_NODE("no inode numbers, locks or threads");
    test::TempDir d;
    const std::filesystem::path file = d / "m.msn";
    // Two changes at once, each on a descriptor of its own: both land.
    for (int round = 0; round < 10; ++round) {
        WriteFile(file, kBytes);
        const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); };
        std::thread first([&] { ChangeMissionInPlace(file, SetByte(10, 1, pause)); });
        ChangeMissionInPlace(file, SetByte(20, 2, pause));
        first.join();
        const std::string now = ReadFile(file);
        ASSERT_EQ(now[10], 1) << "round " << round;
        ASSERT_EQ(now[20], 2) << "round " << round;
    }

    // A lock held on for longer is waited for about two seconds, then refused.
    const int holder = ::open(file.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const std::string before = ReadFile(file);
    const auto start = std::chrono::steady_clock::now();
    WriteResult saved;
    std::thread save([&] { saved = WriteMissionInPlace(file, kBytes); });
    const ChangeResult locked = ChangeMissionInPlace(file, SetByte(1, 9));
    save.join();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));
    ::close(holder);
    EXPECT_EQ(locked.error, "it is being changed by another program; nothing was written");
    EXPECT_EQ(saved.error, "it is being changed by another program; nothing was written");
    EXPECT_EQ(ReadFile(file), before);
}

// Another program replaces the file at a random step of a change, or not at
// all: the file always ends as one whole mission, the one put there last
// (ours only when the change began on the file that stays); a change whose
// file was replaced under it says so.
TEST(ChangeMissionInPlace, AFileReplacedAtAnyStepEndsAsTheLastMissionWhole) {
    KESTRANE_SKIP_UNDER_NODE("no inode numbers, locks or threads");
    test::TempDir d;
    const std::filesystem::path file = d / "m.msn", next = d / "next.msn";
    struct Replacing : FileWriter {
        std::function<void()> before;
        ssize_t Write(int fd, const void* data, std::size_t size, off_t offset) const override {
            before();
            return FileWriter::Write(fd, data, size, offset);
        }
    };
    std::mt19937 random(20261207);
    for (int round = 0; round < 60; ++round) {
        const int step = static_cast<int>(random() % 5);  // before, while changing, while writing, after, never
        const MissionBytes first = test::Mission({{7, static_cast<std::uint8_t>(round)}});
        const MissionBytes second = test::Mission({{8, static_cast<std::uint8_t>(random())}});
        WriteFile(file, first);
        WriteFile(next, second);
        const auto replace = [&](int at) { if (step == at) std::filesystem::rename(next, file); };
        Replacing writer;
        writer.before = [&] { replace(2); };
        replace(0);
        const ChangeResult r = ChangeMissionInPlace(file, SetByte(100, 0xAB, [&] { replace(1); }), writer);
        replace(3);
        MissionBytes ours = step == 0 ? second : first;
        ours[100] = 0xAB;
        const MissionBytes expected = step == 4 || step == 0 ? ours : second;
        ASSERT_EQ(ReadFile(file), std::string(expected.begin(), expected.end())) << "round " << round << ", step " << step;
        ASSERT_EQ(r.error, step == 1 ? "it was replaced by another program while it was being changed; nothing was written" : "");
    }
}

TEST(WriteRefusal, SaysWhatWouldRefuseTheWriteBeforeTrying) {
    test::TempDir d;
    WriteFile(d / "m.msn", kBytes);
    std::filesystem::create_directory(d / "dir.msn");
    // As access answers for a file this process may not write, in a folder
    // it may not write either.
    const AccessCheck denied = [](const char* path, int) {
        struct stat st {};
        return ::stat(path, &st) != 0 ? ENOENT : EACCES;
    };
    const AccessCheck folderDenied = [](const char* path, int) {
        struct stat st {};
        return ::stat(path, &st) != 0 ? ENOENT : S_ISDIR(st.st_mode) ? EROFS : 0;
    };
    const std::string folder = "its folder " + d.path().string() + ": ";
    EXPECT_EQ(WriteRefusal(d / "m.msn", false), "");
    EXPECT_EQ(WriteRefusal(d / "new.msn", true), "");
    EXPECT_EQ(WriteRefusal(d / "dir.msn", false), "it is a folder, not a file");
    EXPECT_EQ(WriteRefusal(d / "m.msn", false, denied), "permission denied");
    EXPECT_EQ(WriteRefusal(d / "m.msn", false, folderDenied), "");
    EXPECT_EQ(WriteRefusal(d / "m.msn", true, folderDenied), folder + "read-only file system");
    EXPECT_EQ(WriteRefusal(d / "new.msn", false, folderDenied), folder + "read-only file system");
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
        {"a?", "", "it holds one of < > : \" | ? *, which Windows does not allow in file names. No file was written."},
        {"con", "", "CON is a name Windows keeps for a device"}, {"Com7.raid", "", "COM7 is a name Windows keeps"},
        {"console", "console.msn", ""}, {"com0", "com0.msn", ""}};
    for (const auto& c : cases) {
        const SavePath p = BuildSavePath("/start", c.typed);
        EXPECT_EQ(p.path, c.why.empty() ? std::filesystem::path("/start") / c.file : std::filesystem::path());
        EXPECT_NE(p.error.starts_with("Cannot save under the name \"" + c.typed + "\": " + c.why), p.ok) << p.error;
    }
    for (char reserved : std::string_view("<>:\"|?*"))
        EXPECT_FALSE(BuildSavePath("/start", std::string(1, reserved)).ok) << reserved;
}

}  // namespace kestrane
