#include "ui/MissionScan.h"

#include "mission/Charset.h"

#include <algorithm>
#include <utility>

namespace kestrane {

namespace {

bool ByName(const FolderEntry& a, const FolderEntry& b) { return a.file < b.file; }

}  // namespace

MissionScan::Plan MissionScan::Take(const std::vector<FolderEntry>& listing) {
    Plan plan;
    std::vector<FolderEntry> kept;
    kept.reserve(read_.size());
    for (FolderEntry& entry : read_) {
        if (std::binary_search(listing.begin(), listing.end(), entry, ByName)) kept.push_back(std::move(entry));
        else plan.gone.push_back(std::move(entry.file));
    }
    read_ = std::move(kept);
    for (const FolderEntry& entry : listing) {
        const auto at = std::lower_bound(read_.begin(), read_.end(), entry, ByName);
        if (at == read_.end() || *at != entry) plan.toRead.push_back(entry);
    }
    return plan;
}

void MissionScan::Read(const FolderEntry& entry) {
    const auto at = std::lower_bound(read_.begin(), read_.end(), entry, ByName);
    if (at != read_.end() && at->file == entry.file) *at = entry;
    else read_.insert(at, entry);
}

bool RowBatches::Add(MissionRow row, std::int64_t now) {
    rows_.push_back(std::move(row));
    return rows_.size() >= limit_ || now - started_ > kTime;
}

std::vector<MissionRow> RowBatches::Take(std::int64_t now) {
    std::vector<MissionRow> taken = std::move(rows_);
    rows_.clear();
    started_ = now;
    limit_ = kRows;
    return taken;
}

std::string FolderGoneNote(const std::string& folder) {
    return "The folder " + ReadableText(folder) + " is gone; its missions show here again when it is back.";
}

}  // namespace kestrane
