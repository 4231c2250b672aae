// A pack is untrusted disc data: every damaged count, index, offset and size must end in an
// error the caller sees, never in a crash, a hang, a huge allocation or a silent exit. Damage
// below the root fails only the lookups and listings that reach it.
#include <gtest/gtest.h>

#include "base/FileErrors.h"
#include "packs/ComprStream.h"
#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "packs/PackWriter.h"

namespace {

HandPack TwoFiles() {
    HandPack p;
    p.directories = {{0, 2}};
    p.entries.push_back(p.AddData("GOOD.HTM", std::string(4000, 'g'), true));
    p.entries.push_back(p.AddData("BAD.HTM", std::string(4000, 'b'), true));
    return p;
}

void ExpectOpenFails(const std::string& bytes) {
    EXPECT_THROW(TPack::FromBytes(bytes), EFOpenError);
}

} // namespace

TEST(PackDamage, BrokenHeadersAndDirectoryBlocksFailToOpen) {
    const std::string good = BuildHandPack(TwoFiles());
    ExpectOpenFails("");
    ExpectOpenFails(good.substr(0, 7));
    // Stored directory size larger than the file.
    ExpectOpenFails(U32(0x3D5A0C71u) + U32(0xFFFFFF00u ^ 0x8E27B4F9u) + good.substr(8));
    // A compressed directory block that does not inflate.
    HandPack compressed = TwoFiles();
    compressed.compressBlock = true;
    std::string bytes = BuildHandPack(compressed);
    bytes[12] ^= 0x5A;
    ExpectOpenFails(bytes);
    // An unpacked directory size no zlib stream of that length could give (no 4 GiB allocation).
    std::string huge = good;
    huge.replace(0, 4, U32(0x7FFFFFF0u ^ 0x3D5A0C71u));
    ExpectOpenFails(huge);
}

TEST(PackDamage, ABrokenRootOrTableCountsFailToOpen) {
    auto expectFails = [](HandPack p) { ExpectOpenFails(BuildHandPack(p)); };
    HandPack p = TwoFiles();
    p.root = 1;  // only one directory record
    expectFails(p);
    p = TwoFiles();
    p.directories = {{1, 5}};  // the root runs past the entry table
    expectFails(p);
    p = TwoFiles();
    p.directories = {{0xFFFFFFFFu, 2}};  // overflows
    expectFails(p);
    // Counts whose tables would not fit the block, including ones that overflow 32 bits.
    std::string block = U32(0x20000000u) + U32(0x04000000u) + U32(0) + U32(0);
    ExpectOpenFails(U32(0x3D5A0C71u) + U32(static_cast<uint32_t>(block.size()) ^ 0x8E27B4F9u) + block);
}

// A folder record damaged where no path reaches leaves the pack whole; one a path reaches fails
// that folder only: its files are missing, the others read and list as ever.
TEST(PackDamage, DamagedFoldersFailOnlyWhatReachesThem) {
    HandPack p = TwoFiles();
    p.entries.push_back({"BROKEN", 2, 0, 0, 2});   // record 2 points outside the entry table
    p.entries.push_back({"MISSING", 9, 0, 0, 2});  // names a record that does not exist
    p.entries.push_back({"SELF", 0, 0, 0, 2});     // the root contains itself
    p.entries.push_back({"A", 3, 0, 0, 2});
    p.entries.push_back({"B", 3, 0, 0, 2});  // two folders sharing one record
    p.entries.push_back(p.AddData("IN.HTM", "inner", false));
    p.directories = {{0, 7}, {0, 0}, {5, 50}, {7, 1}, {0xFFFFFFF0u, 64}};  // 1 and 4 are unreachable
    auto pack = TPack::FromBytes(BuildHandPack(p));
    TMemoryStream s;
    EXPECT_TRUE(pack->ReadEntry(pack->Resolve("GOOD.HTM"), s));
    EXPECT_EQ(pack->Resolve("BROKEN\\X.HTM"), -1);
    EXPECT_EQ(pack->Resolve("MISSING\\X.HTM"), -1);
    EXPECT_GE(pack->Resolve("SELF\\SELF\\GOOD.HTM"), 0);
    EXPECT_GE(pack->Resolve("A\\IN.HTM"), 0);
    EXPECT_EQ(pack->Resolve("A\\IN.HTM"), pack->Resolve("B\\IN.HTM"));
    // The listing names each record's files once and never walks round the cycle.
    EXPECT_EQ(pack->ListFiles(), (TDynamicStringArray{"GOOD.HTM", "BAD.HTM", "A\\IN.HTM"}));
}

TEST(PackDamage, ADamagedEntryReadsLikeAMissingFile) {
    HandPack p = TwoFiles();
    std::string bytes = BuildHandPack(p);
    const size_t dataStart = bytes.size() - p.data.size();
    bytes[dataStart + p.entries[1].offset + 10] ^= 0x33;  // inside BAD.HTM's zlib stream
    auto pack = TPack::FromBytes(bytes);
    TMemoryStream s;
    s.Assign("previous", 8);
    EXPECT_TRUE(pack->ReadEntry(pack->Resolve("GOOD.HTM"), s));
    EXPECT_EQ(s.Size(), 4000u);
    EXPECT_FALSE(pack->ReadEntry(pack->Resolve("BAD.HTM"), s));
    EXPECT_FALSE(pack->ReadEntry(-1, s));
    EXPECT_FALSE(pack->ReadEntry(99, s));

    // Through the program's stream class the damage is the open error callers already handle.
    const std::string dir = MakeTempDir();
    WriteFileBytes(dir + "/interface.dat", bytes);
    OpenPack(dir + "/interface.dat");
    EXPECT_THROW(TComprStream("BAD.HTM"), EFOpenError);
    EXPECT_EQ(TComprStream("GOOD.HTM").Size(), 4000u);
    ClosePack();
}

TEST(PackDamage, EntriesOutsideTheFileOrWithDishonestSizesAreUnreadable) {
    auto readFails = [](HandEntry bad) {
        HandPack p;
        p.directories = {{0, 1}};
        p.data = std::string(64, 'd');
        p.entries.push_back(bad);
        auto pack = TPack::FromBytes(BuildHandPack(p));
        TMemoryStream s;
        EXPECT_FALSE(pack->ReadEntry(0, s)) << bad.offset << " " << bad.stored << " " << bad.unpacked;
    };
    readFails({"F", 60, 10, 10, 1});                 // runs past the end
    readFails({"F", 0xFFFFFFF0u, 32, 32, 1});        // offset far outside
    readFails({"F", 0, 16, 0xFFFFFFFFu, 1});         // 4 GiB from 16 bytes
    readFails({"F", 0, 0, 100, 1});                  // something from nothing
    readFails({"F", 0, 64, 64u * 1032 + 1, 1});      // beyond zlib's largest ratio
    readFails({"F", 0, 64, 20, 1});                  // claims compression, holds no zlib data
}

// A chain of folders deeper than any path could name would make listing cost memory with the
// square of its depth: the listing stops where paths grow longer than a lookup can take.
TEST(PackDamage, FolderTreesDeeperThanAnyPathListOnlyWhatAPathCanName) {
    auto chain = [](uint32_t depth) {
        HandPack p;
        for (uint32_t d = 0; d < depth; ++d) {
            p.directories.push_back({d, 1});
            p.entries.push_back({"D", d + 1, 0, 0, 2});
        }
        p.directories.push_back({depth, 1});
        p.entries.push_back(p.AddData("F", "x", false));
        return BuildHandPack(p);
    };
    auto shallow = TPack::FromBytes(chain(400));
    EXPECT_EQ(shallow->ListFiles().size(), 1u);
    auto deep = TPack::FromBytes(chain(3000));
    EXPECT_TRUE(deep->ListFiles().empty());
    EXPECT_LE(deep->List("").size(), kPackMaxPath / 2);
}
