// The keyword index and the thesaurus index, as files on disk beside the program.
#include <gtest/gtest.h>

#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "search/MakeFind.h"
#include "search/TesaurusFind.h"

namespace {

struct Index : ::testing::Test {
    std::string dir = MakeTempDir();
    std::vector<std::string> messages;
    void SetUp() override { ClosePack(); }
    void Write(const char* name, const std::string& text) { WriteFileBytes(dir + "/" + name, text); }
    TMakeFind Find() {
        TMakeFind find([this](const std::string& text) { messages.push_back(text); });
        find.SetIndexFolder(dir + "\\");
        return find;
    }
};

const std::string kYo = "\xB8\xEB\xEA\xE0";    // ёлка
const std::string kYoUp = "\xA8\xCB\xCA\xC0";  // ЁЛКА

}  // namespace

TEST_F(Index, AKeywordMatchesInAnyLetterCaseButNotWithATrailingBlank) {
    Write("keywords.idx", "brake\r" + kYo + "\rlast");  // the last line has no CR
    Write("index.idx", "1\r 3 : 1 :3 \r2:x:$4:+1");
    Write("files.idx", "one.htm#:# One\rtwo.htm \r  three.htm #:#Three#:#more\r");
    TDynamicStringArray files, titles;
    EXPECT_TRUE(Find().FindKeyword(kYoUp, files, titles, false));
    EXPECT_EQ(files, (TDynamicStringArray{"one.htm", "three.htm"}));  // in files.idx order, once each
    EXPECT_EQ(titles, (TDynamicStringArray{" One", "Three#:#more"}));
    files.clear();
    titles.clear();
    EXPECT_FALSE(Find().FindKeyword(kYoUp, files, titles, true));
    EXPECT_FALSE(Find().FindKeyword("brake ", files, titles, false));
    EXPECT_TRUE(Find().FindKeyword("last", files, titles, false));  // "x", "$4", "+1" are skipped
    EXPECT_EQ(files, (TDynamicStringArray{"two.htm"}));
    EXPECT_EQ(titles, (TDynamicStringArray{""}));  // a line without "#:#" is all file
    EXPECT_TRUE(messages.empty());
}

TEST_F(Index, MissingFilesAndShortIndexes) {
    Write("keywords.idx", "a\rb\rc");
    Write("index.idx", "1\n2\n");  // LF only: one line, "12"
    TDynamicStringArray files, titles;
    EXPECT_FALSE(Find().FindKeyword("a", files, titles, false));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "\xC8\xED\xE4\xE5\xF1\xEA\xED\xFB\xE9(\xE5) \xF4\xE0\xE9\xEB(\xFB) \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED");
    Write("files.idx", "a.htm#:#A\rb.htm#:#B\r");
    EXPECT_FALSE(Find().FindKeyword("b", files, titles, false));  // index.idx has no line 2
    EXPECT_FALSE(Find().FindKeyword("a", files, titles, false));  // page 12 has no line
    Write("index.idx", "2:1\r");
    EXPECT_TRUE(Find().FindKeyword("a", files, titles, false));
    EXPECT_EQ(files, (TDynamicStringArray{"a.htm", "b.htm"}));
}

TEST_F(Index, ThesaurusTermsOccurInTheWordFromTheirFirstCharacter) {
    TMakeTesaurusFind thesaurus;
    thesaurus.SetThesaurusFolder(dir);
    std::string page;
    EXPECT_FALSE(thesaurus.FindTerm("", page));  // no index: silent
    Write("tezaurus.idx", "start ~ t\\start.htm \r tor~t\\blank.htm\r\xF2\xEE\xF0\xEC\xEE\xE7~t\\brake.htm#a\r"
                          "\xF2\xEE\xF0~t\\tor.htm\r~t\\empty.htm\r");  // тормоз, тор
    EXPECT_TRUE(thesaurus.FindTerm("", page));
    EXPECT_EQ(page, "t\\start.htm");
    EXPECT_TRUE(thesaurus.FindTerm("\xD2\xCE\xD0\xCC\xCE\xC7\xC0", page));  // ТОРМОЗА: the earlier line wins
    EXPECT_EQ(page, "t\\brake.htm#a");
    EXPECT_TRUE(thesaurus.FindTerm("\xF2\xEE\xF0\xF6\xFB", page));  // торцы: only "тор" occurs
    EXPECT_EQ(page, "t\\tor.htm");
    EXPECT_FALSE(thesaurus.FindTerm("motor", page));  // " tor" begins with a blank: never matches
    EXPECT_FALSE(thesaurus.FindTerm("x", page));      // an empty term matches nothing
    Write("tezaurus.idx", "no tilde\r");
    EXPECT_FALSE(thesaurus.FindTerm("", page));
}

TEST(PageTitles, ALinesFileNamesItsPageRelativeToTheFolderOrByNameAlone) {
    const std::string lines = " html\\A.htm #: # no\rhtml/a.htm#:# First \rhtml\\a.htm#:#Second\rB.HTM#:#Bare\r"
                              "x:\\other\\c.htm#:#Elsewhere";
    TMemoryStream files;
    files.Assign(lines.data(), lines.size());
    TPageTitles titles;
    titles.Read(files, "d:\\run");
    EXPECT_EQ(titles.TitleOf("D:\\RUN\\HTML\\A.HTM"), "First");  // "#: #" is no separator
    EXPECT_EQ(titles.TitleOf("d:\\run\\deep\\er\\b.htm"), "Bare");
    EXPECT_EQ(titles.TitleOf("x:\\other\\c.htm"), "Elsewhere");
    EXPECT_EQ(titles.TitleOf("d:\\run\\other\\a.htm"), std::nullopt);
}
