#include "ui/RecentFiles.h"

#include <algorithm>
#include <filesystem>

namespace kestrane {

namespace {

std::string Absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

}  // namespace

RecentFiles::RecentFiles(const std::vector<std::string>& files) {
    for (auto it = files.rbegin(); it != files.rend(); ++it)
        if (!it->empty()) Add(*it);
}

void RecentFiles::Add(const std::string& path) {
    const std::string absolute = Absolute(path);
    Remove(absolute);
    files_.insert(files_.begin(), absolute);
    if (files_.size() > kMost) files_.resize(kMost);
}

void RecentFiles::Remove(const std::string& path) {
    files_.erase(std::remove(files_.begin(), files_.end(), Absolute(path)), files_.end());
}

}  // namespace kestrane
