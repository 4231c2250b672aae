// The book's files: the pack first, then the disc; listings of a folder from both.
#include "packs/BookFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/Diagnostics.h"
#include "base/FileErrors.h"
#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "packs/PackWriter.h"

namespace {

class BookFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = MakeTempDir();
        TPackWriter w;
        w.AddFile("PAGE.files\\Pic.gif", "packed picture");
        w.AddFile("PAGE.files\\.hidden", "never listed");
        w.AddFile("PAGE.files\\Sub\\Deep.txt", "packed deep");
        w.AddFile("BOTH.HTM", "pack wins");
        WriteFileBytes(dir_ + "/interface.dat", w.Build());
        WriteFileBytes(dir_ + "/both.htm", "disk copy");
        std::filesystem::create_directories(dir_ + "/page.files/empty");
        WriteFileBytes(dir_ + "/page.files/pic.GIF", "disk picture");
        WriteFileBytes(dir_ + "/page.files/note.txt", "disk note");
        ASSERT_EQ(OpenPack(dir_ + "/interface.dat"), 0);
        SetPackRootPrefix(dir_ + "/");
    }
    void TearDown() override { ClosePack(); }

    std::string Read(const std::string& path) {
        TMemoryStream stream;
        BookFiles().Read(path, stream);
        return std::string(stream.View());
    }
    std::string dir_;
};

} // namespace

TEST_F(BookFilesTest, ThePackDecidesWhereItHoldsAFileAndTheDiscElsewhere) {
    EXPECT_EQ(Read(dir_ + "/Both.htm"), "pack wins");
    EXPECT_EQ(Read(dir_ + "/page.files/note.txt"), "disk note");
    EXPECT_TRUE(BookFiles().Has(dir_ + "/page.files/sub/deep.txt"));
    EXPECT_FALSE(BookFiles().Has(dir_ + "/page.files"));  // a folder is no file
    try {
        Read(dir_ + "/missing.htm");
        FAIL() << "a missing file must throw";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos);
    }
    ClosePack();  // without a pack only the disc is left
    EXPECT_EQ(Read(dir_ + "/both.htm"), "disk copy");
    EXPECT_EQ(BookFiles().Pack(), nullptr);
}

TEST_F(BookFilesTest, AFolderListsFromThePackThenTheDiscWithoutRepeats) {
    const TDynamicStringArray listed = BookFiles().List(dir_ + "/page.files");
    // The pack's names in their stored form first, hidden ones left out; then what only the disc
    // has; pic.GIF is the pack's PIC.GIF in another case.
    EXPECT_EQ(listed, (TDynamicStringArray{"PIC.GIF", "SUB\\", "SUB\\DEEP.TXT", "empty\\", "note.txt"}));
    EXPECT_TRUE(BookFiles().List(dir_ + "/missing").empty());
    EXPECT_TRUE(BookFiles().List(dir_ + "/both.htm").empty());  // a file is no folder
}

TEST_F(BookFilesTest, ADamagedPackEntryIsAnErrorAndNotTakenFromTheDisc) {
    HandPack hand;
    hand.directories = {{0, 1}};
    HandEntry entry = hand.AddData("BOTH.HTM", "zlib data that is not", false);
    entry.unpacked = entry.stored * 2;  // claims to be compressed
    hand.entries = {entry};
    WriteFileBytes(dir_ + "/damaged.dat", BuildHandPack(hand));
    ASSERT_EQ(OpenPack(dir_ + "/damaged.dat"), 0);
    SetPackRootPrefix(dir_ + "/");
    EXPECT_TRUE(BookFiles().Has(dir_ + "/both.htm"));
    EXPECT_THROW(Read(dir_ + "/both.htm"), EFOpenError);
}

TEST(DiscFolder, AFolderThatLinksBackUpItsTreeEndsItsListing) {
    const std::string dir = MakeTempDir();
    std::filesystem::create_directories(dir + "/disc/inner");
    WriteFileBytes(dir + "/disc/inner/a.txt", "a");
    std::filesystem::create_directory_symlink(dir + "/disc", dir + "/disc/inner/loop");
    const TDynamicStringArray listed = TDiscFolder().List(dir + "/disc");
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed[0], "inner\\");
    EXPECT_LT(listed.size(), 1000u);
}

namespace {
std::vector<std::string>& Said() {
    static std::vector<std::string> lines;
    return lines;
}
} // namespace

TEST_F(BookFilesTest, EveryFileNotFoundOrDamagedIsOneDiagnosticLine) {
    SetDiagnosticSink([](TDiagnosticLayer layer, const std::string& line) {
        if (layer == TDiagnosticLayer::Packs) Said().push_back(line);
    });
    Said().clear();
    EXPECT_THROW(Read(dir_ + "/gone.htm"), EFOpenError);
    EXPECT_EQ(Read(dir_ + "/both.htm"), "pack wins");  // found: nothing said
    SetDiagnosticSink(nullptr);
    EXPECT_THROW(Read(dir_ + "/gone.htm"), EFOpenError);  // no sink: nothing said
    ASSERT_EQ(Said().size(), 1u);
    EXPECT_EQ(Said()[0], "neither in the pack nor on the disc: " + dir_ + "/gone.htm");
}

TEST_F(BookFilesTest, PartsOfAFileComeFromAnyContainerAndNeverRunPastItsEnd) {
    const IBookFiles& pack = *BookFiles().Pack();
    EXPECT_EQ(pack.SizeOf(dir_ + "/both.htm"), 9u);
    EXPECT_EQ(pack.SizeOf(dir_ + "/missing.htm"), std::nullopt);
    std::string part;
    EXPECT_TRUE(pack.ReadPart(dir_ + "/both.htm", 5, 4, part));
    EXPECT_EQ(part, "wins");
    EXPECT_TRUE(pack.ReadPart(dir_ + "/both.htm", 9, 0, part));
    EXPECT_FALSE(pack.ReadPart(dir_ + "/both.htm", 6, 4, part));
    EXPECT_FALSE(pack.ReadPart(dir_ + "/both.htm", ~uint64_t(0), 2, part));
}
