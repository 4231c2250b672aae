#include "app/TestDisc.h"

#include <filesystem>
#include <unistd.h>

#include "packs/BundleWriter.h"
#include "packs/CfsCodec.h"
#include "packs/PackTestUtil.h"
#include "packs/PackWriter.h"

TestDisc MakeTestDisc(const std::string& structText, const std::string& runName,
                      const std::map<std::string, std::string>& packFiles, const std::string& packName,
                      const std::string& bundleName) {
    TestDisc disc;
    disc.root = MakeTempDir();
    disc.programDir = disc.root + "/" + runName;
    std::filesystem::create_directories(disc.programDir);
    TPackWriter pack;
    pack.AddFile("HTML\\INDEX.HTM", "<html>index</html>");
    for (const auto& [path, content] : packFiles) pack.AddFile(path, content);
    WriteFileBytes(disc.programDir + "/" + packName, pack.Build());
    WriteFileBytes(disc.programDir + "/" + bundleName,
                   BuildBundle({{"Struct.cfs", EncodeCfs(structText, 5)}, {"back1.bmp", "BM"}}));
    return disc;
}

std::string UniqueTitle(const std::string& stem) { return stem + " " + std::to_string(::getpid()); }

