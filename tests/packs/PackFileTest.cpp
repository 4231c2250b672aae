#include <gtest/gtest.h>

#include <random>

#include "base/FileErrors.h"
#include "packs/ComprStream.h"
#include "packs/Inflate.h"
#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "packs/PackWriter.h"

namespace {

// Root: HTML (dir), A.HTM, .CACHE (dir), ЁЖ.HTM. HTML: PAGE1.HTM (compressed), СТРАНИЦА.HTM,
// ZLIB.BIN (plain bytes that happen to form a zlib stream).
HandPack SampleHandPack() {
    HandPack p;
    p.directories = {{0, 4}, {4, 3}, {7, 1}};
    p.entries.push_back({"HTML", 1, 0, 0, 2});
    p.entries.push_back(p.AddData("A.HTM", "root page", false));
    p.entries.push_back({".CACHE", 2, 0, 0, 2});
    p.entries.push_back(p.AddData("\xA8\xC6.HTM", "yo", false));
    p.entries.push_back(p.AddData("PAGE1.HTM", std::string(5000, 'x') + "end", true));
    p.entries.push_back(p.AddData("\xD1\xD2\xD0\xC0\xCD\xC8\xD6\xC0.HTM", "cyrillic", true));
    const std::string lookalike = Zlib("inner");
    p.entries.push_back(p.AddData("ZLIB.BIN", lookalike, false));
    p.entries.push_back(p.AddData("HIDDEN.HTM", "h", false));
    return p;
}

std::string ReadAll(TPack& pack, std::string_view path) {
    TMemoryStream s;
    const int index = pack.Resolve(path);
    if (index < 0 || !pack.ReadEntry(index, s)) return "<none>";
    EXPECT_EQ(s.Position(), 0u);
    return std::string(s.View());
}

} // namespace

TEST(Pack, ResolvesHandBuiltPackByTheDiscRules) {
    for (bool compressBlock : {false, true}) {
        HandPack hp = SampleHandPack();
        hp.compressBlock = compressBlock;
        auto pack = TPack::FromBytes(BuildHandPack(hp));
        pack->SetRootPrefix("D:\\");
        EXPECT_EQ(ReadAll(*pack, "D:/html/page1.htm"), std::string(5000, 'x') + "end");
        EXPECT_EQ(pack->Resolve("D:/html/page1.htm"), pack->Resolve("HTML\\PAGE1.HTM"));
        EXPECT_EQ(pack->Resolve("\\HTML\\PAGE1.HTM"), pack->Resolve("HTML\\PAGE1.HTM"));
        // страница / СТРАНИЦА in CP1251 resolve to the same entry.
        EXPECT_EQ(ReadAll(*pack, "d:\\html\\\xF1\xF2\xF0\xE0\xED\xE8\xF6\xE0.htm"), "cyrillic");
        EXPECT_EQ(ReadAll(*pack, "D:\\HTML\\\xD1\xD2\xD0\xC0\xCD\xC8\xD6\xC0.HTM"), "cyrillic");
        // ё (0xB8) is not folded: only Ё (0xA8) as stored matches.
        EXPECT_EQ(ReadAll(*pack, "\xA8\xC6.htm"), "yo");
        EXPECT_EQ(pack->Resolve("\xB8\xC6.htm"), -1);
        // Stored size equal to unpacked size means plain, even for zlib-looking bytes.
        EXPECT_EQ(ReadAll(*pack, "html\\zlib.bin"), Zlib("inner"));
        // Directories are not files; missing names and empty components are not found.
        EXPECT_EQ(pack->Resolve("HTML"), -1);
        EXPECT_EQ(pack->Resolve("HTML\\"), -1);
        EXPECT_EQ(pack->Resolve("NOPE\\A.HTM"), -1);
        EXPECT_EQ(pack->Resolve("HTML\\\\PAGE1.HTM"), -1);
        // Listing skips names beginning with "." and keeps directory order.
        EXPECT_EQ(pack->ListFiles(), (TDynamicStringArray{"HTML\\PAGE1.HTM", "HTML\\\xD1\xD2\xD0\xC0\xCD\xC8\xD6\xC0.HTM",
                                                          "HTML\\ZLIB.BIN", "A.HTM", "\xA8\xC6.HTM"}));
    }
}

TEST(Pack, FirstEntryOfANameDecidesEvenWhenItHasTheWrongKind) {
    HandPack p;
    p.directories = {{0, 2}, {2, 1}};
    p.entries.push_back(p.AddData("DOCS", "i am a file", false));
    p.entries.push_back({"DOCS", 1, 0, 0, 2});
    p.entries.push_back(p.AddData("IN.HTM", "inside", false));
    auto pack = TPack::FromBytes(BuildHandPack(p));
    EXPECT_EQ(pack->Resolve("DOCS\\IN.HTM"), -1);
    EXPECT_EQ(ReadAll(*pack, "docs"), "i am a file");
}

TEST(Pack, RootPrefixOnlyStripsAMatchingBeginning) {
    auto pack = TPack::FromBytes(BuildHandPack(SampleHandPack()));
    pack->SetRootPrefix("d:\\run\\..\\");
    EXPECT_EQ(pack->RootPrefix(), "D:\\RUN\\..\\");
    EXPECT_EQ(pack->Resolve("d:\\A.HTM"), -1);
    EXPECT_GE(pack->Resolve("D:\\run\\..\\a.htm"), 0);
    pack->SetRootPrefix("d:\\");
    EXPECT_GE(pack->Resolve("d:\\a.htm"), 0);
    EXPECT_EQ(pack->Resolve("e:\\a.htm"), -1);
}

TEST(Pack, OverlongPathsAndComponentsAreNotFound) {
    TPackWriter w;
    const std::string deep = std::string(60, 'A');
    w.AddFile(deep + "\\F.HTM", "deep");
    auto pack = TPack::FromBytes(w.Build());
    EXPECT_GE(pack->Resolve(deep + "\\F.HTM"), 0);
    // A component over 100 characters is never cut down to a name that exists.
    EXPECT_EQ(pack->Resolve(deep + std::string(50, 'A') + "\\F.HTM"), -1);
    std::string longPath(1020, '\\');
    longPath += "A.HTM";
    EXPECT_EQ(pack->Resolve(longPath), -1);
}

// Random trees written by the writer read back byte for byte, in every storage variant.
TEST(Pack, RandomTreesRoundTrip) {
    std::mt19937 rng(1234);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-\xC0\xC1\xC2\xDF\xA8";
    for (int round = 0; round < 20; ++round) {
        TPackWriter w;
        w.SetCompression(round % 3 != 0);
        w.SetCompressDirectory(round % 2 == 0);
        std::map<std::string, std::string> files;
        const int count = 1 + static_cast<int>(rng() % 60);
        for (int i = 0; i < count; ++i) {
            std::string path;
            const int depth = static_cast<int>(rng() % 4);
            for (int d = 0; d <= depth; ++d) {
                if (d) path += '\\';
                for (int c = 0, len = 1 + static_cast<int>(rng() % 12); c < len; ++c) path += alphabet[rng() % alphabet.size()];
            }
            path += ".HTM";
            std::string content(rng() % 3000, '\0');
            for (auto& ch : content) ch = static_cast<char>(rng() % 2 ? 'a' + rng() % 3 : rng());
            try {
                w.AddFile(path, content);
                files[path] = content;
            } catch (const std::invalid_argument&) {
                // a file where a folder already is, or the other way round
            }
        }
        auto pack = TPack::FromBytes(w.Build());
        EXPECT_EQ(pack->ListFiles().size(), files.size());
        for (const auto& [path, content] : files) {
            std::string lower = path;
            for (auto& ch : lower) {
                if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
                else if (static_cast<unsigned char>(ch) >= 0xC0 && static_cast<unsigned char>(ch) <= 0xDF) ch = static_cast<char>(ch + 32);
            }
            EXPECT_EQ(ReadAll(*pack, lower), content) << path;
        }
    }
}

TEST(Pack, WriterNormalisesNamesAndRefusesClashes) {
    TPackWriter w;
    w.AddFile("html/page.htm", "1");
    EXPECT_THROW(w.AddFile("HTML\\PAGE.HTM", "2"), std::invalid_argument);
    EXPECT_THROW(w.AddFile("html/page.htm/x", "2"), std::invalid_argument);
    EXPECT_THROW(w.AddFile("a/../b", "2"), std::invalid_argument);
    EXPECT_THROW(w.AddFile(std::string(64, 'n'), "2"), std::invalid_argument);
    auto pack = TPack::FromBytes(w.Build());
    EXPECT_EQ(pack->ListFiles(), TDynamicStringArray{"HTML\\PAGE.HTM"});
}

TEST(Inflate, ReportsTruncatedAndCorruptStreams) {
    const std::string text(10000, 'q');
    const std::string z = Zlib(text);
    std::string out(text.size(), '\0');
    size_t cap = out.size();
    EXPECT_EQ(InflateBuffer(reinterpret_cast<uint8_t*>(out.data()), &cap, reinterpret_cast<const uint8_t*>(z.data()), z.size()), 0);
    EXPECT_EQ(cap, text.size());
    EXPECT_EQ(out, text);
    cap = out.size();
    EXPECT_EQ(InflateBuffer(reinterpret_cast<uint8_t*>(out.data()), &cap, reinterpret_cast<const uint8_t*>(z.data()), z.size() - 3), -5);
    cap = 100;  // destination too small
    EXPECT_EQ(InflateBuffer(reinterpret_cast<uint8_t*>(out.data()), &cap, reinterpret_cast<const uint8_t*>(z.data()), z.size()), -5);
    std::string bad = z;
    bad[bad.size() - 1] ^= 0x55;  // Adler-32 mismatch
    cap = out.size();
    EXPECT_EQ(InflateBuffer(reinterpret_cast<uint8_t*>(out.data()), &cap, reinterpret_cast<const uint8_t*>(bad.data()), bad.size()), -3);
}

// The program's single pack: pack first, disk as the fallback.
class ProgramPack : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = MakeTempDir();
        TPackWriter w;
        w.AddFile("HTML\\IN_PACK.HTM", "from pack");
        w.AddFile("BOTH.HTM", "pack wins");
        WriteFileBytes(dir_ + "/interface.dat", w.Build());
        WriteFileBytes(dir_ + "/BOTH.HTM", "disk copy");
        WriteFileBytes(dir_ + "/disk.htm", "from disk");
        ASSERT_EQ(OpenPack(dir_ + "/interface.dat"), 0);
        SetPackRootPrefix(dir_ + "/");
    }
    void TearDown() override { ClosePack(); }
    std::string dir_;
};

TEST_F(ProgramPack, StreamsComeFromThePackThenFromDisk) {
    EXPECT_EQ(TComprStream(dir_ + "/html/in_pack.htm").View(), "from pack");
    EXPECT_EQ(TComprStream(dir_ + "/BOTH.HTM").View(), "pack wins");
    EXPECT_EQ(TComprStream(dir_ + "/disk.htm").View(), "from disk");
    EXPECT_THROW(TComprStream(dir_ + "/missing.htm"), EFOpenError);
    EXPECT_TRUE(PackFileExists(dir_ + "/disk.htm"));
    EXPECT_TRUE(PackFileExists(dir_ + "/HTML/IN_PACK.HTM"));
    EXPECT_FALSE(PackFileExists(dir_ + "/missing.htm"));
    EXPECT_EQ(ListPackFiles(), (TDynamicStringArray{"HTML\\IN_PACK.HTM", "BOTH.HTM"}));
}

TEST_F(ProgramPack, OpeningAgainReplacesThePackAndClearsThePrefix) {
    TPackWriter w;
    w.AddFile("OTHER.HTM", "x");
    WriteFileBytes(dir_ + "/other.dat", w.Build());
    OpenPack(dir_ + "/other.dat");
    EXPECT_EQ(ResolvePackPath(dir_ + "/OTHER.HTM"), -1);
    EXPECT_GE(ResolvePackPath("OTHER.HTM"), 0);
    EXPECT_EQ(ResolvePackPath("BOTH.HTM"), -1);
    EXPECT_THROW(OpenPack(dir_ + "/none.dat"), EFOpenError);
    EXPECT_EQ(CurrentPack(), nullptr);
}
