// Texts: character counting and cutting on multi-byte and invalid UTF-8, number formatting
// and parsing at their limits.
#include "platform/KesUnicodeString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {

const KesUnicodeChar kBlank(' ');

TEST(KesUnicodeStringLength, CountsCharactersNotBytes) {
    EXPECT_EQ(KesUnicodeString("abc").GetLengthInChar(), 3);
    EXPECT_EQ(KesUnicodeString("h\xC3\xA9llo").GetLengthInChar(), 5);             // é
    EXPECT_EQ(KesUnicodeString("\xE6\x97\xA5\xE6\x9C\xAC").GetLengthInChar(), 2); // 日本
    EXPECT_EQ(KesUnicodeString("\xF0\x9F\x94\xA7").GetLengthInChar(), 1);         // wrench emoji
    EXPECT_EQ(KesUnicodeString(static_cast<const char*>(nullptr)).GetLengthInChar(), 0);
}

TEST(KesUnicodeStringLength, InvalidBytesBecomeOneReplacementCharacterEach) {
    const KesUnicodeString stray("a\xFF"
                                 "b");
    EXPECT_EQ(stray.GetLengthInChar(), 3);
    EXPECT_EQ(stray.Str(), "a\xEF\xBF\xBD"
                           "b");
    // A sequence cut short, an overlong form and an encoded surrogate.
    EXPECT_EQ(KesUnicodeString("\xE6\x97").GetLengthInChar(), 2);
    EXPECT_EQ(KesUnicodeString("\xC0\xAF").GetLengthInChar(), 2);
    EXPECT_EQ(KesUnicodeString("\xED\xA0\x80").GetLengthInChar(), 3);
    // A continuation byte alone, the lowest of them too, is no character of its own.
    EXPECT_EQ(KesUnicodeString("\x80").Str(), "\xEF\xBF\xBD");
    EXPECT_EQ(KesUnicodeString("\xBF").Str(), "\xEF\xBF\xBD");
    // The stored text is valid UTF-8 whatever came in: building it again changes nothing.
    EXPECT_EQ(KesUnicodeString(stray.Str()), stray);
}

TEST(KesUnicodeStringResize, PadsAndCutsWholeCharacters) {
    KesUnicodeString text("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"); // 日本語
    text.Resize(2, kBlank, 1);
    EXPECT_EQ(text.Str(), "\xE6\x97\xA5\xE6\x9C\xAC");
    text.Resize(4, kBlank, 1);
    EXPECT_EQ(text.Str(), "\xE6\x97\xA5\xE6\x9C\xAC  ");
    EXPECT_EQ(text.GetLengthInChar(), 4);
    text.Resize(-3, kBlank, 1);
    EXPECT_TRUE(text.IsEmpty());
}

TEST(KesUnicodeStringResize, PadsToSeventyTwoWithMultiByteFiller) {
    KesUnicodeString text("x");
    text.Resize(72, KesUnicodeChar(U'\u00E9'), 1);
    EXPECT_EQ(text.GetLengthInChar(), 72);
    EXPECT_EQ(text.GetLengthInBytes(), 1 + 71 * 2);
}

TEST(KesUnicodeStringStrip, SurroundingAndEverywhere) {
    const KesUnicodeString text("  a b  ");
    EXPECT_EQ(text.Strip(3, kBlank), "a b");
    EXPECT_EQ(text.Strip(1, kBlank), "a b  ");
    EXPECT_EQ(text.Strip(2, kBlank), "  a b");
    EXPECT_EQ(text.Strip(4, kBlank), "ab");
    EXPECT_EQ(text.Strip(9, kBlank), text);
    EXPECT_EQ(KesUnicodeString("   ").Strip(3, kBlank), "");
    EXPECT_EQ(KesUnicodeString("Nb_of__passes").Strip(4, KesUnicodeChar('_')), "Nbofpasses");
    // A multi-byte character is stripped whole.
    EXPECT_EQ(KesUnicodeString("\xC3\xA9x\xC3\xA9").Strip(3, KesUnicodeChar(U'\u00E9')), "x");
}

TEST(KesUnicodeStringFormat, FormatsOfTheLibrary) {
    const struct {
        double value;
        const char* format;
        const char* text;
    } cases[] = {
        {-42, "%d", "-42"},
        {0.1234567, "%g", "0.123457"},
        {2.5, "%le", "2.500000e+00"},
        {2.5, "%12.7f", "   2.5000000"},
        {2.5, "%.0f", "2"},
        {0.5, "%.10f", "0.5000000000"},
        {0.5, "%.9f", "0.500000000"},
        {INT_MIN, "%d", "-2147483648"},
        {7, "rb%d", "rb7"},
        {3, "%g", "3"},
        // A real through an integer conversion saturates.
        {3.9, "%d", "3"},
        {1e30, "%d", "2147483647"},
        {std::nan(""), "%d", "0"},
    };
    for (const auto& c : cases) {
        KesUnicodeString text;
        EXPECT_EQ(text.BuildFromNum(c.value, c.format), c.text) << c.format;
    }
}

TEST(KesUnicodeStringFormat, UnsafeOrMalformedFormatsGiveTheEmptyText) {
    KesUnicodeString text("before");
    for (const char* format : {"%s", "%n", "%d%d", "abc", "%", "%999d", "%.500f", "%*d"}) {
        text = KesUnicodeString("before");
        EXPECT_TRUE(text.BuildFromNum(5, format).IsEmpty()) << format;
    }
    EXPECT_TRUE(text.BuildFromNum(5, nullptr).IsEmpty());
    EXPECT_EQ(text.BuildFromNum(5, "100%% %d"), "100% 5");
}

TEST(KesUnicodeStringFormat, HugeRealInFixedNotationIsWrittenWhole) {
    KesUnicodeString text;
    text.BuildFromNum(1e300, "%f");
    EXPECT_EQ(text.GetLengthInChar(), 301 + 7); // 301 digits, the point and 6 decimals
}

TEST(KesUnicodeStringParse, IntegersWithinRange) {
    int value = 99;
    EXPECT_TRUE(KesUnicodeString(" -7 ").ConvertToNum(&value, "%d"));
    EXPECT_EQ(value, -7);
    EXPECT_TRUE(KesUnicodeString("+5").ConvertToNum(&value, "%d"));
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(KesUnicodeString("-2147483648").ConvertToNum(&value, "%d"));
    EXPECT_EQ(value, INT_MIN);
}

TEST(KesUnicodeStringParse, TextThatIsNotAnIntegerLeavesTheTargetUntouched) {
    for (const char* text : {"", "abc", "12abc", "3.5", "2147483648", "-2147483649",
                             "99999999999999999999", "+-1", "--1", "0x10", " "}) {
        int value = 99;
        EXPECT_FALSE(KesUnicodeString(text).ConvertToNum(&value, "%d")) << text;
        EXPECT_EQ(value, 99) << text;
    }
    EXPECT_FALSE(KesUnicodeString("1").ConvertToNum(static_cast<int*>(nullptr), "%d"));
}

TEST(KesUnicodeStringParse, RealsAreFiniteOrRefused) {
    double value = 1.5;
    EXPECT_TRUE(KesUnicodeString("-0").ConvertToNum(&value, "%le"));
    EXPECT_TRUE(std::signbit(value));
    EXPECT_TRUE(KesUnicodeString(" 1e-3 ").ConvertToNum(&value, "%le"));
    EXPECT_DOUBLE_EQ(value, 0.001);
    for (const char* text : {"nan", "inf", "-inf", "1e999", "-1e999", "abc", "1.2.3", ""}) {
        double untouched = 1.5;
        EXPECT_FALSE(KesUnicodeString(text).ConvertToNum(&untouched, "%le")) << text;
        EXPECT_EQ(untouched, 1.5) << text;
    }
    EXPECT_FALSE(KesUnicodeString("1").ConvertToNum(static_cast<double*>(nullptr), "%le"));
}

TEST(KesUnicodeStringParse, ThousandCharacterNumbers) {
    double value = 1.5;
    EXPECT_FALSE(KesUnicodeString("1" + std::string(999, '0')).ConvertToNum(&value, "%le"));
    EXPECT_EQ(value, 1.5);
    // Below the smallest real: refused like an overflow, not silently read as 0.
    EXPECT_FALSE(KesUnicodeString("0." + std::string(997, '0') + "1").ConvertToNum(&value, "%le"));
    EXPECT_EQ(value, 1.5);
    EXPECT_TRUE(KesUnicodeString("0." + std::string(300, '0') + "1").ConvertToNum(&value, "%le"));
    EXPECT_GT(value, 0.0);
    int integer = 3;
    EXPECT_FALSE(KesUnicodeString(std::string(1000, '7')).ConvertToNum(&integer, "%d"));
    EXPECT_EQ(integer, 3);
}

TEST(KesUnicodeStringParse, FormatRoundTripOfShownReals) {
    // A real shown with "%g" and read back with "%le" is exactly the shown value.
    KesUnicodeString shown;
    shown.BuildFromNum(0.1234567, "%g");
    double back = 0.0;
    ASSERT_TRUE(shown.ConvertToNum(&back, "%le"));
    EXPECT_EQ(back, 0.123457);
}

TEST(KesUnicodeStringCompare, AgainstEightBitText) {
    EXPECT_TRUE(KesUnicodeString("abc") == "abc");
    EXPECT_FALSE(KesUnicodeString("abc") == static_cast<const char*>(nullptr));
    EXPECT_TRUE(KesUnicodeString() == static_cast<const char*>(nullptr));
    EXPECT_EQ((KesUnicodeString("a") + "b").Str(), "ab");
    EXPECT_EQ(KesToAsciiUpper(KesUnicodeString("feed_\xC3\xA9")).Str(), "FEED_\xC3\xA9");
}

} // namespace
