// The program started as a user starts it on a machine without a sound server: the start clip,
// which has a sound track, still ends, and the window opens (its picture taken by --screenshot).
// Nothing is said on the terminal of what the libraries found; --verbose tells it.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

TEST(NoSoundServer, TheStartClipWithSoundStillEndsAndTheWindowOpens) {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PULSE_SERVER", "unix:" + home.filePath("no-such-server"));
    for (const char* folder : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
        QDir(home.path()).mkpath(folder);
        env.insert(folder, home.filePath(folder));
    }
    QFile::setPermissions(home.filePath("XDG_RUNTIME_DIR"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess program;
    program.setProcessEnvironment(env);
    const QString picture = home.filePath("window.png");
    for (const bool verbose : {false, true}) {
        QStringList args{"--disc", SAMPLE_RUN, "--screenshot", picture};
        if (verbose) args << "--verbose";
        program.start(BOOKSHELL_EXE, args);
        ASSERT_TRUE(program.waitForFinished(60000)) << program.readAllStandardError().toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(QFile::exists(picture));
        const QString said = QString::fromUtf8(program.readAllStandardError());
        if (verbose) EXPECT_TRUE(said.contains("bookshell.libraries: ")) << said.toStdString();
        else EXPECT_EQ(said, QString()) << "a normal run says nothing";
    }
}
