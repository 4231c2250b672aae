// The CP1251 boundary to Qt's strings: every byte survives the round trip, Cyrillic reads right.
#include "platform/QtText.h"

#include <gtest/gtest.h>

TEST(QtText, EveryByteRoundTripsAndCyrillicReadsAsItself) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(FromQt(ToQt(all)), all);
    EXPECT_EQ(ToQt("\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1"), QString::fromUtf8("Тезаурус"));
    EXPECT_EQ(FromQt(QString::fromUtf8("ё№")), "\xB8\xB9");
    EXPECT_EQ(FromQt(QString::fromUtf8("日")), "?");  // what CP1251 cannot hold
}
