#include <gtest/gtest.h>

#include "mission/Charset.h"

namespace kestrane {

TEST(Charset, EveryWindows1252ByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const auto chars = DecodeUtf8(Cp1252ToUtf8(all));
    ASSERT_TRUE(chars && chars->size() == 256);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(UnicodeToCp1252((*chars)[static_cast<std::size_t>(b)]), b) << b;
    // 0x81 is undefined in the code page: the control character of that number.
    EXPECT_EQ(chars->substr(0x80, 2) + chars->substr(0x9F, 1), U"\u20AC\u0081\u0178");
    for (char32_t cp : {U'\u0080', U'\u0100', U'\u2400', U'\U0001F600'}) EXPECT_FALSE(UnicodeToCp1252(cp)) << +cp;
}

TEST(Charset, Utf8ValidatorEdges) {
    using Texts = std::initializer_list<std::string_view>;
    for (std::string_view good : Texts{"", std::string_view("\0", 1), "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80",
                                       "\xED\x9F\xBF", "\xEE\x80\x80", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(IsValidUtf8(good)) << testing::PrintToString(good);
    for (std::string_view bad : Texts{"\x80", "\xBF", "\xC0\x80", "\xC1\xBF", "a\xC3", "\xC3\x28", "\xE2\x82",
                                      "\xE2\x28\xA1", "\xE2\x82\x28", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF",
                                      "\xF0\x90\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(bad);
        EXPECT_FALSE(DecodeUtf8(bad));
    }
}

}  // namespace kestrane
