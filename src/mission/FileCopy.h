#pragma once
// Copying a whole file between two open descriptors, the stretches that hold
// data only, so that a sparse file's copy is as sparse and its holes cost no
// time.

#include <string>
#include <sys/types.h>

namespace kestrane {

// Copies the first size bytes of the file open as from into the file open as
// to (at the same offsets, through pread and pwrite), and makes to exactly
// size bytes long. Where the file system cannot tell data from holes, all is
// data. Empty when done, else why not, as the end of a sentence ("it could
// not be read: input/output error", "no space left on device").
std::string CopyFileData(int from, off_t size, int to);

}  // namespace kestrane
