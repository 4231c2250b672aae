// Launching through fake "wine" and "xdg-open" on a private PATH; each records its working folder
// and arguments, one per line.
#include "platform/Launch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// A gate that lets through what it is told and writes down what it was asked.
struct TRecordingGate : ILaunchGate {
    bool run = true, open = true;
    QStringList asked;
    bool MayRun(const QString& program) override {
        asked << "run " + program;
        return run;
    }
    bool MayOpen(const QString& fileOrUrl) override {
        asked << "open " + fileOrUrl;
        return open;
    }
};

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        oldPath_ = qgetenv("PATH");
        QDir(root_.path()).mkpath("bin");
        QDir(root_.path()).mkpath("Game Folder");
        qputenv("PATH", QFile::encodeName(Path("bin")));
        SetLaunchGate(&gate_);
    }
    void TearDown() override {
        SetLaunchGate(nullptr);
        qputenv("PATH", oldPath_);
    }

    QString Path(const QString& relative) const { return root_.filePath(relative); }

    // An executable script that logs to <name>.log and exits with exitCode.
    QString FakeTool(const QString& path, int exitCode = 0) {
        const QString log = path + ".log";
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; }"
                               " > '%1.tmp'\n/bin/mv '%1.tmp' '%1'\nexit %2\n")
                    .arg(log)
                    .arg(exitCode)
                    .toUtf8());
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
        return log;
    }

    // The lines a tool logged, once it has run (empty after 15 s).
    static QStringList WaitForLog(const QString& log) {
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(log) && clock.elapsed() < 15000) QThread::msleep(10);
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        f.remove();
        return lines;
    }

    static QString Canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    QTemporaryDir root_;
    QByteArray oldPath_;
    TRecordingGate gate_;
};

TEST_F(LaunchTest, WindowsProgramsRunThroughWineInTheirFolder) {
    const QString wineLog = FakeTool(Path("bin/wine"));
    const QString folder = Path("Game Folder");
    ASSERT_TRUE(LaunchProgram(folder + "/SETUP.EXE", {"-window", "a b"}, folder));
    QStringList lines = WaitForLog(wineLog);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(Canonical(lines[0]), Canonical(folder));
    EXPECT_EQ(lines[1], folder + "/SETUP.EXE");
    EXPECT_EQ(lines.mid(2), QStringList({"-window", "a b"}));

    for (const QString name : {"tool.com", "Install.Bat"}) {
        ASSERT_TRUE(LaunchProgram(folder + "/" + name, {}));
        lines = WaitForLog(wineLog);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1], folder + "/" + name);
    }
    EXPECT_EQ(RunAndWait(folder + "/uninst.exe", {"-f"}), 0);
    EXPECT_EQ(WaitForLog(wineLog).mid(1), QStringList({folder + "/uninst.exe", "-f"}));
}

TEST_F(LaunchTest, WithoutWineWindowsProgramsAreNotStarted) {
    const QString openLog = FakeTool(Path("bin/xdg-open"));
    EXPECT_FALSE(LaunchProgram(Path("Game Folder/setup.exe"), {}));
    EXPECT_EQ(RunAndWait(Path("Game Folder/setup.exe"), {}), -1);
    QThread::msleep(300);
    EXPECT_FALSE(QFile::exists(openLog));  // not handed to the desktop either
}

TEST_F(LaunchTest, AddressesAndDocumentsGoToTheDesktopOpener) {
    EXPECT_FALSE(ShellOpen("http://example.org/"));  // no xdg-open yet

    const QString openLog = FakeTool(Path("bin/xdg-open"));
    const QString url = "http://example.org/a b?x=1&y=\"2\"";
    ASSERT_TRUE(ShellOpen(url, Path("Game Folder")));
    QStringList lines = WaitForLog(openLog);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(Canonical(lines[0]), Canonical(Path("Game Folder")));
    EXPECT_EQ(lines[1], url);

    const QString page = Path("Game Folder/readme.htm");
    QFile(page).open(QIODevice::WriteOnly);
    ASSERT_TRUE(LaunchProgram(page, {"ignored"}));
    EXPECT_EQ(WaitForLog(openLog).mid(1), QStringList{page});
}

TEST_F(LaunchTest, NativeProgramsStartDirectly) {
    const QString tool = Path("Game Folder/tool");
    const QString log = FakeTool(tool);
    ASSERT_TRUE(LaunchProgram(tool, {"--x", ""}, Path("bin")));
    const QStringList lines = WaitForLog(log);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(Canonical(lines[0]), Canonical(Path("bin")));
    EXPECT_EQ(lines.mid(1), QStringList({"--x", ""}));

    // A script shipped under a Windows name runs itself, with or without Wine.
    const QString standIn = Path("Game Folder/SETUP.EXE");
    const QString standInLog = FakeTool(standIn);
    const QString wineLog = FakeTool(Path("bin/wine"));
    ASSERT_TRUE(LaunchProgram(standIn, {"/quiet"}));
    EXPECT_EQ(WaitForLog(standInLog).mid(1), QStringList{"/quiet"});
    EXPECT_EQ(RunAndWait(standIn, {}), 0);
    EXPECT_FALSE(QFile::exists(wineLog));
}

TEST_F(LaunchTest, RunAndWaitGivesTheExitCode) {
    FakeTool(Path("bin/wine"), 3);
    const QString tool = Path("Game Folder/tool");
    FakeTool(tool, 7);
    EXPECT_EQ(RunAndWait(tool, {}), 7);
    EXPECT_EQ(RunAndWait(Path("Game Folder/x.exe"), {}), 3);
    EXPECT_EQ(RunAndWait(Path("Game Folder/missing"), {}), -1);

    QFile sleeper(Path("Game Folder/sleeper"));
    ASSERT_TRUE(sleeper.open(QIODevice::WriteOnly));
    sleeper.write("#!/bin/sh\nexec /bin/sleep 30\n");
    sleeper.close();
    sleeper.setPermissions(sleeper.permissions() | QFile::ExeOwner);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunAndWait(sleeper.fileName(), {}, {}, 200), -1);
    EXPECT_LT(clock.elapsed(), 20000);
}

TEST_F(LaunchTest, NothingStartsOrOpensWithoutTheGatesLeave) {
    const QString wineLog = FakeTool(Path("bin/wine"));
    const QString openLog = FakeTool(Path("bin/xdg-open"));
    const QString tool = Path("Game Folder/tool");
    const QString toolLog = FakeTool(tool);
    gate_.run = gate_.open = false;
    EXPECT_FALSE(LaunchProgram(tool, {}));
    EXPECT_FALSE(LaunchProgram(Path("Game Folder/setup.exe"), {}));
    EXPECT_EQ(RunAndWait(tool, {}), -1);
    EXPECT_EQ(RunAndWaitWithEvents(tool, {}), -1);
    EXPECT_FALSE(ShellOpen("http://example.org/"));
    // A desktop entry or a script handed to the opener would run: it is asked about as a program.
    const QString entry = Path("Game Folder/evil.desktop");
    QFile(entry).open(QIODevice::WriteOnly);
    EXPECT_FALSE(ShellOpen(entry));
    EXPECT_FALSE(ShellOpen(QUrl::fromLocalFile(tool).toString()));
    EXPECT_TRUE(gate_.asked.contains("run " + entry));
    EXPECT_TRUE(gate_.asked.contains("run " + QUrl::fromLocalFile(tool).toString()));
    SetLaunchGate(nullptr);  // and with no gate at all
    gate_.run = gate_.open = true;
    EXPECT_FALSE(LaunchProgram(tool, {}));
    EXPECT_FALSE(ShellOpen("http://example.org/"));
    QThread::msleep(300);
    for (const QString& log : {wineLog, openLog, toolLog}) EXPECT_FALSE(QFile::exists(log)) << log.toStdString();
}

TEST(LaunchParameters, QuotedParametersKeepTheirSpaces) {
    EXPECT_EQ(SplitParameters(R"( -f "c:\Program Files\Demo\Uninst.isu"  /q)"),
              QStringList({"-f", R"(c:\Program Files\Demo\Uninst.isu)", "/q"}));
    EXPECT_EQ(SplitParameters(""), QStringList());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
