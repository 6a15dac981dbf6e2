#include "mission/MissionFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "mission/ErrorText.h"

namespace kestrane {

namespace {

std::string NotPlainFile(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISFIFO(mode)) return "it is a pipe, not a plain file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a plain file";
    return "it is not a plain file";
}

// Why a file that is not a plain one cannot be read as a mission.
std::string NotAMissionFile(mode_t mode) {
    return S_ISDIR(mode)                          ? "is a folder, not a mission file"
           : S_ISFIFO(mode)                       ? "is a pipe, not a plain file"
           : S_ISCHR(mode) || S_ISBLK(mode)       ? "is a device, not a plain file"
                                                  : "is not a regular file";
}

std::string LowerFirst(std::string s) {
    if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z') s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

// Reads up to size bytes at offset, retrying short reads; returns the count
// or -1.
ssize_t ReadFully(int fd, std::uint8_t* data, std::size_t size, off_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { int f = fd_; fd_ = -1; return f; }

private:
    int fd_;
};

}  // namespace

namespace {

// The first 400 bytes through a reader of the descriptor's bytes, or why
// there are not that many.
template <class ReadSome>
ReadResult ReadFirstBytes(ReadSome&& readSome) {
    ReadResult result;
    const ssize_t n = readSome(result.bytes.data(), result.bytes.size());
    if (n < 0) {
        result.error = "cannot be read: " + LowerFirst(ErrorText(errno));
        return result;
    }
    if (n < kMissionSize) {
        result.bytes = {};
        result.error = "is only " + std::to_string(n) + (n == 1 ? " byte" : " bytes") + " long; a mission file has 400";
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace

ReadResult ReadMission(const std::filesystem::path& path) { return ReadMissionAt(AT_FDCWD, path.c_str()); }

ReadResult ReadMissionAt(int folderFd, const char* name) {
    ReadResult result;
    // Non-blocking so that choosing a pipe cannot hang the window; it has no
    // effect on a regular file.
    Fd fd(::openat(folderFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        const int err = errno;
        result.error = err == ENOENT ? "does not exist" : "cannot be opened: " + LowerFirst(ErrorText(err));
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        result.error = "cannot be read: " + LowerFirst(ErrorText(errno));
        return result;
    }
    const auto stamped = [&](ReadResult read) {
        read.size = static_cast<std::uint64_t>(st.st_size);
        read.modified = NanosecondsOf(st.st_mtim);
        return read;
    };
    if (!S_ISREG(st.st_mode)) {
        result.error = NotAMissionFile(st.st_mode);
        return stamped(std::move(result));
    }
    return stamped(ReadFirstBytes([&](std::uint8_t* data, std::size_t size) { return ReadFully(fd.get(), data, size, 0); }));
}

ReadResult ReadMissionFrom(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return {false, {}, "cannot be read: " + LowerFirst(ErrorText(errno))};
    if (S_ISDIR(st.st_mode)) return {false, {}, "is a folder, not a mission file"};
    return ReadFirstBytes([&](std::uint8_t* data, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd, data + done, size - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return n;
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
        }
        return static_cast<ssize_t>(done);
    });
}

ssize_t FileWriter::Write(int fd, const void* data, std::size_t size, off_t offset) const {
    return ::pwrite(fd, data, size, offset);
}

namespace {

// The steps of an in-place write, in the order WriteMissionInPlace takes them.

// The lock every change and write in place holds: flock, tried without
// waiting and again every 50 ms for two seconds, so that a change made by
// another run (which takes milliseconds) is waited for, and one held for
// long is refused. A file system without flock is written without it.
constexpr auto kLockWait = std::chrono::seconds(2);
constexpr auto kLockRetry = std::chrono::milliseconds(50);
constexpr const char* kBeingChanged = "it is being changed by another program";

bool HoldLock(int fd) {
    const auto until = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(kLockRetry);
    }
}

// 1. Only a plain file, or a new one, is written: a device or pipe would take
// the bytes without storing them. Returns why the path is refused, if it is.
std::string RefusalOfPath(const std::filesystem::path& path) {
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0) return S_ISREG(target.st_mode) ? "" : NotPlainFile(target.st_mode);
    if (errno == ENOENT && ::lstat(path.c_str(), &target) == 0) return "it is a link to a file that does not exist";
    return "";
}

// 2. The file the bytes go to: where a link at the path leads, or the path.
std::filesystem::path FileReached(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const std::filesystem::path real = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : real;
}

// 3. The file opened for writing, made when missing; a file that may be
// written but not read is opened all the same, without a copy of its bytes.
struct Opened {
    int fd = -1;
    int error = 0;
    bool created = false;
    bool readable = true;
};
Opened OpenForWriting(const std::filesystem::path& path) {
    Opened o;
    o.fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (o.fd < 0 && errno == ENOENT) {
        o.fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        o.created = o.fd >= 0;
        o.readable = false;
    } else if (o.fd < 0 && errno == EACCES) {
        o.fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        o.readable = false;
    }
    if (o.fd < 0) o.error = errno;
    return o;
}

// 4. The old first bytes and length, kept so that a failed write can be
// undone.
struct OldContent {
    bool kept = false;
    MissionBytes bytes{};
    std::size_t length = 0;  // how many of the first 400 bytes there were
    off_t size = 0;
};
OldContent KeepOldContent(int fd) {
    OldContent old;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return old;
    const ssize_t n = ReadFully(fd, old.bytes.data(), old.bytes.size(), 0);
    if (n < 0) return old;
    old.kept = true;
    old.length = static_cast<std::size_t>(n);
    old.size = st.st_size;
    return old;
}

// Whether the file holds its old first bytes and length.
bool HoldsOld(int fd, const OldContent& old) {
    MissionBytes now{};
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_size == old.size &&
           ReadFully(fd, now.data(), now.size(), 0) == static_cast<ssize_t>(old.length) &&
           std::equal(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(old.length), old.bytes.begin());
}

// 5. The one write of the 400 bytes, then fsync, which surfaces late
// failures (a full disk on some file systems). Returns the failure, empty
// when all went well; wroteAny says whether any new byte may have reached
// the file.
std::string WriteAndSync(int fd, const MissionBytes& bytes, const FileWriter& writer, bool& wroteAny) {
    errno = 0;
    const ssize_t n = writer.Write(fd, bytes.data(), bytes.size(), 0);
    wroteAny = n > 0;
    if (n != static_cast<ssize_t>(bytes.size())) {
        const int err = errno;
        return n < 0 ? LowerFirst(ErrorText(err)) : "only " + std::to_string(n) + " of 400 bytes could be written";
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP) return LowerFirst(ErrorText(errno));
    return "";
}

// 6. After a failed write: a created file is removed; an old file gets its
// old bytes back. Says what became of the file, as the failure's ending.
std::string Recover(Fd& fd, const std::filesystem::path& path, bool created, const OldContent& old, bool wroteAny) {
    if (created) {
        ::close(fd.release());
        if (::unlink(path.c_str()) != 0) return "; the new file could not be removed: " + LowerFirst(ErrorText(errno));
        return "; no file was made";
    }
    // Without a copy of the old bytes, only a write that reported none
    // written can be said to have changed nothing.
    if (!old.kept) return wroteAny ? "; the file may be damaged" : "; nothing was written";
    if (!wroteAny && HoldsOld(fd.get(), old)) return "; nothing was written";
    const ssize_t back = old.length == 0 ? 0 : ::pwrite(fd.get(), old.bytes.data(), old.length, 0);
    // Whether these took is read back below, from the file itself.
    if (back == static_cast<ssize_t>(old.length) && old.size < kMissionSize) {
        [[maybe_unused]] const int cut = ::ftruncate(fd.get(), old.size);
    }
    [[maybe_unused]] const int synced = ::fsync(fd.get());
    if (HoldsOld(fd.get(), old)) return "; the old bytes are back";
    return "; its old bytes could not be put back, so the file may be damaged";
}

}  // namespace

WriteResult WriteMissionInPlace(const std::filesystem::path& path, const MissionBytes& bytes, const FileWriter& writer) {
    WriteResult result;
    if (const std::string refusal = RefusalOfPath(path); !refusal.empty()) {
        result.error = refusal + "; nothing was written";
        return result;
    }
    result.written = FileReached(path);
    const Opened opened = OpenForWriting(path);
    if (opened.fd < 0) {
        result.error = LowerFirst(ErrorText(opened.error)) + "; nothing was written";
        return result;
    }
    Fd fd(opened.fd);
    // The path may have changed between the look and the open.
    if (struct stat st {}; ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.error = NotPlainFile(st.st_mode) + "; nothing was written";
        return result;
    }
    if (!HoldLock(fd.get())) {
        result.error = kBeingChanged + Recover(fd, path, opened.created, OldContent{}, false);
        return result;
    }
    const OldContent old = opened.created || !opened.readable ? OldContent{} : KeepOldContent(fd.get());
    bool wroteAny = false;
    if (const std::string failure = WriteAndSync(fd.get(), bytes, writer, wroteAny); !failure.empty()) {
        result.error = failure + Recover(fd, path, opened.created, old, wroteAny);
        return result;
    }
    if (::close(fd.release()) != 0) {
        result.error = LowerFirst(ErrorText(errno));
        return result;
    }
    result.ok = true;
    return result;
}

namespace {

ChangeResult Changed(ChangeResult::Outcome outcome, std::string error, std::filesystem::path written) {
    return {outcome, std::move(error), std::move(written)};
}

// Why the path no longer names the open file, or empty when it does.
std::string Replaced(const std::filesystem::path& path, int fd) {
    struct stat now {}, open {};
    if (::fstat(fd, &open) != 0) return LowerFirst(ErrorText(errno));
    if (::stat(path.c_str(), &now) != 0) return "it was removed by another program while it was being changed";
    if (now.st_dev != open.st_dev || now.st_ino != open.st_ino)
        return "it was replaced by another program while it was being changed";
    return "";
}

// A file that cannot be opened for a change: why it cannot be read, or,
// when it can be, why it cannot be written.
ChangeResult Unopened(const std::filesystem::path& path, int err, std::filesystem::path written) {
    const ReadResult read = ReadMission(path);
    if (!read.ok) return Changed(ChangeResult::Outcome::Unreadable, read.error, std::move(written));
    return Changed(ChangeResult::Outcome::Unwritten, LowerFirst(ErrorText(err)) + "; nothing was written", std::move(written));
}

}  // namespace

ChangeResult ChangeMissionInPlace(const std::filesystem::path& path, const MissionChange& change, const FileWriter& writer) {
    using O = ChangeResult::Outcome;
    std::filesystem::path written = FileReached(path);
    // Non-blocking, so that a pipe in the file's place cannot hang the open.
    Fd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) return Unopened(path, errno, std::move(written));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return Changed(O::Unreadable, "cannot be read: " + LowerFirst(ErrorText(errno)), written);
    if (!S_ISREG(st.st_mode)) return Changed(O::Unreadable, NotAMissionFile(st.st_mode), written);
    if (!HoldLock(fd.get())) return Changed(O::Unwritten, kBeingChanged + std::string("; nothing was written"), written);
    ReadResult read = ReadFirstBytes([&](std::uint8_t* data, std::size_t size) { return ReadFully(fd.get(), data, size, 0); });
    if (!read.ok) return Changed(O::Unreadable, read.error, written);
    if (!change(read.bytes, fd.get())) return Changed(O::Left, "", written);
    if (const std::string replaced = Replaced(path, fd.get()); !replaced.empty())
        return Changed(O::Unwritten, replaced + "; nothing was written", written);
    const OldContent old = KeepOldContent(fd.get());
    bool wroteAny = false;
    if (const std::string failure = WriteAndSync(fd.get(), read.bytes, writer, wroteAny); !failure.empty())
        return Changed(O::Unwritten, failure + Recover(fd, path, false, old, wroteAny), written);
    if (::close(fd.release()) != 0) return Changed(O::Unwritten, LowerFirst(ErrorText(errno)), written);
    return Changed(O::Written, "", written);
}

int EffectiveAccess(const char* path, int mode) {
    return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS) == 0 ? 0 : errno;
}

std::string WriteRefusal(const std::filesystem::path& path, bool folderToo, AccessCheck access) {
    if (const std::string refusal = RefusalOfPath(path); !refusal.empty()) return refusal;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const int file = access(path.c_str(), W_OK);
    if (file != 0 && file != ENOENT) return LowerFirst(ErrorText(file));
    if (file == ENOENT || folderToo)
        if (const int err = access(folder.c_str(), W_OK | X_OK); err != 0)
            return "its folder " + folder.string() + ": " + LowerFirst(ErrorText(err));
    return "";
}

SavePath BuildSavePath(const std::string& startDir, std::string_view typedName) {
    SavePath result;
    std::string shown;
    shown.append(1, '"').append(typedName).append(1, '"');
    auto refuse = [&](const std::string& why) {
        result.error = "Cannot save under the name " + shown + ": " + why + ". No file was written.";
        return result;
    };
    const std::string fileName = std::string(typedName) + ".msn";
    for (const char ch : typedName) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '/' || c == '\\')
            return refuse("a file name cannot hold / or \\; missions are always saved in " + startDir);
        if (c < 0x20 || c == 0x7F) return refuse("it holds a control character");
        if (std::string_view("<>:\"|?*").find(ch) != std::string_view::npos)
            return refuse("it holds one of < > : \" | ? *, which Windows does not allow in file names");
    }
    // Names Windows keeps for its devices, whatever follows them after a dot.
    std::string device(typedName.substr(0, typedName.find('.')));
    for (char& c : device) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    const bool numbered = device.size() == 4 && (device.starts_with("COM") || device.starts_with("LPT")) &&
                          device[3] >= '1' && device[3] <= '9';
    if (numbered || std::find(std::begin(kDevices), std::end(kDevices), device) != std::end(kDevices))
        return refuse(device + " is a name Windows keeps for a device");
    constexpr std::size_t kNameMax = 255;  // bytes in one file name on common file systems
    if (fileName.size() > kNameMax)
        return refuse("the file name would be " + std::to_string(fileName.size()) + " bytes long; at most " +
                      std::to_string(kNameMax) + " are allowed");
    result.path = startDir + "/" + fileName;
    result.ok = true;
    return result;
}

}  // namespace kestrane
