#include <gtest/gtest.h>

#include <limits>

#include "editors/NumberReading.h"

namespace kestrane {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumberReading, ReadsTheLeadingNumberSkippingBlanksWithExponentsHexAndOctal) {
    const struct { std::string text; double value; } cases[] = {
        {"    1615 198th Street N.E.", 1615198}, {" 2 45 7", 2457}, {"24 and 57", 24}, {"\t1\n2", 12}, {"1\r2", 1},
        {"", 0}, {"   ", 0}, {"abc", 0}, {"$100", 0}, {"+", 0}, {"-", 0}, {"- 5", -5}, {"+1", 1}, {"12%", 12},
        {"1,500", 1}, {"000123", 123}, {"4294967295", 4294967295.0}, {"1. 1", 1.1}, {".1", 0.1}, {"5.", 5},
        {"1..1", 1}, {"1.1.1", 1.1}, {"nan", 0}, {"inf", 0}, {std::string(100'000, '0') + "7", 7}, {"-&H1", 0},
        // Exponents: E or D, a sign, blanks anywhere; reading stops where the number cannot go on.
        {"1.5E3", 1500}, {"-1e20", -1e20}, {"1e-3", 0.001}, {"1.1e +3", 1100}, {"1e+1+", 10}, {"1eA", 1}, {"1e", 1},
        {"1e+", 1}, {"1D2", 100}, {"1d2", 100}, {"0e999999", 0}, {"1e-999", 0}, {"0." + std::string(500, '0') + "1e502", 10},
        // &H and &O: 16-bit signed when the value fits 16 bits, else 32-bit signed.
        {"&HFFFF", -1}, {"&H7FFF", 32767}, {"&H8000", -32768}, {"&H10000", 65536}, {"&HFFFFFFFF", -1},
        {"&hff", 255}, {"&H F", 15}, {"&H000000001", 1}, {"&H12G4", 18}, {"&O177", 127}, {"&o377", 255},
        {"&O 7", 7}, {"&O177777", -1}, {"&O37777777777", -1}, {"&O8", 0}, {"&", 0}, {"&X12", 0}, {"&H", 0},
        // Too large for a double, or wider than 32 bits: an infinity of the sign.
        {"123456e789", kInf}, {"1e309", kInf}, {std::string(500, '9'), kInf}, {"1e99999999999999999999", kInf},
        {"&H100000000", kInf}, {"&O40000000000", kInf}, {"&H" + std::string(40, 'F'), kInf}, {"-9e9999", -kInf}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.value) << '"' << c.text << '"';
}

// Bit for bit: near 0 a few ULPs cover whole subnormals.
TEST(NumberReading, SubnormalsAndEdgesAreCorrectlyRounded) {
    const struct { std::string text; double value; } cases[] = {
        {"3e-324", 0x1p-1074}, {"2e-324", 0}, {"1e-320", 0x0.00000000007e8p-1022}, {"-1.5e-323", -0x3p-1074},
        {"2.2250738585072011e-308", 0x0.fffffffffffffp-1022}, {"1.7976931348623158e308", 0x1.fffffffffffffp+1023},
        {"1.7976931348623159e308", kInf}, {"0.30000000000000004", 0x1.3333333333334p-2}, {"9007199254740993", 0x1p+53}};
    for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text), c.value) << '"' << c.text << '"';
}

// The shortest text that reads back, laid out as std::to_chars lays it out.
TEST(NumberReading, NumberTextIsTheShortestThatReadsBack) {
    const struct { double value; std::string text; } cases[] = {
        {0.5, "0.5"}, {-0.6, "-0.6"}, {300, "300"}, {70000, "70000"}, {100000, "1e+05"}, {123456789, "123456789"},
        {-0.0001, "-1e-04"}, {0.1 + 0.2, "0.30000000000000004"}, {0x1p-1074, "5e-324"}, {-0.0, "-0"},
        // A power of two: the next double down is nearer than the next up.
        {0x1p-1017, "7.120236347223045e-307"},
        // A whole number written exactly rather than padded with zeros.
        {0x1.fffffffffffffp+55, "72057594037927928"}};
    for (const auto& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.text;
}

TEST(NumberReading, WholeNumbersRoundHalfToEvenAndStayInRange) {
    constexpr std::uint32_t kMax = 0xFFFFFFFF;
    const struct { double value; std::uint32_t max; std::optional<std::uint32_t> whole; } cases[] = {
        {2.5, 255, 2}, {3.5, 255, 4}, {0.5, 255, 0}, {255.4, 255, 255}, {255.5, 255, {}}, {-0.4, 255, 0},
        {-0.5, 255, 0}, {-0.6, 255, {}}, {256, 255, {}}, {4294967295.0, kMax, kMax}, {4294967294.5, kMax, 4294967294},
        {4294967295.5, kMax, {}}, {255.6, kMax, 256}, {kInf, kMax, {}}, {-kInf, kMax, {}},
        {std::numeric_limits<double>::quiet_NaN(), kMax, {}}};
    for (const auto& c : cases) EXPECT_EQ(ToWholeInRange(c.value, c.max), c.whole) << c.value;
}

}  // namespace kestrane
