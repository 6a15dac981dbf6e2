#include "catalogues/Catalogue.h"

#include <cerrno>
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

std::string DecodeCatalogueText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    return Cp1252ToUtf8(bytes);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

CatalogueFile ReadCatalogue(const std::filesystem::path& path) {
    CatalogueFile result;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        result.error = "was not found";
        return result;
    }
    if (std::filesystem::is_directory(path, ec)) {
        result.error = "is a folder";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = std::string("cannot be opened: ") + std::strerror(errno);
        return result;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        result.error = "cannot be read";
        return result;
    }
    result.lines = SplitLines(DecodeCatalogueText(bytes));
    result.read = true;
    return result;
}

std::string CatalogueItem(std::size_t position, std::string_view line) {
    std::string item = " " + std::to_string(position) + ":";
    item.append(line);
    return item;
}

}  // namespace kestrane
