#include <gtest/gtest.h>

#include "base/MemoryStream.h"

TEST(MemoryStream, WritesGrowAndReadsStopAtTheEnd) {
    TMemoryStream s;
    for (int i = 0; i < 1000; ++i) s.Write("abc", 3);
    EXPECT_EQ(s.Size(), 3000u);
    s.Seek(2998);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, sizeof buf), 2u);
    EXPECT_EQ(std::string(buf, 2), "bc");
    uint8_t b = 0;
    EXPECT_FALSE(s.ReadByte(b));
    s.Seek(99999);
    EXPECT_EQ(s.Position(), 3000u);
    s.Assign("xy", 2);
    EXPECT_EQ(s.View(), "xy");
    EXPECT_EQ(s.Position(), 0u);
}
