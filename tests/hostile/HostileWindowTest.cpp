// The book's window on a disc an attacker made: page scripts, redirects, frames and foreign pages
// start nothing, copy nothing and open nothing; a reader's own click on a software link asks
// first, and the answer is kept; a page copy stays inside the chosen folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/MainForm.h"
#include "app/ProgramConsent.h"
#include "app/SkinControls.h"
#include "base/GlobalPaths.h"
#include "hostile/HostileDisc.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScripts.h"
#include "packs/PackFile.h"
#include "platform/Drives.h"
#include "platform/InstanceLock.h"
#include "platform/ReaderAct.h"
#include "skin/SkinDialog.h"
#include "support/ReaderClick.h"
#include "support/Wait.h"

namespace {

class Window : public TMainForm {
public:
    Window(const std::string& folder, TInstanceLock& lock) : TMainForm(folder, TCommandLine{}, lock) {}
    std::string pathInput;  // the path input's folder, in Windows form
    std::string PathInputFolder() override { return pathInput; }
};

std::string Win(const QString& host) { return HostPathsService().ToWindows(host.toStdString()); }

class Hostile : public ::testing::Test {
protected:
    void SetUp() override {
        ClearMarks(disc_);
        answerWait_ = PageAnswerWait();
        SetPageAnswerWait(3000);
        SetLaunchGate(&consent_);
        window_ = std::make_unique<Window>(disc_.program.toStdString(), lock_);
        ASSERT_FALSE(window_->Terminating()) << window_->ExitMessage();
        window_->pathInput = Win(out_.path());
        window_->show();
        window_->RunCommand("2");
        view_ = window_->HtmlFrame()->CurrentView();
        ASSERT_TRUE(WaitUntil([&] { return !view_->CurrentFile().empty() && !view_->IsLoading(); }, 30000));
    }
    void TearDown() override {
        window_.reset();
        SetLaunchGate(nullptr);
        ClosePack();
        StartState() = TStartState{};
        SetPageAnswerWait(answerWait_);
    }
    // Shows a page of the disc and waits until it is complete and its scripts have had their time.
    void Show(const char* command, const char* file) {
        window_->RunCommand(command);
        const std::string end = std::string("\\") + file;
        ASSERT_TRUE(WaitUntil([&] {
            const std::string current = view_->CurrentFile();
            return current.size() > end.size() && current.compare(current.size() - end.size(), end.size(), end) == 0 &&
                   view_->EvaluateScript("document.readyState").toString() == "complete";
        }, 20000)) << view_->CurrentFile();
        Pump(1500);
    }
    void ExpectNothingDone() {
        EXPECT_TRUE(questions_.empty()) << questions_.front();
        for (const char* program : {"evil.sh", "other.sh", "evil.exe", "setup.exe"}) EXPECT_FALSE(Ran(disc_, program)) << program;
        EXPECT_TRUE(QDir(out_.path()).isEmpty()) << "a copy was made";
    }

    const RHostileDisc& disc_ = HostileDisc();
    QTemporaryDir out_;
    std::vector<std::string> questions_;
    bool answer_ = true;
    TProgramConsent consent_{UniqueTitle(), false, [this](const std::string& question) {
                                 questions_.push_back(question);
                                 return std::optional<bool>(answer_);
                             }};
    TInstanceLock lock_;
    std::unique_ptr<Window> window_;
    TFrameViewer* view_ = nullptr;
    int answerWait_ = 100;

    static std::string UniqueTitle() {
        static int n = 0;
        return "hostile consent " + std::to_string(QCoreApplication::applicationPid()) + "-" + std::to_string(++n);
    }
};

} // namespace

// Scripts of a page click, dispatch, open windows, write the old report line, use the channel's
// transport and go to software links; a frame and a redirect point at one. Nothing starts, no
// question is asked, nothing is copied.
TEST_F(Hostile, PageScriptsFramesAndRedirectsActForNobody) {
    Show("html1=html\\hostile.htm", "hostile.htm");
    EXPECT_EQ(view_->EvaluateScript("document.title").toString(), "attacked");  // its scripts did run
    ExpectNothingDone();
    window_->RunCommand("html1=html\\refresh.htm");
    Pump(2000);
    ExpectNothingDone();
}

// The reader's own click asks once; the answer is kept for that program, yes and no alike.
TEST_F(Hostile, AReadersClickAsksFirstAndTheAnswerIsKept) {
    Show("html1=html\\hostile.htm", "hostile.htm");
    ASSERT_TRUE(ReaderClick(*view_, "document.getElementById('run')"));
    ASSERT_TRUE(WaitUntil([&] { return Ran(disc_, "evil.sh"); }));
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_NE(questions_[0].find(disc_.Program("evil.sh").toStdString()), std::string::npos) << questions_[0];
    ClearMarks(disc_);
    ASSERT_TRUE(ReaderClick(*view_, "document.getElementById('run')"));  // asked once only
    ASSERT_TRUE(WaitUntil([&] { return Ran(disc_, "evil.sh"); }));
    EXPECT_EQ(questions_.size(), 1u);
    ASSERT_TRUE(ReaderClick(*view_, "document.getElementById('prog')"));  // a program of the disc's own
    ASSERT_TRUE(WaitUntil([&] { return Ran(disc_, "evil.exe"); }));
    EXPECT_EQ(questions_.size(), 2u);

    answer_ = false;
    const TReaderAct typed;
    window_->RunCommand("run=" + disc_.Windows("other.sh").toStdString());
    window_->RunCommand("run=" + disc_.Windows("other.sh").toStdString());
    EXPECT_EQ(questions_.size(), 3u);  // refused once, and not asked again
    Pump(500);
    EXPECT_FALSE(Ran(disc_, "other.sh"));
}

// A page dropped from elsewhere on this computer shows without its scripts, and even a reader's
// click on its links starts nothing.
TEST_F(Hostile, AForeignPageRunsNoScriptAndItsLinksDoNothing) {
    window_->DropFile(Win(disc_.bin + "/../foreign/dropped.htm"));
    ASSERT_TRUE(WaitUntil([&] { return view_->EvaluateScript("document.title").toString() == "dropped"; }, 20000));
    Pump(500);
    EXPECT_EQ(view_->EvaluateScript("document.title").toString(), "dropped");  // its script never ran
    ASSERT_TRUE(ReaderClick(*view_, "document.getElementById('run')"));
    ASSERT_TRUE(ReaderClick(*view_, "document.getElementById('prog')"));
    Pump(1000);
    ExpectNothingDone();
}

// "run" gives quoted parameters whole, as the software commands do.
TEST_F(Hostile, RunKeepsQuotedParametersTogether) {
    const TReaderAct typed;
    window_->RunCommand("run=" + disc_.Windows("args.sh").toStdString() + "=\"a b\" c");
    ASSERT_TRUE(WaitUntil([&] { return Ran(disc_, "args.sh"); }));
    QFile mark(disc_.Mark("args.sh"));
    ASSERT_TRUE(mark.open(QIODevice::ReadOnly));
    EXPECT_EQ(mark.readAll(), QByteArray("a b\nc\n"));
}

// A companion file named to climb out of the copy's folder is left out; the rest is copied.
TEST_F(Hostile, APageCopyStaysInsideTheChosenFolder) {
    QTemporaryDir top;
    const QString chosen = top.filePath("a/b/c/out");
    const QString precious = top.filePath("a/b/precious.txt");  // where the crafted name points
    QDir().mkpath(chosen);
    QFile file(precious);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("mine");
    file.close();
    window_->pathInput = Win(chosen);
    Show("html1=html\\copyme.htm", "copyme.htm");
    window_->RunCommand("copyhtml");
    EXPECT_TRUE(QFile::exists(chosen + "/copyme.htm"));
    EXPECT_TRUE(QFile::exists(chosen + "/copyme.files/picture.gif"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("mine"));
    EXPECT_EQ(QDir(chosen + "/copyme.files").entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);
}

// The sample book's own software link, clicked by the reader, asks on the book's message dialog;
// "Да" lets the demo setup run.
TEST_F(Hostile, TheSampleSetupRunsAfterTheReaderSaysYesOnTheBooksDialog) {
    SetLaunchGate(nullptr);
    TProgramConsent asking(UniqueTitle(), false, [this](const std::string& question) {
        return AskReader(window_->Controls()->Dialog(), window_.get(), question);
    });
    SetLaunchGate(&asking);
    // The setup shows its message with the first of these it finds: each leaves the mark.
    const QString tools = disc_.bin + "/tools";
    QDir().mkpath(tools);
    for (const char* tool : {"zenity", "kdialog", "xmessage"}) {
        QFile f(tools + "/" + tool);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(disc_.Mark("setup")).toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", tools.toUtf8() + ":" + path);
    TCoolDialog* dialog = window_->Controls()->Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->QuestionPage());
    int asked = 0;
    QTimer yes;
    QObject::connect(&yes, &QTimer::timeout, [&] {
        if (!dialog->isVisible() || dialog->EffectRunning() || dialog->CurrentPage() != *dialog->QuestionPage()) return;
        ++asked;
        for (const RDialogButton& button : dialog->Buttons())
            if (button.command == "yes") QTest::mouseClick(dialog, Qt::LeftButton, {}, button.rect.center());
    });
    yes.start(50);
    Show("html1=html\\links.htm", "links.htm");
    ASSERT_TRUE(ReaderClick(*view_, "document.querySelector(\"a[href^='rungame:']\")"));
    EXPECT_TRUE(WaitUntil([&] { return Ran(disc_, "setup"); }));
    EXPECT_EQ(asked, 1);
    qputenv("PATH", path);
    SetLaunchGate(&consent_);
}
