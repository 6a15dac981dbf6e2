// Any bytes and line ends as a catalogue: the text is valid UTF-8; it is
// the bytes themselves (less a byte-order mark) when they are UTF-8, and
// each byte as its Windows-1252 character otherwise; its lines are those of
// a plain split of the bytes on LF, CRLF and CR; and
// every pick-list item is valid UTF-8, " n:" and its line, or the start of a
// long line cut at a character with an ellipsis after it.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catalogues/Catalogue.h"
#include "mission/Charset.h"

namespace {

// The lines of a text, split one character at a time; a last line without
// a line end counts, an empty text has none.
std::vector<std::string_view> PlainSplit(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kestrane::CatalogueFile file = kestrane::ParseCatalogue(std::string(bytes));
    if (!file.read || !file.error.empty()) std::abort();
    if (!kestrane::IsValidUtf8(file.text)) std::abort();

    const bool utf8 = kestrane::IsValidUtf8(bytes);
    if (utf8 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (utf8 ? file.text != bytes : file.text != kestrane::Cp1252ToUtf8(bytes)) std::abort();
    if (!utf8 && kestrane::DecodeUtf8(file.text)->size() != bytes.size()) std::abort();

    // Line ends are single bytes in both encodings, so the bytes split into
    // as many lines as the text, each line decoding to the text's.
    const std::vector<std::string_view> raw = PlainSplit(bytes);
    if (file.Count() != raw.size()) std::abort();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const std::string_view line = file.Line(i);
        if (utf8 ? line != raw[i] : line != kestrane::Cp1252ToUtf8(raw[i])) std::abort();

        const std::string item = kestrane::CatalogueItem(i, line);
        if (item.size() < 3 || item[0] != ' ') std::abort();
        std::size_t number = 0;
        const auto [ptr, ec] = std::from_chars(item.data() + 1, item.data() + item.size(), number);
        if (ec != std::errc{} || number != i || ptr == item.data() + item.size() || *ptr != ':') std::abort();
        if (!kestrane::IsValidUtf8(item)) std::abort();
        std::string_view shown = std::string_view(item).substr(static_cast<std::size_t>(ptr + 1 - item.data()));
        if (shown == line) continue;
        constexpr std::string_view kEllipsis = "\u2026";
        if (!shown.ends_with(kEllipsis)) std::abort();
        shown.remove_suffix(kEllipsis.size());
        if (shown.size() >= line.size() || !line.starts_with(shown)) std::abort();
    }
    return 0;
}
