// The page text as a browser's find sees it: what is searched, where a match may run, how
// letters compare, and how the page's bytes are read.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "search/PageText.h"
#include "search/PageTextCache.h"
#include "search/StyleSheet.h"

namespace {

// A CP1251 page from UTF-8 source text.
bool has(const char* htmlUtf8, const char* wordUtf8, bool matchCase = false) {
    return PageContains(ExtractPageText(Cp1251::fromUtf8(htmlUtf8)), Cp1251::fromUtf8(wordUtf8), matchCase);
}

}  // namespace

TEST(PageText, LettersCompareAsTheBrowserFindDoes) {
    const char* page = "<p>Ёмкость бачка и Тормозная жидкость</p>";
    EXPECT_TRUE(has(page, "емкость"));    // е and ё are one letter with case off
    EXPECT_TRUE(has(page, "ТОРМОЗНАЯ"));
    EXPECT_FALSE(has(page, "емкость", true));
    EXPECT_TRUE(has(page, "Тормозная", true));
    EXPECT_FALSE(has(page, "тормозная", true));
    EXPECT_FALSE(has("<p>бачок и мойка</p>", "й мойка"));  // й is not и
    EXPECT_TRUE(has("<p>бачок й мойка</p>", "й мойка"));
    EXPECT_FALSE(has(page, ""));
}

TEST(PageText, MatchesRunAcrossInlineTagsButNeverAcrossBlocksOrLineBreaks) {
    EXPECT_TRUE(has("<p><b>тор</b>моз</p>", "тормоз"));
    EXPECT_FALSE(has("<p>тор</p><p>моз</p>", "тормоз"));
    EXPECT_FALSE(has("<div>тор<br>моз</div>", "тормоз"));
    EXPECT_FALSE(has("<table><tr><td>тор</td><td>моз</td></tr></table>", "тормоз"));
    EXPECT_TRUE(has("<p>тормоз  \n\t передний</p>", "тормоз передний"));  // white space collapses
    EXPECT_FALSE(has("<p>тормоз<img src=x.gif>передний</p>", "тормоз передний"));  // a picture is no space
    EXPECT_FALSE(has("<p>тормоз<img src=x.gif>передний</p>", "тормозпередний"));
    EXPECT_TRUE(has("<p>тормоз <img src=x.gif> передний</p>", "тормоз "));
    EXPECT_TRUE(has("<pre>a  b\nc</pre>", "a  b"));
    EXPECT_FALSE(has("<pre>a  b\nc</pre>", "b c"));
}

TEST(PageText, TextTheBrowserDoesNotShowIsNotSearched) {
    const char* page =
        "<html><head><title>кардан</title><style>p{}</style></head><body>"
        "<script>var s = 'кардан';</script><!-- кардан --><div hidden>кардан</div>"
        "<p style=\"display: none\">кардан</p><select><option>кардан</option></select>"
        "<img alt=\"кардан\"><input type=hidden value=\"кардан\"><p>видно</p></body></html>";
    EXPECT_FALSE(has(page, "кардан"));
    EXPECT_TRUE(has(page, "видно"));
    EXPECT_FALSE(has("<frameset><frame src=a.htm></frameset>", "a"));
}

TEST(PageText, EntitiesQuotesSoftHyphensAndCharsets) {
    EXPECT_TRUE(has("<p>&laquo;Нива&raquo;&nbsp;&#1090;ест</p>", "«Нива» тест"));
    EXPECT_TRUE(has("<p>\xE2\x80\x9Cлада\xE2\x80\x9D</p>", "\"лада\""));  // curly quotes of a UTF-8 source
    EXPECT_TRUE(has("<p>тор&shy;моз</p>", "тормоз"));
    const std::string utf8Page = "<meta charset=\"utf-8\"><p>Привод</p>";  // bytes as written: UTF-8
    EXPECT_TRUE(PageContains(ExtractPageText(utf8Page), Cp1251::fromUtf8("привод"), false));
    const std::string koi8 = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\"><p>\xF0\xD2\xC9\xD7\xCF\xC4</p>";
    EXPECT_TRUE(PageContains(ExtractPageText(koi8), Cp1251::fromUtf8("Привод"), true));
}

TEST(PageText, BrokenPagesGiveWhatTheParserMakesOfThem) {
    EXPECT_TRUE(has("<p>тормоз<div><b>открыт", "открыт"));
    EXPECT_NO_THROW(ExtractPageText(std::string("\0\xFF<<>><p", 7)));
    std::string deep;
    for (int i = 0; i < 3000; ++i) deep += "<span>";
    EXPECT_TRUE(has((deep + "глубоко").c_str(), "глубоко"));
}

namespace {

const std::string kUtf8Meta = "<meta charset=utf-8>";

std::vector<std::string> blocksOf(const std::string& html) {
    const TPageText text = ExtractPageText(html);
    std::vector<std::string> blocks;
    for (size_t i = 0; i < text.BlockCount(); ++i) blocks.push_back(text.BlockUtf8(i));
    return blocks;
}

}  // namespace

TEST(PageText, BlocksAreLaidOutAsTheBrowserShowsThem) {
    using Blocks = std::vector<std::string>;
    EXPECT_EQ(blocksOf("<p>  a \n <b> b </b> </p><p>c<br> d</p>x"), (Blocks{"a b", "c", "d", "x"}));
    EXPECT_EQ(blocksOf("<pre>\n a  b\n\nc </pre><textarea>t  1</textarea>"), (Blocks{" a  b", "c ", "t  1"}));
    EXPECT_EQ(blocksOf("a<input value='v  1'><input type=checkbox value=no>b<input type=submit value=Go>"),
              (Blocks{"a", "v  1", "b", "Go"}));
    EXPECT_EQ(blocksOf("<p hidden>x</p><p style='COLOR:red; Display : None'>y</p><p style='color:red'>z</p>"),
              (Blocks{"z"}));
    EXPECT_TRUE(blocksOf("").empty());
    // A page that spells the separator itself cannot split its text.
    EXPECT_EQ(blocksOf(kUtf8Meta + "<p>a\xEF\xBF\xBF" "b</p>"), (Blocks{"a\xEF\xBF\xBD" "b"}));
}

TEST(PageText, WordsFoldLikeThePageAndIgnorableWordsMatchNothing) {
    const TPageText page = ExtractPageText(Cp1251::fromUtf8("<p>Он сказал: \"да\" и 'нет' — а&nbsp;б</p>"));
    EXPECT_TRUE(PageContains(page, Cp1251::fromUtf8("“да”"), false));
    EXPECT_TRUE(PageContains(page, Cp1251::fromUtf8("‘нет’"), true));
    EXPECT_TRUE(PageContains(page, Cp1251::fromUtf8("а\xC2\xA0б"), true));
    EXPECT_TRUE(PageContains(page, Cp1251::fromUtf8("а б"), false));  // a no-break space is a space
    EXPECT_FALSE(PageContains(page, Cp1251::fromUtf8("а б"), true));   // but not with case
    EXPECT_TRUE(PageContains(page, Cp1251::fromUtf8("ска\xC2\xADзал"), true));
    const TTextMatcher onlyIgnorable("\xAD\x98", false);  // soft hyphen and an unassigned byte
    EXPECT_TRUE(onlyIgnorable.MatchesNothing());
    EXPECT_FALSE(onlyIgnorable.Matches(page));
}

TEST(PageText, CollationEquivalentsPassTheSignatureCheck) {
    // Decomposed letters, ligatures and accents are equal to their plain forms in the collation,
    // so a page must not be ruled out because its characters differ from the word's.
    const TPageText page = ExtractPageText(kUtf8Meta + "<p>и\xCC\x86од, Æsop, résumé, ЁЖИК</p>");
    EXPECT_TRUE(PageContains(page, Cp1251::fromUtf8("йод"), false));
    EXPECT_TRUE(PageContains(page, Cp1251::fromUtf8("йод"), true));
    EXPECT_FALSE(PageContains(page, Cp1251::fromUtf8("иод"), false));
    EXPECT_TRUE(PageContains(page, "aesop", false));
    EXPECT_TRUE(PageContains(page, "resume", false));
    EXPECT_FALSE(PageContains(page, "resume", true));
    EXPECT_TRUE(PageContains(page, Cp1251::fromUtf8("ЁЖИК"), true));
    EXPECT_FALSE(PageContains(page, Cp1251::fromUtf8("ёжик"), true));  // case counts, tertiary
    EXPECT_FALSE(PageContains(page, Cp1251::fromUtf8("ЕЖИК"), true));  // and so does the diaeresis
}

TEST(PageText, CharsetComesFromTheMarkOrTheFirstKnownMetaLabel) {
    const std::string word = Cp1251::fromUtf8("Привод");
    const std::string cp1251 = Cp1251::fromUtf8("<p>Привод</p>");
    EXPECT_TRUE(PageContains(ExtractPageText(cp1251), word, true));
    EXPECT_TRUE(PageContains(ExtractPageText("<meta charset=x-unknown>" + cp1251), word, true));
    EXPECT_TRUE(PageContains(ExtractPageText("<!-- <meta charset=utf-8> -->" + cp1251), word, true));
    EXPECT_TRUE(PageContains(ExtractPageText("\xEF\xBB\xBF<p>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xBE\xD0\xB4"), word, true));
    const std::string utf16 = std::string("\xFF\xFE<\0p\0>\0\x1F\x04\x40\x04\x38\x04\x32\x04\x3E\x04\x34\x04", 20);
    EXPECT_TRUE(PageContains(ExtractPageText(utf16), word, true));
    EXPECT_TRUE(PageContains(ExtractPageText("<meta charset=cp866><p>\x8F\xE0\xA8\xA2\xAE\xA4"), word, true));
}

TEST(PageTextCache, KeepsTextsByPathWithinItsBudget) {
    TPageTextCache cache;
    EXPECT_EQ(cache.Find("d:\\run\\a.htm"), nullptr);
    const TPageText& a = cache.Add("d:\\run\\a.htm", "<p>one</p>");
    EXPECT_EQ(cache.Find("d:\\run\\a.htm"), &a);
    EXPECT_EQ(cache.Find("D:\\RUN\\A.HTM"), nullptr);  // paths compare exactly
    cache.Add("d:\\run\\a.htm", "<p>two</p>");
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_TRUE(PageContains(*cache.Find("d:\\run\\a.htm"), "two", false));

    TPageTextCache small(ExtractPageText("<p>one</p>").MemoryBytes() + 200);
    small.Add("a", "<p>one</p>");
    small.Add("b", "<p>two</p>");  // does not fit beside "a": the cache starts afresh
    EXPECT_EQ(small.Size(), 1u);
    EXPECT_NE(small.Find("b"), nullptr);
    EXPECT_LE(small.Bytes(), ExtractPageText("<p>one</p>").MemoryBytes() + 200);
}

namespace {

// The sheets a test page links, by href.
class TFakeSheets : public IPageSheets {
public:
    explicit TFakeSheets(std::map<std::string, std::string> css) {
        for (auto& [href, text] : css) sheets_.emplace(href, TStyleSheet::FromFile(Cp1251::fromUtf8(text)));
    }
    const TStyleSheet* LinkedSheet(std::string_view href) override {
        asked.emplace_back(href);
        const auto it = sheets_.find(std::string(href));
        return it == sheets_.end() ? nullptr : &it->second;
    }
    std::vector<std::string> asked;

private:
    std::map<std::string, TStyleSheet> sheets_;
};

struct RStyleCase {
    const char* page;
    const char* word;
    bool found;
};

}  // namespace

TEST(PageText, StyleSheetsDecideWhatShowsAndWhereBlocksEnd) {
    const RStyleCase cases[] = {
        // Classes, ids and type selectors of a <style>; the cascade: specificity, order, !important.
        {"<style>.x { display: none }</style><p class=x>скрыто</p><p>видно</p>", "скрыто", false},
        {"<style>.x { display: none }</style><p class=x>скрыто</p><p>видно</p>", "видно", true},
        {"<style>P.x { display: block } .x { display: none }</style><p class='y x'>текст</p>", "текст", true},
        {"<style>.x { display: none } .x { display: block }</style><p class=x>текст</p>", "текст", true},
        {"<style>.x { display: block ! IMPORTANT } #i { display: none }</style><p id=i class=x>текст</p>", "текст", true},
        {"<style>.x { display: none }</style><p class=x style='display: block'>текст</p>", "текст", true},
        {"<style>.x { display: none !important }</style><p class=x style='display: block'>текст</p>", "текст", false},
        {"<style>.x { display: none } .x { display: nonsense; color: red }</style><p class=x>текст</p>", "текст", false},
        {"<style>/* .x { display: block } */ .x { display: none; content: '}' }</style><p class=x>текст</p>", "текст", false},
        // Combinators: descendant and child; a hidden span inside a word leaves the word whole.
        {"<style>div b { display: none }</style><div><p>тор<b>xx</b>моз</p></div>", "тормоз", true},
        {"<style>div > b { display: none }</style><div><p><b>текст</b></p></div>", "текст", true},
        {"<style>div > p > b { display: none }</style><div><p><b>текст</b></p></div>", "текст", false},
        {"<style>ul.m > li b.k { display: none }</style><ul class=m><li><i><b class=k>текст</b></i></ul>", "текст", false},
        // What the evaluator cannot follow is left out, without losing the rest of a selector list.
        {"<style>a:hover, .x { display: none }</style><p class=x>текст</p>", "текст", false},
        {"<style>a:hover, .x { display: none }</style><a href=x>ссылка</a>", "ссылка", true},
        {"<style>p + p, [title], p::after, svg|p, .1a { display: none }</style><p>a</p><p title=t>текст</p>", "текст", true},
        // Media: print sheets and print blocks do not count, screen ones do.
        {"<style media=print>.x { display: none }</style><p class=x>текст</p>", "текст", true},
        {"<style>@media print { .x { display: none } }</style><p class=x>текст</p>", "текст", true},
        {"<style>@media screen, print { .x { display: none } }</style><p class=x>текст</p>", "текст", false},
        // Visibility: own text hidden, inherited, shown again by a descendant; boxes stay.
        {"<style>.g { visibility: hidden } .v { visibility: visible }</style><p class=g>а <b>скрыто</b>", "скрыто", false},
        {"<style>.g { visibility: hidden } .v { visibility: visible }</style><p class=g>а <b class=v>видно</b>", "видно", true},
        {"<style>.g { visibility: hidden }</style><p>тор<span class=g>xx</span>моз</p>", "тормоз", true},
        // Blocks as laid out: inline-block, block, flex items and floats end a block; inline does not.
        {"<p>педаль <span style='display: inline-block'>сцепления</span></p>", "педаль сцепления", false},
        {"<p>масляный <span style='display: block'>щуп</span></p>", "масляный щуп", false},
        {"<style>li { display: inline }</style><ul><li>свет</li> <li>фар</li></ul>", "свет фар", true},
        {"<div style='display: flex'><span>левая</span> <span>фара</span></div>", "левая фара", false},
        {"<p>смотрите <span style='float: right'>рисунок</span></p>", "смотрите рисунок", false},
        {"<div style='display: contents'>свет</div> фар", "свет фар", true},
        // Quirks mode (no doctype) compares classes without case; standards mode does not.
        {"<style>.Note { display: none }</style><p class=note>текст</p>", "текст", false},
        {"<!DOCTYPE html><style>.Note { display: none }</style><p class=note>текст</p>", "текст", true},
        // The hidden attribute gives way to an author's display, and comes back with revert.
        {"<style>.o { display: block }</style><div hidden class=o>текст</div>", "текст", true},
        {"<div hidden style='display: revert'>текст</div>", "текст", false},
        // A check box stands as nothing between words, but keeps the white space around it.
        {"<p>проверено<input type=checkbox>мастером</p>", "провереномастером", true},
        {"<p>проверено<input type=checkbox>мастером</p>", "проверено мастером", false},
        {"<p>проверено <input type=checkbox> мастером</p>", "проверено мастером", false},
        {"<p><input type=checkbox> проверено</p>", " проверено", true},
    };
    for (const RStyleCase& c : cases) EXPECT_EQ(has(c.page, c.word), c.found) << c.page << " / " << c.word;
}

TEST(PageText, LinkedSheetsComeFromTheCallerInTheirPlaceInTheCascade) {
    TFakeSheets sheets({{"css/a.css", "#w { display: none }\n.t b { display: none }\n.s { display: block }"},
                        {"later.css", ".s { display: none }"}});
    const std::string page = Cp1251::fromUtf8(
        "<link rel=stylesheet href=css/a.css><link rel='alternate stylesheet' href=later.css>"
        "<link rel=stylesheet href=missing.css><link rel=stylesheet href=print.css media=print>"
        "<div id=w>проводка</div><div class=t>предохранитель <b>стартера</b> стоит</div><p class=s>поздний</p>"
        "<style>.s { display: none }</style><link rel=stylesheet href=later.css>");
    const TPageText text = ExtractPageText(page, &sheets);
    EXPECT_FALSE(PageContains(text, Cp1251::fromUtf8("проводка"), false));
    EXPECT_TRUE(PageContains(text, Cp1251::fromUtf8("предохранитель стоит"), false));
    EXPECT_FALSE(PageContains(text, Cp1251::fromUtf8("поздний"), false));  // the last sheet wins
    EXPECT_EQ(sheets.asked, (std::vector<std::string>{"css/a.css", "missing.css", "later.css"}));
    EXPECT_TRUE(PageContains(ExtractPageText(page), Cp1251::fromUtf8("проводка"), false));  // no sheets given
}

TEST(PageText, TheTitleIsTheFirstOneWithItsWhiteSpaceCollapsed) {
    EXPECT_EQ(ExtractPageText(Cp1251::fromUtf8("<title>\n  Тормоза  &amp;\tколодки </title><title>второй</title>")).Title(),
              Cp1251::fromUtf8("Тормоза & колодки"));
    EXPECT_EQ(ExtractPageText("<p>no title</p>").Title(), "");
    EXPECT_EQ(ExtractPageText("<title>frames</title><frameset><frame src=a.htm></frameset>").Title(), "frames");
    EXPECT_EQ(ExtractPageText("<meta charset=utf-8><title>\xE2\x98\xBA \xD0\xAF</title>").Title(), "? \xDF");
}
