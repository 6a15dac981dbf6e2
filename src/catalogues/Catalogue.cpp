#include "catalogues/Catalogue.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <system_error>

#include "mission/Cp1252.h"

namespace kestrane {

bool IsValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) { ++p; continue; }
        int extra;
        if (b >= 0xC2 && b <= 0xDF) extra = 1;
        else if (b >= 0xE0 && b <= 0xEF) extra = 2;
        else if (b >= 0xF0 && b <= 0xF4) extra = 3;
        else return false;
        if (end - p <= extra) return false;
        // Second-byte limits rule out overlong forms, surrogates and code
        // points past U+10FFFF.
        const unsigned char b1 = p[1];
        unsigned char lo = 0x80, hi = 0xBF;
        if (b == 0xE0) lo = 0xA0;
        else if (b == 0xED) hi = 0x9F;
        else if (b == 0xF0) lo = 0x90;
        else if (b == 0xF4) hi = 0x8F;
        if (b1 < lo || b1 > hi) return false;
        for (int k = 2; k <= extra; ++k)
            if ((p[k] & 0xC0) != 0x80) return false;
        p += extra + 1;
    }
    return true;
}

namespace {

// Decodes a buffer of its own: UTF-8 text keeps the buffer.
std::string DecodeOwnedText(std::string&& bytes) {
    if (!IsValidUtf8(bytes)) return Cp1252ToUtf8(bytes);
    if (std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF") bytes.erase(0, 3);
    return std::move(bytes);
}

}  // namespace

std::string DecodeCatalogueText(std::string_view bytes) { return DecodeOwnedText(std::string(bytes)); }

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

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start : LineStarts(text)) lines.push_back(LineAt(text, start));
    return lines;
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
    result.text = DecodeOwnedText(std::move(bytes));
    result.starts = LineStarts(result.text);
    result.read = true;
    return result;
}

std::string CatalogueItem(std::size_t position, std::string_view line) {
    char number[24];
    const auto end = std::to_chars(number, number + sizeof number, position).ptr;
    std::string item;
    item.reserve(2 + static_cast<std::size_t>(end - number) + line.size());
    item.push_back(' ');
    item.append(number, end);
    item.push_back(':');
    item.append(line);
    return item;
}

}  // namespace kestrane
