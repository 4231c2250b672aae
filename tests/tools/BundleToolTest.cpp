// bookpack bundle and cfs: description text through scrambling and back, and extraction of
// bundles whose names are arbitrary bytes.
#include <filesystem>
#include <gtest/gtest.h>

#include "base/Cp1251.h"
#include "packs/BundleWriter.h"
#include "packs/CfsCodec.h"
#include "packs/PackTestUtil.h"
#include "packs/ReadBin.h"
#include "tools/BookpackRun.h"

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

namespace {

std::string cp(const std::string& utf8) { return Cp1251::fromUtf8(utf8); }

Strings decodedLines(const std::string& scrambled) {
    Strings lines;
    DecodeCfsLines(reinterpret_cast<const uint8_t*>(scrambled.data()), scrambled.size(), lines, false);
    return lines;
}

std::string entry(const TReadBin& bundle, const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_GE(bundle.ReadBundleEntry(name, bytes), 0) << name;
    return {bytes.begin(), bytes.end()};
}

} // namespace

TEST(BookpackBundle, BuildExtractRoundTripOfRussianDescriptions) {
    const std::string dir = MakeTempDir();
    // Mixed line ends and no final line end; the picture holds bytes that look like line ends.
    const std::string structText = "Title=Руководство\nWidth=640\r\nПоследняя строка";
    const std::string picture("BM\n\r\n\0\xff", 7);
    fs::create_directory(dir + "/src");
    WriteFileBytes(dir + "/src/Struct.cfs", structText);
    WriteFileBytes(dir + "/src/Dialog.CFS", "\xEF\xBB\xBF" "a\nb\n");  // with a byte-order mark
    WriteFileBytes(dir + "/src/skin.bmp", picture);

    const TRunResult build = RunBookpack({"bundle", "build", dir + "/src", "-o", dir + "/Zaz.dhl", "--seed", "7"});
    ASSERT_EQ(build.status, 0) << build.err;
    TReadBin bundle;
    bundle.OpenBundle(dir + "/Zaz.dhl");
    Strings names;
    for (const RBin& bin : bundle.Directory()) names.push_back(bin.name);
    EXPECT_EQ(names, (Strings{"Dialog.CFS", "Struct.cfs", "skin.bmp"}));
    EXPECT_EQ(decodedLines(entry(bundle, "struct.cfs")), (Strings{cp("Title=Руководство"), "Width=640", cp("Последняя строка")}));
    EXPECT_EQ(decodedLines(entry(bundle, "dialog.cfs")), (Strings{"a", "b", ""}));
    EXPECT_EQ(entry(bundle, "SKIN.BMP"), picture);

    const TRunResult list = RunBookpack({"bundle", "list", dir + "/Zaz.dhl"});
    EXPECT_EQ(list.out, "Dialog.CFS\nStruct.cfs\nskin.bmp\n");

    ASSERT_EQ(RunBookpack({"bundle", "extract", dir + "/Zaz.dhl", "-o", dir + "/x"}).status, 0);
    EXPECT_EQ(ReadFileBytes(dir + "/x/Struct.cfs"), "Title=Руководство\nWidth=640\nПоследняя строка");
    EXPECT_EQ(ReadFileBytes(dir + "/x/skin.bmp"), picture);
    // The extracted folder builds the very same bundle again.
    ASSERT_EQ(RunBookpack({"bundle", "build", dir + "/x", "-o", dir + "/again.dhl", "--seed", "7"}).status, 0);
    EXPECT_EQ(ReadFileBytes(dir + "/again.dhl"), ReadFileBytes(dir + "/Zaz.dhl"));

    ASSERT_EQ(RunBookpack({"bundle", "extract", dir + "/Zaz.dhl", "-o", dir + "/raw", "--raw"}).status, 0);
    EXPECT_EQ(ReadFileBytes(dir + "/raw/Struct.cfs"), entry(bundle, "Struct.cfs"));

    // CP1251 sources are taken byte for byte; only the line ends change.
    fs::create_directory(dir + "/cp");
    WriteFileBytes(dir + "/cp/tree1.cfs", cp("Ветка\nЛист\r\n"));
    ASSERT_EQ(RunBookpack({"bundle", "build", dir + "/cp", "-o", dir + "/cp.dhl", "--encoding", "cp1251"}).status, 0);
    TReadBin cpBundle;
    cpBundle.OpenBundle(dir + "/cp.dhl");
    EXPECT_EQ(decodedLines(entry(cpBundle, "tree1.cfs")), (Strings{cp("Ветка"), cp("Лист"), ""}));
}

TEST(BookpackBundle, BuildRefusesWhatTheBundleCannotHold) {
    const std::string dir = MakeTempDir();
    fs::create_directory(dir + "/text");
    WriteFileBytes(dir + "/text/About.cfs", "one\ntwo\nтри ☃\n");
    const TRunResult text = RunBookpack({"bundle", "build", dir + "/text", "-o", dir + "/a.dhl"});
    EXPECT_EQ(text.status, 1);
    ASSERT_EQ(Lines(text.err).size(), 1u);
    EXPECT_NE(text.err.find("About.cfs\" line 3"), std::string::npos) << text.err;

    fs::create_directories(dir + "/nested/pictures");
    WriteFileBytes(dir + "/nested/a.bmp", "x");
    const TRunResult nested = RunBookpack({"bundle", "build", dir + "/nested", "-o", dir + "/b.dhl"});
    EXPECT_EQ(nested.status, 1);
    EXPECT_NE(nested.err.find("pictures"), std::string::npos) << nested.err;

    fs::create_directory(dir + "/twins");
    WriteFileBytes(dir + "/twins/Пункт.bmp", "1");
    WriteFileBytes(dir + "/twins/пункт.BMP", "2");
    EXPECT_EQ(RunBookpack({"bundle", "build", dir + "/twins", "-o", dir + "/c.dhl"}).status, 1);

    EXPECT_FALSE(fs::exists(dir + "/a.dhl") || fs::exists(dir + "/b.dhl") || fs::exists(dir + "/c.dhl"));
}

TEST(BookpackBundle, ExtractRefusesUnsafeNamesAndWritesCaseTwins) {
    const std::vector<RBundleItem> items = {
        {"..", "up"}, {".", "dot"}, {"", "empty"}, {"a/b", "slash"}, {"..\\x", "backslash"},
        {std::string("n\0ul", 4), "nul"}, {"Same.txt", "first"}, {"SAME.TXT", "second"}, {cp("ок.txt"), "ok"},
    };
    const std::string dir = MakeTempDir();
    WriteFileBytes(dir + "/Zaz.dhl", BuildBundle(items));
    const TRunResult run = RunBookpack({"bundle", "extract", dir + "/Zaz.dhl", "-o", dir + "/out"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.err).size(), 6u) << run.err;
    EXPECT_EQ(ListTree(dir), (Strings{"Zaz.dhl", "out", "out/SAME.TXT", "out/Same.txt", "out/ок.txt"}));
    EXPECT_EQ(ReadFileBytes(dir + "/out/Same.txt"), "first");
    EXPECT_EQ(ReadFileBytes(dir + "/out/SAME.TXT"), "second");
}

TEST(BookpackCfs, EncodeDecodeRoundTrip) {
    const std::string dir = MakeTempDir();
    const std::string text = "[Окно]\nCaption=Справка\r\n\nЁлка=1\n";
    WriteFileBytes(dir + "/About.txt", text);
    const TRunResult encode = RunBookpack({"cfs", "encode", dir + "/About.txt", "-o", dir + "/About.cfs", "--seed", "42"});
    ASSERT_EQ(encode.status, 0) << encode.err;
    const std::string scrambled = ReadFileBytes(dir + "/About.cfs");
    EXPECT_EQ(decodedLines(scrambled), (Strings{cp("[Окно]"), cp("Caption=Справка"), "", cp("Ёлка=1"), ""}));
    EXPECT_EQ(RunBookpack({"cfs", "encode", dir + "/About.txt", "--seed", "42"}).out, scrambled);

    const TRunResult decode = RunBookpack({"cfs", "decode", dir + "/About.cfs"});
    EXPECT_EQ(decode.status, 0);
    EXPECT_EQ(decode.out, "[Окно]\nCaption=Справка\n\nЁлка=1\n");
    const TRunResult raw = RunBookpack({"cfs", "decode", dir + "/About.cfs", "--encoding", "cp1251"});
    EXPECT_EQ(raw.out, cp("[Окно]\r\nCaption=Справка\r\n\r\nЁлка=1\r\n"));

    WriteFileBytes(dir + "/raw.txt", raw.out);
    ASSERT_EQ(RunBookpack({"cfs", "encode", dir + "/raw.txt", "-o", dir + "/raw.cfs", "--encoding=cp1251"}).status, 0);
    EXPECT_EQ(DecodeCfsText(ReadFileBytes(dir + "/raw.cfs")), raw.out);
}
