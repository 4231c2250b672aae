// Books on mounted discs and named disc folders, in a temporary tree laid out like /media.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/DiscSearch.h"
#include "app/ProgramFolder.h"
#include "packs/PackTestUtil.h"

namespace fs = std::filesystem;

namespace {

// A disc at root/relative whose program folder holds a bundle named as given.
std::string Disc(const fs::path& root, const std::string& relative, const std::string& bundle) {
    const fs::path folder = root / relative;
    fs::create_directories(folder);
    std::ofstream(folder / bundle) << "x";
    return folder.string();
}

}  // namespace

TEST(DiscSearch, FindsBooksOneLevelDownInAnyLetterCase) {
    const fs::path root = MakeTempDir();
    const std::string user = (root / "media/ann").string();
    const std::string a = Disc(root, "media/ann/AUTO_1/RUN", "ZAZ.DHL");
    const std::string b = Disc(root, "media/ann/manual", "zaz.dhl");  // the disc root itself
    Disc(root, "media/ann/deep/one/run", "Zaz.dhl");                  // two levels: not looked at
    const std::string c = Disc(root, "media/cdrom0/Run", "Zaz.dhl");
    Disc(root, "media/usb/run", "Zaz.dhl");  // not a cdrom entry
    fs::create_directories(root / "media/ann/photos");
    const std::vector<RMountRoot> roots{{user, ""}, {(root / "media").string(), "cdrom"}, {(root / "mnt").string(), ""}};
    EXPECT_EQ(FindMountedBooks(roots), (std::vector<std::string>{a, b, c}));
}

TEST(DiscSearch, TheProgramFolderComesFromTheOptionThenTheMountsThenTheSample) {
    const fs::path root = MakeTempDir();
    const std::string run = Disc(root, "disc/run", "Zaz.dhl");
    const std::vector<RMountRoot> none{{(root / "nothing").string(), ""}};
    // A named disc folder leads to its program folder; a folder without a book stays as named.
    EXPECT_EQ(ChooseProgramFolder((root / "disc").string(), "", none, {}), run);
    EXPECT_EQ(ChooseProgramFolder((root / "empty").string(), "", none, {}), (root / "empty").string());

    const std::string second = Disc(root, "mounts/b/run", "Zaz.dhl");
    const std::string first = Disc(root, "mounts/a/run", "Zaz.dhl");
    const std::vector<RMountRoot> mounts{{(root / "mounts").string(), ""}};
    std::vector<std::string> offered;
    const auto pickSecond = [&](const std::vector<std::string>& books) {
        offered = books;
        return books.back();
    };
    EXPECT_EQ(ChooseProgramFolder("", "", mounts, pickSecond), second);
    EXPECT_EQ(offered, (std::vector<std::string>{first, second}));
    // Choosing none opens the sample book; the program's own folder comes before any mount.
    const std::string sample = ChooseProgramFolder("", "", mounts, [](const auto&) { return std::string(); });
    EXPECT_NE(sample, first);
    EXPECT_NE(sample, second);
    EXPECT_EQ(ChooseProgramFolder("", run, mounts, pickSecond), run);
}
