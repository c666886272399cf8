#include "text/encoding.h"

#include <gtest/gtest.h>

using namespace zor::text;

TEST(Utf8, DecodesEveryLengthAndReplacesMalformedSequences) {
    EXPECT_EQ(utf8ToUtf32("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), U"a\u00E9\u20AC\U0001F600");
    // Lone continuation byte, truncated sequence, overlong form and encoded surrogate.
    EXPECT_EQ(utf8ToUtf32("\x80x"), U"\uFFFDx");
    EXPECT_EQ(utf8ToUtf32("\xE2\x82"), U"\uFFFD");
    EXPECT_EQ(utf8ToUtf32("\xC0\xAF"), U"\uFFFD");
    EXPECT_EQ(utf8ToUtf32("\xED\xA0\x80z"), U"\uFFFDz");
    EXPECT_EQ(utf8ToUtf32("\xFF"), U"\uFFFD");
}

TEST(Utf16, RoundTripsAstralCharactersAndReplacesLoneSurrogates) {
    const std::string text = "\xC5\x82\xE2\x82\xAC\xF0\x9F\x98\x80";  // ł € 😀
    const std::u16string wide = utf8ToUtf16(text);
    ASSERT_EQ(wide.size(), 4u);
    EXPECT_EQ(wide[2], 0xD83D);
    EXPECT_EQ(utf16ToUtf8(wide), text);
    EXPECT_EQ(utf16ToUtf8(u"a\xD800"), "a\xEF\xBF\xBD");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(Cp1252, MapsTheHighRangeBothWays) {
    EXPECT_EQ(cp1252FromCodePoint(U'\u20AC'), 0x80);
    EXPECT_EQ(cp1252FromCodePoint(U'\u0178'), 0x9F);
    EXPECT_EQ(cp1252FromCodePoint(U'\u00EB'), 0xEB);
    EXPECT_FALSE(cp1252FromCodePoint(U'\u0142').has_value());
    EXPECT_FALSE(cp1252FromCodePoint(U'\u0081').has_value());
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = cp1252ToCodePoint(static_cast<unsigned char>(b));
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            EXPECT_EQ(cp, char32_t(b));
        } else {
            EXPECT_EQ(cp1252FromCodePoint(cp), b) << b;
        }
    }
}

TEST(Cp1252, ConvertsTextAndMarksWhatItCannotHold) {
    EXPECT_EQ(utf8ToCp1252("Ren\xC3\xA9\xC3\xA9 \xE2\x82\xAC" "5"), "Ren\xE9\xE9 \x80" "5");
    EXPECT_EQ(utf8ToCp1252("\xC5\x82\xC3\xB3" "d\xC5\xBA"), "?\xF3" "d?");
    EXPECT_EQ(cp1252ToUtf8("Ren\xE9\xE9 \x80"), "Ren\xC3\xA9\xC3\xA9 \xE2\x82\xAC");
}
