#include <gtest/gtest.h>

#include "mission/Cp1252.h"

namespace kestrane {
namespace {

TEST(Cp1252, EveryByteHasOneCharacterAndBack) {
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = Cp1252ToUnicode(static_cast<std::uint8_t>(b));
        EXPECT_EQ(UnicodeToCp1252(cp), static_cast<std::uint8_t>(b)) << b;
    }
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(Cp1252ToUnicode(0x81), U'\u0081');  // undefined in the code page: the control character
    EXPECT_EQ(Cp1252ToUnicode(0xE9), U'\u00E9');
    EXPECT_FALSE(UnicodeToCp1252(U'\u0080'));  // the euro has byte 0x80, not U+0080
    EXPECT_FALSE(UnicodeToCp1252(U'\u03A9'));
    EXPECT_FALSE(UnicodeToCp1252(U'\u2400'));
}

TEST(Cp1252, Utf8DecodingRejectsMalformedText) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE2\x82\xAC"), std::u32string(U"a\u00E9\u20AC"));
    for (const char* bad : {"\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xFF", "\x80"})
        EXPECT_FALSE(DecodeUtf8(bad)) << bad;
    std::string out;
    AppendUtf8(out, U'\U0001F600');
    EXPECT_EQ(DecodeUtf8(out), std::u32string(U"\U0001F600"));
}

}  // namespace
}  // namespace kestrane
