// The disc image reader: names in any case (Joliet Cyrillic ones too), reads across blocks,
// raw tracks, damaged images that must fail cleanly, and records made by hand that would lead
// an unbounded reader past its buffers or put a path where a name belongs.
#include "packs/IsoImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/IsoTestUtil.h"
#include "packs/PackTestUtil.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string bigBytes() {
    std::string big(300000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 2048);
    return big;
}

class IsoImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = MakeTempDir();
        const std::string disc = dir_ + "/disc";
        fs::create_directories(disc + "/run/html/Тормоза");
        fs::create_directories(disc + "/video");
        WriteFileBytes(disc + "/run/Zaz.dhl", "bundle");
        WriteFileBytes(disc + "/run/html/Тормоза/Колодки.htm", "<p>pads</p>");
        WriteFileBytes(disc + "/Образец.htm", "sample");
        WriteFileBytes(disc + "/video/clip.avi", bigBytes());
        WriteFileBytes(disc + "/empty.txt", "");
        iso_ = MakeIsoImage(disc, dir_ + "/disc.iso");
    }
    std::string Bytes(const TIsoImage& image, const std::string& path) {
        std::string out;
        EXPECT_TRUE(image.Read(image.Find(Cp1251::fromUtf8(path)), out)) << path;
        return out;
    }
    std::string dir_, iso_;
};

TEST_F(IsoImageTest, JolietNamesResolveInAnyCaseAndFilesReadWhole) {
    const auto image = TIsoImage::Open(iso_);
    EXPECT_EQ(Bytes(*image, "RUN\\HTML\\тормоза\\КОЛОДКИ.htm"), "<p>pads</p>");
    EXPECT_EQ(Bytes(*image, "образец.HTM"), "sample");
    EXPECT_EQ(Bytes(*image, "run\\zaz.DHL"), "bundle");
    EXPECT_EQ(FindProgramFolder(*image), "run");
    EXPECT_EQ(Bytes(*image, "empty.txt"), "");
    EXPECT_TRUE(Bytes(*image, "video\\clip.avi") == bigBytes());
    EXPECT_EQ(image->Find("run\\missing.htm"), -1);
    EXPECT_EQ(image->Find("run\\zaz.dhl\\below"), -1);  // a file is no folder
    std::string none;
    EXPECT_FALSE(image->Read(image->Find("run"), none));  // nor a folder a file

    const TDynamicStringArray all = image->List(image->Find("run"));
    EXPECT_NE(std::find(all.begin(), all.end(), Cp1251::fromUtf8("html\\Тормоза\\")), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), Cp1251::fromUtf8("html\\Тормоза\\Колодки.htm")), all.end());
}

TEST_F(IsoImageTest, PlainIsoNamesWithoutJolietResolveToo) {
    const auto image = TIsoImage::Open(MakeIsoImage(dir_ + "/disc", dir_ + "/plain.iso", false, false));
    EXPECT_EQ(Bytes(*image, "run\\zaz.dhl"), "bundle");  // stored as "ZAZ.DHL;1"
    EXPECT_EQ(Bytes(*image, "empty.txt"), "");
    EXPECT_TRUE(Bytes(*image, "VIDEO\\CLIP.AVI") == bigBytes());
    const TDynamicStringArray names = image->List(0);
    EXPECT_NE(std::find(names.begin(), names.end(), "RUN\\ZAZ.DHL"), names.end());  // as stored, without the version

    // Rock Ridge names, where the records carry them, give the names their letters back.
    const auto rock = TIsoImage::Open(MakeIsoImage(dir_ + "/disc", dir_ + "/rock.iso", false, true));
    const TDynamicStringArray rockNames = rock->List(0);
    const std::string pads = Cp1251::fromUtf8("run\\html\\Тормоза\\Колодки.htm");
    EXPECT_NE(std::find(rockNames.begin(), rockNames.end(), pads), rockNames.end());
    EXPECT_EQ(Bytes(*rock, "run\\zaz.dhl"), "bundle");
}

TEST_F(IsoImageTest, RangesAndCopiesCrossBlocksExactly) {
    const auto image = TIsoImage::Open(iso_);
    const int clip = image->Find("VIDEO\\CLIP.AVI");
    std::string part;
    ASSERT_TRUE(image->ReadRange(clip, 5000, 200000, part));
    EXPECT_TRUE(part == bigBytes().substr(5000, 200000));
    EXPECT_FALSE(image->ReadRange(clip, 299999, 2, part));  // past the end of the file

    ASSERT_TRUE(image->CopyTo(clip, dir_ + "/copy.avi"));
    EXPECT_TRUE(ReadBytes(dir_ + "/copy.avi") == bigBytes());
    EXPECT_FALSE(image->CopyTo(clip, dir_ + "/no/such/folder/copy.avi"));
}

TEST_F(IsoImageTest, RawTracksReadAsTheDiscTheyHold) {
    const std::string raw = RawTrack(ReadBytes(iso_));
    WriteFileBytes(dir_ + "/disc.bin", raw);
    WriteFileBytes(dir_ + "/disc.cue", "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n");
    WriteFileBytes(dir_ + "/disc.mdf", raw);
    for (const std::string name : {"disc.cue", "disc.bin", "disc.mdf"}) {
        const auto image = TIsoImage::Open(dir_ + "/" + name);
        EXPECT_EQ(Bytes(*image, "run\\html\\ТОРМОЗА\\колодки.htm"), "<p>pads</p>") << name;
        EXPECT_TRUE(Bytes(*image, "video\\clip.avi") == bigBytes()) << name;
    }
}

TEST_F(IsoImageTest, ImagesWithoutAFileSystemFailToOpenWithAReason) {
    WriteFileBytes(dir_ + "/audio.iso", std::string(400000, '\0'));
    WriteFileBytes(dir_ + "/short.iso", ReadBytes(iso_).substr(0, 17 * 2048 + 100));
    WriteFileBytes(dir_ + "/tiny.iso", "CD001");
    // An audio CD as a ".bin"/".cue" pair, a garbled ".nrg", and a ".cue" naming no file.
    WriteFileBytes(dir_ + "/audio.bin", std::string(2352 * 300, '\0'));
    WriteFileBytes(dir_ + "/audio.cue", "FILE \"audio.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    WriteFileBytes(dir_ + "/audio.nrg", std::string(100000, 'N'));
    WriteFileBytes(dir_ + "/lost.cue", "FILE \"lost.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n");
    for (const std::string name : {"audio.iso", "short.iso", "tiny.iso", "missing.iso", "audio.cue", "audio.nrg", "lost.cue"}) {
        try {
            TIsoImage::Open(dir_ + "/" + name);
            ADD_FAILURE() << name << " opened";
        } catch (const EFOpenError& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
        }
    }
}

TEST_F(IsoImageTest, LoopsAndEntriesBeyondTheEndAreLeftOut) {
    std::string iso = ReadBytes(iso_);
    const uint32_t root = uint8_t(iso[16 * 2048 + 158]) | uint8_t(iso[16 * 2048 + 159]) << 8;
    // Every folder under the root points back at a root, and every file beyond the end.
    EditRootRecords(iso, [&](char* record, bool directory) {
        if (directory) SetRecordField(record, 2, root);
        else SetRecordField(record, 2, 0x7ffffff0);
    });
    WriteFileBytes(dir_ + "/damaged.iso", iso);
    const auto image = TIsoImage::Open(dir_ + "/damaged.iso");
    EXPECT_EQ(image->Find(Cp1251::fromUtf8("образец.htm")), -1);
    EXPECT_LT(image->Count(), 20u);

    iso = ReadBytes(iso_);
    EditRootRecords(iso, [&](char* record, bool directory) {
        if (!directory) SetRecordField(record, 10, 0xfffffff0);  // an absurd size
    });
    WriteFileBytes(dir_ + "/huge.iso", iso);
    const auto huge = TIsoImage::Open(dir_ + "/huge.iso");
    EXPECT_EQ(huge->Find("empty.txt"), -1);
    EXPECT_EQ(Bytes(*huge, "run\\zaz.dhl"), "bundle");  // what lies deeper is untouched

    // A name running past its record would be read past the folder: the folder is refused.
    iso = ReadBytes(iso_);
    EditRootRecords(iso, [&](char* record, bool) { record[32] = static_cast<char>(250); });
    WriteFileBytes(dir_ + "/names.iso", iso);
    EXPECT_THROW(TIsoImage::Open(dir_ + "/names.iso"), EFOpenError);
}

// Blocks of a hand-made image: kData holds a file's bytes.
constexpr uint32_t kData = kHandRoot + 10;

std::string File(std::string_view id, uint8_t flags = 0) { return DirRecord(id, kData, 4, flags); }
std::string Folder(std::string_view id, uint32_t lsn, uint32_t size = 2048) { return DirRecord(id, lsn, size, 2); }

std::vector<std::string> HandBlocks(std::vector<std::string> blocks) {
    blocks.resize(kData - kHandRoot + 1);
    blocks.back() = "data";
    return blocks;
}

std::unique_ptr<TIsoImage> OpenHand(const std::string& iso) {
    const std::string path = MakeTempDir() + "/hand.iso";
    WriteFileBytes(path, iso);
    return TIsoImage::Open(path);
}

// A folder block whose last record claims more bytes than are left in the block.
std::string RecordPastItsBlock(uint32_t lsn) {
    std::string block = Dots(lsn);
    for (char name = 'A'; block.size() + 255 <= 2048; ++name) block += DirRecord(std::string(1, name), kData, 4, 0, "", 255);
    std::string past = File("PAST;1");
    past[0] = static_cast<char>(2048 - block.size() + 1);
    return block + past;
}

TEST(IsoRecords, MalformedRecordsDropTheirFolderAndTheRestStays) {
    std::string nameOverRecord = File("NAME;1"), shortRecord = File("SHORT;1");
    nameOverRecord[32] = static_cast<char>(nameOverRecord.size());  // the name would run past the record
    shortRecord[0] = 33;
    const std::string padded = Dots(kHandRoot + 5, 4096) + File("BEFORE;1") + '\0' + std::string(200, '\xff');
    const auto image = OpenHand(HandImage(HandBlocks({
        Dots(kHandRoot) + File("GOOD.TXT;1") + Folder("PAST", kHandRoot + 1, 4096) + Folder("NAME", kHandRoot + 3) +
            Folder("SHORT", kHandRoot + 4) + Folder("PADDED", kHandRoot + 5, 4096) + Folder("UNEVEN", kHandRoot + 7, 2048 + 40),
        RecordPastItsBlock(kHandRoot + 1),  // into the folder's next block
        File("NEXT;1"),
        Dots(kHandRoot + 3) + nameOverRecord,
        Dots(kHandRoot + 4) + shortRecord,
        padded,  // a zero length in mid-block, then garbage up to the next block
        File("AFTER;1"),
        Dots(kHandRoot + 7, 2088),  // a size that is no whole count of blocks
        File("LATE;1"),
    })));
    const TDynamicStringArray all = image->List(0);
    EXPECT_EQ(all, (TDynamicStringArray{"GOOD.TXT", "PADDED\\", "PADDED\\BEFORE", "PADDED\\AFTER", "UNEVEN\\", "UNEVEN\\LATE"}));
    std::string bytes;
    EXPECT_TRUE(image->Read(image->Find("uneven\\late"), bytes) && bytes == "data");

    // The same damage in the root folder fails the opening.
    for (const std::string& root :
         {RecordPastItsBlock(kHandRoot), Dots(kHandRoot) + shortRecord, Dots(kHandRoot) + nameOverRecord})
        EXPECT_THROW(OpenHand(HandImage(HandBlocks({root}))), EFOpenError);
}

TEST(IsoRecords, NamesThatAreNoPlainHostNameAndSplitFilesAreLeftOut) {
    const auto plain = OpenHand(HandImage(HandBlocks({
        Dots(kHandRoot) + File("..") + File("A\\..\\..\\X;1") + File("Z:;1") + File("README.;1") + File("BIG.DAT;1", 0x80) +
            File("BIG.DAT;1") + File("OK.TXT;1"),
    })));
    EXPECT_EQ(plain->List(0), (TDynamicStringArray{"README", "OK.TXT"}));

    // A separator, "..", a NUL, a drive, a letter CP1251 lacks and an odd byte count; then sound names.
    const std::string jolietRoot = Dots(kHandRoot) + File(Ucs2(u"a/b")) + File(Ucs2(u"..")) + File(Ucs2(u"a\0b"s)) +
                                   File(Ucs2(u"c:")) + File(Ucs2(u"\u4e2d.txt")) + File(Ucs2(u"ok").substr(0, 3)) +
                                   File(Ucs2(u"Ёж.txt;1")) + File(Ucs2(u"ok"));
    const auto joliet = OpenHand(HandImage(HandBlocks({jolietRoot}), 2048, true));
    EXPECT_EQ(joliet->List(0), (TDynamicStringArray{Cp1251::fromUtf8("Ёж.txt"), "ok"}));
}

TEST(IsoRecords, RockRidgeNamesAreReadWithinTheirRecord) {
    const std::string split = "NM\x09\x01\x01"s + "Дл" + "NM\x0f\x01\x00"s + "инное";  // two pieces
    const std::string pastItsArea = "NM\x40\x01\x00"s + "long";
    const std::string withNul = "NM\x0a\x01\x00"s + "nul\0x"s;
    const auto image = OpenHand(HandImage(HandBlocks({
        Dots(kHandRoot) + DirRecord("SPLIT.TXT;1", kData, 4, 0, split) + DirRecord("OVER.TXT;1", kData, 4, 0, pastItsArea) +
            DirRecord("NUL", kData, 4, 0, withNul),
    })));
    EXPECT_EQ(image->List(0), (TDynamicStringArray{Cp1251::fromUtf8("Длинное"), "OVER.TXT"}));
}

}  // namespace
