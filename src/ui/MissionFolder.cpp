#include "ui/MissionFolder.h"

#include <algorithm>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "mission/Charset.h"
#include "mission/Checksum.h"
#include "mission/MissionFile.h"

namespace kestrane {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, kMissionColumns> kTitles{
    "File", "Mission name", "Year", "Time of day", "Weather", "Mission type", "Attack plane 1", "Target", "Home base",
    "Checksum", "Size", "Modified", "Note"};

bool IsMissionName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string suffix = name.substr(name.size() - 4);
    for (char& c : suffix) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return suffix == ".msn";
}

// The size and time of what a link leads to; a link to nothing, as it is.
// The name is taken relative to the folder open as dirFd.
void LookAt(int dirFd, const char* name, FolderEntry& entry) {
    struct stat st {};
    if (::fstatat(dirFd, name, &st, 0) != 0 && ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return;
    entry.size = static_cast<std::uint64_t>(st.st_size);
    entry.modified = NanosecondsOf(st.st_mtim);
}

// "2026-12-07 12:03", in local time.
std::string LocalTime(std::int64_t nanoseconds) {
    const std::time_t seconds = static_cast<std::time_t>(nanoseconds / kNanosecondsPerSecond);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return {};
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) > 0 ? text : std::string();
}

// A field as the browser shows it: its caption or catalogue name, else its
// value.
std::string Shown(const MissionImage& image, const Field& field, const NameLists& lists) {
    const FieldValue value = ValueOf(image, field, lists);
    if (!value.caption.empty()) return value.caption;
    return value.name.empty() ? value.text : value.name;
}

// The capitals of Windows-1252 beyond ASCII and Latin-1's run, in UTF-8,
// with their small letters.
constexpr std::pair<std::string_view, std::string_view> kCapitals[] = {
    {"\u0152", "\u0153"}, {"\u0160", "\u0161"}, {"\u0178", "\u00FF"}, {"\u017D", "\u017E"}};

// The text with every capital a mission's text can hold made small, so that
// a filter finds it in any case.
std::string Folded(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c >= 'A' && c <= 'Z') {
            folded += static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) {  // \u00C0 to \u00DE but \u00D7
            folded += {static_cast<char>(c), static_cast<char>(next + 0x20)};
            ++i;
        } else if (const auto* capital = std::find_if(std::begin(kCapitals), std::end(kCapitals),
                                                      [&](const auto& pair) { return text.substr(i).starts_with(pair.first); });
                   capital != std::end(kCapitals)) {
            folded += capital->second;
            i += capital->first.size() - 1;
        } else {
            folded += static_cast<char>(c);
        }
    }
    return folded;
}

void Set(MissionRow& row, MissionColumn column, std::string text) {
    row.texts[static_cast<std::size_t>(column)] = std::move(text);
}

void Decode(MissionRow& row, const MissionImage& image, const NameLists& lists) {
    using M = MissionColumn;
    row.mission = true;
    row.checksumRight = StoredChecksum(image.Bytes()) == MissionChecksum(image.Bytes());
    Set(row, M::Checksum, std::string(row.checksumRight ? kChecksumRight : kChecksumDiffers));
    Set(row, M::Name, MissionName(image));
    const std::pair<MissionColumn, const Field*> kShown[] = {
        {M::Year, kYear.field},         {M::TimeOfDay, kTimeOfDay.field},
        {M::Weather, kWeather.field},   {M::MissionType, kMissionType.field},
        {M::AttackPlane1, kAttackPlane1.fields[0]}, {M::Target, kTarget.field},
        {M::HomeBase, kHomeBase.field}};
    for (const auto& [column, field] : kShown) Set(row, column, Shown(image, *field, lists));
}

}  // namespace

std::string_view ColumnTitle(MissionColumn column) { return kTitles[static_cast<std::size_t>(column)]; }

OpenFolder::OpenFolder(const fs::path& folder) : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

OpenFolder::~OpenFolder() {
    if (fd_ >= 0) ::close(fd_);
}

std::vector<FolderEntry> ListMissionFiles(const OpenFolder& folder, bool stats) {
    std::vector<FolderEntry> entries;
    // A descriptor of the listing's own, so that the folder's stays where it is.
    const int listed = folder.Fd() < 0 ? -1 : ::openat(folder.Fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
    if (dir == nullptr) {
        if (listed >= 0) ::close(listed);
        return entries;
    }
    while (const dirent* found = ::readdir(dir)) {
        std::string name = found->d_name;
        if (!IsMissionName(name)) continue;
        FolderEntry entry{std::move(name), 0, 0};
        if (stats) LookAt(folder.Fd(), found->d_name, entry);
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.file < b.file; });
    return entries;
}

MissionRow ReadMissionRow(const OpenFolder& folder, const FolderEntry& entry, const NameLists& lists) {
    MissionRow row;
    row.entry = entry;
    const ReadResult read = ReadMissionAt(folder.Fd(), entry.file.c_str());
    if (read.modified != 0) {
        row.entry.size = read.size;
        row.entry.modified = read.modified;
    } else {  // a file that could not be opened: an unreadable one, a link to nothing
        LookAt(folder.Fd(), entry.file.c_str(), row.entry);
    }
    Set(row, MissionColumn::File, ReadableText(entry.file));
    Set(row, MissionColumn::Size, std::to_string(row.entry.size));
    Set(row, MissionColumn::Modified, row.entry.modified != 0 ? LocalTime(row.entry.modified) : std::string());
    if (!read.ok) {
        Set(row, MissionColumn::Checksum, std::string(kNotAMission));
        Set(row, MissionColumn::Note, "The file " + read.error + ".");
        return row;
    }
    MissionImage image;
    image.Assign(read.bytes);
    Decode(row, image, lists);
    return row;
}

bool RowMatches(const MissionRow& row, std::string_view filter) {
    const std::string wanted = Folded(filter);
    return std::any_of(row.texts.begin(), row.texts.end(),
                       [&](const std::string& text) { return Folded(text).find(wanted) != std::string::npos; });
}

void MissionOrder::Choose(MissionColumn chosen) {
    descending = chosen == column && !descending;
    column = chosen;
}

bool RowBefore(const MissionRow& a, const MissionRow& b, MissionColumn column) {
    if (column == MissionColumn::Size) return a.entry.size < b.entry.size;
    if (column == MissionColumn::Modified) return a.entry.modified < b.entry.modified;
    return a.Text(column) < b.Text(column);  // by the bytes: code point order
}

std::vector<std::size_t> ShownRows(const std::vector<MissionRow>& rows, const MissionOrder& order,
                                   std::string_view filter) {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (RowMatches(rows[i], filter)) shown.push_back(i);
    std::stable_sort(shown.begin(), shown.end(), [&](std::size_t a, std::size_t b) {
        return order.descending ? RowBefore(rows[b], rows[a], order.column) : RowBefore(rows[a], rows[b], order.column);
    });
    return shown;
}

void MissionFolder::Remove(std::string_view file) {
    if (const int at = Find(file); at >= 0) rows_.erase(rows_.begin() + at);
}

void MissionFolder::RemoveAll(const std::vector<std::string>& gone) {
    std::erase_if(rows_, [&](const MissionRow& row) { return std::binary_search(gone.begin(), gone.end(), row.entry.file); });
}

MissionFolder::Placed MissionFolder::Put(MissionRow row) {
    const Place place = PlaceOf(row.entry.file);
    const auto at = rows_.begin() + place.index;
    if (place.known) *at = std::move(row);
    else rows_.insert(at, std::move(row));
    return Placed{place.index, !place.known};
}

MissionFolder::Place MissionFolder::PlaceOf(std::string_view file) const {
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), file,
                                     [](const MissionRow& r, std::string_view f) { return r.entry.file < f; });
    return {static_cast<int>(at - rows_.begin()), at != rows_.end() && at->entry.file == file};
}

int MissionFolder::Find(std::string_view file) const {
    const Place place = PlaceOf(file);
    return place.known ? place.index : -1;
}

Stamping StampChecksum(const fs::path& file) {
    // Read and written under one lock through one descriptor, so that a
    // mission another program puts in place meanwhile is never written over.
    const ChangeResult changed = ChangeMissionInPlace(file, [](MissionBytes& bytes, int) {
        const std::uint32_t computed = MissionChecksum(bytes);
        const bool right = StoredChecksum(bytes) == computed;
        MissionImage image;
        image.Assign(bytes);
        image.Write(kStoredChecksumField, computed);
        bytes = image.Bytes();
        return !right;
    });
    switch (changed.outcome) {
    case ChangeResult::Outcome::Written: return {Stamping::Outcome::Stamped, {}};
    case ChangeResult::Outcome::Left: return {Stamping::Outcome::AlreadyRight, {}};
    case ChangeResult::Outcome::Unreadable: return {Stamping::Outcome::Failed, "the file " + changed.error};
    case ChangeResult::Outcome::Unwritten: break;
    }
    return {Stamping::Outcome::Failed, changed.error};
}

StampedFiles StampChecksums(const std::vector<fs::path>& files) {
    StampedFiles done;
    int right = 0;
    std::string failed;
    for (const fs::path& file : files) {
        const Stamping result = StampChecksum(file);
        if (result.outcome == Stamping::Outcome::Stamped) done.written.push_back(file);
        else if (result.outcome == Stamping::Outcome::AlreadyRight) ++right;
        else failed += (failed.empty() ? "" : "; ") + ReadableText(file.filename().string()) + " (" + result.error + ")";
    }
    const std::size_t stamped = done.written.size();
    done.said = "Stamped the checksum of " + std::to_string(stamped) + (stamped == 1 ? " file" : " files");
    if (right > 0) done.said += "; " + std::to_string(right) + " already right";
    done.said += failed.empty() ? "." : "; could not write " + failed + ".";
    return done;
}

ChosenComparison CompareChosen(const std::vector<fs::path>& files, const NameLists& lists) {
    if (files.size() != 2)
        return {"Select two missions to compare (" + std::to_string(files.size()) + " selected). Nothing was compared.", false, {}};
    const ReadResult a = ReadMission(files[0]), b = ReadMission(files[1]);
    const std::string nameA = ReadableText(files[0].filename().string()), nameB = ReadableText(files[1].filename().string());
    if (!a.ok || !b.ok) return {"Could not compare: the file " + (a.ok ? nameB + " " + b.error : nameA + " " + a.error) + ".", false, {}};
    MissionImage first, second;
    first.Assign(a.bytes);
    second.Assign(b.bytes);
    ChosenComparison compared{{}, true, DifferenceLines(first, second, lists)};
    const std::size_t n = compared.lines.size();
    compared.said = n == 0 ? nameA + " and " + nameB + " are the same, all 400 bytes."
                           : nameA + " and " + nameB + " differ in " + std::to_string(n) + (n == 1 ? " place" : " places") +
                                 ": see the " + std::string(kDifferencesName) + " box of Missions.";
    return compared;
}

}  // namespace kestrane
