// Arbitrary bytes as a kept work's text, as a damaged, cut, foreign or
// hostile file in the folder of kept works would hand them over. Reading
// never throws or stops; a text it takes is a whole work, which written
// again reads back as the same work.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/UnsavedWork.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kestrane::WorkReading read = kestrane::ReadWorkText(text);
    if (read.work.has_value() == !read.error.empty()) std::abort();
    if (!read.work) return 0;
    if (read.work->aircraft < -1 || read.work->place < -1) std::abort();
    const kestrane::WorkReading again = kestrane::ReadWorkText(kestrane::WorkText(*read.work));
    if (!again.work || !again.work->SameWork(*read.work) || again.work->savedAt != read.work->savedAt) std::abort();
    return 0;
}
