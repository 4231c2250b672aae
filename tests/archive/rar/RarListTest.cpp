// Listing the real archives: names in CP1251 with "\" and one substitute per foreign character,
// folder flags, sizes, DOS times, CRCs, in archive order.
#include <gtest/gtest.h>

#include "archive/rar/RarTestUtil.h"

namespace {

std::vector<std::string> names(const TRun& run) {
    std::vector<std::string> out;
    for (const TListed& entry : run.entries) out.push_back(entry.name);
    return out;
}

TRun list(const std::string& name) {
    TRunOptions options;
    options.mode = RAR_OM_LIST;
    options.operation = RAR_SKIP;
    return RunArchive(RealRar(name), options);
}

bool isFolder(const TListed* entry) { return entry && (entry->flags & RHDF_DIRECTORY) == RHDF_DIRECTORY; }

} // namespace

TEST(RarList, Rar4ArchivesListFilesLinksAndFoldersInOrder) {
    const TRun stored = list("test_read_format_rar.rar");
    EXPECT_EQ(stored.end, ERAR_END_ARCHIVE);
    EXPECT_EQ(names(stored), (std::vector<std::string>{"test.txt", "testlink", "testdir\\test.txt", "testdir", "testemptydir"}));
    const TListed* text = Find(stored, "test.txt");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size, 20u);
    EXPECT_EQ(text->crc, 0xBEC8A242u);
    EXPECT_EQ(text->time, 0x3EDA76B7u);  // the DOS time the header stores
    EXPECT_FALSE(isFolder(text));
    EXPECT_TRUE(isFolder(Find(stored, "testdir")));
    EXPECT_TRUE(isFolder(Find(stored, "testemptydir")));

    const TRun windows = list("test_read_format_rar_windows.rar");
    EXPECT_EQ(names(windows),
              (std::vector<std::string>{"testdir\\test.txt", "test.txt", "testshortcut.lnk", "testdir", "testemptydir"}));
    EXPECT_EQ(windows.entries[2].size, 441u);
    EXPECT_TRUE(isFolder(&windows.entries[3]));
}

// Japanese characters have no place in CP1251: each becomes one "_", folders keep their "\".
TEST(RarList, UnicodeNamesBecomeCp1251WithOneSubstitutePerCharacter) {
    const TRun run = list("test_read_format_rar_unicode.rar");
    EXPECT_EQ(run.end, ERAR_END_ARCHIVE);
    EXPECT_EQ(names(run), (std::vector<std::string>{
                              "___\\_______\\______ ______.txt",
                              "___\\_________long-filename-in-__.txt",
                              "___\\_______",
                              "___",
                              "___\\____",
                              "abcdefghijklmnopqrs___.txt",
                          }));
    EXPECT_TRUE(isFolder(&run.entries[2]));
    EXPECT_TRUE(isFolder(&run.entries[3]));
    EXPECT_EQ(run.entries[1].size, 5u);
    EXPECT_EQ(run.entries[5].size, 16u);
}

TEST(RarList, Rar5ArchivesListTheirFolderFirstAndTheirCrcs) {
    const TRun stored = list("test_read_format_rar5_stored.rar");
    ASSERT_EQ(stored.entries.size(), 1u);
    EXPECT_EQ(stored.entries[0].name, "helloworld.txt");
    EXPECT_EQ(stored.entries[0].size, 29u);
    EXPECT_EQ(stored.entries[0].crc, 0x95A043B4u);
    EXPECT_NE(stored.entries[0].time, 0u);

    const TRun win32 = list("test_read_format_rar5_win32.rar");
    EXPECT_EQ(win32.end, ERAR_END_ARCHIVE);
    EXPECT_EQ(names(win32), (std::vector<std::string>{"testdir", "test.bin", "test1.bin", "test2.bin", "test3.bin",
                                                      "test4.bin", "test5.bin", "test6.bin"}));
    EXPECT_TRUE(isFolder(&win32.entries[0]));
    EXPECT_FALSE(isFolder(&win32.entries[1]));
    EXPECT_EQ(win32.entries[1].size, 1200u);
    EXPECT_EQ(win32.entries[7].size, 4096u);
    EXPECT_EQ(win32.entries[7].crc, 0x36A448FFu);
}

// The encrypted RAR5 entries carry no time; their FileTime is 0. Both kinds of encrypted entry are flagged.
TEST(RarList, EncryptedEntriesAreFlaggedAndAnEntryWithoutTimeHasNone) {
    const TRun rar5 = list("test_read_format_rar5_encrypted.rar");
    ASSERT_EQ(rar5.entries.size(), 4u);
    EXPECT_EQ(rar5.entries[0].name, "a.txt");
    EXPECT_NE(rar5.entries[0].time, 0u);
    EXPECT_EQ(rar5.entries[0].flags & 0x04, 0u);
    EXPECT_EQ(rar5.entries[1].name, "b.txt");
    EXPECT_EQ(rar5.entries[1].time, 0u);
    EXPECT_EQ(rar5.entries[1].flags & 0x04, 0x04u);

    const TRun rar4 = list("test_read_format_rar_encryption_data.rar");
    ASSERT_EQ(rar4.entries.size(), 2u);
    EXPECT_EQ(rar4.entries[0].name, "foo.txt");
    EXPECT_EQ(rar4.entries[1].flags & 0x04, 0x04u);
}
