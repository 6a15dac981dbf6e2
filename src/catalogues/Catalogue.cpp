#include "catalogues/Catalogue.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <system_error>

#include "mission/Charset.h"

namespace kestrane {


std::vector<std::size_t> LineStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    if (text.empty()) return starts;
    // Room for the most lines the text can hold; pages not written to cost nothing.
    starts.reserve(1 + static_cast<std::size_t>(std::count_if(text.begin(), text.end(),
                                                              [](char c) { return c == '\n' || c == '\r'; })));
    starts.push_back(0);
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r') continue;
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        if (i + 1 < n) starts.push_back(i + 1);
    }
    return starts;
}

std::string_view LineAt(std::string_view text, std::size_t start) {
    const std::string_view rest = text.substr(start);
    return rest.substr(0, rest.find_first_of("\r\n"));
}

CatalogueFile ParseCatalogue(std::string bytes) {
    CatalogueFile result;
    // UTF-8 text keeps its buffer; only Windows-1252 text is converted.
    if (!IsValidUtf8(bytes)) bytes = Cp1252ToUtf8(bytes);
    else if (std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF") bytes.erase(0, 3);
    result.text = std::move(bytes);
    result.starts = LineStarts(result.text);
    for (std::size_t i = 0; i < result.starts.size(); ++i) {
        const std::string_view line = result.line(i);
        if (line.size() <= result.longest) continue;  // cannot hold more characters than bytes
        result.longest = std::max<std::size_t>(result.longest, std::ranges::count_if(line, [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    }
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
