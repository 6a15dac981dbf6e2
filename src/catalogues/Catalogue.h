#pragma once
// The plain-text catalogue files: one entry per line, read once at start-up.

#include <cstdint>
#include <filesystem>
#include <future>
#include <string>
#include <string_view>
#include <vector>

namespace kestrane {

inline constexpr std::string_view kPlanesFile = "planes.txt";
inline constexpr std::string_view kTargetsFile = "targets.txt";
inline constexpr std::string_view kBlocksFile = "blocks.txt";

// A catalogue's text as one UTF-8 buffer with the start of each line in it,
// as a 32-bit offset: a large file costs two allocations and one pass over
// its bytes. LF, CRLF and CR each end a line; a last line without an end
// still counts. A text of 4 GiB or more is refused as too large.
struct CatalogueFile {
    std::string text;
    std::vector<std::uint32_t> starts;
    bool read = false;
    std::size_t longest = 0;  // characters in the longest line
    std::string error;  // why it could not be read, when read is false

    std::size_t Count() const { return starts.size(); }
    // Line n, for n below Count().
    std::string_view Line(std::size_t n) const;
};

// The catalogues that name aircraft and places; null when not read.
struct NameLists {
    const CatalogueFile* planes = nullptr;
    const CatalogueFile* places = nullptr;
};

// The catalogues of a folder, read once: the window's lists and block
// descriptions, the names its missions window decodes rows with, and the
// names kestrane-msn prints and takes all come from one of these.
struct Catalogues {
    std::filesystem::path dir;
    CatalogueFile planes;
    CatalogueFile targets;
    CatalogueFile blocks;
    NameLists Lists() const { return {planes.read ? &planes : nullptr, targets.read ? &targets : nullptr}; }
};
Catalogues ReadCatalogues(const std::filesystem::path& dir);
// The same on a thread of its own, so that a program can start up its
// window system meanwhile; the future's get() waits for the reading.
std::future<Catalogues> ReadCataloguesMeanwhile(std::filesystem::path dir);

// A catalogue from its bytes: UTF-8 (a byte-order mark is dropped) when the
// bytes are valid UTF-8, Windows-1252 otherwise, split into lines.
CatalogueFile ParseCatalogue(std::string bytes);
CatalogueFile ReadCatalogue(const std::filesystem::path& path);

// The most characters of an entry that a list item or label shows: a line
// longer than anyone reads (a binary file saved as a catalogue, say) would
// otherwise cost the window seconds to measure and draw.
inline constexpr std::size_t kShownCharacters = 256;

// A line cut to kShownCharacters characters, with an ellipsis when cut.
std::string ShownText(std::string_view line);
// A pick-list item: a blank, the entry's position, a colon and the line, cut
// to kShownCharacters characters with an ellipsis.
std::string CatalogueItem(std::size_t position, std::string_view line);

}  // namespace kestrane
