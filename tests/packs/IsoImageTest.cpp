// The disc image reader: names in any case (Joliet Cyrillic ones too), reads across blocks,
// raw tracks, and damaged images that must fail cleanly.
#include "packs/IsoImage.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/Cp1251.h"
#include "base/FileErrors.h"
#include "packs/IsoTestUtil.h"
#include "packs/PackTestUtil.h"

namespace fs = std::filesystem;

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
    const auto image = TIsoImage::Open(MakeIsoImage(dir_ + "/disc", dir_ + "/plain.iso", false));
    EXPECT_EQ(Bytes(*image, "run\\zaz.dhl"), "bundle");  // stored as "ZAZ.DHL;1"
    EXPECT_EQ(Bytes(*image, "empty.txt"), "");
    EXPECT_TRUE(Bytes(*image, "VIDEO\\CLIP.AVI") == bigBytes());
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

}  // namespace
