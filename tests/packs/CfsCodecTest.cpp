#include <gtest/gtest.h>

#include <random>

#include "packs/CfsCodec.h"

namespace {
TDynamicStringArray Decode(const std::string& scrambled, bool lower = false) {
    TDynamicStringArray lines;
    DecodeCfsLines(reinterpret_cast<const uint8_t*>(scrambled.data()), scrambled.size(), lines, lower);
    return lines;
}
TDynamicStringArray RoundTrip(const std::string& text, bool lower = false) { return Decode(EncodeCfs(text, 7), lower); }
} // namespace

// Worked by hand: n = 4, k = 4, 8, 16; d = 10 34 6C BC; the text is d[3], d[1].
TEST(Cfs, DecodesAHandWorkedExample) {
    EXPECT_EQ(DecodeCfsText(std::string("\x10\x20\x30\x40", 4)), "\xBC\x34");
    // With an odd length the last decoded byte is filler: n = 3, k = 3, 6: d = 10 33 6C.
    EXPECT_EQ(DecodeCfsText(std::string("\x10\x20\x33", 3)), "\x33");
}

TEST(Cfs, SplitsLinesOnlyAtCrLf) {
    EXPECT_EQ(RoundTrip("ab\r\nc"), (TDynamicStringArray{"ab", "c"}));
    EXPECT_EQ(RoundTrip("ab\r\n"), (TDynamicStringArray{"ab", ""}));
    EXPECT_EQ(RoundTrip("a\nb\rc\r"), (TDynamicStringArray{"a\nb\rc\r"}));
    EXPECT_EQ(RoundTrip("\r\n\r\n"), (TDynamicStringArray{"", "", ""}));
    EXPECT_EQ(Decode(""), TDynamicStringArray{});
    EXPECT_EQ(Decode("x"), TDynamicStringArray{""});
}

TEST(Cfs, LowerCasingTouchesAsciiLettersOnly) {
    // Title=Руководство
    const std::string line = "Title=\xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE";
    EXPECT_EQ(RoundTrip(line, true), TDynamicStringArray{"title=\xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE"});
    EXPECT_EQ(RoundTrip(line, false), TDynamicStringArray{line});
}

// Any text with any filler decodes back to itself, whatever the length does to k.
TEST(Cfs, RandomTextsRoundTripForEveryFiller) {
    std::mt19937 rng(42);
    for (int round = 0; round < 500; ++round) {
        std::string text(rng() % 700, '\0');
        for (auto& c : text) c = static_cast<char>(rng());
        const std::string scrambled = EncodeCfs(text, static_cast<uint32_t>(rng()));
        ASSERT_EQ(scrambled.size(), 2 * text.size());
        ASSERT_EQ(DecodeCfsText(scrambled), text);
    }
    EXPECT_NE(EncodeCfs("same text", 1), EncodeCfs("same text", 2));
}
