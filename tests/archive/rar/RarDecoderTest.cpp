// The two decoders agree, libunarr takes the archives libarchive refuses, and the name, code page,
// time and volume-name helpers hold.
#include <gtest/gtest.h>
#include <iconv.h>

#include <filesystem>

#include "archive/rar/RarTestUtil.h"
#include "archive/rar/RarText.h"
#include "archive/rar/RarVolumes.h"

namespace {

TRun extractWith(const std::string& archive, TRarBackend backend, const std::string& dest) {
    TRunOptions options;
    options.operation = RAR_EXTRACT;
    options.dest = dest;
    options.backend = backend;
    return RunArchive(archive, options);
}

// compress_normal.rar with its fourth file marked as packed on from the one before, the way solid
// archives mark their entries (its data still decodes alone), and the main header marked solid.
std::string solidArchive() {
    std::string bytes = ReadBytes(RealRar("test_read_format_rar_compress_normal.rar"));
    bytes[7 + 3] |= 0x08;
    FixRar4HeaderCrc(bytes, 7);
    bytes[7341 + 3] |= 0x10;
    FixRar4HeaderCrc(bytes, 7341);
    const std::string path = MakeTempDir() + "/solid.rar";
    WriteBytes(path, bytes);
    return path;
}

} // namespace

// Names (with the Unicode names the library unpacks itself), flags, sizes, times, CRCs and the
// written files are the same through either decoder.
TEST(RarDecoders, LibunarrReadsRar4ArchivesAsLibarchiveDoes) {
    for (const char* name : {"test_read_format_rar.rar", "test_read_format_rar_compress_normal.rar",
                             "test_read_format_rar_windows.rar", "test_read_format_rar_unicode.rar"}) {
        SCOPED_TRACE(name);
        const std::string viaLibarchive = MakeTempDir(), viaUnarr = MakeTempDir();
        const TRun a = extractWith(RealRar(name), TRarBackend::Libarchive, viaLibarchive);
        const TRun u = extractWith(RealRar(name), TRarBackend::Unarr, viaUnarr);
        EXPECT_EQ(a.end, ERAR_END_ARCHIVE);
        EXPECT_EQ(u.end, ERAR_END_ARCHIVE);
        ASSERT_EQ(a.entries.size(), u.entries.size());
        for (size_t i = 0; i < a.entries.size(); ++i) {
            EXPECT_EQ(a.entries[i].name, u.entries[i].name);
            EXPECT_EQ(a.entries[i].flags, u.entries[i].flags);
            EXPECT_EQ(a.entries[i].size, u.entries[i].size);
            EXPECT_EQ(a.entries[i].time, u.entries[i].time);
            EXPECT_EQ(a.entries[i].crc, u.entries[i].crc);
            EXPECT_EQ(u.entries[i].processed, ERAR_SUCCESS);
        }
        for (const auto& file : std::filesystem::recursive_directory_iterator(viaLibarchive)) {
            const std::string relative = std::filesystem::relative(file.path(), viaLibarchive).string();
            if (file.is_regular_file()) {
                EXPECT_EQ(ReadBytes(file.path()), ReadBytes(viaUnarr + "/" + relative)) << relative;
            }
        }
    }
}

TEST(RarDecoders, SolidRar4ArchivesAreReadThroughLibunarr) {
    const std::string archive = solidArchive();
    const TRun refused = extractWith(archive, TRarBackend::Libarchive, MakeTempDir());
    EXPECT_EQ(refused.entries.size(), 3u);
    EXPECT_EQ(refused.end, ERAR_UNKNOWN_FORMAT);

    const std::string dest = MakeTempDir();
    const TRun run = extractWith(archive, TRarBackend::Auto, dest);
    EXPECT_EQ(run.end, ERAR_END_ARCHIVE);
    ASSERT_EQ(run.entries.size(), 6u);
    EXPECT_EQ(run.entries[3].flags & 0x10, 0x10u);
    for (const TListed& entry : run.entries) EXPECT_EQ(entry.processed, ERAR_SUCCESS) << entry.name;
    EXPECT_EQ(Crc(ReadBytes(dest + "/testdir/LibarchiveAddingTest.html")), 0x5E05A663u);
    EXPECT_TRUE(std::filesystem::is_directory(dest + "/testemptydir"));
}

// The first file of compress_normal.rar claims older packing: libarchive has no decoder for it,
// libunarr decodes RAR 2.0 (here failing on the RAR 2.9 data), neither decodes RAR 1.5.
TEST(RarDecoders, ThePackingVersionChoosesTheDecoder) {
    const std::string dir = MakeTempDir();
    for (const char version : {20, 15}) {
        std::string bytes = ReadBytes(RealRar("test_read_format_rar_compress_normal.rar"));
        bytes[20 + 24] = version;
        FixRar4HeaderCrc(bytes, 20);
        WriteBytes(dir + "/old.rar", bytes);
        const TRun forced = extractWith(dir + "/old.rar", TRarBackend::Libarchive, MakeTempDir());
        const TRun chosen = extractWith(dir + "/old.rar", TRarBackend::Auto, MakeTempDir());
        ASSERT_EQ(forced.entries.size(), 6u);
        ASSERT_EQ(chosen.entries.size(), 6u);
        EXPECT_EQ(forced.entries[0].processed, ERAR_UNKNOWN_FORMAT);
        EXPECT_EQ(chosen.entries[0].processed, version == 20 ? ERAR_BAD_DATA : ERAR_UNKNOWN_FORMAT);
        EXPECT_EQ(chosen.entries[3].processed, ERAR_SUCCESS);
    }
}

// A Windows archive without Unicode names keeps them in DOS code page 866.
TEST(RarDecoders, DosNamesAreReadInCodePage866) {
    std::string bytes = ReadBytes(RealRar("test_read_format_rar_windows.rar"));
    ASSERT_EQ(bytes.substr(103 + 32, 8), "test.txt");
    bytes.replace(103 + 32, 4, "\xE2\xA5\xE1\xE2");  // "тест" in code page 866
    FixRar4HeaderCrc(bytes, 103);
    const std::string path = MakeTempDir() + "/dos.rar";
    WriteBytes(path, bytes);
    for (const TRarBackend backend : {TRarBackend::Libarchive, TRarBackend::Unarr}) {
        const std::string dest = MakeTempDir();
        const TRun run = extractWith(path, backend, dest);
        ASSERT_EQ(run.entries.size(), 5u);
        EXPECT_EQ(run.entries[1].name, "\xF2\xE5\xF1\xF2.txt");  // "тест.txt" in CP1251
        EXPECT_EQ(Crc(ReadBytes(dest + "/\xD1\x82\xD0\xB5\xD1\x81\xD1\x82.txt")), 0x97D612F1u);
    }
}

TEST(RarText, NamesBecomeCp1251WithOneSubstituteForEachForeignCharacter) {
    EXPECT_EQ(RarNameToCp1251("\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0/\xE2\x84\x96 1.txt"), "\xCF\xE0\xEF\xEA\xE0\\\xB9 1.txt");
    EXPECT_EQ(RarNameToCp1251("\xE4\xB8\xAD\xF0\x9F\x98\x80x"), "__x");     // CJK, an emoji
    EXPECT_EQ(RarNameToCp1251("a\xC3\x28" "b\xC0\xAE\xE2\x82"), "a_(b____");  // each byte of malformed and overlong sequences
    EXPECT_EQ(RarNameToCp1251("a\nb\x01"), "a_b_");
}

TEST(RarText, CodePage866MatchesTheSystemConverter) {
    iconv_t cd = iconv_open("UTF-8", "CP866");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0x80; b < 256; ++b) {
        char in[1] = {static_cast<char>(b)};
        char out[8] = {};
        char *ip = in, *op = out;
        size_t il = 1, ol = sizeof out;
        ASSERT_NE(iconv(cd, &ip, &il, &op, &ol), static_cast<size_t>(-1)) << b;
        EXPECT_EQ(Cp866ToUtf8(std::string(1, static_cast<char>(b))), std::string(out, sizeof out - ol)) << "byte " << b;
    }
    iconv_close(cd);
}

TEST(RarText, DosTimesRoundTripAndOutOfRangeTimesHaveNone) {
    const uint32_t dos = 0x3EDA76B7;  // 2011-06-26 14:53:46
    EXPECT_EQ(DosTimeFromUnix(UnixFromDosTime(dos)), dos);
    EXPECT_EQ(DosTimeFromUnix(0), 0u);  // 1970
    EXPECT_EQ(UnixFromDosTime(0), time_t(-1));
}

TEST(RarVolumes, NextNamesCountOnInBothStylesAndAreFoundInAnyCase) {
    EXPECT_EQ(NextRarVolumeName("/d/a.part1.rar", true), "/d/a.part2.rar");
    EXPECT_EQ(NextRarVolumeName("/d/a.part09.rar", true), "/d/a.part10.rar");
    EXPECT_EQ(NextRarVolumeName("/d/a.part9.RAR", true), "/d/a.part10.RAR");
    EXPECT_EQ(NextRarVolumeName("/d/a.part1.rar", false), "/d/a.part1.r00");
    EXPECT_EQ(NextRarVolumeName("/d/BOOK.RAR", false), "/d/BOOK.R00");
    EXPECT_EQ(NextRarVolumeName("/d/book.r09", false), "/d/book.r10");
    EXPECT_EQ(NextRarVolumeName("/d/book.r99", false), "/d/book.s00");
    EXPECT_EQ(NextRarVolumeName("/d.x/book", false), "/d.x/book.r00");

    const std::string dir = MakeTempDir();
    WriteBytes(dir + "/BOOK.R00", "x");
    EXPECT_EQ(FindRarVolume(dir + "/book.r00"), dir + "/BOOK.R00");
    EXPECT_EQ(FindRarVolume(dir + "/book.r01"), "");
}
