#pragma once
// What the missions window's scanner does with a folder, apart from any
// thread, watcher or disk: which files a listing asks to read (new, or
// changed in size or time since they were read), which went, and how the
// rows read are handed over in batches. The scanner runs it on a thread of
// its own; the tests feed it listings and a clock of their own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/MissionFolder.h"

namespace kestrane {

// What the missions window says while its folder is gone.
std::string FolderGoneNote(const std::string& folder);

// The files of one folder as they were read.
class MissionScan {
public:
    struct Plan {
        std::vector<std::string> gone;    // files read before and no longer listed, by name
        std::vector<FolderEntry> toRead;  // new or changed, by name
    };
    // Whether a listing needs each file's size and time: not while nothing
    // has been read, since then every file listed is read, and each read
    // tells them.
    bool NeedsStats() const { return !read_.empty(); }
    // A new listing, by name: what went is forgotten at once; what is new or
    // changed is to be read.
    Plan Take(const std::vector<FolderEntry>& listing);
    // A file read, with the size and time the read found.
    void Read(const FolderEntry& entry);
    // The folder was left for another: nothing of it is known.
    void Forget() { read_.clear(); }

private:
    std::vector<FolderEntry> read_;  // by name
};

// Rows handed over in batches: the first few at once, so that the table
// shows rows as soon as there are any, then many at a time, or whatever was
// read within a few milliseconds, so that the table fills in large steps
// while a slow file never holds back the rows read before it. Times are
// nanoseconds on any steady clock.
class RowBatches {
public:
    static constexpr std::size_t kFirst = 16;
    static constexpr std::size_t kRows = 1024;
    static constexpr std::int64_t kTime = 15'000'000;

    explicit RowBatches(std::int64_t now) : started_(now) {}
    // Adds a row read at a time; true when the batch is due.
    bool Add(MissionRow row, std::int64_t now);
    // The batch so far, emptied; the next one starts now.
    std::vector<MissionRow> Take(std::int64_t now);
    bool Empty() const { return rows_.empty(); }

private:
    std::vector<MissionRow> rows_;
    std::int64_t started_;
    std::size_t limit_ = kFirst;
};

}  // namespace kestrane
