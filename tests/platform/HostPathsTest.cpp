#include <gtest/gtest.h>

#include <filesystem>

#include "packs/PackTestUtil.h"
#include "platform/hostpaths/HostPaths.h"

namespace fs = std::filesystem;

namespace {
// A disc whose real names differ in case from the names the book uses, with a Cyrillic folder.
class HostPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = MakeTempDir();
        fs::create_directories(root_ + "/RUN/Html/Глава");
        WriteFileBytes(root_ + "/RUN/Html/Index.HTM", "index");
        WriteFileBytes(root_ + "/RUN/Html/Глава/Страница.htm", "page");
        WriteFileBytes(root_ + "/top.txt", "top");
        paths_.SetDrive('d', root_);
        paths_.SetCurrentDirectory("d:\\run\\");
    }
    std::string root_;
    THostPaths paths_;
};
} // namespace

TEST_F(HostPathsTest, FindsFilesWhateverTheLetterCase) {
    EXPECT_EQ(paths_.Find("d:\\run\\html\\index.htm"), root_ + "/RUN/Html/Index.HTM");
    EXPECT_EQ(paths_.Find("D:/RUN/HTML/INDEX.HTM"), root_ + "/RUN/Html/Index.HTM");
    // глава\СТРАНИЦА.HTM in CP1251
    EXPECT_EQ(paths_.Find("d:\\run\\html\\\xE3\xEB\xE0\xE2\xE0\\\xD1\xD2\xD0\xC0\xCD\xC8\xD6\xC0.HTM"),
              root_ + "/RUN/Html/Глава/Страница.htm");
    EXPECT_EQ(paths_.Find("html\\index.htm"), root_ + "/RUN/Html/Index.HTM");  // relative to the current folder
    EXPECT_EQ(paths_.Find("\\top.txt"), root_ + "/top.txt");                  // relative to the drive root
    EXPECT_FALSE(paths_.Find("d:\\run\\html"));                               // a folder is not a file
    EXPECT_EQ(paths_.Find("d:\\run\\html", true), root_ + "/RUN/Html");
    EXPECT_FALSE(paths_.Find("d:\\run\\html\\missing.htm"));
    EXPECT_FALSE(paths_.Find("e:\\run\\html\\index.htm"));  // no such drive
    EXPECT_FALSE(paths_.Find("\\\\server\\share\\a.htm"));
}

TEST_F(HostPathsTest, PathsNeverEscapeTheirDrive) {
    EXPECT_EQ(paths_.Find("d:\\..\\..\\..\\top.txt"), root_ + "/top.txt");
    EXPECT_EQ(paths_.Find("d:\\run\\..\\..\\..\\..\\run\\html\\index.htm"), root_ + "/RUN/Html/Index.HTM");
    EXPECT_EQ(paths_.ToHost("d:\\..\\new.txt"), root_ + "/new.txt");
    EXPECT_FALSE(paths_.Find("d:\\" + std::string(300, 'a')));
    EXPECT_FALSE(paths_.Find(std::string("d:\\run\0x", 8)));
    EXPECT_FALSE(paths_.Find(""));
}

TEST_F(HostPathsTest, NewFilesKeepExistingFoldersAndTheGivenSpelling) {
    const auto host = paths_.ToHost("d:\\run\\HTML\\\xCD\xEE\xE2\xFB\xE9.txt")  /* Новый.txt */;
    ASSERT_TRUE(host);
    EXPECT_EQ(*host, root_ + "/RUN/Html/\xD0\x9D\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xB9.txt");  // UTF-8 "Новый"
    WriteFileBytes(*host, "new");
    // The cached listing of the folder notices the new file.
    EXPECT_EQ(paths_.Find("d:\\run\\html\\\xED\xEE\xE2\xFB\xE9.TXT"), *host);
}

TEST_F(HostPathsTest, HostPathsHaveAWindowsForm) {
    EXPECT_EQ(paths_.ToWindows(root_ + "/RUN/Html/Index.HTM"), "d:\\RUN\\Html\\Index.HTM");
    EXPECT_EQ(paths_.ToWindows(root_), "d:\\");
    EXPECT_EQ(paths_.ToWindows("/usr/share/../lib"), "z:\\usr\\lib");
    EXPECT_EQ(paths_.ToWindows(root_ + "/RUN/Html/Глава"), "d:\\RUN\\Html\\\xC3\xEB\xE0\xE2\xE0");
    // And back.
    EXPECT_EQ(paths_.Find(paths_.ToWindows(root_ + "/RUN/Html/Глава/Страница.htm")), root_ + "/RUN/Html/Глава/Страница.htm");
    EXPECT_EQ(paths_.Find(root_ + "/top.txt"), root_ + "/top.txt");  // a host path is a z: path
}

TEST_F(HostPathsTest, ListsFoldersInCaseInsensitiveOrder) {
    WriteFileBytes(root_ + "/RUN/b.txt", "");
    WriteFileBytes(root_ + "/RUN/A.txt", "");
    const auto entries = paths_.List("d:\\run");
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, "A.txt");
    EXPECT_EQ((*entries)[1].name, "b.txt");
    EXPECT_EQ((*entries)[2].name, "Html");
    EXPECT_TRUE((*entries)[2].directory);
}
