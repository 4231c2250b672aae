#include <gtest/gtest.h>

#include <filesystem>

#include "packs/PackTestUtil.h"
#include "platform/hostpaths/Drives.h"
#include "platform/hostpaths/FileSearch.h"

TEST(FileSearch, MasksMatchLikeWindowsWildcards) {
    EXPECT_TRUE(MatchesMask("Font.TTF", "*.ttf"));
    EXPECT_TRUE(MatchesMask("noext", "*.*"));
    EXPECT_TRUE(MatchesMask("a1.htm", "a?.htm"));
    EXPECT_FALSE(MatchesMask("a12.htm", "a?.htm"));
    EXPECT_TRUE(MatchesMask("\xD8\xF0\xE8\xF4\xF2.ttf", "\xF8*.TTF"));  // Шрифт.ttf against ш*.TTF
    EXPECT_FALSE(MatchesMask("font.ttf.bak", "*.ttf"));
}

TEST(FileSearch, WalksSubFoldersOncePerMask) {
    const std::string root = MakeTempDir();
    std::filesystem::create_directories(root + "/Sub/Deep");
    for (const char* f : {"/a.TTF", "/b.fon", "/Sub/c.ttf", "/Sub/Deep/d.ttf", "/Sub/e.txt"}) WriteFileBytes(root + f, "");
    HostPathsService().SetDrive('q', root);
    TDynamicStringArray masks{"*.TTF", "*.fon"};
    const auto files = WalkFiles("q:\\", masks, true, false);
    EXPECT_EQ(masks, (TDynamicStringArray{"*.ttf", "*.fon"}));  // lower-cased in place
    EXPECT_EQ(files, (TDynamicStringArray{"q:\\a.TTF", "q:\\b.fon", "q:\\Sub\\c.ttf", "q:\\Sub\\Deep\\d.ttf"}));
    TDynamicStringArray all{"*.*", "*.txt"};
    const auto withDirs = WalkFiles("q:\\sub", all, false, true);
    EXPECT_EQ(withDirs, (TDynamicStringArray{"q:\\sub\\", "q:\\sub\\c.ttf", "q:\\sub\\e.txt", "q:\\sub\\e.txt"}));
    EXPECT_TRUE(WalkFiles("", all, true, true).empty());
}
