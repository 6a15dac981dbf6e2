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
