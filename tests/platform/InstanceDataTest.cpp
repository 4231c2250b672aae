#include <gtest/gtest.h>

#include <string>

#include "platform/InstanceData.h"

namespace {

std::string At(const std::array<uint8_t, RInstanceData::kSize>& bytes, size_t offset, size_t length) {
    return std::string(reinterpret_cast<const char*>(bytes.data() + offset), length);
}

} // namespace

TEST(InstanceData, RecordHasTheExactWireLayout) {
    RInstanceData record;
    record.kind = RInstanceData::kPrintPicture;
    record.count = 3;
    record.codes[0] = 0;
    record.codes[1] = -2;
    record.codes[2] = 0x01020304;
    record.strings[0] = "c:\\temp\\\xF0\xE8\xF1.bmp";  // рис
    record.strings[1] = "640";
    record.strings[2] = "";
    const auto bytes = record.Serialize();

    EXPECT_EQ(At(bytes, 0, 4), std::string("\x01\x00\x03\x00", 4));
    EXPECT_EQ(At(bytes, 4, 4), std::string("\x00\x00\x00\x00", 4));
    EXPECT_EQ(At(bytes, 8, 4), std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(At(bytes, 12, 4), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(At(bytes, 16, record.strings[0].size() + 1), record.strings[0] + '\0');
    EXPECT_EQ(At(bytes, 290, 4), std::string("640\0", 4));
    EXPECT_EQ(bytes[564], 0);
    EXPECT_EQ(At(bytes, 838, 2), std::string(2, '\0'));
    for (size_t i = 16 + record.strings[0].size(); i < 290; ++i) ASSERT_EQ(bytes[i], 0) << i;

    const auto back = RInstanceData::Deserialize(bytes.data(), bytes.size());
    EXPECT_EQ(back.kind, record.kind);
    EXPECT_EQ(back.count, record.count);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.codes[i], record.codes[i]);
        EXPECT_EQ(back.strings[i], record.strings[i]);
    }
}

TEST(InstanceData, StringsHoldAtMost273CharactersPlusNul) {
    RInstanceData record;
    record.strings[0] = std::string(300, '\xE0');
    record.strings[2] = std::string(273, 'z');
    const auto bytes = record.Serialize();
    EXPECT_EQ(At(bytes, 16, 273), std::string(273, '\xE0'));
    EXPECT_EQ(bytes[16 + 273], 0);  // cut, and still terminated before the next string
    EXPECT_EQ(bytes[290], 0);
    EXPECT_EQ(RInstanceData::Deserialize(bytes.data(), bytes.size()).strings[0], std::string(273, '\xE0'));
    EXPECT_EQ(RInstanceData::Deserialize(bytes.data(), bytes.size()).strings[2], std::string(273, 'z'));

    // A sender that fills all 274 bytes without a terminator: the reader stops at 273 and never
    // runs into the next field.
    auto raw = bytes;
    std::fill(raw.begin() + 16, raw.begin() + 290, uint8_t{'a'});
    std::fill(raw.begin() + 290, raw.begin() + 564, uint8_t{'b'});
    const auto read = RInstanceData::Deserialize(raw.data(), raw.size());
    EXPECT_EQ(read.strings[0], std::string(273, 'a'));
    EXPECT_EQ(read.strings[1], std::string(273, 'b'));
}

TEST(InstanceData, ShortBufferGivesAnInvalidRecord) {
    const auto bytes = RInstanceData{}.Serialize();
    for (const size_t size : {size_t{0}, size_t{16}, RInstanceData::kSize - 1}) {
        const auto record = RInstanceData::Deserialize(bytes.data(), size);
        EXPECT_EQ(record.kind, RInstanceData::kInvalidKind);
        EXPECT_EQ(record.count, 0);
        EXPECT_TRUE(record.strings[0].empty());
    }
    EXPECT_EQ(RInstanceData::Deserialize(nullptr, 840).kind, RInstanceData::kInvalidKind);
}
