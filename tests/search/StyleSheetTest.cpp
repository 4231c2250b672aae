// The style sheet reader: which rules it keeps, how a declaration block and a media list read,
// and how a book's sheet file is decoded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "search/PageText.h"
#include "search/StyleSheet.h"

namespace {

std::vector<uint32_t> specificities(const TStyleSheet& sheet) {
    std::vector<uint32_t> out;
    for (const RStyleRule& rule : sheet.Rules()) out.push_back(rule.specificity);
    return out;
}

// The sheets of a test page: every link is the one sheet.
struct ROneSheet : IPageSheets {
    explicit ROneSheet(const TStyleSheet& s) : sheet(s) {}
    const TStyleSheet* LinkedSheet(std::string_view) override { return &sheet; }
    const TStyleSheet& sheet;
};

}  // namespace

TEST(StyleSheet, KeepsOnlyRulesThatSetWhatTheTextNeedsUnderSelectorsItCanFollow) {
    const TStyleSheet sheet(
        "@charset \"utf-8\"; @import url(x.css);\n<!-- h1 { color: red } -->\n"
        "p, div.a.b, #i span, ul > li.c { display: none }\n"
        "a:hover, p[title], p ~ p, \\70 { display: none }\n"  // left out, all of them
        "@font-face { font-family: x } @media print { p { display: none } }\n"
        "@media screen { @media all { em { visibility: hidden } } }\n"
        "b { content: '{ display: none }'; float: left }\n"
        "i { display: none");  // a block left open ends with the sheet
    EXPECT_EQ(specificities(sheet), (std::vector<uint32_t>{0x1, 0x201, 0x10001, 0x102, 0x1, 0x1, 0x1}));
    EXPECT_TRUE(TStyleSheet("p { color: red; margin: 0 }").Empty());
}

TEST(StyleSheet, DeclarationsKeepTheLastValidValueAndImportantOnesOverPlainOnes) {
    RDeclarations d = ParseDeclarations(
        "DISPLAY: Block; display: bogus; visibility: hidden !important; "
        "visibility: visible; position: absolute; float: inherit");
    EXPECT_EQ(d.value, (std::array<int8_t, kStyleProperties>{kDisplayBlock, kInvisible, -1, kOutOfFlow}));
    EXPECT_TRUE(d.important[kVisibility]);
    d = ParseDeclarations("display: inline-flex; display: none ! important; display: block");
    EXPECT_EQ(d.value[kDisplay], kDisplayNone);
    EXPECT_EQ(ParseDeclarations("display: none !importan").value[kDisplay], -1);
}

TEST(StyleSheet, OnlyMediaListsForTheScreenCount) {
    for (const char* media : {"", " ", "all", "SCREEN", "print, screen", "only  screen"})
        EXPECT_TRUE(MediaOnScreen(media)) << media;
    for (const char* media : {"print", "speech", "screen and (max-width: 100px)", "not screen", "tv"})
        EXPECT_FALSE(MediaOnScreen(media)) << media;
}

TEST(StyleSheet, ABookSheetIsWindows1251UnlessItSaysUtf8) {
    const std::string page = Cp1251::fromUtf8("<p class=заметка>скрыто</p>");
    const auto hidden = [&](const std::string& sheetBytes) {
        const TStyleSheet sheet = TStyleSheet::FromFile(sheetBytes);
        ROneSheet sheets(sheet);
        return !PageContains(ExtractPageText("<link rel=stylesheet href=a.css>" + page, &sheets), Cp1251::fromUtf8("скрыто"),
                             false);
    };
    const std::string rule = ".заметка { display: none }";
    EXPECT_TRUE(hidden(Cp1251::fromUtf8(rule)));
    EXPECT_TRUE(hidden("\xEF\xBB\xBF" + rule));
    EXPECT_TRUE(hidden("@charset \"UTF-8\"; " + rule));
    EXPECT_FALSE(hidden(rule));  // UTF-8 bytes read as windows-1251 name another class
}
