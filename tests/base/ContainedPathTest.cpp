// Names from a disc, a pack, an image or an archive joined to a host folder: nothing lands outside
// it, and a failed write touches no file that was there before.
#include "base/ContainedPath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct TempFolder {
    fs::path path;
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "contained-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
};

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t Count(const fs::path& folder) {
    return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(Contained, OnlyPlainNamesStandAsOneComponent) {
    for (const char* bad : {"", ".", "..", "a\\b", "a/b", "c:", "x:y", "..\\x"}) EXPECT_FALSE(Contained::IsPlainName(bad)) << bad;
    EXPECT_FALSE(Contained::IsPlainName(std::string_view("a\0b", 3)));
    for (const char* good : {"a.txt", "...", "a..b", "\xD4\xE0\xE9\xEB.txt", " lead"}) EXPECT_TRUE(Contained::IsPlainName(good)) << good;
}

TEST(Contained, RelativeNamesSplitIntoHostComponentsOrAreRefused) {
    const struct {
        const char* name;
        std::vector<std::string> parts;  // empty: refused
    } kCases[] = {
        {"a\\b\\c.txt", {"a", "b", "c.txt"}},
        {"a/b\\.\\c", {"a", "b", "c"}},
        {"a\\\\b\\", {"a", "b"}},
        {"\xD4\xE0\xE9\xEB.txt", {"\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB.txt"}},  // Файл.txt
        {"a\\..\\..\\..\\..\\precious.txt", {}},
        {"..", {}},
        {"\\etc\\passwd", {}},
        {"/etc/passwd", {}},
        {"z:\\etc\\passwd", {}},
        {"c:evil", {}},
        {"a\\b:stream", {}},
        {".\\.\\", {}},
        {"", {}},
    };
    for (const auto& c : kCases) {
        const auto parts = Contained::Components(c.name);
        if (c.parts.empty()) EXPECT_FALSE(parts) << c.name;
        else EXPECT_EQ(parts.value_or(std::vector<std::string>{}), c.parts) << c.name;
    }
}

TEST(Contained, AJoinNeverLeavesItsFolderEvenThroughALinkOnTheWay) {
    TempFolder temp;
    const fs::path target = temp.path / "target";
    fs::create_directories(target / "sub");
    EXPECT_EQ(Contained::Join(target, "sub\\a.txt"), target / "sub" / "a.txt");
    EXPECT_FALSE(Contained::Join(target, "sub\\..\\..\\a.txt"));
    EXPECT_FALSE(Contained::Join({}, "a.txt"));
    // A link planted inside the folder that points out of it is no way out.
    fs::create_directory_symlink(temp.path, target / "out");
    EXPECT_FALSE(Contained::Join(target, "out\\a.txt"));
    EXPECT_FALSE(Contained::Inside(temp.path / "other", target));
    EXPECT_TRUE(Contained::Inside(target / "new" / "deeper", target));
}

TEST(Contained, AWriteReplacesOnlyWhenWholeAndNeverFollowsALink) {
    TempFolder temp;
    const fs::path file = temp.path / "font.ttf";
    ASSERT_TRUE(Contained::WriteReplacing(file, "first"));
    ASSERT_TRUE(Contained::WriteReplacing(file, "second"));
    EXPECT_EQ(Read(file), "second");
    EXPECT_FALSE(Contained::WriteNew(file, "third"));
    EXPECT_EQ(Read(file), "second");
    EXPECT_EQ(Count(temp.path), 1u);  // no hidden file left behind

    // A link at the target is replaced by the file; what it pointed to stays as it was.
    const fs::path precious = temp.path / "precious.txt";
    std::ofstream(precious) << "mine";
    fs::create_symlink(precious, temp.path / "link.ttf");
    ASSERT_TRUE(Contained::WriteReplacing(temp.path / "link.ttf", "book"));
    EXPECT_EQ(Read(precious), "mine");
    EXPECT_FALSE(fs::is_symlink(temp.path / "link.ttf"));
}

TEST(Contained, AFailedWriteLeavesWhatWasThere) {
    TempFolder temp;
    // A folder of the user's where the file would go: the write fails, the folder keeps its file.
    fs::create_directory(temp.path / "font.ttf");
    std::ofstream(temp.path / "font.ttf" / "mine.txt") << "mine";
    EXPECT_FALSE(Contained::WriteReplacing(temp.path / "font.ttf", "book"));
    EXPECT_EQ(Read(temp.path / "font.ttf" / "mine.txt"), "mine");
    EXPECT_FALSE(Contained::WriteReplacing(temp.path / "missing" / "font.ttf", "book"));
    EXPECT_EQ(Count(temp.path), 1u);
}
