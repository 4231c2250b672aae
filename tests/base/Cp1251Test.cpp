#include <gtest/gtest.h>
#include <iconv.h>

#include "base/Cp1251.h"

// Every byte converts as the system's own CP1251 converter does, and back.
TEST(Cp1251, MatchesTheSystemConverterForEveryByte) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98) continue;  // unassigned in CP1251
        char in[1] = {static_cast<char>(b)};
        char out[8] = {};
        char* ip = in;
        char* op = out;
        size_t il = 1, ol = sizeof out;
        ASSERT_NE(iconv(cd, &ip, &il, &op, &ol), static_cast<size_t>(-1)) << b;
        const std::string expected(out, sizeof out - ol);
        EXPECT_EQ(Cp1251::toUtf8(std::string(1, static_cast<char>(b))), expected) << "byte " << b;
        bool ok = false;
        EXPECT_EQ(Cp1251::fromUtf8(expected, &ok), std::string(1, static_cast<char>(b)));
        EXPECT_TRUE(ok);
    }
    iconv_close(cd);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    bool ok = true;
    EXPECT_EQ(Cp1251::fromUtf8("a\xE2\x82\xAC\xE4\xB8\xAD" "b", &ok), "a\x88?b");  // euro exists, CJK does not
    EXPECT_FALSE(ok);
    EXPECT_EQ(Cp1251::fromUtf8("\xC3", &ok), "?");  // truncated sequence
    EXPECT_FALSE(ok);
}

TEST(Cp1251, CaseFoldingCoversCyrillicPairsOnly) {
    EXPECT_EQ(Cp1251::upperByte('a'), 'A');
    EXPECT_EQ(Cp1251::upperByte(0xE0), 0xC0);  // а -> А
    EXPECT_EQ(Cp1251::upperByte(0xFF), 0xDF);  // я -> Я
    EXPECT_EQ(Cp1251::upperByte(0xB8), 0xA8);  // ё -> Ё
    EXPECT_EQ(Cp1251::upperByte(0xA2), 0xA1);  // ў -> Ў
    EXPECT_EQ(Cp1251::upperByte(0xB4), 0xA5);  // ґ -> Ґ
    EXPECT_EQ(Cp1251::upperByte(0xB5), 0xB5);  // µ has no partner in the code page
    EXPECT_TRUE(Cp1251::equalsNoCase("Dialog.cfs", "dIALOG.CFS"));
    EXPECT_TRUE(Cp1251::equalsNoCase("\xD4\xE0\xE9\xEB", "\xF4\xC0\xC9\xCB"));  // Файл / фАЙЛ
    EXPECT_FALSE(Cp1251::equalsNoCase("a", "ab"));
    // The ASCII-only rule leaves Cyrillic alone.
    EXPECT_EQ(Cp1251::asciiLower("Title=\xD0\xF3"), "title=\xD0\xF3");
    EXPECT_TRUE(Cp1251::asciiEqualsNoCase("HTML", "html"));
    EXPECT_FALSE(Cp1251::asciiEqualsNoCase("\xC0", "\xE0"));
}
