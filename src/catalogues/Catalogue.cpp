#include "catalogues/Catalogue.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <system_error>

#include "mission/Charset.h"
#include "mission/ErrorText.h"

namespace kestrane {

namespace {

// True when every byte is below 0x80, tested eight bytes at a time.
bool IsAscii(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::uint64_t any = 0;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        any |= word;
    }
    for (; p < end; ++p) any |= static_cast<unsigned char>(*p);
    return (any & 0x8080808080808080ULL) == 0;
}

// Calls line(start, length) for each line of the text, in order. A text
// without CR (the usual case) is split with memchr; otherwise byte by byte.
template <typename Line>
void ForEachLine(std::string_view text, Line&& line) {
    const std::size_t n = text.size();
    if (n == 0) return;
    const char* const base = text.data();
    if (std::memchr(base, '\r', n) == nullptr) {
        for (std::size_t start = 0; start < n;) {
            const void* found = std::memchr(base + start, '\n', n - start);
            const std::size_t end = found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - base) : n;
            line(start, end - start);
            start = end + 1;
        }
        return;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = base[i];
        if (c != '\n' && c != '\r') continue;
        line(start, i - start);
        if (c == '\r' && i + 1 < n && base[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) line(start, n - start);
}

constexpr std::size_t kLargest = std::numeric_limits<std::uint32_t>::max();

std::size_t Characters(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string_view CatalogueFile::Line(std::size_t n) const {
    const std::string_view rest = std::string_view(text).substr(starts[n]);
    return rest.substr(0, rest.find_first_of("\n\r"));
}

CatalogueFile ParseCatalogue(std::string bytes) {
    CatalogueFile result;
    // UTF-8 text keeps its buffer; only Windows-1252 text is converted.
    // Plain ASCII, the usual catalogue, is UTF-8 with one character a byte.
    const bool ascii = IsAscii(bytes);
    if (!ascii && !IsValidUtf8(bytes)) bytes = Cp1252ToUtf8(bytes);
    else if (std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF") bytes.erase(0, 3);
    if (bytes.size() > kLargest) {
        result.error = "is too large";
        return result;
    }
    result.text = std::move(bytes);
    const std::string_view text = result.text;
    // One pass: the start of each line, and the longest line in characters.
    result.starts.reserve(text.size() / 16 + 1);
    ForEachLine(text, [&](std::size_t start, std::size_t length) {
        result.starts.push_back(static_cast<std::uint32_t>(start));
        if (length <= result.longest) return;  // cannot hold more characters than bytes
        result.longest = ascii ? length : std::max(result.longest, Characters(text.substr(start, length)));
    });
    result.read = true;
    return result;
}

CatalogueFile ReadCatalogue(const std::filesystem::path& path) {
    CatalogueFile result;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        result.error = "was not found";
        return result;
    }
    if (std::filesystem::is_directory(status)) {
        result.error = "is a folder";
        return result;
    }
    // A device or pipe could hand out bytes without end and hang the start.
    if (!std::filesystem::is_regular_file(status)) {
        result.error = "is not a plain file";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = "cannot be opened: " + ErrorText(errno);
        return result;
    }
    // One read of the size the file has; a file that grows meanwhile is read
    // on to its end in blocks.
    std::string bytes;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kLargest) {
        result.error = "is too large";
        return result;
    }
    if (!ec) bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::size_t got = static_cast<std::size_t>(in.gcount());
    while (got == bytes.size() && in && in.peek() != std::char_traits<char>::eof()) {
        bytes.resize(got + 65536);
        in.read(bytes.data() + got, 65536);
        got += static_cast<std::size_t>(in.gcount());
    }
    bytes.resize(got);
    if (in.bad()) {
        result.error = "cannot be read";
        return result;
    }
    return ParseCatalogue(std::move(bytes));
}

Catalogues ReadCatalogues(const std::filesystem::path& dir) {
    return {dir, ReadCatalogue(dir / kPlanesFile), ReadCatalogue(dir / kTargetsFile), ReadCatalogue(dir / kBlocksFile)};
}

std::future<Catalogues> ReadCataloguesMeanwhile(std::filesystem::path dir) {
    return std::async(std::launch::async, [dir = std::move(dir)] { return ReadCatalogues(dir); });
}

std::string ShownText(std::string_view line) {
    // Cut at a character boundary: the text is UTF-8.
    std::size_t cut = 0;
    for (std::size_t chars = 0; cut < line.size(); ++cut)
        if ((static_cast<unsigned char>(line[cut]) & 0xC0) != 0x80 && chars++ == kShownCharacters) break;
    return cut < line.size() ? std::string(line.substr(0, cut)) + "\u2026" : std::string(line);
}

std::string CatalogueItem(std::size_t position, std::string_view line) {
    char number[24];
    const auto end = std::to_chars(number, number + sizeof number, position).ptr;
    std::string item;
    item.reserve(2 + static_cast<std::size_t>(end - number) + line.size());
    item.push_back(' ');
    item.append(number, end);
    item.push_back(':');
    item.append(ShownText(line));
    return item;
}

}  // namespace kestrane
