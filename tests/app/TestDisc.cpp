#include "app/TestDisc.h"

#include <filesystem>
#include <unistd.h>

#include "packs/BundleWriter.h"
#include "packs/CfsCodec.h"
#include "packs/PackTestUtil.h"
#include "packs/PackWriter.h"

TestDisc MakeTestDisc(const std::string& structText, const std::string& runName,
                      const std::map<std::string, std::string>& packFiles, const std::string& packName,
                      const std::string& bundleName, const std::map<std::string, std::string>& bundleFiles) {
    TestDisc disc;
    disc.root = MakeTempDir();
    disc.programDir = disc.root + "/" + runName;
    std::filesystem::create_directories(disc.programDir);
    TPackWriter pack;
    pack.AddFile("HTML\\INDEX.HTM", "<html>index</html>");
    for (const auto& [path, content] : packFiles) pack.AddFile(path, content);
    WriteFileBytes(disc.programDir + "/" + packName, pack.Build());
    std::vector<RBundleItem> items{{"Struct.cfs", EncodeCfs(structText, 5)}};
    if (!bundleFiles.count("back1.bmp")) items.push_back({"back1.bmp", "BM"});
    for (const auto& [name, data] : bundleFiles) items.push_back({name, data});
    WriteFileBytes(disc.programDir + "/" + bundleName, BuildBundle(items));
    return disc;
}

std::string SolidBitmap(int width, int height, unsigned rgb) {
    // A bottom-up 24-bit bitmap: file header, info header, rows padded to 4 bytes.
    const int row = (width * 3 + 3) / 4 * 4;
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels += std::string{char(rgb & 0xFF), char((rgb >> 8) & 0xFF), char((rgb >> 16) & 0xFF)};
        pixels.append(size_t(row - width * 3), '\0');
    }
    return "BM" + u32(uint32_t(54 + pixels.size())) + u32(0) + u32(54) + u32(40) + u32(uint32_t(width)) + u32(uint32_t(height)) +
           u16(1) + u16(24) + u32(0) + u32(uint32_t(pixels.size())) + u32(2835) + u32(2835) + u32(0) + u32(0) + pixels;
}

std::string UniqueTitle(const std::string& stem) { return stem + " " + std::to_string(::getpid()); }

