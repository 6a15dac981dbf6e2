#pragma once
// A disk that fails: writes only the first `keep` bytes and reports that
// short count, or (err set) fails with errno `err`.

#include <algorithm>
#include <cerrno>
#include <unistd.h>

#include "mission/MissionFile.h"

namespace kestrane::test {

struct FailingWriter : FileWriter {
    FailingWriter(std::size_t keep, int err) : keep(keep), err(err) {}
    ssize_t Write(int fd, const void* data, std::size_t size, off_t offset) const override {
        const ssize_t n = keep == 0 ? 0 : ::pwrite(fd, data, std::min(keep, size), offset);
        if (err != 0) errno = err;
        return err != 0 ? -1 : n;
    }
    std::size_t keep;
    int err;
};

}  // namespace kestrane::test
