// The program itself, started as a reader starts it, on a disc an attacker made: its pages'
// scripts, frames and redirects start nothing, not even with --trust, which only skips the
// question after a reader's act. Under the test command's X server where there is one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "hostile/HostileDisc.h"

namespace {

struct RRun {
    int exitCode = -1;
    QString errors;
};

RRun RunBook(const QStringList& options) {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("DISPLAY")) env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const char* folder : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        QDir(home.path()).mkpath(folder);
        env.insert(folder, home.filePath(folder));
    }
    QFile::setPermissions(home.filePath("XDG_RUNTIME_DIR"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess program;
    program.setProcessEnvironment(env);
    const QStringList disc{"--disc", HostileDisc().program, "--screenshot", home.filePath("shot.png")};
    program.start(BOOKSHELL_EXE, disc + options);
    RRun run;
    if (!program.waitForFinished(90000)) {
        program.kill();
        program.waitForFinished();
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.errors = QString::fromUtf8(program.readAllStandardError());
    return run;
}

} // namespace

TEST(HostileProcess, NoPageOfTheDiscStartsAProgramEvenWithTrust) {
    const RHostileDisc& disc = HostileDisc();
    for (const bool trust : {false, true}) {
        for (const char* page : {"html1=html\\hostile.htm", "html1=html\\refresh.htm"}) {
            ClearMarks(disc);
            QStringList options{"--command", "2", "--command", page};
            if (trust) options << "--trust";
            const RRun run = RunBook(options);
            EXPECT_EQ(run.exitCode, 0) << page << run.errors.toStdString();
            for (const char* program : {"evil.sh", "evil.exe", "other.sh"}) EXPECT_FALSE(Ran(disc, program)) << page << " " << program;
        }
    }
}

// The same link given as a command of the reader's own command line runs with --trust.
TEST(HostileProcess, TheReadersOwnCommandRunsWithTrust) {
    const RHostileDisc& disc = HostileDisc();
    ClearMarks(disc);
    const RRun run = RunBook({"--trust", "--command", "rungame=" + disc.Windows("evil.sh") + "=Evil"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(Ran(disc, "evil.sh"));
}
