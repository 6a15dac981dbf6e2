// Any bytes and line ends as a catalogue: the text decodes to valid UTF-8,
// no line holds a line end, and every item's number equals its index.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "catalogues/Catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = kestrane::DecodeCatalogueText(bytes);
    if (!kestrane::IsValidUtf8(text)) std::abort();
    const std::vector<std::string_view> lines = kestrane::SplitLines(text);

    std::size_t ends = 0;
    for (char c : bytes) ends += c == '\n' || c == '\r';
    if (lines.size() > ends + 1) std::abort();

    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find_first_of("\r\n") != std::string_view::npos) std::abort();
        const std::string item = kestrane::CatalogueItem(i, lines[i]);
        if (item.size() < 3 || item[0] != ' ') std::abort();
        std::size_t number = 0;
        const auto [ptr, ec] = std::from_chars(item.data() + 1, item.data() + item.size(), number);
        if (ec != std::errc{} || number != i || *ptr != ':') std::abort();
        if (std::string_view(ptr + 1, static_cast<std::size_t>(item.data() + item.size() - ptr - 1)) != lines[i]) std::abort();
    }
    return 0;
}
