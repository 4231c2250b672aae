// The thesaurus and help windows as the book starts them: second processes of the program, found
// by their captions; a second thesaurus window ends at once and says nothing.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include "platform/BookWindows.h"
#include "platform/InstanceChannel.h"

namespace {

struct Program {
    QProcess process;
    explicit Program(const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(BOOKSHELL_EXE, QStringList{"--disc", SAMPLE_RUN} + args);
        process.waitForStarted(10000);
    }
    ~Program() {
        if (process.state() == QProcess::NotRunning) return;
        process.kill();
        process.waitForFinished(10000);
    }
};

bool FindWindow(const char* caption, THandle& window) {
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        if (TInstanceChannel::Instance().FindVisibleWindow(caption, window)) return true;
        QThread::msleep(100);
    }
    return false;
}

}  // namespace

TEST(SecondProcesses, OneThesaurusWindowRunsAndTheHelpWindowIsFoundByItsCaption) {
    Program thesaurus({"tezaurus\\index.htm", "/t"});
    THandle window = 0;
    ASSERT_TRUE(FindWindow(BookWindows::kThesaurus, window)) << thesaurus.process.readAllStandardError().toStdString();

    Program second({"tezaurus\\tormoz.htm", "/t"});
    ASSERT_TRUE(second.process.waitForFinished(30000));
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_FALSE(second.process.readAllStandardError().contains("bookshell:"));
    EXPECT_EQ(thesaurus.process.state(), QProcess::Running);

    Program help({"help\\Topic12.htm", "/h"});
    THandle helpWindow = 0;
    ASSERT_TRUE(FindWindow(BookWindows::kHelp, helpWindow));
    // The book's closing finds both by caption and closes them at once.
    EXPECT_TRUE(TInstanceChannel::Instance().SendClose(window));
    EXPECT_TRUE(TInstanceChannel::Instance().SendClose(helpWindow));
    EXPECT_TRUE(thesaurus.process.waitForFinished(30000));
    EXPECT_TRUE(help.process.waitForFinished(30000));
    EXPECT_EQ(thesaurus.process.exitCode(), 0);
}
