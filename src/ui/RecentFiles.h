#pragma once
// The missions last loaded or saved, newest first: at most eight, each once,
// by its absolute path (the file system's bytes, whatever their encoding).

#include <string>
#include <vector>

namespace kestrane {

class RecentFiles {
public:
    static constexpr std::size_t kMost = 8;

    RecentFiles() = default;
    // A list kept from an earlier session, cleaned as Add would leave it.
    explicit RecentFiles(const std::vector<std::string>& files);

    const std::vector<std::string>& Files() const { return files_; }
    void Add(const std::string& path);
    void Remove(const std::string& path);

private:
    std::vector<std::string> files_;
};

}  // namespace kestrane
