// Extraction never leaves its destination: names that are absolute, carry a drive or climb with
// "..", symbolic links inside the destination, planted before or met on the way, and links that
// would copy a file this extraction did not write.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "archive/rar/RarOutput.h"
#include "archive/rar/RarTestUtil.h"

namespace fs = std::filesystem;

TEST(RarSafety, NamesThatLeaveTheDestinationAreRefused) {
    std::vector<std::string> parts;
    for (const char* name : {"..\\x", "\\abs", "/abs", "a\\..\\..\\b", "a/../b", "c:\\x", "c:x", "x:stream", "..", "", "\\",
                             ".\\.", "a\\..\\b"})
        EXPECT_FALSE(RarSafeComponents(name, parts)) << name;
    EXPECT_FALSE(RarSafeComponents(std::string("a\0\\..", 5), parts));

    ASSERT_TRUE(RarSafeComponents("a\\.\\b\\\\c..d\\...", parts));
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "b", "c..d", "..."}));
    ASSERT_TRUE(RarSafeComponents("\xCF\xE0\xEF\xEA\xE0/f", parts));  // "Папка" in CP1251
    EXPECT_EQ(parts, (std::vector<std::string>{"\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0", "f"}));
}

TEST(RarSafety, SymbolicLinksInsideTheDestinationAreNeverFollowed) {
    const std::string outside = MakeTempDir();
    const std::string dest = MakeTempDir();
    fs::create_directory_symlink(outside, dest + "/sub");
    WriteBytes(outside + "/target", "keep");
    fs::create_symlink(outside + "/target", dest + "/leaf");

    TRarOutput through;
    EXPECT_EQ(through.Open(dest, "sub\\x"), ERAR_ECREATE);
    TRarOutput deeper;
    EXPECT_EQ(deeper.Open(dest, "sub\\new\\x"), ERAR_ECREATE);
    TRarOutput onto;
    EXPECT_EQ(onto.Open(dest, "leaf"), ERAR_ECREATE);
    EXPECT_EQ(RarMakeFolder(dest, "sub\\made"), ERAR_ECREATE);
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 1);
    EXPECT_EQ(ReadBytes(outside + "/target"), "keep");

    // Through the public calls: the archive's "testdir\test.txt" meets the planted link.
    fs::remove(dest + "/sub");
    fs::create_directory_symlink(outside, dest + "/testdir");
    TRunOptions options;
    options.operation = RAR_EXTRACT;
    options.dest = dest;
    const TRun run = RunArchive(RealRar("test_read_format_rar.rar"), options);
    ASSERT_EQ(run.entries.size(), 5u);
    EXPECT_EQ(run.entries[0].processed, ERAR_SUCCESS);
    EXPECT_EQ(run.entries[2].processed, ERAR_ECREATE);
    EXPECT_EQ(run.entries[3].processed, ERAR_ECREATE);  // the folder entry "testdir" itself
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 1);
    EXPECT_TRUE(fs::is_regular_file(dest + "/test.txt"));
}

// A file is written under a temporary name and takes its place only when complete.
TEST(RarSafety, AnUnfinishedFileLeavesTheEarlierOneAlone) {
    const std::string dest = MakeTempDir();
    WriteBytes(dest + "/f.txt", "earlier");
    {
        TRarOutput output;
        ASSERT_EQ(output.Open(dest, "f.txt"), ERAR_SUCCESS);
        ASSERT_EQ(output.Write("new", 3), ERAR_SUCCESS);
    }
    EXPECT_EQ(ReadBytes(dest + "/f.txt"), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(dest), {}), 1);

    TRarOutput output;
    ASSERT_EQ(output.Open(dest + "/made/below", "d\\f.txt"), ERAR_SUCCESS);
    ASSERT_EQ(output.Write("new", 3), ERAR_SUCCESS);
    ASSERT_EQ(output.Commit(true, 1000000000), ERAR_SUCCESS);
    EXPECT_EQ(ReadBytes(dest + "/made/below/d/f.txt"), "new");
    struct stat st {};
    ASSERT_EQ(stat((dest + "/made/below/d/f.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, 1000000000);
}

// A hard link copies only a file written earlier in the same extraction; anything else is a
// reported failure that writes nothing and reads nothing outside. The destination holds a file of
// an earlier extraction and has a secret beside it.
TEST(RarSafety, ALinkToAFileThisExtractionDidNotWriteFails) {
    struct TCase {
        const char* what;
        std::vector<TRar5Entry> entries;
        std::vector<int> operations;
        std::string link = "hard.txt";
    };
    const TRar5Entry link = Rar5Link("hard.txt", 4, "old.txt");
    const std::vector<TCase> cases{
        {"target not in the archive, only on disk", {link}, {}},
        {"target after the link", {link, Rar5File("old.txt", "new")}, {}},
        {"target skipped", {Rar5File("old.txt", "new"), link}, {RAR_SKIP}},
        {"target tested only", {Rar5File("old.txt", "new"), link}, {RAR_TEST}},
        {"target outside", {Rar5Link("hard.txt", 4, "../secret.txt")}, {}},
        {"target refused", {Rar5File("../secret.txt", "x"), Rar5Link("hard.txt", 4, "../secret.txt")}, {}},
        {"target a folder", {Rar5Folder("dir"), Rar5Link("hard.txt", 4, "dir")}, {}},
        {"link named outside", {Rar5File("a.txt", "a"), Rar5Link("../hard.txt", 4, "a.txt")}, {}, "..\\hard.txt"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string base = MakeTempDir(), dest = base + "/dest";
        fs::create_directory(dest);
        WriteBytes(base + "/secret.txt", "secret");
        WriteBytes(dest + "/old.txt", "old");
        WriteBytes(base + "/a.rar", MakeRar5(c.entries));
        TRunOptions options;
        options.operation = RAR_EXTRACT;
        options.operations = c.operations;
        options.dest = dest;
        const TRun run = RunArchive(base + "/a.rar", options);
        ASSERT_TRUE(Find(run, c.link));
        EXPECT_EQ(Find(run, c.link)->processed, ERAR_ECREATE);
        EXPECT_FALSE(fs::exists(dest + "/hard.txt"));
        EXPECT_FALSE(fs::exists(base + "/hard.txt"));
        EXPECT_EQ(ReadBytes(base + "/secret.txt"), "secret");
    }
}

// The copy is read on the same terms as it is written: the target's folder turned into a link
// to elsewhere after the target was written is not passed through.
TEST(RarSafety, ALinkDoesNotReadThroughALinkPlantedAfterItsTarget) {
    const std::string outside = MakeTempDir(), dest = MakeTempDir();
    WriteBytes(outside + "/a.txt", "secret");
    const std::string archive = outside + "/links.rar";
    WriteBytes(archive, MakeRar5({Rar5File("docs/a.txt", "hello"), Rar5Link("hard.txt", 4, "docs/a.txt")}));
    TRunOptions options;
    options.operation = RAR_EXTRACT;
    options.dest = dest;
    options.beforeProcess = [&](const std::string& name) {
        if (name != "hard.txt") return;
        fs::rename(dest + "/docs", dest + "/moved");
        fs::create_directory_symlink(outside, dest + "/docs");
    };
    const TRun run = RunArchive(archive, options);
    ASSERT_EQ(run.entries.size(), 2u);
    EXPECT_EQ(run.entries[0].processed, ERAR_SUCCESS);
    EXPECT_EQ(run.entries[1].processed, ERAR_ECREATE);
    EXPECT_FALSE(fs::exists(dest + "/hard.txt"));
}
