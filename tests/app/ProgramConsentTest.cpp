// The reader's leave for programs: never without a reader's act, asked once per program and kept
// with the program's digest, asked again when the file changes; --trust skips only the question.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "app/ProgramConsent.h"
#include "platform/ReaderAct.h"

namespace {

struct ProgramConsent : ::testing::Test {
    QTemporaryDir folder;
    QString program = folder.filePath("setup.exe");
    std::vector<std::string> asked;
    std::optional<bool> answer = true;
    TProgramConsent::TAsk ask = [this](const std::string& question) {
        asked.push_back(question);
        return answer;
    };
    void SetUp() override { Write("first"); }
    void Write(const QByteArray& bytes) {
        QFile file(program);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static std::string Title() {
        static int n = 0;
        return "consent test " + std::to_string(++n);
    }
};

} // namespace

TEST_F(ProgramConsent, NoReadersActNoProgramAndNoQuestion) {
    TProgramConsent consent(Title(), true, ask);
    EXPECT_FALSE(consent.MayRun(program));
    EXPECT_FALSE(consent.MayOpen("http://example.org/"));
    EXPECT_TRUE(asked.empty());
    // An act that began in an outer loop is not the reader's inside a nested one.
    const TReaderAct act;
    bool inside = true;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        inside = consent.MayRun(program);
        loop.quit();
    });
    loop.exec();
    EXPECT_FALSE(inside);
    EXPECT_TRUE(consent.MayRun(program));  // back where it began
}

TEST_F(ProgramConsent, AskedOncePerProgramAndAgainWhenItChanges) {
    TProgramConsent consent(Title(), false, ask);
    const TReaderAct act;
    EXPECT_TRUE(consent.MayRun(program));
    EXPECT_TRUE(consent.MayRun(program));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], TProgramConsent::Question(program));
    EXPECT_NE(asked[0].find(program.toStdString()), std::string::npos);
    Write("changed");  // another file under the same name
    answer = false;
    EXPECT_FALSE(consent.MayRun(program));
    EXPECT_FALSE(consent.MayRun(program));
    EXPECT_EQ(asked.size(), 2u);  // the refusal is kept too
    answer.reset();  // a question that could not be asked keeps nothing
    Write("third");
    EXPECT_FALSE(consent.MayRun(program));
    EXPECT_FALSE(consent.MayRun(program));
    EXPECT_EQ(asked.size(), 4u);
    EXPECT_TRUE(consent.MayOpen("http://example.org/"));  // a document needs the act alone
}

TEST_F(ProgramConsent, TrustSkipsTheQuestionAndAFileThatCannotBeReadIsNotAskedAbout) {
    const TReaderAct act;
    EXPECT_TRUE(TProgramConsent(Title(), true, ask).MayRun(program));
    EXPECT_FALSE(TProgramConsent(Title(), false, ask).MayRun(folder.filePath("missing.exe")));
    EXPECT_TRUE(asked.empty());
}
