#include <gtest/gtest.h>

#include "text/cp1250.h"
#include "text/word_compare.h"

namespace vlp {
namespace {

TEST(Cp1250, UnicodeRoundTripIsLosslessForEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const auto back = Utf8ToCp1250(Cp1250ToUtf8(all));
    ASSERT_FALSE(back.failure.has_value());
    EXPECT_EQ(back.text, all);
}

TEST(Cp1250, UndefinedBytesMapToC1Controls) {
    for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) EXPECT_EQ(Cp1250ToUnicode(b), char32_t{b});
}

TEST(Cp1250, UnencodableCharacterIsNamedWithItsPosition) {
    const auto result = Utf8ToCp1250("ab\xE2\x82\xAC\xE4\xB8\xAD");  // a b euro CJK
    ASSERT_TRUE(result.failure.has_value());
    EXPECT_EQ(result.failure->codePoint, U'\u4E2D');
    EXPECT_EQ(result.failure->position, 3u);
}

struct CaseRow {
    const char* lower;
    const char* upper;
};

TEST(Cp1250, CasingCoversAccentedLetters) {
    const CaseRow rows[] = {
        {"\x9A\x9C\x9D\x9E\x9F", "\x8A\x8C\x8D\x8E\x8F"},  // š ś ť ž ź
        {"\xB3\xB9\xBA\xBE\xBF", "\xA3\xA5\xAA\xBC\xAF"},  // ł ą ş ľ ż
        {"\xE1\xE8\xF8\xFD\xFE", "\xC1\xC8\xD8\xDD\xDE"},  // á č ř ý ţ
        {"abc", "ABC"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(AnsiUpper(row.lower), row.upper);
        EXPECT_EQ(AnsiLower(row.upper), row.lower);
    }
    // Letters without a partner in the code page stay as they are.
    for (unsigned char c : {0xDF, 0xD7, 0xF7, 0xFF, 0xB5}) {
        EXPECT_EQ(AnsiUpperChar(c), c);
        EXPECT_EQ(AnsiLowerChar(c), c);
    }
}

TEST(Cp1250, TrimRemovesControlCharactersAndBlanks) {
    EXPECT_EQ(Trim("\t \x01 ab c\r\n "), "ab c");
    EXPECT_EQ(TrimRight("  ab \t"), "  ab");
    EXPECT_EQ(AsciiLower("AbC\xC8"), "abc\xC8");
}

struct CompareRow {
    const char* a;
    const char* b;
    bool upperCaseMode;
    bool equal;
};

TEST(WordCompare, BothModes) {
    const CompareRow rows[] = {
        {"Dopredu", "DOPREDU", false, true},
        {"dopredu", "DOPREDU", true, true},
        {"\x8Elt\xE1", "ZLTA", false, true},  // Žltá
        {"\x8Elt\xE1", "ZLTA", true, false},
        {"\x8Elt\xE1", "\x9ELT\xC1", true, true},  // žltÁ
        {"\xDF", "SS", false, false},         // ß only equals itself
        {"\xD7", "X", false, false},
        {"\xF7", "\xF7", false, true},
        {"abc", "ab", false, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CompareWords(row.a, row.b, row.upperCaseMode) == 0, row.equal)
            << row.a << " vs " << row.b << " upperCaseMode=" << row.upperCaseMode;
    }
    EXPECT_LT(CompareWords("ab", "abc", true), 0);
    EXPECT_GT(CompareWords("abc", "ab", false), 0);
}

}  // namespace
}  // namespace vlp
