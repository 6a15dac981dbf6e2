#pragma once
// Reading the first 400 bytes of a mission file, and writing 400 bytes in
// place at the start of a file without truncating it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <ctime>
#include <sys/types.h>

#include "mission/MissionImage.h"

namespace kestrane {

// A file time as nanoseconds since the epoch, as ReadResult and folder
// listings give it.
inline constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
inline std::int64_t NanosecondsOf(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

struct ReadResult {
    bool ok = false;
    MissionBytes bytes{};
    // Why the read failed, as the end of a sentence ("does not exist").
    std::string error;
    // The file's size and when it was last written (nanoseconds since the
    // epoch), when it could be looked at.
    std::uint64_t size = 0;
    std::int64_t modified = 0;
};

// Reads exactly the first 400 bytes of a regular file, or says why not.
// Nothing is returned from a file that is shorter.
ReadResult ReadMission(const std::filesystem::path& path);
// The same for a file named relative to a folder open as folderFd, as
// openat takes it (AT_FDCWD: the current folder).
ReadResult ReadMissionAt(int folderFd, const char* name);
// Reads the first 400 bytes from an open descriptor, such as standard input:
// from where it stands, until 400 bytes or its end. A pipe or a device is
// read like a file; a folder is refused.
ReadResult ReadMissionFrom(int fd);

// The single write of the 400 bytes into an open file. The system's pwrite by
// default; a test double stands in for a disk that fails part-way.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual ssize_t Write(int fd, const void* data, std::size_t size, off_t offset) const;
};

struct WriteResult {
    bool ok = false;
    std::string error;  // the system's reason, and what became of the file
    // The file the bytes went to: the path itself, or where a link at the
    // path leads.
    std::filesystem::path written;
};

// Writes the 400 bytes at offset 0 of the file, creating it when missing and
// keeping any bytes after offset 399. A link is followed to the file it leads
// to. Like a change in place, it holds the file's lock while it writes (see
// ChangeMissionInPlace), so it never writes in the middle of another's change. A path that is not a plain file (a folder, device or pipe, or a link
// that leads nowhere) is refused before anything is written. When the write
// fails, the file is put back as it was (a created file is removed), so it is
// never left half old, half new, and the error ends with what became of it:
// "nothing was written", "the old bytes are back", "no file was made", or,
// only when old bytes could not be kept or put back, that it may be damaged.
WriteResult WriteMissionInPlace(const std::filesystem::path& path, const MissionBytes& bytes,
                                const FileWriter& writer = FileWriter());

// A change to a mission's 400 bytes as read from its file. It returns true
// to have the changed bytes written, false to leave the file as it is. fd is
// the file as opened, so that a copy made meanwhile is of the very file that
// is changed.
using MissionChange = std::function<bool(MissionBytes& bytes, int fd)>;

struct ChangeResult {
    enum class Outcome {
        Written,     // the changed bytes are in the file
        Left,        // the change asked for no write; nothing was written
        Unreadable,  // error as ReadResult's ("does not exist"); nothing was written
        Unwritten,   // error as WriteResult's, ending with what became of the file
    };
    Outcome outcome = Outcome::Unwritten;
    std::string error;
    std::filesystem::path written;  // as WriteResult's
};

// Reads, changes and writes back a mission file, opened once: read and
// written through one descriptor (a link is followed), under an exclusive
// advisory lock (flock) held from before the read until after the write, so
// that two changes of one file run one after the other and neither is lost.
// The lock is waited for about two seconds, then the file is refused as
// being changed by another program. Only a plain file is read. Before the
// write, the path must still name the file that was read: a mission another
// program put in its place meanwhile is not written over. The write puts
// the old bytes back when it fails, as WriteMissionInPlace's does.
ChangeResult ChangeMissionInPlace(const std::filesystem::path& path, const MissionChange& change,
                                  const FileWriter& writer = FileWriter());

// Whether a write in place to the path would be refused, said before
// trying: not a plain file, or not writable by this process (the folder
// too, for a file that would be made there, and when folderToo asks for
// it, as a backup beside the file does). Empty when nothing refuses it.
// access stands for faccessat(..., AT_EACCESS) and returns 0 or an errno.
using AccessCheck = int (*)(const char* path, int mode);
int EffectiveAccess(const char* path, int mode);
std::string WriteRefusal(const std::filesystem::path& path, bool folderToo, AccessCheck access = EffectiveAccess);

struct SavePath {
    bool ok = false;
    std::filesystem::path path;
    std::string error;  // a sentence for the status line when refused
};

// The file a save writes: the start folder, the typed name and ".msn". The
// name must stay inside the folder and be a name Windows accepts too, since
// mission files travel to the game.
SavePath BuildSavePath(const std::string& startDir, std::string_view typedName);

}  // namespace kestrane
