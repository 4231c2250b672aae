// Shipped software through a fake "wine" on a private PATH and a software record in a private
// system configuration: the program and its parameters, the uninstaller found by climbing, the
// clean-up that never leaves the software's folder, and the fonts beside a page.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "archive/Software.h"
#include "base/GlobalPaths.h"
#include "packs/PackFile.h"
#include "platform/hostpaths/Drives.h"
#include "platform/Launch.h"

namespace fs = std::filesystem;

namespace {

// These tests call the software commands directly, as the reader's click would.
struct TAllowAll : ILaunchGate {
    bool MayRun(const QString&) override { return true; }
    bool MayOpen(const QString&) override { return true; }
};

struct Software : ::testing::Test {
    TAllowAll gate;
    QTemporaryDir root;
    QByteArray oldPath, oldDirs;
    void SetUp() override {
        oldPath = qgetenv("PATH");
        oldDirs = qgetenv("XDG_CONFIG_DIRS");
        for (const char* folder : {"bin", "etc/No Name", "disc/run", "disc/pages", "disc/games/demo/bin", "cdrive/windows"})
            QDir(root.path()).mkpath(folder);
        qputenv("PATH", QFile::encodeName(Path("bin")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(Path("etc")));
        qputenv("WINEPREFIX", QFile::encodeName(Path("no-prefix")));
        SetupDrives(Path("disc/run").toStdString(), 'd');  // book files are read through the drives
        HostPathsService().SetDrive('c', Path("cdrive").toStdString());
        StartState().windowsDir = "c:\\windows\\";
        SetCdRoot("d:\\");
        SetLaunchGate(&gate);
    }
    void TearDown() override {
        SetLaunchGate(nullptr);
        qputenv("PATH", oldPath);
        qputenv("XDG_CONFIG_DIRS", oldDirs);
    }
    QString Path(const QString& relative) const { return root.filePath(relative); }
    void Record(const char* instdir, const char* exename) {
        QSettings file(Path("etc/No Name/software.conf"), QSettings::IniFormat);
        file.setValue("BookDemo/instdir", instdir);
        file.setValue("BookDemo/exename", exename);
    }
    // A fake wine that logs its arguments; with forget, it also removes the record, as an
    // uninstaller does.
    void FakeWine(bool forget = false) {
        QFile f(Path("bin/wine"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QString script = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + Path("wine.log") + ".tmp'\n";
        if (forget) script += "/bin/rm -f '" + Path("etc/No Name/software.conf") + "'\n";
        script += "/bin/mv '" + Path("wine.log") + ".tmp' '" + Path("wine.log") + "'\n";
        f.write(script.toUtf8());
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    }
    QStringList WineLog() {
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(Path("wine.log")) && clock.elapsed() < 10000) QThread::msleep(10);
        QFile f(Path("wine.log"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
        f.remove();
        return lines;
    }
    void Touch(const QString& relative) { QFile(Path(relative)).open(QIODevice::WriteOnly); }
};

}  // namespace

TEST(SplitProgram, EverythingAfterTheExeIsTheParameters) {
    EXPECT_EQ(SplitProgram("game.exe -window"), std::make_pair(std::string("game.exe"), std::string(" -window")));
    EXPECT_EQ(SplitProgram("bin\\GAME.EXE"), std::make_pair(std::string("bin\\GAME.EXE"), std::string()));
    EXPECT_EQ(SplitProgram("setup.sh"), std::make_pair(std::string("setup.sh"), std::string()));
}

TEST_F(Software, AnInstalledProgramStartsWithItsParametersAndOtherwiseItsSetup) {
    FakeWine();
    Touch("disc/games/demo/bin/demo.exe");
    Touch("disc/setup.exe");
    Record("d:\\games\\demo\\bin\\", "demo.exe -window \"a b\"");
    ASSERT_TRUE(RunGame("d:\\setup.exe", "BookDemo"));
    EXPECT_EQ(WineLog(), QStringList({Path("disc/games/demo/bin/demo.exe"), "-window", "a b"}));
    QFile::remove(Path("etc/No Name/software.conf"));
    ASSERT_TRUE(RunGame("d:\\setup.exe /quiet", "BookDemo"));
    EXPECT_EQ(WineLog(), QStringList({Path("disc/setup.exe"), "/quiet"}));
}

TEST_F(Software, TheSampleBooksDemoSetupIsAScriptThatRunsWithoutWine) {
    QFile zenity(Path("bin/zenity"));  // records the message the setup shows
    ASSERT_TRUE(zenity.open(QIODevice::WriteOnly));
    zenity.write(("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + Path("wine.log") + ".tmp'\n/bin/mv '" + Path("wine.log") +
                  ".tmp' '" + Path("wine.log") + "'\n").toUtf8());
    zenity.close();
    zenity.setPermissions(zenity.permissions() | QFile::ExeOwner);
    SetupDrives(SAMPLE_RUN, 'd');
    ASSERT_TRUE(RunGame("setup\\demo.exe", "BookDemo"));  // no record, no wine: the setup itself runs
    const QStringList shown = WineLog();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[1], "--title=BookDemo");
    EXPECT_TRUE(shown[2].startsWith("--text=")) << shown[2].toStdString();
}

TEST_F(Software, TheUninstallerIsFoundByClimbingAndItsLeftoversGoWithinTheSoftwareFolderOnly) {
    EXPECT_FALSE(RemoveGame("BookDemo"));  // no record: not installed
    FakeWine(true);
    Touch("cdrive/windows/IsUninst.exe");
    Touch("disc/games/demo/Uninst.isu");
    Touch("disc/games/demo/bin/demo.exe");
    Touch("disc/games/keep.txt");
    Record("d:\\games\\demo\\bin", "demo.exe");
    ASSERT_TRUE(RemoveGame("BookDemo"));
    EXPECT_EQ(WineLog(), QStringList({Path("cdrive/windows/IsUninst.exe"), "-fd:\\games\\demo\\Uninst.isu"}));
    EXPECT_FALSE(QFileInfo::exists(Path("disc/games/demo/bin")));  // the recorded folder is gone
    EXPECT_FALSE(QFileInfo::exists(Path("disc/games/demo")));  // and its parent, left with the log only
    EXPECT_TRUE(QFileInfo::exists(Path("disc/games/keep.txt")));  // nothing above that
}

// The log's folder stays where anything but the log is left in it, or where it lies further up.
TEST_F(Software, TheLogsFolderStaysWhereMoreThanTheLogIsLeftOrWhereItLiesFurtherUp) {
    FakeWine(true);
    Touch("cdrive/windows/IsUninst.exe");
    const struct {
        const char* instdir;
        const char* folder;  // the log's folder, under disc/games
        bool other;          // a file beside the program's is left there
    } cases[] = {
        {"d:\\games\\one\\bin", "one", true},
        {"d:\\games\\two\\bin\\x86", "two", false},  // the log two folders up
    };
    for (const auto& c : cases) {
        const QString folder = QString("disc/games/") + c.folder;
        QDir(root.path()).mkpath(folder + "/bin/x86");
        Touch(folder + "/Uninst.isu");
        Touch(folder + "/bin/x86/demo.exe");
        if (c.other) Touch(folder + "/notes.txt");
        Record(c.instdir, "demo.exe");
        ASSERT_TRUE(RemoveGame("BookDemo")) << c.instdir;
        EXPECT_TRUE(QFileInfo::exists(Path(folder + "/Uninst.isu"))) << c.instdir;
    }
}

TEST_F(Software, TheCleanUpNeverReachesBeyondTheSoftware) {
    const fs::path games = Path("disc/games").toStdString(), demo = games / "demo";
    fs::create_directories(Path("outside/precious").toStdString());
    fs::create_symlink(Path("outside").toStdString(), games / "link");
    EXPECT_TRUE(SafeToClean(demo, demo));
    EXPECT_FALSE(SafeToClean(games, demo));  // above the install folder
    EXPECT_FALSE(SafeToClean(games / "link", games / "link"));  // through a link
    EXPECT_FALSE(SafeToClean(games / "link" / "precious", games / "link"));
    EXPECT_FALSE(SafeToClean("/", "/"));
    EXPECT_FALSE(SafeToClean(QDir::homePath().toStdString(), QDir::homePath().toStdString()));
    EXPECT_FALSE(SafeToClean(Path("disc").toStdString(), Path("disc").toStdString()));  // the disc
    fs::create_symlink(Path("outside/precious").toStdString(), demo / "bin" / "shortcut");
    CleanFolder(demo);
    EXPECT_FALSE(fs::exists(demo));
    EXPECT_TRUE(fs::exists(Path("outside/precious").toStdString()));  // the link went, not its target
}

TEST_F(Software, FontsBesideAPageAreInstalledForTheUser) {
    QFile font(Path("disc/pages/Book.TTF"));
    ASSERT_TRUE(font.open(QIODevice::WriteOnly));
    QFile real("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");
    ASSERT_TRUE(real.open(QIODevice::ReadOnly)) << "fonts-dejavu-core is a build dependency";
    font.write(real.readAll());
    font.close();
    Touch("disc/pages/page.htm");
    EXPECT_EQ(InstallFonts("d:\\pages"), 1);
    const QString installed = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/fonts/Book.TTF";
    EXPECT_EQ(QFileInfo(installed).size(), QFileInfo(Path("disc/pages/Book.TTF")).size());
}

// A font of the user's that has the book font's name is neither replaced nor removed: the book's
// goes beside it under a numbered name, once.
TEST_F(Software, AFontOfTheSameNameStaysTheUsers) {
    QFile real("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray book = real.readAll();
    QFile font(Path("disc/pages/Book.TTF"));
    ASSERT_TRUE(font.open(QIODevice::WriteOnly));
    font.write(book);
    font.close();
    const QString fonts = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/fonts";
    QDir().mkpath(fonts);
    QFile::remove(fonts + "/Book-1.TTF");
    QFile mine(fonts + "/Book.TTF");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly | QIODevice::Truncate));
    mine.write("the user's own font");
    mine.close();
    EXPECT_EQ(InstallFonts("d:\\pages"), 1);
    EXPECT_EQ(InstallFonts("d:\\pages"), 1);  // found installed the second time, not copied again
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), QByteArray("the user's own font"));
    EXPECT_EQ(QFileInfo(fonts + "/Book-1.TTF").size(), book.size());
    EXPECT_FALSE(QFile::exists(fonts + "/Book-2.TTF"));
    QFile::remove(fonts + "/Book.TTF");
    QFile::remove(fonts + "/Book-1.TTF");
}
