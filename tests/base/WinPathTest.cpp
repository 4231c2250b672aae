// Slicing the book's Windows paths: names, folders, extensions and anchors.
#include "base/WinPath.h"

#include <gtest/gtest.h>

TEST(WinPath, NamesEndAtAnySeparatorAndADriveColon) {
    EXPECT_EQ(WinPath::FileName("d:\\run\\html\\Page.HTM"), "Page.HTM");
    EXPECT_EQ(WinPath::FileName("html/a.htm"), "a.htm");
    EXPECT_EQ(WinPath::FileName("d:page.htm"), "page.htm");
    EXPECT_EQ(WinPath::FileName("d:\\run\\"), "");
    EXPECT_EQ(WinPath::Folder("d:\\run\\html\\a.htm"), "d:\\run\\html\\");
    EXPECT_EQ(WinPath::Folder("a.htm"), "");
    EXPECT_EQ(WinPath::WithBackslash("c:\\out"), "c:\\out\\");
    EXPECT_EQ(WinPath::WithBackslash("c:\\out\\"), "c:\\out\\");
    EXPECT_EQ(WinPath::WithBackslash(""), "");
}

TEST(WinPath, ExtensionsBelongToTheNameAndKeepWhatFollows) {
    EXPECT_EQ(WinPath::Extension("d:\\run\\a.HTM#part"), ".HTM#part");
    EXPECT_EQ(WinPath::Extension("d:\\run.old\\readme"), "");  // a dot in a folder is no extension
    EXPECT_EQ(WinPath::Extension("d:\\run\\archive.tar.gz"), ".gz");
    EXPECT_EQ(WinPath::WithoutExtension("d:\\html\\engine.htm"), "d:\\html\\engine");
    EXPECT_EQ(WinPath::WithoutExtension("d:\\html.v2\\engine"), "d:\\html.v2\\engine");
}

TEST(WinPath, AnchorsStartAtTheFirstHash) {
    EXPECT_EQ(WinPath::SplitAnchor("a.htm#x#y"), (std::pair<std::string, std::string>{"a.htm", "x#y"}));
    EXPECT_EQ(WinPath::SplitAnchor("a.htm"), (std::pair<std::string, std::string>{"a.htm", ""}));
    EXPECT_EQ(WinPath::WithoutAnchor("#top"), "");
}
