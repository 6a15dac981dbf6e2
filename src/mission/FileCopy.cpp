#include "mission/FileCopy.h"
#include "mission/ErrorText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace kestrane {

namespace {

std::string Reason(int err) {
    std::string text = ErrorText(err);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

// Copies [from, until) of one stretch of data, in chunks.
std::string CopyStretch(int in, int out, off_t at, off_t until, std::vector<char>& chunk) {
    while (at < until) {
        const auto want = static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(chunk.size()), until - at));
        const ssize_t n = ::pread(in, chunk.data(), want, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return "it could not be read: " + Reason(errno);
        if (n == 0) return "it became shorter while it was copied";
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::pwrite(out, chunk.data() + done, static_cast<std::size_t>(n - done), at + done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return Reason(w < 0 ? errno : ENOSPC);
            done += w;
        }
        at += n;
    }
    return "";
}

// Where the next stretch of data starts at or after an offset, and where
// the hole after it starts. A system that cannot tell data from holes has
// data everywhere.
off_t NextData(int fd, off_t at) {
#ifdef SEEK_DATA
    return ::lseek(fd, at, SEEK_DATA);
#else
    (void)fd;
    return at;
#endif
}
off_t NextHole(int fd, off_t at) {
#ifdef SEEK_HOLE
    return ::lseek(fd, at, SEEK_HOLE);
#else
    (void)fd;
    (void)at;
    return -1;
#endif
}

}  // namespace

std::string CopyFileData(int from, off_t size, int to) {
    std::vector<char> chunk(1 << 16);
    for (off_t at = 0; at < size;) {
        off_t data = NextData(from, at);
        if (data < 0 && errno == ENXIO) break;  // only a hole to the end
        if (data < 0) data = at;
        if (data >= size) break;
        off_t hole = NextHole(from, data);
        hole = hole <= data ? size : std::min(hole, size);
        if (std::string why = CopyStretch(from, to, data, hole, chunk); !why.empty()) return why;
        at = hole;
    }
    if (::ftruncate(to, size) != 0) return Reason(errno);
    return "";
}

}  // namespace kestrane
