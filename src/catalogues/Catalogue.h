#pragma once
// The plain-text catalogue files: one entry per line, read once at start-up.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrane {

inline constexpr std::string_view kPlanesFile = "planes.txt";
inline constexpr std::string_view kTargetsFile = "targets.txt";
inline constexpr std::string_view kBlocksFile = "blocks.txt";

struct CatalogueFile {
    std::vector<std::string> lines;  // UTF-8, in file order
    bool read = false;
    std::string error;  // why it could not be read, when read is false
};

// The text of a catalogue as UTF-8: UTF-8 (a byte-order mark is dropped)
// when the bytes are valid UTF-8, Windows-1252 otherwise.
std::string DecodeCatalogueText(std::string_view bytes);
// LF, CRLF and CR each end a line; a last line without an end still counts.
std::vector<std::string> SplitLines(std::string_view text);

CatalogueFile ReadCatalogue(const std::filesystem::path& path);

// A pick-list item: a blank, the entry's position, a colon and the line.
std::string CatalogueItem(std::size_t position, std::string_view line);

bool IsValidUtf8(std::string_view bytes);

}  // namespace kestrane
