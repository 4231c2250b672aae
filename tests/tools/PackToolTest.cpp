// bookpack pack: packing a host tree, reading it back, and extracting hostile or damaged packs.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "base/Cp1251.h"
#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "packs/PackWriter.h"
#include "tools/BookpackRun.h"

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

namespace {

std::string cp(const std::string& utf8) { return Cp1251::fromUtf8(utf8); }

std::string readEntry(const TPack& pack, const std::string& cp1251Path) {
    TMemoryStream stream;
    EXPECT_TRUE(pack.ReadEntry(pack.Resolve(cp1251Path), stream)) << Cp1251::toUtf8(cp1251Path);
    return std::string(stream.View());
}

} // namespace

TEST(BookpackPack, BuildListCheckExtractRoundTrip) {
    const std::string dir = MakeTempDir();
    const std::string page(20000, 'p'), picture("GIF89a\0\n\r\xff", 10);
    fs::create_directories(dir + "/src/Глава 1/Рисунки");
    fs::create_directories(dir + "/src/пусто");
    WriteFileBytes(dir + "/src/index.htm", "<html>");
    WriteFileBytes(dir + "/src/.hidden", "kept");
    WriteFileBytes(dir + "/src/Глава 1/страница.htm", page);
    WriteFileBytes(dir + "/src/Глава 1/Рисунки/рис.gif", picture);

    const TRunResult build = RunBookpack({"pack", "build", dir + "/src", "-o", dir + "/out/interface.dat"});
    // The output folder does not exist yet: the build must say so, not crash.
    EXPECT_EQ(build.status, 1);
    fs::create_directory(dir + "/out");
    ASSERT_EQ(RunBookpack({"pack", "build", dir + "/src", "-o", dir + "/out/interface.dat"}).status, 0);
    EXPECT_EQ(ListTree(dir + "/out"), Strings{"interface.dat"}) << "no temporary file stays behind";

    const auto pack = TPack::Open(dir + "/out/interface.dat");
    EXPECT_EQ(pack->ListFiles(), (Strings{cp("INDEX.HTM"), cp("ГЛАВА 1\\РИСУНКИ\\РИС.GIF"), cp("ГЛАВА 1\\СТРАНИЦА.HTM")}));
    EXPECT_EQ(readEntry(*pack, cp("глава 1\\страница.htm")), page);
    EXPECT_EQ(readEntry(*pack, cp("Глава 1/Рисунки/рис.gif")), picture);
    EXPECT_EQ(readEntry(*pack, ".hidden"), "kept");

    const TRunResult list = RunBookpack({"pack", "list", dir + "/out/interface.dat"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "INDEX.HTM\nГЛАВА 1\\РИСУНКИ\\РИС.GIF\nГЛАВА 1\\СТРАНИЦА.HTM\n");
    const TRunResult check = RunBookpack({"pack", "check", dir + "/out/interface.dat"});
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "checked 4 files, 0 damaged\n");
    EXPECT_EQ(check.err, "");

    const TRunResult extract = RunBookpack({"pack", "extract", dir + "/out/interface.dat", "-o", dir + "/x"});
    EXPECT_EQ(extract.status, 0) << extract.err;
    EXPECT_EQ(ListTree(dir + "/x"), (Strings{".HIDDEN", "INDEX.HTM", "ГЛАВА 1", "ГЛАВА 1/РИСУНКИ", "ГЛАВА 1/РИСУНКИ/РИС.GIF",
                                             "ГЛАВА 1/СТРАНИЦА.HTM", "ПУСТО"}));
    EXPECT_EQ(ReadFileBytes(dir + "/x/ГЛАВА 1/СТРАНИЦА.HTM"), page);
    EXPECT_EQ(ReadFileBytes(dir + "/x/ГЛАВА 1/РИСУНКИ/РИС.GIF"), picture);

    // Chosen paths are looked up as the program does; one that is missing fails alone.
    const TRunResult some = RunBookpack({"pack", "extract", dir + "/out/interface.dat", "-o", dir + "/y", "глава 1/рисунки/рис.gif", "nosuch.htm"});
    EXPECT_EQ(some.status, 1);
    ASSERT_EQ(Lines(some.err).size(), 1u);
    EXPECT_NE(some.err.find("nosuch.htm"), std::string::npos);
    EXPECT_EQ(ListTree(dir + "/y"), (Strings{"ГЛАВА 1", "ГЛАВА 1/РИСУНКИ", "ГЛАВА 1/РИСУНКИ/РИС.GIF"}));

    const TRunResult cat = RunBookpack({"pack", "cat", dir + "/out/interface.dat", "ГЛАВА 1\\рисунки\\РИС.gif"});
    EXPECT_EQ(cat.status, 0);
    EXPECT_EQ(cat.out, picture);

    // The same tree packs to the same bytes.
    ASSERT_EQ(RunBookpack({"pack", "build", dir + "/src", "-o", dir + "/again.dat"}).status, 0);
    EXPECT_EQ(ReadFileBytes(dir + "/again.dat"), ReadFileBytes(dir + "/out/interface.dat"));

    // A pack written into its own source folder is not packed into the next build.
    fs::rename(dir + "/again.dat", dir + "/src/interface.dat");
    const TRunResult inside = RunBookpack({"pack", "build", dir + "/src", "-o", dir + "/src/interface.dat"});
    EXPECT_EQ(inside.status, 0);
    EXPECT_EQ(Lines(inside.err).size(), 1u);
    EXPECT_EQ(ReadFileBytes(dir + "/src/interface.dat"), ReadFileBytes(dir + "/out/interface.dat"));
}

TEST(BookpackPack, BuildRefusesNamesThePackCannotHoldAndKeepsTheOldPack) {
    const std::vector<Strings> trees = {
        {"日本.htm"},                                  // no CP1251 spelling
        {"a.htm", "A.HTM"},                            // the same name once upper-cased
        {"sub/страница.htm", "SUB/x.htm"},             // folders clash too
        {std::string(32, 'a') + "я" + std::string(31, 'b')},  // 64 bytes in CP1251
    };
    for (const Strings& files : trees) {
        const std::string dir = MakeTempDir();
        for (const std::string& file : files) {
            fs::create_directories(fs::path(dir + "/src/" + file).parent_path());
            WriteFileBytes(dir + "/src/" + file, "x");
        }
        WriteFileBytes(dir + "/old.dat", "previous pack");
        const TRunResult run = RunBookpack({"pack", "build", dir + "/src", "-o", dir + "/old.dat"});
        EXPECT_EQ(run.status, 1) << files[0];
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_NE(run.err.find(fs::path(files.back()).begin()->string()), std::string::npos) << run.err;
        EXPECT_EQ(ReadFileBytes(dir + "/old.dat"), "previous pack");
        Strings top;
        for (const auto& item : fs::directory_iterator(dir)) top.push_back(item.path().filename().string());
        std::sort(top.begin(), top.end());
        EXPECT_EQ(top, (Strings{"old.dat", "src"})) << "no temporary file stays behind";
    }
}

TEST(BookpackPack, ExtractNeverWritesOutsideItsFolder) {
    // Names the writer never produces, made byte by byte: they would climb out of the
    // destination or be split into several names.
    HandPack hand;
    hand.directories = {{0, 6}, {6, 1}};
    hand.entries.push_back(hand.AddData("../ESCAPE.TXT", "escape", false));
    hand.entries.push_back({"..", 1, 0, 0, kPackKindDirectory});
    hand.entries.push_back(hand.AddData("", "empty", false));
    hand.entries.push_back(hand.AddData(".", "dot", false));
    hand.entries.push_back(hand.AddData("SUB\\..\\..\\BACK.TXT", "back", false));
    hand.entries.push_back(hand.AddData("OK.TXT", "ok", true));
    hand.entries.push_back(hand.AddData("EVIL.TXT", "evil", false));  // inside ".."
    const std::string dir = MakeTempDir();
    WriteFileBytes(dir + "/pack.dat", BuildHandPack(hand));

    const TRunResult all = RunBookpack({"pack", "extract", dir + "/pack.dat", "-o", dir + "/out/x"});
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(Lines(all.err).size(), 5u) << all.err;  // the five bad names; EVIL.TXT goes with ".."
    EXPECT_EQ(ReadFileBytes(dir + "/out/x/OK.TXT"), "ok");

    // Asked for by name, a file below ".." is refused too.
    const TRunResult chosen = RunBookpack({"pack", "extract", dir + "/pack.dat", "-o", dir + "/out/y", "../evil.txt"});
    EXPECT_EQ(chosen.status, 1);
    EXPECT_EQ(Lines(chosen.err).size(), 1u) << chosen.err;

    EXPECT_EQ(ListTree(dir), (Strings{"out", "out/x", "out/x/OK.TXT", "out/y", "pack.dat"}));
}

TEST(BookpackPack, CheckAndExtractReportDamagedEntries) {
    TPackWriter writer;
    writer.SetCompressDirectory(false);
    const std::string good(5000, 'g'), bad(5000, 'b'), shortened(5000, 's');
    writer.AddFile("GOOD.TXT", good);
    writer.AddFile("BAD.TXT", bad);
    writer.AddFile("SHORT.TXT", shortened);
    std::string bytes = writer.Build();
    const auto pack = TPack::FromBytes(bytes);
    // Spoil BAD.TXT's zlib stream, and make SHORT.TXT state more bytes than it unpacks to.
    const RPackEntry& badEntry = pack->Entries()[pack->Resolve("BAD.TXT")];
    bytes[pack->DataOrigin() + badEntry.offset + badEntry.stored / 2] ^= 0x55;
    const size_t shortField = 8 + 16 + 8 * pack->Directories().size() + 80 * pack->Resolve("SHORT.TXT") + 72;
    bytes[shortField] = static_cast<char>(bytes[shortField] + 10);
    const std::string dir = MakeTempDir();
    WriteFileBytes(dir + "/pack.dat", bytes);

    const TRunResult check = RunBookpack({"pack", "check", dir + "/pack.dat"});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.out, "checked 3 files, 2 damaged\n");
    const Strings errors = Lines(check.err);
    ASSERT_EQ(errors.size(), 2u) << check.err;
    EXPECT_NE(errors[0].find("BAD.TXT"), std::string::npos);
    EXPECT_NE(errors[1].find("SHORT.TXT"), std::string::npos);

    const TRunResult extract = RunBookpack({"pack", "extract", dir + "/pack.dat", "-o", dir + "/out"});
    EXPECT_EQ(extract.status, 1);
    EXPECT_EQ(Lines(extract.err).size(), 2u);
    EXPECT_EQ(ListTree(dir + "/out"), Strings{"GOOD.TXT"});
    EXPECT_EQ(ReadFileBytes(dir + "/out/GOOD.TXT"), good);

    EXPECT_EQ(RunBookpack({"pack", "cat", dir + "/pack.dat", "bad.txt"}).status, 1);
}
