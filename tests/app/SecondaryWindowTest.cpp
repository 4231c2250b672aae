// The main window's other faces on the sample book: the standard window started with a picture or
// turned into from the skin, its history menus, the about window, and F1's help topics.
#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QToolBar>

#include "app/CommandLine.h"
#include "app/MainFormFixture.h"
#include "app/StandardWindow.h"
#include "app/ThesaurusLookup.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "platform/BookWindows.h"
#include "platform/QtText.h"
#include "skin/AboutBox.h"
#include "support/Wait.h"

namespace {

// The main window started with a command line, as a second process of the book starts it.
struct StartedWith {
    TInstanceLock lock;
    std::unique_ptr<TMainForm> window;
    explicit StartedWith(const std::vector<std::string>& args)
        : window(std::make_unique<TMainForm>(SAMPLE_RUN, ParseCommandLine(args), lock)) {}
    ~StartedWith() {
        window.reset();
        ClosePack();
        StartState() = TStartState{};
    }
};

int SendRecord(const char* caption, int kind, const std::string& text, bool wait = true) {
    QProcess sender;
    QStringList args{ToQt(caption), QString::number(kind), ToQt(text)};
    if (!wait) args << "nowait";
    sender.start(SEND_RECORD, args);
    // The window answers from this thread's event loop, which must run meanwhile.
    if (!WaitUntil([&] { return sender.state() == QProcess::NotRunning; }, 30000)) return -1;
    return sender.exitCode();
}

QStringList Visible(const QMenu* menu) {
    QStringList shown;
    for (const QAction* a : menu->actions())
        if (a->isVisible()) shown << a->text();
    return shown;
}

}  // namespace

TEST(StandardWindow, APictureGetsItsSizePlusBarsAndAnswersQueriesForItsOwnFile) {
    StartedWith start({"html\\img\\body.bmp"});
    TMainForm& w = *start.window;
    ASSERT_EQ(w.Outcome(), TStartOutcome::Standard);
    ASSERT_TRUE(w.InStandardWindow());
    EXPECT_EQ(w.size(), QSize(320 + 45, 200 + 90));
    ASSERT_TRUE(WaitUntil([&] { return w.windowTitle() == ToQt(BookWindows::kEnlargedPicture); }));
    // Only "Печать" shows: the history buttons wait, and a restricted run has no "Свернуть".
    QStringList shown;
    for (const QAction* a : w.Standard()->ToolBar()->actions())
        if (a->isVisible()) shown << a->text();
    EXPECT_EQ(shown, QStringList{QString::fromUtf8("Печать")});
    // Another picture link asks before it starts a window: this very file is shown here.
    EXPECT_EQ(SendRecord(BookWindows::kEnlargedPicture, 3, "html\\img\\body.bmp"), 11);
    EXPECT_EQ(SendRecord(BookWindows::kEnlargedPicture, 3, "html\\img\\engine.png"), 10);
}

TEST(StandardWindow, ASchemeOpensAtItsFixedSizeAndAHelpWindowKeepsItsCaption) {
    {
        StartedWith start({"html\\img\\scheme.bmp"});
        EXPECT_EQ(start.window->size(), QSize(780, 550));
    }
    StartedWith help({"help\\Topic13.htm", "/h"});
    TMainForm& w = *help.window;
    EXPECT_TRUE(w.HelpOnly());
    ASSERT_TRUE(WaitUntil([&] { return w.HtmlFrame()->CurrentView() && !w.HtmlFrame()->History().empty(); }));
    EXPECT_EQ(w.windowTitle(), ToQt(BookWindows::kHelp));
}

TEST(ThesaurusWindow, IsSkinnedFromItsOwnDescriptionAndOpensPagesSentToItUnchanged) {
    StartedWith start({"tezaurus\\index.htm", "/t"});
    TMainForm& w = *start.window;
    ASSERT_EQ(w.Outcome(), TStartOutcome::Thesaurus);
    EXPECT_TRUE(w.HelpOnly());
    EXPECT_EQ(w.windowTitle(), ToQt(BookWindows::kThesaurus));
    ASSERT_NE(w.Skin(), nullptr);
    EXPECT_EQ(w.size(), w.Background().size());
    EXPECT_EQ(w.Elements().FindTexts.size(), 1u);
    w.show();
    ASSERT_TRUE(WaitUntil([&] { return !w.HtmlFrame()->CurrentFile().empty(); }));
    const std::string page = ProgramDir() + "tezaurus\\tormoz.htm";
    EXPECT_EQ(SendRecord(BookWindows::kThesaurus, 0, page, false), 0);
    EXPECT_TRUE(WaitUntil([&] { return w.HtmlFrame()->CurrentFile() == page; })) << w.HtmlFrame()->CurrentFile();
}

TEST_F(SampleBook, TheSkinTurnsIntoTheStandardWindowAndBackWithItsCaption) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    const QSize skinSize = w.size();
    w.RunCommand("standartwin");
    ASSERT_TRUE(w.InStandardWindow());
    EXPECT_EQ(w.windowTitle(), ToQt(BookWindows::kEnlargedPicture));
    QAction* leave = nullptr;
    for (QAction* a : w.Standard()->ToolBar()->actions())
        if (a->text() == QString::fromUtf8("Свернуть")) leave = a;
    ASSERT_TRUE(leave && leave->isVisible());
    const QSize iconSize = w.Standard()->ToolBar()->iconSize();
    for (const QAction* a : w.Standard()->ToolBar()->actions())  // "Печать" and "Свернуть" alike
        if (a->isVisible()) {
            EXPECT_EQ(a->icon().actualSize(iconSize), iconSize) << a->text().toStdString();
        }
    leave->trigger();
    EXPECT_FALSE(w.InStandardWindow());
    EXPECT_EQ(w.size(), skinSize);
    EXPECT_EQ(w.windowTitle(), ToQt(AppTitle()));
    EXPECT_TRUE(w.HtmlFrame()->CurrentView()->isVisible()) << "the page shows on its panel again";
    // Later history changes leave the book's caption alone.
    w.HistoryChanged("");
    EXPECT_EQ(w.windowTitle(), ToQt(AppTitle()));
}

TEST(StandardWindow, NineOlderPagesFillTheSevenEntriesOfTheBackMenu) {
    QWidget window;
    struct : IStandardBarsHost {
        int jumped = -1;
        void GoToHistory(int index) override { jumped = index; }
        void Step(bool) override {}
        void Print() override {}
        void Leave() override {}
    } host;
    int& jumped = host.jumped;
    TStandardWindow bars(window, host);
    bars.ShowBars(false);
    std::vector<RHistoryEntry> history;
    for (int i = 0; i < 10; ++i) history.push_back({"p" + std::to_string(i) + ".htm", i == 2 ? "" : "T" + std::to_string(i)});
    history[3].title = std::string(100, 'x');
    bars.HistoryRefresh(history, 0, true, false);
    const QStringList back = Visible(bars.BackMenu());
    ASSERT_EQ(back.size(), 7);
    EXPECT_EQ(back[0], "T1--p1.htm");
    EXPECT_EQ(back[1], "p2.htm");  // no title: the file alone
    EXPECT_EQ(back[2].size(), 80);
    EXPECT_TRUE(Visible(bars.ForwardMenu()).isEmpty());
    bars.BackMenu()->actions()[1]->trigger();
    EXPECT_EQ(jumped, 2);
    bars.HistoryRefresh(history, 9, false, true);  // the oldest page: newer ones, nearest on top
    EXPECT_EQ(Visible(bars.ForwardMenu()).first(), "T8--p8.htm");
    EXPECT_EQ(Visible(bars.ForwardMenu()).size(), 7);
}

TEST(AboutWindow, AMailTextLinksToTheWholeTextAndShowsItUpToTheQuestionMark) {
    const RAboutLink mail = AboutLink("me@example.org?subject=x");
    EXPECT_EQ(mail.target, "mailto:me@example.org?subject=x");
    EXPECT_EQ(mail.shown, "me@example.org");
    EXPECT_EQ(AboutLink("https://example.org").target, "https://example.org");
    const RAboutDescription d = ReadAboutDescription(
        {"picture=bg.bmp", "vertex=[0,0;10,0;10,10]", "button vx=5 vy=6 fn1=a.bmp; fn2=b.bmp; hint=h; wav=Click.wav",
         "text vx=1 vy=2 font=arial; size=9; style=Bold; color=1,2,3; value=me@x.org; idenf=URL"});
    EXPECT_EQ(d.picture, "bg.bmp");
    EXPECT_EQ(d.vertex.size(), 3u);
    ASSERT_EQ(d.buttons.size(), 1u);
    EXPECT_EQ(d.buttons[0].sound, "click.wav");
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_EQ(d.texts[0].ident, "url");
}

TEST_F(SampleBook, TheAboutWindowIsCentredWithItsLinksAndClosesOnEsc) {
    Window& w = *window_;
    w.RunCommand("3");
    w.RunCommand("about");
    TAboutBox* about = w.AboutBox();
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(about->isVisible());
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(about->pos(), QPoint((screen.width() - about->width()) / 2, (screen.height() - about->height()) / 2));
    ASSERT_EQ(about->Links().size(), 2u);
    EXPECT_EQ(about->Links()[0].target, "https://bookshell.example/samplebook");
    EXPECT_EQ(about->Links()[1].target.rfind("mailto:support@bookshell.example?", 0), 0u);
    ASSERT_TRUE(WaitUntil([&] { return !about->EffectRunning(); }));
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
    w.RunCommand("about");  // made once, shown again
    EXPECT_EQ(w.AboutBox(), about);
    EXPECT_TRUE(about->isVisible());
}

namespace {

class HelpWindow : public Window {
public:
    using Window::Window;
    std::vector<std::string> topics;
    void ShowHelpTopic(const std::string& topic) override { topics.push_back(topic); }
};

}  // namespace

TEST(Help, F1ShowsTheTopicOfTheStartAndReadingScreensOnly) {
    TInstanceLock lock;
    HelpWindow w(SAMPLE_RUN, lock);
    w.show();
    for (const char* screen : {"1", "2", "3"}) {
        w.RunCommand(screen);
        ASSERT_TRUE(WaitUntil([&] { return !w.EffectRunning(); }));  // keys wait for a cross-fade
        QTest::keyClick(&w, Qt::Key_F1);
    }
    EXPECT_EQ(w.topics, (std::vector<std::string>{"Topic12", "Topic13"}));
    // A topic is a page of the help folder, else an anchor of the help file.
    EXPECT_EQ(HelpTopicPage("help\\index.htm", "Topic18"), ProgramDir() + "help\\Topic18.htm");
    EXPECT_EQ(HelpTopicPage("help\\index.htm", "Topic99"), ProgramDir() + "help\\index.htm#Topic99");
    ClosePack();
    StartState() = TStartState{};
}
