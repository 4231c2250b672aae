// The archive browser on the sample book's archives: the listing pages and their reuse, the
// messages of volumes, damage and encryption, extraction beside earlier extractions, and the
// archive mode of the page frame.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "archive/UnRar.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "platform/hostpaths/Drives.h"

namespace {

std::string u(const char* utf8) { return Cp1251::fromUtf8(utf8); }

struct Browser : ::testing::Test, IArchiveHost {
    QTemporaryDir temp, target;
    std::vector<std::string> messages, opened;
    bool archiveMode = false;
    std::unique_ptr<TUnRar> unrar;

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool ArchiveMode() const override { return archiveMode; }
    void SetArchiveMode(bool on) override { archiveMode = on; }
    void OpenInCurrentView(const std::string& page) override { opened.push_back(page); }
    std::optional<std::string> UnpackFolder() const override { return "e:\\"; }

    void SetUp() override {
        SetupDrives(SAMPLE_RUN, 'd');
        HostPathsService().SetDrive('t', temp.path().toStdString());
        HostPathsService().SetDrive('e', target.path().toStdString());
        StartState().tempDir = "t:\\";
        unrar = std::make_unique<TUnRar>(*this, "Browser test");
    }
    std::string Page(const std::string& winPath) {
        QFile file(QString::fromStdString(HostPathsService().Find(winPath).value_or("")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
};

}  // namespace

TEST_F(Browser, AnArchiveIsListedOnceAsPagesOfItsFolders) {
    unrar->ShowArchive("d:\\run\\archives\\folders.rar", "d:\\run\\html\\archives.htm");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], unrar->ListingFolder() + "as_folders.rar.htm");
    EXPECT_EQ(unrar->ListingFolder().rfind(unrar->ListingRoot(), 0), 0u);
    const std::string frameset = Page(opened[0]);
    const size_t src = frameset.find("name=\"Top\"> <frame src=\"") + 24;
    const std::string root = Page(unrar->ListingFolder() + frameset.substr(src, frameset.find('"', src) - src));
    EXPECT_NE(root.find(">schema</a>"), std::string::npos);
    EXPECT_NE(root.find(">" + u("Документы") + "</a>"), std::string::npos);
    EXPECT_NE(root.find("<a href=\"top.txt\">top.txt</a>"), std::string::npos);
    EXPECT_TRUE(messages.empty());
    unrar->UpdateArchiveMode(opened[0]);
    EXPECT_TRUE(archiveMode);
    unrar->ShowArchive("d:\\run\\archives\\folders.rar", opened[0]);  // listed once: shown again
    EXPECT_EQ(opened.size(), 2u);
    unrar->UpdateArchiveMode("d:\\run\\html\\ARCHIVES.htm");  // back where the archive was linked
    EXPECT_FALSE(archiveMode);
}

TEST_F(Browser, UnpackingAgainMakesANewFolderBesideTheFirst) {
    unrar->ShowArchive("d:\\run\\archives\\nodirs.rar", "d:\\run\\html\\archives.htm");
    unrar->ExtractArchive(true, false);
    unrar->ExtractArchive(true, false);
    EXPECT_TRUE(QFileInfo::exists(target.filePath("nodirs.rar/a/b/deep.txt")));
    EXPECT_TRUE(QFileInfo::exists(target.filePath("nodirs1.rar/a/note.txt")));
    unrar->ExtractArchive(false, true);  // a link of the listing: into the listing folder
    EXPECT_TRUE(HostPathsService().Find(unrar->ListingFolder() + "top.txt").has_value());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Browser, MissingVolumesDamageAndEncryptionAreSaid) {
    unrar->ShowArchive("d:\\run\\archives\\lost.part1.rar", "d:\\run\\html\\archives.htm");
    unrar->ExtractArchive(true, false);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind(u("Том "), 0), 0u);
    EXPECT_NE(messages.back().find("lost.part2.rar" + u(" не найден.")), std::string::npos);
    messages.clear();
    unrar->ShowArchive("d:\\run\\archives\\broken.rar", "d:\\run\\html\\archives.htm");
    unrar->ExtractArchive(true, false);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), u("У файла second.txt ошика контрольной суммы."));
    messages.clear();
    unrar->ShowArchive("d:\\run\\archives\\locked.rar", "d:\\run\\html\\archives.htm");
    unrar->ExtractArchive(true, false);
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find(u("зашифрован")), std::string::npos);
    messages.clear();
    unrar->ShowArchive("d:\\run\\archives\\manual.zip", "d:\\run\\html\\index.htm");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], u("Файл ") + "d:\\run\\archives\\manual.zip" + u(" не является RAR архивом."));
}
