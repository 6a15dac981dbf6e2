#include "catalogues/Catalogue.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <system_error>

#include "mission/Charset.h"

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

static_assert(std::endian::native == std::endian::little, "a word's first byte is its lowest");

// The high bit of each byte of the word that equals the given byte; exact,
// as no borrow runs from one byte into the next.
std::uint64_t BytesEqual(std::uint64_t word, unsigned char byte) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ (0x0101010101010101ULL * byte);
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Calls line(start, length) for each line of the text, in order, finding
// the LF and CR bytes eight at a time.
template <typename Line>
void ForEachLine(std::string_view text, Line&& line) {
    const char* const base = text.data();
    const std::size_t n = text.size();
    std::size_t start = 0;
    auto end = [&](std::size_t at) {
        // The LF of a CRLF: the CR ended the line already.
        if (base[at] == '\n' && at > 0 && base[at - 1] == '\r') {
            start = at + 1;
            return;
        }
        line(start, at - start);
        start = at + 1;
    };
    std::size_t i = 0;
    for (; n - i >= 8; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, base + i, sizeof word);
        for (std::uint64_t ends = BytesEqual(word, '\n') | BytesEqual(word, '\r'); ends != 0; ends &= ends - 1)
            end(i + static_cast<std::size_t>(std::countr_zero(ends)) / 8);
    }
    for (; i < n; ++i)
        if (base[i] == '\n' || base[i] == '\r') end(i);
    if (start < n) line(start, n - start);
}

// The line that starts at a place, without its end.
std::string_view LineAt(std::string_view text, std::size_t start) {
    const std::string_view rest = text.substr(start);
    return rest.substr(0, std::min(rest.find_first_of("\r\n"), rest.size()));
}

std::size_t Characters(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::ranges::count_if(utf8, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string_view CatalogueFile::line(std::size_t n) const {
    std::size_t start = marks[n / kMarkEvery];
    for (std::size_t skip = n % kMarkEvery; skip > 0; --skip) {
        start += LineAt(text, start).size();
        start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;
    }
    return LineAt(text, start);
}

CatalogueFile ParseCatalogue(std::string bytes) {
    CatalogueFile result;
    // UTF-8 text keeps its buffer; only Windows-1252 text is converted.
    // Plain ASCII, the usual catalogue, is UTF-8 with one character a byte.
    const bool ascii = IsAscii(bytes);
    if (!ascii && !IsValidUtf8(bytes)) bytes = Cp1252ToUtf8(bytes);
    else if (std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF") bytes.erase(0, 3);
    result.text = std::move(bytes);
    const std::string_view text = result.text;
    // One pass: the lines, a mark every kMarkEvery lines, and the longest
    // line in characters.
    result.marks.reserve(text.size() / (16 * CatalogueFile::kMarkEvery) + 1);
    ForEachLine(text, [&](std::size_t start, std::size_t length) {
        if (result.lines++ % CatalogueFile::kMarkEvery == 0) result.marks.push_back(start);
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
        result.error = std::string("cannot be opened: ") + std::strerror(errno);
        return result;
    }
    // One read of the size the file has; a file that grows meanwhile is read
    // on to its end in blocks.
    std::string bytes;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
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

std::string CatalogueItem(std::size_t position, std::string_view line) {
    char number[24];
    const auto end = std::to_chars(number, number + sizeof number, position).ptr;
    std::string item;
    item.reserve(2 + static_cast<std::size_t>(end - number) + line.size());
    item.push_back(' ');
    item.append(number, end);
    item.push_back(':');
    // Cut at a character boundary: the text is UTF-8.
    std::size_t cut = 0;
    for (std::size_t chars = 0; cut < line.size(); ++cut)
        if ((static_cast<unsigned char>(line[cut]) & 0xC0) != 0x80 && chars++ == kShownCharacters) break;
    item.append(line.substr(0, cut));
    if (cut < line.size()) item.append("\u2026");
    return item;
}

}  // namespace kestrane
