#include <gtest/gtest.h>

#include "base/FileErrors.h"
#include "packs/BundleWriter.h"
#include "packs/PackTestUtil.h"
#include "packs/ReadBin.h"

namespace {

std::string U16(uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }

// A bundle laid out by hand from the format table: Dialog.cfs, dialog.CFS (a later duplicate),
// Картинка.bmp (CP1251), empty.bin.
std::string HandBundle() {
    const std::vector<std::pair<std::string, std::string>> items = {
        {"Dialog.cfs", "first"}, {"dialog.CFS", "second"}, {"\xCA\xE0\xF0\xF2\xE8\xED\xEA\xE0.bmp", "BMpicture"}, {"empty.bin", ""}};
    uint32_t offset = 2;
    for (const auto& [name, data] : items) offset += 12 + static_cast<uint32_t>(name.size());
    std::string dir = U16(static_cast<uint16_t>(items.size())), body;
    for (const auto& [name, data] : items) {
        dir += U32(static_cast<uint32_t>(name.size())) + name + U32(offset + static_cast<uint32_t>(body.size())) +
               U32(static_cast<uint32_t>(data.size()));
        body += data;
    }
    return dir + body;
}

std::string WriteTemp(const std::string& bytes) {
    const std::string path = MakeTempDir() + "/Zaz.dhl";
    WriteFileBytes(path, bytes);
    return path;
}

} // namespace

TEST(Bundle, ServesEntriesByNameIgnoringCase) {
    TReadBin bin;
    bin.OpenBundle(WriteTemp(HandBundle()));
    ASSERT_EQ(bin.Directory().size(), 4u);
    EXPECT_TRUE(bin.BundleHas("dialog.cfs"));
    EXPECT_TRUE(bin.BundleHas("\xEA\xC0\xD0\xD2\xC8\xCD\xCA\xC0.BMP"));  // кАРТИНКА.BMP
    EXPECT_FALSE(bin.BundleHas("dialog"));
    std::vector<uint8_t> buf{1, 2, 3};
    EXPECT_EQ(bin.ReadBundleEntry("DIALOG.CFS", buf), 5);
    EXPECT_EQ(std::string(buf.begin(), buf.end()), "first");  // the first of the case twins
    EXPECT_EQ(bin.ReadBundleEntry("empty.bin", buf), 0);
    EXPECT_TRUE(buf.empty());
    EXPECT_EQ(bin.ReadBundleEntry("missing", buf), -1);

    TMemoryStream s;
    ASSERT_TRUE(bin.ReadBundleStream("\xCA\xE0\xF0\xF2\xE8\xED\xEA\xE0.bmp", s));
    EXPECT_EQ(s.View(), "BMpicture");
    EXPECT_EQ(s.Position(), 0u);
    // A missing name leaves the stream's previous content and position alone.
    s.Seek(3);
    EXPECT_FALSE(bin.ReadBundleStream("nothing.bmp", s));
    EXPECT_EQ(s.View(), "BMpicture");
    EXPECT_EQ(s.Position(), 3u);
}

TEST(Bundle, WriterOutputReadsBack) {
    std::vector<RBundleItem> items;
    for (int i = 0; i < 300; ++i) items.push_back({"file" + std::to_string(i) + ".bmp", std::string(size_t(i), char(i))});
    TReadBin bin;
    bin.OpenBundle(WriteTemp(BuildBundle(items)));
    std::vector<uint8_t> buf;
    for (int i = 0; i < 300; i += 37) {
        ASSERT_EQ(bin.ReadBundleEntry("FILE" + std::to_string(i) + ".BMP", buf), i);
        EXPECT_EQ(std::string(buf.begin(), buf.end()), items[size_t(i)].data);
    }
    EXPECT_THROW(BuildBundle({{std::string(257, 'n'), "x"}}), std::invalid_argument);
}

TEST(Bundle, DamagedOrMissingFilesRaiseInputOutputErrors) {
    TReadBin bin;
    EXPECT_THROW(bin.OpenBundle(MakeTempDir() + "/none.dhl"), EInOutError);
    const std::string good = HandBundle();
    EXPECT_THROW(bin.OpenBundle(WriteTemp(good.substr(0, 1))), EInOutError);
    EXPECT_THROW(bin.OpenBundle(WriteTemp(good.substr(0, 20))), EInOutError);  // directory cut short
    // A name longer than 256 bytes.
    EXPECT_THROW(bin.OpenBundle(WriteTemp(U16(1) + U32(300) + std::string(300, 'n') + U32(0) + U32(0))), EInOutError);
}

// One entry past the end of the file fails its own read; the other entries read as ever.
TEST(Bundle, AnEntryBeyondTheEndIsUnreadableAndTheRestReads) {
    const std::string head = U16(3) + U32(1) + "a" + U32(0) + U32(0) + U32(1) + "b" + U32(0) + U32(0) + U32(1) + "c" +
                             U32(0) + U32(0);
    const uint32_t data = uint32_t(head.size());
    std::string bytes = U16(3) + U32(1) + "a" + U32(data + 2) + U32(100) + U32(1) + "b" + U32(data) + U32(2) + U32(1) +
                        "c" + U32(0xFFFFFFFFu) + U32(2) + "xy";
    TReadBin bin;
    ASSERT_NO_THROW(bin.OpenBundle(WriteTemp(bytes)));
    std::vector<uint8_t> buf;
    EXPECT_EQ(bin.ReadBundleEntry("B", buf), 2);
    EXPECT_EQ(std::string(buf.begin(), buf.end()), "xy");
    EXPECT_EQ(bin.ReadBundleEntry("a", buf), -1);
    TMemoryStream s;
    EXPECT_FALSE(bin.ReadBundleStream("c", s));
    EXPECT_TRUE(bin.BundleHas("c"));
}

TEST(Bundle, AFileThatShrinksAfterOpeningFailsReadsQuietly) {
    const std::string path = WriteTemp(HandBundle());
    TReadBin bin;
    bin.OpenBundle(path);
    WriteFileBytes(path, HandBundle().substr(0, 60));
    std::vector<uint8_t> buf;
    EXPECT_EQ(bin.ReadBundleEntry("\xCA\xE0\xF0\xF2\xE8\xED\xEA\xE0.bmp", buf), -1);
    TMemoryStream s;
    EXPECT_FALSE(bin.ReadBundleStream("\xCA\xE0\xF0\xF2\xE8\xED\xEA\xE0.bmp", s));
    EXPECT_EQ(s.Size(), 0u);
}
