// Extracting the real archives: written files against the CRCs the archives' own tests assert,
// volume sets whole and with a volume missing, encrypted entries, and damaged archives.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "archive/rar/RarTestUtil.h"
#include "archive/rar/RarText.h"

namespace {

TRun extract(const std::string& archive, const std::string& dest) {
    TRunOptions options;
    options.operation = RAR_EXTRACT;
    options.dest = dest;
    return RunArchive(archive, options);
}

void expectFiles(const std::string& dest, const std::map<std::string, uint32_t>& crcs) {
    for (const auto& [name, crc] : crcs) {
        const std::string path = dest + "/" + name;
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << name;
        EXPECT_EQ(Crc(ReadBytes(path)), crc) << name;
    }
}

std::string copyVolumes(const std::vector<std::string>& names) {
    const std::string dir = MakeTempDir();
    for (const std::string& name : names) WriteBytes(dir + "/" + name, ReadBytes(RealRar(name)));
    return dir;
}

} // namespace

TEST(RarExtract, FilesMatchTheirCrcsFoldersAreMadeAndLinksAreNotWritten) {
    const std::string dest = MakeTempDir();
    const TRun run = extract(RealRar("test_read_format_rar_compress_normal.rar"), dest);
    EXPECT_EQ(run.end, ERAR_END_ARCHIVE);
    for (const TListed& entry : run.entries) EXPECT_EQ(entry.processed, ERAR_SUCCESS) << entry.name;
    expectFiles(dest, {{"LibarchiveAddingTest.html", 0x5E05A663}, {"testdir/test.txt", 0xBEC8A242},
                       {"testdir/LibarchiveAddingTest.html", 0x5E05A663}});
    EXPECT_TRUE(std::filesystem::is_directory(dest + "/testemptydir"));
    struct stat st {};
    EXPECT_NE(lstat((dest + "/testlink").c_str(), &st), 0);
    // The file takes the entry's modification time.
    ASSERT_EQ(stat((dest + "/testdir/test.txt").c_str(), &st), 0);
    EXPECT_LE(std::abs(double(st.st_mtime - UnixFromDosTime(run.entries[2].time))), 2.0);

    const std::string win32 = MakeTempDir();
    EXPECT_EQ(extract(RealRar("test_read_format_rar5_win32.rar"), win32).end, ERAR_END_ARCHIVE);
    expectFiles(win32, {{"test.bin", 0x7CCA70CD}, {"test1.bin", 0x7E13B2C6}, {"test2.bin", 0xF166AFCB},
                        {"test3.bin", 0x9FB123D9}, {"test4.bin", 0x10C43ED4}, {"test5.bin", 0xB9D155F2},
                        {"test6.bin", 0x36A448FF}});
    const std::string others = MakeTempDir();
    EXPECT_EQ(extract(RealRar("test_read_format_rar5_stored.rar"), others).end, ERAR_END_ARCHIVE);
    EXPECT_EQ(extract(RealRar("test_read_format_rar_windows.rar"), others).end, ERAR_END_ARCHIVE);
    expectFiles(others, {{"helloworld.txt", 0x95A043B4}, {"testdir/test.txt", 0x97D612F1}, {"testshortcut.lnk", 0x5B5CD737}});
}

// A hard link or file copy entry becomes a file of its own with its target's bytes and its own
// time; a symbolic link is still not written.
TEST(RarExtract, HardLinksAndFileCopiesAreWrittenAsCopiesOfTheirTargets) {
    const std::string archive = MakeTempDir() + "/links.rar";
    WriteBytes(archive, MakeRar5({Rar5Folder("docs"),
                                  Rar5File("docs/a.txt", "hello"),
                                  Rar5Link("hard.txt", 4, "docs/a.txt"),
                                  Rar5Link("docs/copy.txt", 5, "docs/a.txt"),
                                  Rar5Link("symbolic", 1, "docs/a.txt")}));
    for (const TRarBackend backend : {TRarBackend::Auto, TRarBackend::Libarchive}) {
        const std::string dest = MakeTempDir();
        TRunOptions options;
        options.operation = RAR_EXTRACT;
        options.dest = dest;
        options.backend = backend;
        const TRun run = RunArchive(archive, options);
        EXPECT_EQ(run.end, ERAR_END_ARCHIVE);
        ASSERT_EQ(run.entries.size(), 5u);
        EXPECT_EQ(run.entries[2].name, "hard.txt");
        EXPECT_EQ(run.entries[3].name, "docs\\copy.txt");
        for (const TListed& entry : run.entries) EXPECT_EQ(entry.processed, ERAR_SUCCESS) << entry.name;
        expectFiles(dest, {{"docs/a.txt", Crc("hello")}, {"hard.txt", Crc("hello")}, {"docs/copy.txt", Crc("hello")}});
        struct stat st {};
        EXPECT_NE(lstat((dest + "/symbolic").c_str(), &st), 0);
        ASSERT_EQ(stat((dest + "/hard.txt").c_str(), &st), 0);
        EXPECT_EQ(st.st_mtime, 1600000000);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dest), {}), 2);  // docs, hard.txt: no temporary files
    }
}

TEST(RarExtract, VolumeSetsAreReadWholeAndEachFurtherVolumeIsAnnounced) {
    const std::string dest = MakeTempDir();
    const TRun rar4 = extract(RealRar("test_rar_multivolume_single_file.part1.rar"), dest);
    EXPECT_EQ(rar4.end, ERAR_END_ARCHIVE);
    ASSERT_EQ(rar4.entries.size(), 1u);
    EXPECT_EQ(rar4.entries[0].processed, ERAR_SUCCESS);
    EXPECT_EQ(rar4.entries[0].crc, 0x5E05A663u);
    EXPECT_EQ(rar4.notified, (std::vector<std::string>{RealRar("test_rar_multivolume_single_file.part2.rar"),
                                                       RealRar("test_rar_multivolume_single_file.part3.rar")}));
    EXPECT_TRUE(rar4.asked.empty());
    expectFiles(dest, {{"LibarchiveAddingTest.html", 0x5E05A663}});

    // The same set under the older names, the main headers saying so, spelt in two letter cases.
    const std::string old = MakeTempDir();
    const char* names[] = {"SET.RAR", "SET.R00", "set.r01"};
    for (int i = 0; i < 3; ++i) {
        std::string bytes = ReadBytes(RealRar("test_rar_multivolume_single_file.part" + std::to_string(i + 1) + ".rar"));
        bytes[7 + 3] &= ~0x10;  // no "name.partN.rar" naming
        FixRar4HeaderCrc(bytes, 7);
        WriteBytes(old + "/" + names[i], bytes);
    }
    const TRun renamed = extract(old + "/SET.RAR", old + "/out");
    EXPECT_EQ(renamed.notified, (std::vector<std::string>{old + "/SET.R00", old + "/set.r01"}));
    ASSERT_EQ(renamed.entries.size(), 1u);
    EXPECT_EQ(renamed.entries[0].processed, ERAR_SUCCESS);

    const TRun rar5 = extract(RealRar("test_read_format_rar5_multiarchive_solid.part01.rar"), dest);
    EXPECT_EQ(rar5.end, ERAR_END_ARCHIVE);
    EXPECT_EQ(rar5.entries.size(), 9u);
    EXPECT_EQ(rar5.notified.size(), 3u);
    expectFiles(dest, {{"cebula.txt", 0x7E5EC49E}, {"elf-Linux-ARMv7-ls", 0x886F91EB}});
}

// The set without its last volume: the caller is asked for it by its full name; refusing stops the
// reading with ERAR_EOPEN where the missing volume is needed, and what lies before it still reads.
TEST(RarExtract, AMissingVolumeIsAskedForAndRefusingItStopsWithEopen) {
    const std::string rar4 =
        copyVolumes({"test_rar_multivolume_single_file.part1.rar", "test_rar_multivolume_single_file.part2.rar"});
    const TRun refused = extract(rar4 + "/test_rar_multivolume_single_file.part1.rar", MakeTempDir());
    EXPECT_EQ(refused.asked, (std::vector<std::string>{rar4 + "/test_rar_multivolume_single_file.part3.rar"}));
    ASSERT_EQ(refused.entries.size(), 1u);
    EXPECT_EQ(refused.entries[0].processed, ERAR_EOPEN);
    EXPECT_EQ(refused.end, ERAR_EOPEN);

    const std::string rar5 = copyVolumes({"test_read_format_rar5_multiarchive_solid.part01.rar",
                                          "test_read_format_rar5_multiarchive_solid.part02.rar"});
    const std::string dest = MakeTempDir();
    const TRun partial = extract(rar5 + "/test_read_format_rar5_multiarchive_solid.part01.rar", dest);
    EXPECT_EQ(partial.asked, (std::vector<std::string>{rar5 + "/test_read_format_rar5_multiarchive_solid.part03.rar"}));
    ASSERT_EQ(partial.entries.size(), 9u);
    EXPECT_EQ(partial.entries[0].processed, ERAR_SUCCESS);
    EXPECT_EQ(partial.entries[8].name, "elf-Linux-ARMv7-ls");
    EXPECT_EQ(partial.entries[8].processed, ERAR_EOPEN);  // libarchive alone would give 0 bytes and no error
    EXPECT_FALSE(std::filesystem::exists(dest + "/elf-Linux-ARMv7-ls"));
    expectFiles(dest, {{"cebula.txt", 0x7E5EC49E}});

    // Answering "try again" after putting the volume in place reads the whole set.
    TRunOptions retry;
    retry.answer = 1;
    retry.copyWhenAsked = RealRar("test_rar_multivolume_single_file.part3.rar");
    const TRun found = RunArchive(rar4 + "/test_rar_multivolume_single_file.part1.rar", retry);
    EXPECT_EQ(found.asked.size(), 1u);
    ASSERT_EQ(found.entries.size(), 1u);
    EXPECT_EQ(found.entries[0].processed, ERAR_SUCCESS);
    EXPECT_EQ(found.end, ERAR_END_ARCHIVE);
}

TEST(RarExtract, EncryptedEntriesNeedAPasswordAndWriteNothing) {
    const std::string dest = MakeTempDir();
    const TRun rar4 = extract(RealRar("test_read_format_rar_encryption_data.rar"), dest);
    ASSERT_EQ(rar4.entries.size(), 2u);
    EXPECT_EQ(rar4.entries[0].processed, ERAR_MISSING_PASSWORD);
    EXPECT_EQ(rar4.entries[1].processed, ERAR_MISSING_PASSWORD);
    EXPECT_EQ(rar4.end, ERAR_END_ARCHIVE);

    const TRun rar5 = extract(RealRar("test_read_format_rar5_encrypted.rar"), dest);
    ASSERT_EQ(rar5.entries.size(), 4u);
    EXPECT_EQ(rar5.entries[0].processed, ERAR_SUCCESS);
    EXPECT_EQ(rar5.entries[1].processed, ERAR_MISSING_PASSWORD);
    EXPECT_EQ(rar5.entries[2].processed, ERAR_SUCCESS);
    EXPECT_EQ(rar5.entries[3].processed, ERAR_MISSING_PASSWORD);
    expectFiles(dest, {{"a.txt", Crc("This is from a.txt")}, {"c.txt", Crc("This is from c.txt")}});
    for (const char* name : {"foo.txt", "bar.txt", "b.txt", "d.txt"})
        EXPECT_FALSE(std::filesystem::exists(dest + "/" + name)) << name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dest), {}), 2);  // no temporary files left

    EXPECT_EQ(RunArchive(RealRar("test_read_format_rar_encryption_header.rar")).open, ERAR_MISSING_PASSWORD);
}

TEST(RarExtract, DamagedArchivesGiveTheirCodesWithoutCrashing) {
    EXPECT_EQ(RunArchive(RealRar("missing.rar")).open, ERAR_EOPEN);
    EXPECT_EQ(RunArchive(RealRar("README.md")).open, ERAR_BAD_ARCHIVE);
    EXPECT_EQ(RunArchive(RealRar("test_read_format_rar_endarc_huge.rar")).open, ERAR_BAD_DATA);

    const TRun invalid = RunArchive(RealRar("test_read_format_rar_invalid1.rar"));
    ASSERT_EQ(invalid.entries.size(), 1u);
    EXPECT_EQ(invalid.entries[0].name, "test");
    EXPECT_EQ(invalid.entries[0].processed, ERAR_EREAD);  // the file ends inside the entry's packed data
    EXPECT_EQ(invalid.end, ERAR_EREAD);

    // A header without a name is a broken header; reading on stays safe.
    RAROpenArchiveData data;
    data.ArcName = RealRar("test_read_format_rar5_dirdata.rar");
    TRarHandle handle = RAROpenArchive(data);
    ASSERT_TRUE(handle);
    RARHeaderData header;
    EXPECT_EQ(RARReadHeader(handle, header), ERAR_BAD_DATA);
    EXPECT_EQ(RARProcessFile(handle, RAR_EXTRACT, MakeTempDir()), ERAR_BAD_DATA);
    for (int i = 0; i < 3; ++i) EXPECT_NE(RARReadHeader(handle, header), ERAR_SUCCESS);
    EXPECT_EQ(RARCloseArchive(handle), ERAR_SUCCESS);

    // A changed data byte fails the stored entry's CRC; a cut archive is a read error.
    std::string bytes = ReadBytes(RealRar("test_read_format_rar.rar"));
    bytes[70] ^= 1;  // inside test.txt's data
    const std::string dir = MakeTempDir();
    WriteBytes(dir + "/crc.rar", bytes);
    EXPECT_EQ(RunArchive(dir + "/crc.rar").entries.at(0).processed, ERAR_BAD_DATA);
    WriteBytes(dir + "/cut.rar", ReadBytes(RealRar("test_read_format_rar_compress_normal.rar")).substr(0, 3000));
    for (const TRarBackend backend : {TRarBackend::Libarchive, TRarBackend::Unarr}) {
        TRunOptions options;
        options.backend = backend;
        const TRun cut = RunArchive(dir + "/cut.rar", options);
        ASSERT_EQ(cut.entries.size(), 1u);
        EXPECT_EQ(cut.entries[0].processed, ERAR_EREAD);
        EXPECT_EQ(cut.end, ERAR_EREAD);
    }
}

TEST(RarExtract, OpenedForListingNothingIsWritten) {
    const std::string dest = MakeTempDir();
    TRunOptions options;
    options.mode = RAR_OM_LIST;
    options.operation = RAR_EXTRACT;
    options.dest = dest;
    const TRun run = RunArchive(RealRar("test_read_format_rar.rar"), options);
    EXPECT_EQ(run.entries.size(), 5u);
    EXPECT_TRUE(std::filesystem::is_empty(dest));
}
