#pragma once
// The missions of a folder at a glance, without a toolkit: which .msn files
// the folder holds, each file read and decoded into one row of texts (its
// name, mission name, year, time of day, weather, mission type, attack
// plane 1, target, home base, whether its checksum is right, size and
// modification time), and the rows kept by file name.
// Reading a file is the load's careful read: a pipe, a device, a folder or
// a file too short is a row saying why, at once.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "editors/FieldValues.h"

namespace kestrane {

// A file of the folder as a listing sees it: its name's bytes, its size and
// when it was last written.
struct FolderEntry {
    std::string file;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch
    bool operator==(const FolderEntry&) const = default;
};

// A folder held open while it is listed and its files read: each file is
// found by its name alone, without walking the folder's path again, and all
// of them in the folder that was opened, even if another takes its name.
class OpenFolder {
public:
    explicit OpenFolder(const std::filesystem::path& folder);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    int Fd() const { return fd_; }  // -1 when it could not be opened

private:
    int fd_;
};

// The entries whose name ends in ".msn" (in any case), by name. Entries that
// are not plain files are listed too, so that a row can say what they are.
// Without stats, only the names: reading each file tells its size and time.
std::vector<FolderEntry> ListMissionFiles(const OpenFolder& folder, bool stats = true);

enum class MissionColumn { File, Name, Year, TimeOfDay, Weather, MissionType, AttackPlane1, Target, HomeBase,
                           Checksum, Size, Modified, Note, Count };
inline constexpr std::size_t kMissionColumns = static_cast<std::size_t>(MissionColumn::Count);
std::string_view ColumnTitle(MissionColumn column);

// What the checksum column says.
inline constexpr std::string_view kChecksumRight = "right";
inline constexpr std::string_view kChecksumDiffers = "differs";
inline constexpr std::string_view kNotAMission = "not a mission";

struct MissionRow {
    FolderEntry entry;
    bool mission = false;        // read as a mission
    bool checksumRight = false;  // its stored checksum is the one its bytes give
    std::array<std::string, kMissionColumns> texts;
    const std::string& Text(MissionColumn column) const { return texts[static_cast<std::size_t>(column)]; }
};

// Reads and decodes one file of the folder; names come from the lists. The
// row's entry has the size and time the read found.
MissionRow ReadMissionRow(const OpenFolder& folder, const FolderEntry& entry, const NameLists& lists);

// The missions window's filter box: its caption (with its access key) names
// it. A row is shown when any column's text holds the filter's text, in any
// case (the letters of Windows-1252 included).
inline constexpr std::string_view kFilterCaption = "&Filter:";
// The button that compares the two missions chosen field by field, and the
// box that shows their differences.
inline constexpr std::string_view kCompareChosenCaption = "&Compare";
inline constexpr std::string_view kDifferencesName = "Differences";
// The button that stamps the checksums of the missions chosen.
inline constexpr std::string_view kStampCaption = "&Stamp checksums";
bool RowMatches(const MissionRow& row, std::string_view filter);

// How the missions window orders its rows: by one column, up or down. Sizes
// and times sort as numbers, the other columns by their text; rows that tie
// keep their order by file name, either way.
struct MissionOrder {
    MissionColumn column = MissionColumn::File;
    bool descending = false;
    // A column's header chosen: the same column again turns the order round,
    // another sorts up.
    void Choose(MissionColumn chosen);
};
// Whether row a comes before row b in the column, going up.
bool RowBefore(const MissionRow& a, const MissionRow& b, MissionColumn column);
// The rows the filter keeps, in the order: their indexes into rows, which
// are by file name.
std::vector<std::size_t> ShownRows(const std::vector<MissionRow>& rows, const MissionOrder& order,
                                   std::string_view filter);

// The rows of a folder by file name.
class MissionFolder {
public:
    void Remove(std::string_view file);
    // Removes the rows of many files at once; gone is sorted.
    void RemoveAll(const std::vector<std::string>& gone);
    // A row read, at its place by file name.
    struct Placed {
        int index;
        bool inserted;  // a new row, else one read again
    };
    Placed Put(MissionRow row);
    const std::vector<MissionRow>& Rows() const { return rows_; }
    // The row of a file, or -1.
    int Find(std::string_view file) const;
    // Where a file's row is, or would go, and whether it is there.
    struct Place {
        int index;
        bool known;
    };
    Place PlaceOf(std::string_view file) const;

private:
    std::vector<MissionRow> rows_;  // by file name
};

// Writes the right checksum into a mission file whose stored one differs,
// with the same in-place write as a save.
struct Stamping {
    enum class Outcome { Stamped, AlreadyRight, Failed } outcome = Outcome::Failed;
    std::string error;  // why it failed
};
Stamping StampChecksum(const std::filesystem::path& file);
// Stamps each file, and says what became of them all as one sentence:
// "Stamped the checksum of 2 files; 1 already right; could not write
// short.msn (why)." The files written are listed, in order.
struct StampedFiles {
    std::string said;
    std::vector<std::filesystem::path> written;
};
StampedFiles StampChecksums(const std::vector<std::filesystem::path>& files);

// The two missions chosen, compared field by field (DifferenceLines, named
// from the lists), and what is said of them; anything but two files chosen,
// or one that cannot be read, is refused with no lines.
struct ChosenComparison {
    std::string said;
    bool compared = false;  // the two were read and compared
    std::vector<std::string> lines;
};
ChosenComparison CompareChosen(const std::vector<std::filesystem::path>& files, const NameLists& lists);

}  // namespace kestrane
