#pragma once
// Which folder the editor starts in: where the catalogues are read and
// missions are saved. It is chosen once at start-up, in this order:
//   1. the current directory, if it holds any of the three catalogues;
//   2. the folder of the mission named on the command line, if it does;
//   3. the game folder remembered from an earlier session, if it does;
//   4. the current directory, with a note that no catalogues were found.
// Started in a game folder, that folder is the start folder.

#include <filesystem>
#include <string>

namespace kestrane {

// Whether a folder holds planes.txt, targets.txt or blocks.txt.
bool HoldsCatalogues(const std::filesystem::path& folder);

// The name a file of a folder given whole (the page's game folder) is held
// under: a catalogue's own name when the file's is that name in any case
// (a folder from Windows, whose names may be in any case), a mission's
// (".msn" in any case) as it is, and empty for any other file.
std::string GameFolderName(const std::string& name);

struct StartFolder {
    std::filesystem::path folder;
    // Whether the catalogues were found there, so that it is the game
    // folder to remember.
    bool isGameFolder = false;
    // A sentence for the status line when no catalogues were found.
    std::string note;
};

// mission and remembered may be empty.
StartFolder ChooseStartFolder(const std::filesystem::path& current, const std::filesystem::path& mission,
                              const std::filesystem::path& remembered);

}  // namespace kestrane
