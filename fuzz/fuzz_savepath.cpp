// Any text typed as the file name: an accepted name always lands directly
// in the start folder, as the typed name plus ".msn", and never names a
// place outside it; a refusal says why, and only a name that holds a
// character Windows or the folder rule forbids, a name Windows keeps for a
// device, or one too long, is refused.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "mission/MissionFile.h"

namespace {

// A name Windows keeps for a device: CON, PRN, AUX, NUL, COM1-9, LPT1-9, in
// any case, before the first dot.
bool DeviceName(std::string_view typed) {
    std::string stem(typed.substr(0, typed.find('.')));
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) && stem[3] >= '1' && stem[3] <= '9';
}

bool Forbidden(std::string_view typed) {
    for (const char ch : typed) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || std::string_view("/\\<>:\"|?*").find(ch) != std::string_view::npos) return true;
    }
    return DeviceName(typed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    const std::string startDir = "/missions/start";
    const kestrane::SavePath result = kestrane::BuildSavePath(startDir, typed);
    const bool tooLong = typed.size() + 4 > 255;
    if (!result.ok) {
        if (result.error.rfind("Cannot save under the name ", 0) != 0) std::abort();
        if (!Forbidden(typed) && !tooLong) std::abort();
        return 0;
    }
    if (Forbidden(typed) || tooLong) std::abort();
    const std::filesystem::path& path = result.path;
    if (path.parent_path() != startDir) std::abort();
    if (path.filename().string() != std::string(typed) + ".msn") std::abort();
    // Resolving "." and ".." leaves the file in the folder, under its name.
    const std::filesystem::path normal = path.lexically_normal();
    if (normal != path || normal.parent_path() != startDir) std::abort();
    if (std::filesystem::path(startDir).lexically_relative(normal.parent_path()) != ".") std::abort();
    return 0;
}
