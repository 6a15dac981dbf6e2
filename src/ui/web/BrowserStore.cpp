#include "ui/web/BrowserStore.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "mission/Charset.h"

namespace kestrane {

namespace {

using emscripten::val;

// The local time: "20261207-120305" for names (compact), or
// "2026-12-07 12:03:05" as kept works carry it. Written out by hand:
// strftime would bring the C library's locales into the page.
std::string LocalTime(std::chrono::system_clock::time_point now, bool compact) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm t{};
    localtime_r(&seconds, &t);
    const auto two = [](int n) { return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10); };
    const std::string year = std::to_string(t.tm_year + 1900);
    if (compact) return year + two(t.tm_mon + 1) + two(t.tm_mday) + "-" + two(t.tm_hour) + two(t.tm_min) + two(t.tm_sec);
    return year + "-" + two(t.tm_mon + 1) + "-" + two(t.tm_mday) + " " + two(t.tm_hour) + ":" + two(t.tm_min) + ":" +
           two(t.tm_sec);
}

// A path free of any file: the stem and suffix, or the stem with -2, -3, ...
std::filesystem::path FreePath(const std::string& stem, const std::string& suffix) {
    std::error_code error;
    std::filesystem::path path = stem + suffix;
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(path, error)); ++n)
        path = stem + "-" + std::to_string(n) + suffix;
    return path;
}

}  // namespace

BrowserStore::BrowserStore(val storage) : storage_(std::move(storage)) {}

void BrowserStore::Take(const val& entries, const val& heldElsewhere) {
    works_.clear();
    for (const val& entry : emscripten::vecFromJSArray<val>(entries))
        if (entry[0].isString() && entry[1].isString())
            works_[entry[0].as<std::string>()] = entry[1].as<std::string>();
    heldElsewhere_.clear();
    for (const std::string& name : emscripten::vecFromJSArray<std::string>(heldElsewhere))
        if (!mine_.contains(name)) heldElsewhere_.insert(name);
}

void BrowserStore::Refused(const std::string& errorName, const std::string& message) {
    if (errorName == "QuotaExceededError") refused_ = "the browser's storage for this page is full";
    else if (errorName == "Unavailable") refused_ = "this browser keeps no storage for the page";
    else refused_ = "the browser refused its storage: " + (message.empty() ? errorName : message);
}

std::vector<std::string> BrowserStore::TakeWritten() { return std::exchange(written_, {}); }

std::vector<std::string> BrowserStore::Names() {
    std::vector<std::string> names;
    for (const auto& [name, text] : works_)
        if (name.find('/') == std::string::npos) names.push_back(name);
    return names;
}

WorkStore::Reading BrowserStore::Read(const std::string& name) {
    const auto found = works_.find(name);
    if (found == works_.end()) return {false, {}, "it is no longer kept"};
    if (found->second.size() > kLargestWorkText) return {false, {}, "it is larger than a kept work may be"};
    return {true, found->second, {}};
}

std::string BrowserStore::Write(const std::string& name, std::string_view text) {
    works_[name] = std::string(text);
    storage_.call<void>("put", name, std::string(text));
    return refused_;
}

void BrowserStore::Remove(const std::string& name) {
    works_.erase(name);
    storage_.call<void>("remove", name);
}

std::string BrowserStore::SetAside(const std::string& name, const std::string& folder) {
    const auto found = works_.find(name);
    if (found == works_.end()) return {};
    const std::string aside = folder + "/" + name;
    storage_.call<void>("put", aside, found->second);
    works_[aside] = found->second;
    Remove(name);
    return Where() + ", \"" + folder + "\"/" + name;
}

bool BrowserStore::Claim(const std::string& name) {
    if (heldElsewhere_.contains(name)) return false;
    if (mine_.insert(name).second) storage_.call<void>("claim", name);
    return true;
}

void BrowserStore::Release(const std::string& name) {
    if (mine_.erase(name) > 0) storage_.call<void>("release", name);
}

std::string BrowserStore::NewName() {
    // Pages started in the same second differ by their clock's fraction.
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::system_clock::now().time_since_epoch()).count() % 1000000;
    const std::string stem = "work-" + LocalTime(std::chrono::system_clock::now(), true) + "-" + std::to_string(micros);
    std::string name = stem;
    for (int n = 2; works_.contains(name) || heldElsewhere_.contains(name); ++n) name = stem + "-" + std::to_string(n);
    return name;
}

std::string BrowserStore::Now() {
    const auto now = std::chrono::system_clock::now();
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::string fraction = std::to_string(1000 + millis).substr(1);
    return LocalTime(now, false) + "." + fraction;
}

// A download leaves the file on disk as it was; a folder the page writes
// to gets a copy of the file first, in its "replaced" folder, written to
// disk with the save.
Keeping BrowserStore::KeepReplaced(const std::string& path) {
    if (!folderWritable_) return {true, {}};
    const std::filesystem::path replaced = std::filesystem::path(path).parent_path() / "replaced";
    std::error_code error;
    std::filesystem::create_directories(replaced, error);
    const std::string stem = ReadableText(std::filesystem::path(path).stem().string()) + "-" +
                             LocalTime(std::chrono::system_clock::now(), true);
    const std::filesystem::path copy = FreePath((replaced / stem).string(), ".msn");
    if (!std::filesystem::copy_file(path, copy, error)) return {false, error.message()};
    written_.push_back(copy.string());
    return {true, copy.string()};
}

}  // namespace kestrane
