// Real clicks on the links page of the sample book, in the main window on the offscreen
// platform: each link form, clicked in the page, and what it does to the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "app/LinkServices.h"
#include "app/MainForm.h"
#include "app/ProgramConsent.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScripts.h"
#include "html/print/PreviewForm.h"
#include "packs/PackFile.h"
#include "platform/hostpaths/Drives.h"
#include "platform/InstanceLock.h"
#include "platform/QtText.h"
#include "support/ReaderClick.h"
#include "support/Wait.h"

namespace {

// The games' commands recorded; the disc's other software commands go to the book's own.
class GameRecorder : public ISoftwareCommands {
public:
    explicit GameRecorder(ISoftwareCommands& book) : book_(book) {}
    std::vector<std::string> games;
    void RunGame(const std::string& first, const std::string& second) override { games.push_back("run " + first + " | " + second); }
    void DeleteGame(const std::string& name) override { games.push_back("delete " + name); }
    void RunFile(const std::string& file, const std::string& parameters) override { book_.RunFile(file, parameters); }
    void InstallFonts() override { book_.InstallFonts(); }
    void Unarc() override { book_.Unarc(); }

private:
    ISoftwareCommands& book_;
};

// The thesaurus look-ups recorded; the find's other commands go to the book's own.
class LookupRecorder : public IFindCommands {
public:
    explicit LookupRecorder(IFindCommands& book) : book_(book) {}
    std::vector<std::string> lookups;
    void Thesaurus(const std::string& word) override { lookups.push_back(word); }
    void StopSearchAndCloseDialog() override { book_.StopSearchAndCloseDialog(); }
    void FindNext(int number) override { book_.FindNext(number); }
    void OpenFindDialog() override { book_.OpenFindDialog(); }
    void FindText(bool allPages) override { book_.FindText(allPages); }
    void SetCaseSensitive(bool on) override { book_.SetCaseSensitive(on); }

private:
    IFindCommands& book_;
};

// The main window with the software commands and thesaurus look-ups of the page links recorded.
class Window : public TMainForm {
public:
    Window(const std::string& folder, TInstanceLock& lock) : TMainForm(folder, TCommandLine{}, lock), recorder(Software()) {
        SetSoftwareCommands(recorder);
        SetFindCommands(finder);
    }
    GameRecorder recorder;
    std::vector<std::string>& games = recorder.games;
    std::string pathInput;  // the path input's folder, in Windows form
    std::string PathInputFolder() override { return pathInput; }
    LookupRecorder finder{Find()};
    std::vector<std::string>& lookups = finder.lookups;  // thesaurus look-ups
};


bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class PageLinks : public ::testing::Test {
protected:
    void SetUp() override {
        // The desktop's opener is found on PATH when it is called: here a script that notes
        // its arguments, so no browser or mail program ever starts.
        ASSERT_TRUE(bin_.isValid());
        opened_ = bin_.filePath("opened.txt");
        QFile opener(bin_.filePath("xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1'\n").arg(opened_).toUtf8());
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        path_ = qgetenv("PATH");
        qputenv("PATH", bin_.path().toUtf8() + ":" + path_);
        answerWait_ = PageAnswerWait();
        SetPageAnswerWait(3000);  // the page's answers come slowly on a busy machine

        SetLaunchGate(&consent_);  // the reader's own clicks open what they ask for
        window_ = std::make_unique<Window>(SAMPLE_RUN, lock_);
        ASSERT_FALSE(window_->Terminating()) << window_->ExitMessage();
        window_->show();
        window_->RunCommand("2");
        ASSERT_NE(window_->HtmlFrame(), nullptr);
        view_ = window_->HtmlFrame()->CurrentView();
        ASSERT_NE(view_, nullptr);
        ASSERT_TRUE(Shown("index.htm", 30000));  // the browser's first start is slow
        window_->RunCommand("html1=html\\links.htm");
        ASSERT_TRUE(Shown("links.htm"));
        links_ = view_->CurrentFile();
        ASSERT_TRUE(EndsWith(links_, "\\html\\links.htm")) << links_;
    }
    void TearDown() override {
        window_.reset();
        SetLaunchGate(nullptr);
        ClosePack();
        StartState() = TStartState{};
        SetPageAnswerWait(answerWait_);
        qputenv("PATH", path_);
    }

    QVariant Eval(const QString& script) { return view_->EvaluateScript(script); }
    // The page called name is the one in the view and is complete.
    bool Shown(const char* name, int ms = 10000) {
        const QString script = QStringLiteral("document.readyState === 'complete' && "
                                              "location.pathname.toLowerCase().endsWith('/' + %1)")
                                   .arg(JsString(QString::fromLatin1(name)));
        return WaitUntil([&] { return EndsWith(view_->CurrentFile(), name) && Eval(script).toBool(); }, ms);
    }
    // The reader clicks the first element the selector finds.
    void Click(const QString& selector) {
        ASSERT_TRUE(ReaderClick(*view_, QStringLiteral("document.querySelector(%1)").arg(JsString(selector))));
    }
    QString Opened() const {
        QFile file(opened_);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // The click had time to reach the program, and the page stayed.
    void ExpectLinksPageKept(size_t history) {
        EXPECT_TRUE(Shown("links.htm"));
        EXPECT_EQ(view_->CurrentFile(), links_);
        EXPECT_EQ(view_->HistoryFiles().size(), history);
    }

    QTemporaryDir bin_;
    QString opened_;
    QByteArray path_;
    int answerWait_ = 100;
    TInstanceLock lock_;
    TProgramConsent consent_{"page links", true, {}};
    std::unique_ptr<Window> window_;
    TFrameViewer* view_ = nullptr;
    std::string links_;
};

} // namespace

TEST_F(PageLinks, CopyListCopiesTheItemSelectedNowToTheClipboard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    Click("a[href='copylist:serial']");
    EXPECT_TRUE(WaitUntil([&] { return clipboard->text() == "ABCD-EFGH-IJKL"; })) << clipboard->text().toStdString();
    // The reader's choice counts, not the page's "selected" item.
    Eval("document.querySelector('select[name=serial]').selectedIndex = 0");
    Click("a[href='copylist:serial']");
    EXPECT_TRUE(WaitUntil([&] { return clipboard->text() == "1234-5678-9012"; })) << clipboard->text().toStdString();
    ExpectLinksPageKept(2);
}

TEST_F(PageLinks, AWordTheReaderSelectsGoesToTheThesaurusAndAPlainClickNever) {
    // The heading's first word in an element of its own, for the pointer to find.
    const QString word = Eval(R"((function() {
  var t = document.querySelector('h2').firstChild, r = document.createRange();
  r.setStart(t, 0);
  r.setEnd(t, t.data.indexOf(' '));
  var s = document.createElement('span');
  s.id = 'word';
  r.surroundContents(s);
  return s.textContent;
})())").toString();
    ASSERT_FALSE(word.isEmpty());
    ASSERT_TRUE(ReaderDragAcross(*view_, "document.getElementById('word')"));
    ASSERT_TRUE(WaitUntil([&] { return !window_->lookups.empty(); }));
    EXPECT_EQ(window_->lookups, std::vector<std::string>{FromQt(word)});
    // A click that only clears the selection looks nothing up: no stale selection is repeated.
    ASSERT_TRUE(ReaderClick(*view_, "document.getElementById('word')"));
    Pump(1500);
    EXPECT_EQ(window_->lookups.size(), 1u);
    ExpectLinksPageKept(2);
}

TEST_F(PageLinks, PageLinksAndMapAreasShowTheirPagesAsNewHistoryEntries) {
    ASSERT_EQ(view_->HistoryFiles().size(), 2u);
    Click("a[href='index.htm']");
    ASSERT_TRUE(Shown("index.htm"));
    EXPECT_EQ(view_->HistoryFiles().size(), 3u);
    EXPECT_EQ(view_->HistoryFiles()[1], links_);
    window_->RunCommand("back");
    ASSERT_TRUE(Shown("links.htm"));
    Click("area[href='body.htm']");
    ASSERT_TRUE(Shown("body.htm"));
    EXPECT_TRUE(EndsWith(view_->CurrentFile(), "\\html\\body.htm"));
    EXPECT_EQ(view_->HistoryFiles().size(), 3u);  // the entry after links.htm was replaced
}

TEST_F(PageLinks, AnAnchorMovesInsideThePageWithoutAHistoryEntry) {
    Click("a[href='#serial']");
    EXPECT_TRUE(WaitUntil([&] { return Eval("location.hash").toString() == "#serial"; }));
    ExpectLinksPageKept(2);
}

TEST_F(PageLinks, WebAndMailLinksGoToTheDesktopOpener) {
    Click("a[href^='http:']");
    EXPECT_TRUE(WaitUntil([&] { return Opened().contains("http://example.org/"); })) << Opened().toStdString();
    Click("a[href^='mailto:']");
    EXPECT_TRUE(WaitUntil([&] { return Opened().contains("mailto:reader@example.org"); })) << Opened().toStdString();
    EXPECT_EQ(Opened().count('\n'), 2);
    ExpectLinksPageKept(2);
}

TEST_F(PageLinks, AnEnlargedPictureGoesToThePictureWindowsAndNotIntoTheView) {
    // A picture window that answers "mine" keeps a new instance from starting: that instance
    // would be this test program.
    std::vector<std::string> asked;
    window_->LinkServices().PictureQuery = [&](const std::string& path) {
        asked.push_back(path);
        return true;
    };
    Click("a[target=_blank]");
    ASSERT_TRUE(WaitUntil([&] { return !asked.empty(); }));
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(EndsWith(asked[0], "\\html\\img\\engine.png")) << asked[0];
    ExpectLinksPageKept(2);
}

TEST_F(PageLinks, SoftwareLinksRunTheirCommands) {
    Click("a[href^='rungame:']");
    Click("a[href^='delgame:']");
    ASSERT_TRUE(WaitUntil([&] { return window_->games.size() == 2; }));
    // The installer's path is made full from the program folder.
    EXPECT_TRUE(EndsWith(window_->games[0], ":\\run\\setup\\demo.exe | BookDemo")) << window_->games[0];
    EXPECT_EQ(window_->games[1], "delete BookDemo");
    ExpectLinksPageKept(2);
}

TEST_F(PageLinks, PrintAndCopyLinksAreMarkedVisitedAndLeaveThePage) {
    // Where a printer is installed the print link opens its page's print preview, closed here.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* preview = dynamic_cast<TPreviewForm*>(QApplication::activeModalWidget())) preview->close();
    });
    closer.start(50);
    Click("a[href^='printhtml:']");
    Click("a[href^='copy:']");
    const QString copyVisited = QStringLiteral("document.querySelector(\"a[href^='copy:']\").hasAttribute(%1)")
                                    .arg(JsString(QString::fromLatin1(kVisitedAttribute)));
    EXPECT_TRUE(WaitUntil([&] { return Eval(copyVisited).toBool(); }));
    const auto& visited = view_->Visited();
    EXPECT_TRUE(std::any_of(visited.begin(), visited.end(), [](const std::string& v) { return EndsWith(v, "\\html\\engine.htm"); }));
    ExpectLinksPageKept(2);
}

// In a frameset the links of a frame's document resolve against that document: a "copy:" link
// of a page in another folder, with a Cyrillic name, copies that page's own file.
TEST_F(PageLinks, ACopyLinkInAFrameCopiesTheFileBesideItsOwnDocument) {
    window_->RunCommand("html1=html\\frames.htm");
    ASSERT_TRUE(Shown("frames.htm"));
    const QString mainFrame = QStringLiteral("frames[1].location.pathname.toLowerCase()");
    ASSERT_TRUE(WaitUntil([&] { return Eval(mainFrame).toString().endsWith("engine.htm"); }));
    ASSERT_TRUE(ReaderClick(*view_, "frames[0].document.querySelector(\"a[href^='brakes']\")"));
    ASSERT_TRUE(WaitUntil([&] { return EndsWith(view_->CurrentFile(), "\\html\\brakes\\front.htm"); }));
    ASSERT_TRUE(WaitUntil([&] { return Eval(mainFrame).toString().endsWith("front.htm") &&
                                       Eval("frames[1].document.readyState").toString() == "complete"; }));
    QTemporaryDir out;
    window_->pathInput = HostPathsService().ToWindows(out.path().toStdString());
    ASSERT_TRUE(ReaderClick(*view_, "frames[1].document.querySelector(\"a[href^='copy:']\")"));
    const QString copied = out.filePath(QString::fromUtf8("Колодки.txt"));
    EXPECT_TRUE(WaitUntil([&] { return QFile::exists(copied); })) << copied.toStdString();
}
