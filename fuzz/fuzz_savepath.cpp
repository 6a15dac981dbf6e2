// Any text typed as the file name: an accepted name always lands directly
// in the start folder as the typed name plus ".msn".
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mission/MissionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    const std::string startDir = "/missions/start";
    const kestrane::SavePath result = kestrane::BuildSavePath(startDir, typed);
    if (!result.ok) {
        if (result.error.empty()) std::abort();
        return 0;
    }
    if (typed.find('/') != std::string_view::npos || typed.find('\0') != std::string_view::npos) std::abort();
    if (result.path.parent_path() != startDir) std::abort();
    if (result.path.filename().string() != std::string(typed) + ".msn") std::abort();
    if (result.path.filename().string().size() > 255) std::abort();
    return 0;
}
