#include "ui/StartFolder.h"

#include "catalogues/Catalogue.h"
#include "mission/Charset.h"

namespace kestrane {

bool HoldsCatalogues(const std::filesystem::path& folder) {
    std::error_code ec;
    for (const std::string_view name : {kPlanesFile, kTargetsFile, kBlocksFile})
        if (std::filesystem::exists(folder / name, ec)) return true;
    return false;
}

std::string GameFolderName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const std::string_view catalogue : {kPlanesFile, kTargetsFile, kBlocksFile})
        if (folded == catalogue) return std::string(catalogue);
    return folded.ends_with(".msn") ? name : std::string();
}

StartFolder ChooseStartFolder(const std::filesystem::path& current, const std::filesystem::path& mission,
                              const std::filesystem::path& remembered) {
    const std::filesystem::path missionFolder =
        mission.empty() ? std::filesystem::path() : std::filesystem::absolute(mission).parent_path();
    for (const std::filesystem::path& candidate : {current, missionFolder, remembered})
        if (!candidate.empty() && HoldsCatalogues(candidate)) return {candidate, true, {}};
    return {current, false,
            "No catalogues (planes.txt, targets.txt, blocks.txt) were found in " + ReadableText(current.string()) +
                ": choose the game folder with File, Choose game folder."};
}

}  // namespace kestrane
