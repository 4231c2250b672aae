// bookpack disc, and the pack verbs on a disc image: the pack is read from inside the image.
#include <filesystem>
#include <gtest/gtest.h>

#include "packs/IsoTestUtil.h"
#include "packs/PackTestUtil.h"
#include "packs/PackWriter.h"
#include "tools/BookpackRun.h"

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

TEST(BookpackDisc, ListsAndExtractsAnImageAndThePackInIt) {
    const std::string dir = MakeTempDir();
    fs::create_directories(dir + "/disc/RUN/Видео");
    TPackWriter pack;
    pack.AddFile("HTML\\INDEX.HTM", "<html>");
    WriteFileBytes(dir + "/disc/RUN/interface.dat", pack.Build());
    WriteFileBytes(dir + "/disc/RUN/ZAZ.DHL", "bundle");
    WriteFileBytes(dir + "/disc/RUN/Видео/Ролик.avi", std::string(70000, 'v'));
    const std::string iso = MakeIsoImage(dir + "/disc", dir + "/book.iso");

    const TRunResult packs = RunBookpack({"pack", "list", iso});
    EXPECT_EQ(packs.status, 0) << packs.err;
    EXPECT_EQ(Lines(packs.out), Strings{"HTML\\INDEX.HTM"});

    const TRunResult list = RunBookpack({"disc", "list", iso});
    EXPECT_EQ(Lines(list.out), (Strings{"RUN\\ZAZ.DHL", "RUN\\interface.dat", "RUN\\Видео\\Ролик.avi"}));

    ASSERT_EQ(RunBookpack({"disc", "extract", iso, "-o", dir + "/all"}).status, 0);
    EXPECT_EQ(ReadFileBytes(dir + "/all/RUN/Видео/Ролик.avi"), std::string(70000, 'v'));
    const TRunResult one = RunBookpack({"disc", "extract", iso, "-o", dir + "/one", "run/видео/РОЛИК.AVI", "run/none"});
    EXPECT_EQ(one.status, 1);  // the missing one is reported, the other written
    EXPECT_NE(one.err.find("\"run/none\" is not a file in the image"), std::string::npos) << one.err;
    EXPECT_EQ(ListTree(dir + "/one"), (Strings{"RUN", "RUN/Видео", "RUN/Видео/Ролик.avi"}));
    EXPECT_EQ(ListTree(dir + "/disc").size(), 5u) << "nothing is written beside the image's source";

    WriteFileBytes(dir + "/audio.iso", std::string(100000, '\0'));
    const TRunResult bad = RunBookpack({"disc", "list", dir + "/audio.iso"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(Lines(bad.err).size(), 1u) << bad.err;
}
