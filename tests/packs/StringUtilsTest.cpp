#include <gtest/gtest.h>

#include "base/FileErrors.h"
#include "base/GlobalPaths.h"
#include "packs/StringUtils.h"

namespace {
class Parsers : public ::testing::Test {
protected:
    void SetUp() override {
        SetCdRoot("d:\\");
        SetProgramDir("d:\\run\\");
    }
};
} // namespace

TEST_F(Parsers, IntegersAreReadFromTheFirstDigitOrMinus) {
    const std::string line = "vx=-12 vy=3";
    EXPECT_EQ(ParseIntAt(line, Pos("vx", line)), -12);
    EXPECT_EQ(ParseIntAt(line, Pos("vy", line)), 3);
    EXPECT_EQ(ParseIntAt("vx=abc vy=7", 1), 7);  // the next digits anywhere later
    EXPECT_EQ(ParseIntAt("vx=abc", 1), -1);
    EXPECT_EQ(ParseIntAt("n=--5", 1), -1);
    EXPECT_EQ(ParseIntAt("n=5-", 1), -1);
    EXPECT_EQ(ParseIntAt("n=99999999999", 1), -1);  // out of range is malformed, not wrapped
    EXPECT_EQ(ParseIntAt("n=5", 0), 5);
    EXPECT_EQ(ParseIntAt("n=5", 40), -1);
}

TEST_F(Parsers, StringsEndAtSemicolonAndAreTrimmed) {
    const std::string line = "hint=\xCD\xE0\xE7\xE0\xE4 ; comment";  // hint=Назад ; comment
    EXPECT_EQ(ParseStringAt(line, Pos("hint", line) + 5), "\xCD\xE0\xE7\xE0\xE4");
    EXPECT_EQ(ParseStringAt("a=\t x y \x01", 3), "x y");
    EXPECT_EQ(ParseStringAt("hint", 6), "");  // a key at the very end of its line
    EXPECT_EQ(ParseStringAt(std::string("a=b\0c", 5), 3), "b");
}

TEST_F(Parsers, ColoursTakeTheLowByteOfThreeNumbers) {
    EXPECT_EQ(ParseColorAt("color=255,128,0", 6), 255u + 128u * 256);
    EXPECT_EQ(ParseColorAt("color=1,2, 3", 6), 1u + 2u * 256 + 3u * 65536);
    // Blue is read at a fixed distance behind green's digits, so extra blanks before green make
    // blue start inside green: description files rely on one separator.
    EXPECT_EQ(ParseColorAt("color=1,  2,3", 6), 1u + 2u * 256 + 2u * 65536);
    EXPECT_EQ(ParseColorAt("color=256,257,258", 6), 0u + 1u * 256 + 2u * 65536);
    EXPECT_EQ(ParseColorAt("color=-1,2,3", 6), 1u + 2u * 256 + 3u * 65536);  // "-" skipped like any non-digit
    EXPECT_EQ(ParseColorAt("color=none", 6), 0xFFFFFFu);  // no digit: white
    EXPECT_EQ(ParseColorAt("color=1,2,3", 2147483647), 0xFFFFFFu);  // far past the end, no overflow
}

TEST_F(Parsers, ListsContinueOverLinesAndExpandPaths) {
    TDynamicStringArray lines = {"list=[a;b", "c]; next=1", "x"};
    int i = 0;
    EXPECT_EQ(ParseListAt(lines, i), (TDynamicStringArray{"a", "b", "c"}));
    EXPECT_EQ(i, 1);
    lines = {"k=[] [x]"};
    i = 0;
    EXPECT_TRUE(ParseListAt(lines, i).empty());
    lines = {"[a;]", "[;a]", "[ page.htm ; none ]", "no list"};
    i = 0;
    EXPECT_EQ(ParseListAt(lines, i), TDynamicStringArray{"a"});
    i = 1;
    EXPECT_EQ(ParseListAt(lines, i), (TDynamicStringArray{"", "a"}));
    i = 2;
    EXPECT_EQ(ParseListAt(lines, i), (TDynamicStringArray{"d:\\run\\page.htm", "none"}));
    i = 3;
    EXPECT_TRUE(ParseListAt(lines, i).empty());
    EXPECT_EQ(i, 3);
    // A list never closed ends at the last line with what it read.
    lines = {"[a;b", "c"};
    i = 0;
    EXPECT_EQ(ParseListAt(lines, i), (TDynamicStringArray{"a", "b", "c"}));
    EXPECT_EQ(i, 1);
    i = 5;
    EXPECT_TRUE(ParseListAt(lines, i).empty());
}

TEST_F(Parsers, PolygonPointsAreStrictNumbers) {
    TDynamicStringArray lines = {"vertexmain=[0,0;100, 0", "100,50]"};
    int i = 0;
    EXPECT_EQ(ParsePolygonRegion(lines, i), (std::vector<TPoint>{{0, 0}, {100, 0}, {100, 50}}));
    for (const char* bad : {"[0,0;x,1]", "[5]", "[1,2a]", "[;]"}) {
        lines = {bad};
        i = 0;
        EXPECT_THROW(ParsePolygonRegion(lines, i), EConvertError) << bad;
    }
    std::string many = "[";
    for (int p = 0; p < 2500; ++p) many += std::to_string(p) + ",1;";
    many.back() = ']';
    lines = {many};
    i = 0;
    const auto points = ParsePolygonRegion(lines, i);
    ASSERT_EQ(points.size(), kMaxPolygonPoints);
    EXPECT_EQ(points.back(), (TPoint{1999, 1}));
}

TEST_F(Parsers, PathSubstitution) {
    EXPECT_EQ(SubstitutePath("<cd>video\\a.avi"), "d:\\video\\a.avi");
    EXPECT_EQ(SubstitutePath("c:\\x.txt"), "c:\\x.txt");
    EXPECT_EQ(SubstitutePath("none"), "none");
    EXPECT_EQ(SubstitutePath("go=..\\a.htm"), "go=d:\\run\\a.htm");
    EXPECT_EQ(SubstitutePath("page.htm"), "d:\\run\\page.htm");
    EXPECT_EQ(SubstitutePath("1.5"), "d:\\run\\1.5");
    EXPECT_EQ(SubstitutePath("html=help\\a.htm"), "html=d:\\run\\help\\a.htm");
    EXPECT_EQ(ValueAfterFirstEquals("none"), "");
    EXPECT_EQ(ValueAfterFirstEquals("go=next"), "next");
    EXPECT_EQ(ValueAfterFirstEquals("html=a.htm=2"), "d:\\run\\a.htm");
    EXPECT_EQ(ValueAfterLastEquals("html=a.htm"), "");
    EXPECT_EQ(ValueAfterLastEquals("html=a.htm=2"), "2");
}

TEST_F(Parsers, JoinPathNeverClimbsAboveTheFirstLevel) {
    EXPECT_EQ(JoinPath("d:\\run\\", "\\a.htm"), "d:\\run\\a.htm");
    EXPECT_EQ(JoinPath("d:\\run\\x\\", "..\\..\\a.htm"), "d:\\run\\a.htm");
    EXPECT_EQ(JoinPath("d:\\run\\x\\y", " ..\\b.htm "), "d:\\run\\x\\b.htm");
    EXPECT_EQ(JoinPath("d:\\", "..\\..\\a.htm"), "d:\\a.htm");
    EXPECT_EQ(JoinPath("d:\\run\\x\\y\\", "\\z\\a.htm"), "d:\\run\\z\\a.htm");
    EXPECT_EQ(JoinPath("run", "a.htm"), "run\\a.htm");
    EXPECT_EQ(JoinPath("run", "..\\a.htm"), "run\\a.htm");
}

TEST_F(Parsers, SplittingKeepsTheLastPieceAsItIs) {
    EXPECT_EQ(SplitByDelimiter(";", "a ; b"), (TDynamicStringArray{"a", " b"}));
    EXPECT_EQ(SplitByDelimiter(";", "a;"), (TDynamicStringArray{"a", ""}));
    EXPECT_EQ(SplitByDelimiter(";", "a;b;"), (TDynamicStringArray{"a", "b"}));
    EXPECT_TRUE(SplitByDelimiter(";", ";;").empty());
    EXPECT_TRUE(SplitByDelimiter(";", "").empty());
    EXPECT_EQ(SplitByDelimiter("<>", "x<>y<"), (TDynamicStringArray{"x", "y<"}));
    EXPECT_EQ(SplitByDelimiter("", "abc"), TDynamicStringArray{"abc"});
}

TEST_F(Parsers, SearchesAndStreamLines) {
    int index = -1;
    EXPECT_TRUE(IndexOfInt({4, 7, 7}, 7, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(IndexOfInt({}, 7, index));
    EXPECT_TRUE(ContainsText({"One", "TWO"}, "two"));
    EXPECT_FALSE(ContainsText({"One"}, "on"));

    TMemoryStream s;
    s.Assign("ab\r\ncd\r\n", 8);
    std::string line;
    EXPECT_TRUE(ReadStreamLine(s, line));
    EXPECT_EQ(line, "ab");
    EXPECT_TRUE(ReadStreamLine(s, line));
    EXPECT_EQ(line, "cd");
    EXPECT_FALSE(ReadStreamLine(s, line));
    EXPECT_EQ(line, "");
    s.Assign("ab", 2);
    EXPECT_FALSE(ReadStreamLine(s, line));
    EXPECT_EQ(line, "ab");
}
