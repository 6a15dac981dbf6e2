// Any text in a number box: reading never fails and gives the same result
// each time, and the shortest text of what it reads reads back the same; a
// box either takes a whole number in its range, the nearest to what it
// reads, or refuses with a message that names it and leaves the image
// unchanged; and a whole decimal number in range, however it is spaced or
// zero-padded, reads back as itself.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "editors/NumberReading.h"
#include "editors/Settings.h"

namespace {

// The value of a text that holds only an optional sign, decimal digits and
// the blanks, tabs and line feeds the reading ignores; above 2^32 is
// clamped to 2^32. Nothing when the text holds anything else.
std::optional<std::uint64_t> PlainWholeNumber(std::string_view text, bool& negative) {
    negative = false;
    bool sign = false, digits = false;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        if ((c == '+' || c == '-') && !sign && !digits) {
            sign = true;
            negative = c == '-';
            continue;
        }
        if (c < '0' || c > '9') return std::nullopt;
        digits = true;
        value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(c - '0'), 0x100000000ull);
    }
    if (!digits) return std::nullopt;
    return value;
}

// Checks one box: its reading of the text, and the image after storing it.
void CheckBox(const kestrane::NumberSetting& setting, std::string_view text, double read) {
    const kestrane::NumberResult number = kestrane::ReadWholeNumber(setting.caption, text, setting.max);
    if (number.value.has_value() == !number.error.empty()) std::abort();
    if (number.value) {
        if (*number.value > setting.max || std::fabs(static_cast<double>(*number.value) - read) > 0.5) std::abort();
    } else {
        if (number.error.rfind(std::string(setting.caption) + ": ", 0) != 0) std::abort();
        if (!std::isinf(read) && std::nearbyint(read) >= 0 && std::nearbyint(read) <= setting.max) std::abort();
    }

    kestrane::MissionImage image;
    image.MakeNew();
    const kestrane::MissionBytes before = image.Bytes();
    const kestrane::Edit edit = kestrane::StoreNumber(image, setting, text);
    if (edit.stored != number.value.has_value()) std::abort();
    if (!edit.stored) {
        if (image.Bytes() != before || edit.message != number.error) std::abort();
        return;
    }
    const kestrane::Field& field = *setting.field;
    const std::uint32_t stored = field.width == 1 ? image.U8(field.offset) : image.U32(field.offset);
    if (stored != *number.value) std::abort();
    for (int i = 0; i < kestrane::kMissionSize; ++i)
        if (!field.Holds(i) && image.U8(i) != before[static_cast<std::size_t>(i)]) std::abort();
}

void CheckWhole(std::string_view text, std::uint64_t expected, bool negative) {
    for (const kestrane::NumberSetting* setting : {&kestrane::kAttackPrimaryAltitude, &kestrane::kAircraftCount}) {
        const kestrane::NumberResult number = kestrane::ReadWholeNumber(setting->caption, text, setting->max);
        const bool inRange = expected <= setting->max && (!negative || expected == 0);
        if (number.value.has_value() != inRange) std::abort();
        if (inRange && *number.value != expected) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double v = kestrane::ReadNumber(text);
    if (std::isnan(v)) std::abort();
    if (kestrane::ReadNumber(text) != v) std::abort();  // the rule is a pure function
    if (!std::isinf(v) && kestrane::ReadNumber(kestrane::NumberText(v)) != v) std::abort();  // shown as it reads

    CheckBox(kestrane::kAttackPrimaryAltitude, text, v);
    CheckBox(kestrane::kAircraftCount, text, v);

    bool negative = false;
    if (const auto plain = PlainWholeNumber(text, negative)) CheckWhole(text, *plain, negative);

    // A number made from the input's first bytes, written plainly, with
    // leading zeros and with blanks between its digits, reads as itself.
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < size && i < 4; ++i) n = n << 8 | data[i];
    const std::string decimal = std::to_string(n);
    std::string spaced;
    for (const char c : decimal) (spaced += c) += (n & 1) ? ' ' : '\t';
    for (const std::string& written : {decimal, "000" + decimal, "+" + decimal, " " + spaced})
        CheckWhole(written, n, false);
    return 0;
}
