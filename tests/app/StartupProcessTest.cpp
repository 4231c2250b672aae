// The program started as a user starts it: one instance per title, arguments that skip the
// instance test, and clear failures on bad disc folders.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>

#include "app/Startup.h"
#include "app/TestDisc.h"
#include "base/GlobalPaths.h"
#include "packs/PackFile.h"
#include "platform/SettingsStore.h"
#include "packs/PackTestUtil.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceLock.h"

namespace {

struct Program {
    QProcess process;
    explicit Program(const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_DATA_HOME", QString::fromStdString(MakeTempDir()));
        process.setProcessEnvironment(env);
        process.start(BOOKSHELL_EXE, args);
        process.waitForStarted(10000);
    }
    ~Program() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(10000);
        }
    }
    QString Stderr() { return QString::fromUtf8(process.readAllStandardError()); }
};

bool WaitFor(const std::function<bool()>& condition, int ms = 20000) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (condition()) return true;
        QThread::msleep(50);
    }
    return condition();
}

} // namespace

TEST(StartupProcess, ASecondStartOfTheSameBookEndsQuietlyButArgumentsSkipTheTest) {
    const std::string title = UniqueTitle("proc");
    const TestDisc disc = MakeTestDisc("title=" + title + "\r\n");
    const QString folder = QString::fromStdString(disc.programDir);

    Program first({"--disc", folder});
    const QString lockPath = TInstanceLock::LockPath("P" + title.substr(1));
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(lockPath); })) << first.Stderr().toStdString();
    ASSERT_EQ(first.process.state(), QProcess::Running);

    Program second({"--disc", folder});
    ASSERT_TRUE(second.process.waitForFinished(20000));
    EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_TRUE(second.Stderr().contains("already open"));

    // A file argument opens the standard window and never asks for the lock.
    Program standard({"--disc", folder, "page.htm"});
    EXPECT_FALSE(standard.process.waitForFinished(1500));
    EXPECT_EQ(standard.process.state(), QProcess::Running);
    EXPECT_EQ(first.process.state(), QProcess::Running);

    // Other processes find the book's window by its caption, in any letter case, and can close it.
    THandle window = 0;
    ASSERT_TRUE(WaitFor([&] { return TInstanceChannel::Instance().FindVisibleWindow("p" + title.substr(1), window); }));
    EXPECT_TRUE(TInstanceChannel::Instance().SendClose(window));
    ASSERT_TRUE(first.process.waitForFinished(20000));
    EXPECT_EQ(first.process.exitCode(), 0);
}

TEST(StartupProcess, BadDiscFoldersFailWithOneClearLine) {
    const TestDisc disc = MakeTestDisc("title=x\r\n");
    QFile::remove(QString::fromStdString(disc.programDir + "/Zaz.dhl"));
    Program noBundle({"--disc", QString::fromStdString(disc.programDir)});
    ASSERT_TRUE(noBundle.process.waitForFinished(20000));
    EXPECT_EQ(noBundle.process.exitCode(), 1);
    const QString err = noBundle.Stderr().trimmed();
    EXPECT_TRUE(err.startsWith("bookshell: ")) << err.toStdString();
    EXPECT_TRUE(err.contains("Zaz.dhl"));
    EXPECT_FALSE(err.contains('\n'));

    Program badOption({"--drive", "42"});
    ASSERT_TRUE(badOption.process.waitForFinished(20000));
    EXPECT_EQ(badOption.process.exitCode(), 2);
}

// A window scale chosen in the options holds from the next start: the program starts itself
// again at that scale, once, so the window is half as large again in pixels.
TEST(StartupProcess, TheChosenWindowScaleHoldsFromTheNextStart) {
    const QString home = QString::fromStdString(MakeTempDir());
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", (home + "/config").toUtf8());
    const std::string title = ReadBookTitle(SAMPLE_RUN, TCommandLine{});
    ASSERT_FALSE(title.empty());
    ASSERT_TRUE(TSettingsStore(title).WriteInteger("WindowScale", 150));
    ClosePack();
    StartState() = TStartState{};
    qputenv("XDG_CONFIG_HOME", config);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_DATA_HOME", home + "/data");
    env.remove("QT_SCALE_FACTOR");
    program.setProcessEnvironment(env);
    program.start(BOOKSHELL_EXE, {"--disc", SAMPLE_RUN, "--screenshot", home + "/window.png"});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(QImage(home + "/window.png").size(), QSize(1200, 900));
}
