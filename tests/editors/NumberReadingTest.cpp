#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "editors/NumberReading.h"

namespace kestrane {
namespace {

TEST(NumberReading, ClassicVectors) {
    struct Case { const char* text; double value; };
    const Case cases[] = {
        {"    1615 198th Street N.E.", 1615198},
        {" 2 45 7", 2457},
        {"24 and 57", 24},
        {"&HFFFF", -1},
        {"&H7FFF", 32767},
        {"&H8000", -32768},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&H7F", 127}, {"&hff", 255}, {"&H0F0", 240}, {"&H F", 15},
        {"&O177", 127}, {"&o377", 255}, {"&O 7", 7}, {"&O177777", -1},
        {"", 0}, {"   ", 0},
        {"1. 1", 1.1}, {".1", 0.1}, {"1..1", 1}, {"1.1.1", 1.1},
        {"-1", -1}, {"+1", 1}, {"-1e20", -1e20}, {"1e-3", 0.001},
        {"1.1e +3", 1100}, {"1e+1+", 10}, {"1eA", 1},
        {"1e", 1}, {"1e+", 1}, {"1D2", 100}, {"1d2", 100},
        {"1,5", 1}, {"$100", 0}, {"abc", 0}, {"+", 0}, {"-", 0}, {"- 5", -5},
        // The editor's own cases.
        {"2 500", 2500}, {"1.5E3", 1500}, {"12abc", 12}, {"1,500", 1},
        {"\t1\n2", 12}, {"1\r2", 1}, {"12%", 12}, {"0.5", 0.5}, {"000123", 123},
        {"&", 0}, {"&X12", 0}, {"&H", 0}, {"&HG", 0}, {"nan", 0}, {"inf", 0},
        {"0e999999", 0}, {"1e-999", 0}, {"4294967295", 4294967295.0},
        {"&H000000001", 1},  // leading zeros do not count towards the width
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberReading, TooLargeReadsAsInfinity) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ReadNumber("123456e789"), inf);
    EXPECT_EQ(ReadNumber("-1e400"), -inf);
    EXPECT_EQ(ReadNumber("1e99999999999999999999"), inf);
    EXPECT_EQ(ReadNumber("&H100000000"), inf);  // wider than 32 bits
    EXPECT_EQ(ReadNumber("&O40000000000"), inf);
    EXPECT_EQ(ReadNumber("&O37777777777"), -1);
    EXPECT_EQ(ReadNumber(std::string(500, '9')), inf);
    EXPECT_DOUBLE_EQ(ReadNumber("0." + std::string(500, '0') + "1e502"), 10);
}

TEST(NumberReading, WholeNumbersRoundHalfToEvenAndStayInRange) {
    struct Case { double value; std::uint32_t max; std::optional<std::uint32_t> whole; };
    const Case cases[] = {
        {2.5, 255, 2}, {3.5, 255, 4}, {255.4, 255, 255}, {255.5, 255, std::nullopt}, {-0.4, 255, 0},
        {-0.6, 255, std::nullopt}, {256, 255, std::nullopt}, {4294967295.0, 0xFFFFFFFF, 0xFFFFFFFF},
        {4294967295.5, 0xFFFFFFFF, std::nullopt}, {255.6, 0xFFFFFFFF, 256},
        {std::numeric_limits<double>::infinity(), 0xFFFFFFFF, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), 0xFFFFFFFF, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ToWholeInRange(c.value, c.max), c.whole) << c.value;
}

}  // namespace
}  // namespace kestrane
