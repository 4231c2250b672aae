// An archive's listing as pages: the directories completed, the pages and their ".." links, the
// sizes and dates as shown, the folder name of an archive, names that would break a page, and
// names extraction refuses.
#include <gtest/gtest.h>

#include "archive/listing/ArchiveListing.h"
#include "base/Cp1251.h"

namespace {

std::string u(const char* utf8) { return Cp1251::fromUtf8(utf8); }

const RInfoFiles* PageOf(const std::vector<RInfoFiles>& pages, const std::string& name) {
    for (const RInfoFiles& page : pages)
        if (page.name == name) return &page;
    return nullptr;
}

}  // namespace

TEST(Listing, FilesInFoldersTheArchiveDoesNotNameGetPagesWithParentLinks) {
    std::vector<RListDir> dirs{{"", "", 0}, {"x", "", 7}};  // x is named; a and a\b are not
    const std::vector<RListFile> files{{"a\\b\\deep.txt", 5, 100}, {"top.txt", 1, 0}, {"x\\in.txt", 2, 0}};
    CompleteDirectories(dirs, files);
    ASSERT_EQ(dirs.size(), 4u);
    EXPECT_EQ(dirs[2].name, "a\\b");
    EXPECT_EQ(dirs[3].name, "a");
    EXPECT_EQ(dirs[3].time, 100u);  // the time of the entry that needed it
    const auto pages = BuildListingPages(dirs, files, 42);
    EXPECT_EQ(pages[0].page, "as_042.htm");
    const RInfoFiles* root = PageOf(pages, "");
    const RInfoFiles* ab = PageOf(pages, "a\\b");
    ASSERT_TRUE(root && ab);
    ASSERT_EQ(root->dirs.size(), 2u);  // x and a; no ".." on the root
    EXPECT_EQ(root->dirs[0].name, "x");
    EXPECT_EQ(root->files.size(), 1u);
    ASSERT_EQ(ab->dirs.size(), 1u);
    EXPECT_EQ(ab->dirs[0].name, "..");
    EXPECT_EQ(ab->dirs[0].page, PageOf(pages, "a")->page);
    EXPECT_EQ(ab->files[0].name, "a\\b\\deep.txt");
}

TEST(Listing, SizesAndDatesReadAsTheBookShowsThem) {
    EXPECT_EQ(SizeText(999), u("999 байт"));
    EXPECT_EQ(SizeText(1000), u("1 Кбайт"));
    EXPECT_EQ(SizeText(1234567), "1\xA0" "235" + u(" Кбайт"));
    EXPECT_EQ(SizeText(2500), u("2 Кбайт"));  // halves to even
    EXPECT_EQ(SizeText(3500), u("4 Кбайт"));
    EXPECT_EQ(SizeText(5000000000000ULL), "5\xA0" "000\xA0" "000\xA0" "000" + u(" Кбайт"));
    const uint32_t dos = (2003u - 1980) << 25 | 2u << 21 | 7u << 16 | 13u << 11 | 5u << 5;
    EXPECT_EQ(DateText(dos), u("07 фев 03 13:05"));
    EXPECT_EQ(DateText(0), "");
}

TEST(Listing, AnArchivePathBecomesOneFolderName) {
    EXPECT_EQ(MangledName("D:\\dir\\file.rar"), "D__dir_file_rar");
    EXPECT_EQ(MangledName("d:\\dir.v2\\file"), "d__dir.v2_file");  // only the last of \ : . is the first
    const std::string longPath = "d:\\" + std::string(300, 'n') + ".rar";
    const std::string name = MangledName(longPath);
    EXPECT_LE(name.size(), 200u);
    EXPECT_NE(name, MangledName("d:\\" + std::string(300, 'n') + ".zip"));
}

TEST(Listing, PagesFollowTheTemplatesAndNamesCannotBreakThem) {
    const std::string frameset = FramesetPageText("d:\\a.rar", "as_01.htm");
    EXPECT_NE(frameset.find("<title>" + u("Содержимое архива: ") + "d:\\a.rar</title>"), std::string::npos);
    EXPECT_NE(frameset.find("<frame src=\"as_01.htm\" name=\"Bot\">"), std::string::npos);
    RInfoFiles info{"", "as_0.htm", {{"sub", "as_1.htm", 0}}, {{"size & time <b>#1\".txt", 1000, 0}}};
    const std::string page = DirectoryPageText("d:\\a.rar", info);
    EXPECT_NE(page.find("<tr> <td width=\"50%\"><a href=\"as_1.htm\">sub</a></td><td align=\"right\" width=\"25%\"></td> "
                        "<td width=\"25%\"></td> </tr>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("<a href=\"size %26 time %3Cb%3E%231%22.txt\">size &amp; time &lt;b&gt;#1&quot;.txt</a>"),
              std::string::npos);
    EXPECT_NE(page.find(u("1 Кбайт")), std::string::npos);
    EXPECT_NE(BarPageText().find(u(">Имя</th>")), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 26), "</table> </body> </html>\r\n");
}

// A name extraction refuses makes no folder: the file is on the root page under its last part,
// marked, as plain text without a link; the safe file beside it is listed as before.
TEST(Listing, RefusedFileNamesAreListedOnTheRootMarkedAndLinkNowhere) {
    const struct {
        const char* name;
        const char* shown;  // as the page holds it
    } cases[] = {
        {"..\\tmp\\evil.txt", "evil.txt"},
        {"z:\\evil.txt", "evil.txt"},
        {"\\abs\\x.txt", "x.txt"},
        {"a\\..\\..\\b.txt", "b.txt"},
        {"/etc/passwd", "passwd"},
        {"c:x", "c:x"},
        {"..", ".."},
        {"d\\..\\", "d\\..\\"},  // nothing after the last separator
        {"..\\<i>&.txt", "&lt;i&gt;&amp;.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<RListDir> dirs{{"", "", 0}};
        const std::vector<RListFile> files{{c.name, 3, 0}, {"keep\\ok.txt", 1, 0}};
        CompleteDirectories(dirs, files);
        ASSERT_EQ(dirs.size(), 2u);
        EXPECT_EQ(dirs[1].name, "keep");
        const auto pages = BuildListingPages(dirs, files, 1);
        ASSERT_EQ(pages.size(), 2u);
        ASSERT_EQ(pages[0].files.size(), 1u);
        EXPECT_EQ(pages[0].files[0].name, c.name);
        const std::string root = DirectoryPageText("d:\\a.rar", pages[0]);
        EXPECT_NE(root.find("<tr> <td width=\"50%\">" + std::string(c.shown) + u(" (не распаковывается)") + "</td>"),
                  std::string::npos);
        EXPECT_EQ(root.find("href=", root.find("href=") + 1), std::string::npos);  // only the folder "keep" links
        EXPECT_NE(DirectoryPageText("d:\\a.rar", pages[1]).find("<a href=\"keep\\ok.txt\">ok.txt</a>"), std::string::npos);
    }
}

TEST(Listing, RefusedDirectoriesGetNoPage) {
    std::vector<RListDir> dirs{{"", "", 0}, {"..\\up", "", 0}, {"c:\\d", "", 0}, {"\\abs", "", 0}, {"safe", "", 0}};
    const std::vector<RListDir> given = dirs;
    CompleteDirectories(dirs, {});
    ASSERT_EQ(dirs.size(), 2u);
    EXPECT_EQ(dirs[1].name, "safe");
    const auto pages = BuildListingPages(given, {}, 1);  // not completed: still no page for them
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].dirs.size(), 1u);
    EXPECT_EQ(pages[0].dirs[0].name, "safe");
}
