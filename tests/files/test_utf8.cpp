#include <gtest/gtest.h>

#include <string>

#include "files/utf8.h"

namespace tesmo {

TEST(Utf8, AcceptsWellFormedAndNamesTheFirstBadByte) {
    struct Case {
        std::string bytes;
        std::size_t firstBad;
    };
    const Case cases[] = {
        {"", kNoInvalidByte},
        {"20,0 mm", kNoInvalidByte},
        {"Wärme °C € \xF0\x9D\x84\x9E", kNoInvalidByte},       // 2-, 3- and 4-byte forms
        {"\xC2\x80\xDF\xBF", kNoInvalidByte},                  // U+0080, U+07FF
        {"\xE0\xA0\x80\xEF\xBF\xBF", kNoInvalidByte},          // U+0800, U+FFFF
        {"\xED\x9F\xBF\xEE\x80\x80", kNoInvalidByte},          // around the surrogates
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", kNoInvalidByte},  // U+10000, U+10FFFF
        {std::string("a\0b", 3), kNoInvalidByte},              // NUL is UTF-8 (and a control)
        // overlong forms
        {"a\xC0\xAF", 1},
        {"\xC1\xBF", 0},
        {"\xE0\x80\xAF", 0},
        {"\xE0\x9F\xBF", 0},
        {"\xF0\x8F\xBF\xBF", 0},
        // surrogates U+D800, U+DFFF
        {"ab\xED\xA0\x80", 2},
        {"\xED\xBF\xBF", 0},
        // above U+10FFFF, and bytes that never occur
        {"\xF4\x90\x80\x80", 0},
        {"\xF5\x80\x80\x80", 0},
        {"x\xFF", 1},
        // truncated or interrupted sequences, stray continuation bytes
        {"ok\xE2\x82", 2},
        {"\xF0\x9D\x84", 0},
        {"\xE2(\xA1", 0},
        {"\x80", 0},
        {"ä\xBF", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(firstInvalidUtf8(c.bytes), c.firstBad) << c.bytes;
}

TEST(Utf8, CountsCodePointsAndFindsControlCharacters) {
    EXPECT_EQ(utf8Length(""), 0u);
    EXPECT_EQ(utf8Length("äöü€\xF0\x9D\x84\x9E"), 5u);
    EXPECT_EQ(utf8Length("a\xCC\x88"), 2u);  // a + combining diaeresis: two code points

    EXPECT_FALSE(hasControlCharacter("20,0 °C\xC2\xA0", ""));  // no-break space is no control
    EXPECT_FALSE(hasControlCharacter("a\tb", "\t"));
    EXPECT_TRUE(hasControlCharacter("a\tb", ""));
    EXPECT_TRUE(hasControlCharacter("a\nb", "\t"));
    EXPECT_TRUE(hasControlCharacter(std::string("a\0", 2), "\t"));
    EXPECT_TRUE(hasControlCharacter("\x1B[31m", "\t"));
    EXPECT_TRUE(hasControlCharacter("\x7F", "\t"));
    EXPECT_TRUE(hasControlCharacter("x\xC2\x85", "\t"));  // U+0085, a C1 control
    EXPECT_TRUE(hasControlCharacter("\xC2\x9F", "\t"));
}

}  // namespace tesmo
