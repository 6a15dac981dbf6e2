#include "mission/Grid.h"

#include <charconv>

namespace kestrane {

namespace {
// The three byte texts are looked up, not formatted, because loading and
// checksumming touch every row.
const std::array<std::string, 256>& ByteTexts() {
    static const std::array<std::string, 256> texts = [] {
        std::array<std::string, 256> t;
        for (int i = 0; i < 256; ++i) t[i] = std::to_string(i);
        return t;
    }();
    return texts;
}
}  // namespace

Grid::Grid() {
    rowHeight_.fill(kDefaultRowHeight);
    colWidth_.fill(960);
}

std::optional<std::uint8_t> Grid::Byte(int row) const {
    const std::string& text = cells_[index(row, kValueCol)];
    unsigned value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end || value > 255) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

void Grid::SetByte(int row, std::uint8_t value) { cells_[index(row, kValueCol)] = ByteTexts()[value]; }

std::string DecimalText(std::uint64_t value) {
    char buf[24];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    return std::string(buf, ptr);
}

std::string HexText(std::uint64_t value) {
    char buf[24];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, 16);
    (void)ec;
    for (char* p = buf; p != ptr; ++p)
        if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
    return std::string(buf, ptr);
}

}  // namespace kestrane
