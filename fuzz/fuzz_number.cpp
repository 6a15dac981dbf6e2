// Any text in a number box: reading never fails, and a value the field
// accepts decodes back from the image to the same number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editors/Conversions.h"
#include "editors/NumberReading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double v = kestrane::ReadNumber(text);
    if (std::isnan(v)) std::abort();
    if (kestrane::ReadNumber(text) != v && !(std::isnan(v))) std::abort();  // the rule is a pure function

    static kestrane::Grid grid;
    const auto whole = kestrane::ToWholeInRange(v, 0xFFFFFFFFu);
    if (whole) {
        if (std::fabs(static_cast<double>(*whole) - v) > 0.5) std::abort();
        kestrane::WriteU32(grid, 369, *whole);
        if (kestrane::ReadU32(grid, 369) != *whole) std::abort();
    }
    const auto count = kestrane::ToWholeInRange(v, 255);
    if (count && (!whole || *count != *whole)) std::abort();
    return 0;
}
