#include "editors/Conversions.h"

#include <charconv>
#include <cmath>

#include "editors/NumberReading.h"
#include "mission/Cp1252.h"

namespace kestrane {

NameResult EncodeName(std::string_view text) {
    NameResult result;
    const auto chars = DecodeUtf8(text);
    if (!chars) {
        result.error = "The mission name is not readable text; nothing was stored.";
        return result;
    }
    if (chars->size() > kNameLength) {
        result.error = "The mission name has " + std::to_string(chars->size()) +
                       " characters; a mission file holds at most 24. Nothing was stored.";
        return result;
    }
    NameBytes bytes{};
    for (std::size_t i = 0; i < chars->size(); ++i) {
        const char32_t cp = (*chars)[i];
        if (cp == kNullPlaceholder) {
            bytes[i] = 0;
            continue;
        }
        const auto code = UnicodeToCp1252(cp);
        if (!code) {
            std::string shown;
            AppendUtf8(shown, cp);
            result.error = "The mission name holds \"" + shown +
                           "\", which a mission file cannot store (Windows-1252 characters only). Nothing was stored.";
            return result;
        }
        bytes[i] = *code;
    }
    result.bytes = bytes;
    return result;
}

std::string DisplayName(const NameBytes& bytes) {
    std::size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == 0) --end;
    std::string text;
    for (std::size_t i = 0; i < end; ++i)
        AppendUtf8(text, bytes[i] == 0 ? kNullPlaceholder : Cp1252ToUnicode(bytes[i]));
    return text;
}

namespace {
std::string ShortNumber(double v) {
    char buf[32];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    return std::string(buf, ptr);
}
}  // namespace

NumberResult ReadWholeNumber(std::string_view caption, std::string_view text, std::uint32_t max) {
    NumberResult result;
    const double v = ReadNumber(text);
    result.value = ToWholeInRange(v, max);
    if (result.value) return result;
    std::string reads;
    if (std::isinf(v)) reads = v > 0 ? "is too large" : "is too far below 0";
    else if (v < 0) reads = "reads as " + ShortNumber(v) + ", below 0";
    else reads = "reads as " + ShortNumber(v) + ", above " + std::to_string(max);
    result.error = std::string(caption) + ": \"" + std::string(text) + "\" " + reads +
                   "; enter a whole number from 0 to " + std::to_string(max) + ". Nothing was stored.";
    return result;
}

void WriteU32(Grid& grid, int firstRow, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) grid.SetByte(firstRow + k, static_cast<std::uint8_t>((value >> (8 * k)) & 0xFFu));
}

void WriteU16(Grid& grid, int firstRow, std::uint32_t value) {
    grid.SetByte(firstRow, static_cast<std::uint8_t>(value % 256));
    grid.SetByte(firstRow + 1, static_cast<std::uint8_t>(value / 256));
}

std::uint32_t ReadU32(const Grid& grid, int firstRow) {
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k) value = value * 256u + grid.Byte(firstRow + k).value_or(0);
    return value;
}

}  // namespace kestrane
