#include "mission/MissionFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrane {

namespace {

std::string Reason(int err) { return std::strerror(err); }

std::string NotPlainFile(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISFIFO(mode)) return "it is a pipe, not a plain file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a plain file";
    return "it is not a plain file";
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

ReadResult ReadMission(const std::filesystem::path& path) {
    ReadResult result;
    // Non-blocking so that choosing a pipe cannot hang the window; it has no
    // effect on a regular file.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        const int err = errno;
        result.error = err == ENOENT ? "does not exist" : "cannot be opened: " + LowerFirst(Reason(err));
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        result.error = "cannot be read: " + LowerFirst(Reason(errno));
        return result;
    }
    if (S_ISDIR(st.st_mode)) {
        result.error = "is a folder, not a mission file";
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = "is not a regular file";
        return result;
    }
    const ssize_t n = ReadFully(fd.get(), result.bytes.data(), result.bytes.size(), 0);
    if (n < 0) {
        result.error = "cannot be read: " + LowerFirst(Reason(errno));
        return result;
    }
    if (n < kMissionSize) {
        result.bytes = {};
        result.error = "is only " + std::to_string(n) + (n == 1 ? " byte" : " bytes") +
                       " long; a mission file has 400";
        return result;
    }
    result.ok = true;
    return result;
}

ssize_t FileWriter::Write(int fd, const void* data, std::size_t size, off_t offset) const {
    return ::pwrite(fd, data, size, offset);
}

WriteResult WriteMissionInPlace(const std::filesystem::path& path, const MissionBytes& bytes, const FileWriter& writer) {
    WriteResult result;

    // Only a plain file, or a new one, is written: a device or pipe would
    // take the bytes without storing them.
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0) {
        if (!S_ISREG(target.st_mode)) {
            result.error = NotPlainFile(target.st_mode) + "; nothing was written";
            return result;
        }
    } else if (errno == ENOENT && ::lstat(path.c_str(), &target) == 0) {
        result.error = "it is a link to a file that does not exist; nothing was written";
        return result;
    }
    result.written = path;
    if (std::error_code ec; std::filesystem::is_symlink(path, ec)) {
        const std::filesystem::path real = std::filesystem::weakly_canonical(path, ec);
        if (!ec) result.written = real;
    }

    bool created = false;
    bool readable = true;
    int raw = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (raw < 0 && errno == ENOENT) {
        raw = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = raw >= 0;
        readable = false;
    } else if (raw < 0 && errno == EACCES) {
        // A file we may write but not read: no copy of its old bytes.
        raw = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        readable = false;
    }
    if (raw < 0) {
        result.error = LowerFirst(Reason(errno)) + "; nothing was written";
        return result;
    }
    Fd fd(raw);
    // The path may have changed between the look and the open.
    if (struct stat opened {}; ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
        result.error = NotPlainFile(opened.st_mode) + "; nothing was written";
        return result;
    }

    // Keep the old first bytes so that a failed write can be undone.
    MissionBytes old{};
    ssize_t oldLength = -1;
    off_t oldSize = 0;
    struct stat st {};
    if (!created && readable && ::fstat(fd.get(), &st) == 0) {
        oldSize = st.st_size;
        oldLength = ReadFully(fd.get(), old.data(), old.size(), 0);
    }

    // Puts the file back after a failed write; written says whether the
    // write reported bytes written.
    auto undo = [&](bool written) -> std::string {
        if (created) {
            ::close(fd.release());
            ::unlink(path.c_str());
            return "; no file was made";
        }
        // Without a copy of the old bytes, only a write that reported none
        // written can be said to have left the file as it was.
        if (oldLength < 0) return written ? "; the file may be damaged" : "; the file was left as it was";
        const ssize_t back = oldLength == 0 ? 0 : ::pwrite(fd.get(), old.data(), static_cast<std::size_t>(oldLength), 0);
        if (back != oldLength) return "; the file could not be put back as it was";
        if (oldSize < kMissionSize && ::ftruncate(fd.get(), oldSize) != 0)
            return "; the file could not be put back to its old length";
        return "; the file was left as it was";
    };

    errno = 0;
    const ssize_t n = writer.Write(fd.get(), bytes.data(), bytes.size(), 0);
    if (n != static_cast<ssize_t>(bytes.size())) {
        const int err = errno;
        std::string why = n < 0 ? LowerFirst(Reason(err))
                                : "only " + std::to_string(n) + " of 400 bytes could be written";
        result.error = why + undo(n > 0);
        return result;
    }
    // fsync surfaces late failures (a full disk on some file systems); it is
    // not supported on devices and pipes, which is no failure.
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP) {
        const int err = errno;
        result.error = LowerFirst(Reason(err)) + undo(true);
        return result;
    }
    if (::close(fd.release()) != 0) {
        result.error = LowerFirst(Reason(errno));
        return result;
    }
    result.ok = true;
    return result;
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
    constexpr std::size_t kNameMax = 255;  // bytes in one file name on common file systems
    if (fileName.size() > kNameMax)
        return refuse("the file name would be " + std::to_string(fileName.size()) + " bytes long; at most " +
                      std::to_string(kNameMax) + " are allowed");
    result.path = startDir + "/" + fileName;
    result.ok = true;
    return result;
}

}  // namespace kestrane
