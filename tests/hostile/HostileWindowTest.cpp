// The book's window on a disc an attacker made: page scripts, redirects, frames and foreign pages
// start nothing, copy nothing and open nothing; a reader's own click on a software link asks
// first, and the answer is kept; a page copy stays inside the chosen folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/LinkServices.h"
#include "app/MainForm.h"
#include "app/ProgramConsent.h"
#include "app/SkinControls.h"
#include "archive/UnRar.h"
#include "base/GlobalPaths.h"
#include "hostile/HostileDisc.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScripts.h"
#include "packs/PackFile.h"
#include "platform/hostpaths/Drives.h"
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

namespace {

// Counts the times a window is shown.
struct TShowCounter : QObject {
    int shown = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shown;
        return false;
    }
};

} // namespace

// An archive whose names climb out, name a drive or an absolute path: the listing shows them
// marked on its root page and makes no folders of them; a click unpacks the archive once, with
// one message for all that was left out; the hard link is a copy of its file; nothing lands
// outside the listing's folder; the unpacked page runs no script and its links do nothing.
TEST_F(Hostile, AHostileArchiveIsListedAndUnpackedOnceInsideItsFolder) {
    TCoolDialog* dialog = window_->Controls()->Dialog();
    TShowCounter messages;
    dialog->installEventFilter(&messages);
    window_->LinkServices().OpenArchive(ProgramDir() + "archives\\hostile.rar", view_->CurrentFile());
    const QString root = "frames[1].document";
    ASSERT_TRUE(WaitUntil([&] {
        return view_->EvaluateScript(root + ".readyState").toString() == "complete" &&
               view_->EvaluateScript(root + ".body.innerText").toString().contains("ok.txt");
    }, 20000));
    const QString text = view_->EvaluateScript(root + ".body.innerText").toString();
    EXPECT_EQ(text.count(QString::fromUtf8("(не распаковывается)")), 12) << text.toStdString();
    for (const char* folder : {"'..'", "'tmp'", "'z:'"})
        EXPECT_EQ(view_->EvaluateScript(QStringLiteral("[].filter.call(%1.links, a => a.textContent === %2).length")
                                            .arg(root, folder)).toInt(), 0) << folder;
    EXPECT_EQ(messages.shown, 0);

    ASSERT_TRUE(ReaderClick(*view_, root + ".querySelector(\"a[href='ok.txt']\")"));
    // The file opens in the listing's content frame, the listing around it.
    ASSERT_TRUE(WaitUntil([&] { return view_->EvaluateScript("frames[1].location.pathname").toString().endsWith("/ok.txt"); }, 20000));
    const QString listing = QString::fromStdString(HostPathsService().Find(window_->Software().ArchiveBrowserIfMade()->ListingFolder(), true).value_or(""));
    ASSERT_FALSE(listing.isEmpty());
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(listing + "/same.txt"); }));
    QFile same(listing + "/same.txt");
    ASSERT_TRUE(same.open(QIODevice::ReadOnly));
    EXPECT_EQ(same.readAll(), QByteArray("fine"));
    EXPECT_TRUE(WaitUntil([&] { return messages.shown == 1; }));
    for (const QString& outside : {listing + "/../up0.txt", listing + "/../../up0.txt", QString("/abs0.txt"), listing + "/../b.txt"})
        EXPECT_FALSE(QFile::exists(outside)) << outside.toStdString();
    dialog->Close(TCoolDialog::kClosedCode);

    // The listing again, from its link: the archive is not unpacked a second time.
    window_->LinkServices().OpenArchive(ProgramDir() + "archives\\hostile.rar", view_->CurrentFile());
    ASSERT_TRUE(WaitUntil([&] {
        return !view_->IsLoading() && view_->EvaluateScript(root + ".readyState").toString() == "complete" &&
               view_->EvaluateScript(root + ".body.innerText").toString().contains("page.htm");
    }, 20000));
    Pump(500);  // the listing settled, its frames included
    ASSERT_TRUE(ReaderClick(*view_, root + ".querySelector(\"a[href='page.htm']\")"));
    // The entry opens in the listing's content frame, the listing around it.
    ASSERT_TRUE(WaitUntil([&] { return view_->EvaluateScript(root + ".title").toString() == "unpacked"; }, 20000));
    Pump(1000);
    EXPECT_EQ(messages.shown, 1);  // not unpacked again
    ASSERT_TRUE(ReaderClick(*view_, root + ".getElementById('run')"));
    Pump(1000);
    ExpectNothingDone();
    EXPECT_EQ(view_->EvaluateScript(root + ".title").toString(), "unpacked");
}
