// The frame viewer on the real browser: history, links, visited colouring, frames, find,
// selection and the page's objects.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include "PageTestBook.h"
#include "html/engine/FrameViewer.h"
#include "support/ReaderClick.h"

namespace {

class FrameViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpTestBook();
        viewer.resize(800, 600);
        viewer.show();
    }
    // The reader clicks a link of the page.
    void Click(const QString& id) { ASSERT_TRUE(ReaderClick(viewer, QStringLiteral("document.getElementById('%1')").arg(id))); }

    TFrameViewer viewer;
};

const char kIndex[] = "d:\\run\\html\\index.htm";
const char kFront[] = "d:\\run\\html\\brakes\\front.htm";
const char kPlain[] = "d:\\run\\html\\plain.htm";

TEST_F(FrameViewerTest, HistoryOfFilesAndTitlesWithBackAndForward) {
    int changes = 0, titles = 0;
    QObject::connect(&viewer, &TFrameViewer::HistoryChanged, [&] { ++changes; });
    QObject::connect(&viewer, &TFrameViewer::TitleChanged, [&] { ++titles; });
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    ASSERT_TRUE(LoadAndWait(viewer, kFront));
    ASSERT_TRUE(LoadAndWait(viewer, kPlain));
    EXPECT_EQ(changes, 3);  // once per navigation: the titles that come later are news of their own
    EXPECT_EQ(titles, 2);
    EXPECT_EQ(viewer.HistoryFiles(), (std::vector<std::string>{kIndex, kFront, kPlain}));
    EXPECT_EQ(viewer.HistoryTitles(), (QStringList{QString::fromUtf8("Оглавление"), QString::fromUtf8("Передние тормоза"), QString()}));
    EXPECT_EQ(viewer.HistoryIndex(), 2);
    EXPECT_TRUE(viewer.CanGoBack());
    EXPECT_FALSE(viewer.CanGoForward());

    viewer.GoBack();
    EXPECT_EQ(viewer.CurrentFile(), kFront);  // at once, before the page arrives
    ASSERT_TRUE(WaitLoaded(viewer));
    EXPECT_EQ(viewer.Title(), QString::fromUtf8("Передние тормоза"));
    viewer.SetHistoryIndex(0);
    ASSERT_TRUE(WaitLoaded(viewer));
    EXPECT_FALSE(viewer.CanGoBack());
    EXPECT_EQ(Eval(viewer, "document.title").toString(), QString::fromUtf8("Оглавление"));
    viewer.GoForward();
    ASSERT_TRUE(WaitLoaded(viewer));
    EXPECT_EQ(viewer.HistoryIndex(), 1);

    // A new page drops the entries ahead; the same page again is no new entry.
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\nometa.htm"));
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\RUN\\HTML\\NOMETA.HTM"));
    EXPECT_EQ(viewer.HistoryFiles(), (std::vector<std::string>{kIndex, kFront, "d:\\run\\html\\nometa.htm"}));

    viewer.SetHistoryMaxCount(2);
    EXPECT_EQ(viewer.HistoryFiles(), (std::vector<std::string>{kFront, "d:\\run\\html\\nometa.htm"}));
    EXPECT_EQ(viewer.HistoryIndex(), 1);
}

// The browser's own menu (Back, Forward, Reload, Save, View source) would go round the viewer's
// history: it never opens, and the surface's right-click goes to the owner's watcher.
TEST_F(FrameViewerTest, TheBrowsersOwnMenuIsOff) {
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    QWebEngineView* browser = viewer.findChild<QWebEngineView*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->contextMenuPolicy(), Qt::NoContextMenu);
    struct TWatcher : QObject {
        int rightPresses = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) ++rightPresses;
            return false;
        }
    } watcher;
    viewer.WatchInput(&watcher);
    QWidget* surface = browser->focusProxy();
    ASSERT_NE(surface, nullptr);
    QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(40, 40));
    EXPECT_EQ(watcher.rightPresses, 1);
}

TEST_F(FrameViewerTest, FollowedLinkBecomesAnEntryAndHandledLinkStaysPut) {
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    QString url, target;
    bool handle = true;
    QObject::connect(&viewer, &TFrameViewer::HotSpotClick, [&](const QString& u, const QString& t, bool, bool& handled) {
        url = u;
        target = t;
        handled = handle;
    });
    Click("copy");  // a link the browser cannot follow still reaches the owner
    EXPECT_TRUE(WaitFor([&] { return url == "copy:file.zip"; }));
    EXPECT_EQ(viewer.CurrentFile(), kIndex);
    Click("l1");
    EXPECT_TRUE(WaitFor([&] { return url == "d:\\run\\html\\brakes\\front.htm"; }));
    EXPECT_EQ(target, "");
    EXPECT_EQ(viewer.CurrentFile(), kIndex);
    EXPECT_EQ(viewer.ExpandLink(url), kFront);
    EXPECT_EQ(viewer.ExpandLink("img\\..\\brakes\\front.htm#x"), std::string(kFront) + "#x");

    handle = false;
    QSignalSpy loaded(&viewer, &TFrameViewer::LoadFinished);
    Click("l1");
    ASSERT_TRUE(loaded.wait(10000));
    EXPECT_EQ(viewer.CurrentFile(), kFront);
    EXPECT_EQ(viewer.HistoryIndex(), 1);
    EXPECT_EQ(viewer.Title(), QString::fromUtf8("Передние тормоза"));
    Click("up");  // "..\Index.htm"
    ASSERT_TRUE(loaded.wait(10000));
    EXPECT_TRUE(viewer.CurrentFile() == kIndex || viewer.CurrentFile() == "d:\\run\\html\\Index.htm");
    EXPECT_EQ(viewer.HistoryFiles().size(), 3u);
}

TEST_F(FrameViewerTest, BlankTargetArrivesAsAClickAndAnchorsAreNoEntries) {
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    QString url, target;
    int clicks = 0;
    QObject::connect(&viewer, &TFrameViewer::HotSpotClick, [&](const QString& u, const QString& t, bool, bool& handled) {
        ++clicks;
        url = u;
        target = t;
        handled = t == "_blank";
    });
    Click("blank");
    ASSERT_TRUE(WaitFor([&] { return clicks > 0; }));
    EXPECT_EQ(url, "d:\\run\\html\\img\\pic.gif");
    EXPECT_EQ(target, "_blank");
    EXPECT_EQ(viewer.CurrentFile(), kIndex);
    EXPECT_FALSE(viewer.IsLoading());

    Click("self");
    EXPECT_TRUE(WaitFor([&] { return Eval(viewer, "location.hash").toString() == "#bottom"; }));
    EXPECT_EQ(viewer.HistoryFiles().size(), 1u);
    EXPECT_EQ(viewer.CurrentFile(), kIndex);
}

TEST_F(FrameViewerTest, PointerOverALinkReportsItAndItsTarget) {
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    QStringList covered;
    QObject::connect(&viewer, &TFrameViewer::HotSpotCovered, [&](const QString& url, const QString& target) {
        covered << url + "|" + target;
    });
    const QVariantList at = Eval(viewer, "var r = document.getElementById('blank').getBoundingClientRect(); [r.left + 3, r.top + 3]").toList();
    ASSERT_EQ(at.size(), 2);
    QWidget* surface = viewer.findChild<QWebEngineView*>()->focusProxy();
    QTest::mouseMove(surface, QPoint(at[0].toInt(), at[1].toInt()));
    EXPECT_TRUE(WaitFor([&] { return covered.contains("d:\\run\\html\\img\\pic.gif|_blank"); }));
    QTest::mouseMove(surface, QPoint(700, 500));
    EXPECT_TRUE(WaitFor([&] { return !covered.isEmpty() && covered.last() == "|"; }));
}

TEST_F(FrameViewerTest, VisitedLinksTakeTheVisitedColour) {
    viewer.SetVisitedColor(0x0000FF);
    viewer.SetDefHotSpotColor(0x00FF00);
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    viewer.AddVisited("D:\\RUN\\html\\BRAKES\\front.htm");
    viewer.AddVisited("d:\\run\\html\\nometa.htm#other");
    viewer.RefreshVisited();
    const QString color = "getComputedStyle(document.getElementById('%1')).color";
    EXPECT_EQ(EvalUntil(viewer, color.arg("l1"), "rgb(255, 0, 0)").toString(), "rgb(255, 0, 0)");
    EXPECT_EQ(Eval(viewer, color.arg("l2")).toString(), "rgb(255, 0, 0)");  // the anchor does not matter
    EXPECT_EQ(Eval(viewer, color.arg("copy")).toString(), "rgb(0, 255, 0)");
    viewer.SetVisitedMaxCount(1);
    EXPECT_EQ(viewer.Visited(), std::vector<std::string>{"d:\\run\\html\\nometa.htm"});
    ASSERT_TRUE(LoadAndWait(viewer, kPlain));
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));  // marked again on every page
    EXPECT_EQ(EvalUntil(viewer, color.arg("l2"), "rgb(255, 0, 0)").toString(), "rgb(255, 0, 0)");
    EXPECT_EQ(Eval(viewer, color.arg("l1")).toString(), "rgb(0, 255, 0)");
}

// Links of other schemes reach the owner as the page wrote them: names, case and backslashes.
TEST_F(FrameViewerTest, LinksOfOtherSchemesKeepTheTextThePageWrote) {
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    QStringList urls;
    QObject::connect(&viewer, &TFrameViewer::HotSpotClick, [&](const QString& u, const QString&, bool, bool& handled) {
        urls << u;
        handled = true;
    });
    Click("cyr");
    Click("drive");
    ASSERT_TRUE(WaitFor([&] { return urls.size() == 2; }));
    EXPECT_EQ(urls[0], QString::fromUtf8("copy:Файл Ремонта.ZIP"));
    EXPECT_EQ(urls[1], QStringLiteral("copy://d:\\Soft\\x.zip"));
}

// The owner hears of a book link from the event loop, where the page can still answer it.
TEST_F(FrameViewerTest, ABookLinkReachesTheOwnerWhereThePageCanAnswer) {
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    QVariant answer;
    bool asked = false;
    QObject::connect(&viewer, &TFrameViewer::HotSpotClick, [&](const QString&, const QString&, bool, bool& handled) {
        answer = viewer.EvaluateScript("6 * 7");
        asked = handled = true;
    });
    Click("l1");
    ASSERT_TRUE(WaitFor([&] { return asked; }));
    EXPECT_EQ(answer.toInt(), 42);
    EXPECT_EQ(viewer.CurrentFile(), kIndex);  // handled: nothing was followed
}

TEST_F(FrameViewerTest, NamedFrameShowsItsDocument) {
    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\frames.htm"));
    EXPECT_EQ(viewer.FrameDocument("main"), kPlain);
    EXPECT_EQ(viewer.FrameDocument("TOC"), "d:\\run\\html\\toc.htm");
    EXPECT_EQ(viewer.FrameDocument("none"), "");
    QString url, target;
    QObject::connect(&viewer, &TFrameViewer::HotSpotClick, [&](const QString& u, const QString& t, bool, bool&) {
        url = u;
        target = t;
    });
    ASSERT_TRUE(ReaderClick(viewer, "frames[0].document.getElementById('go')"));
    EXPECT_TRUE(WaitFor([&] { return url == kFront; }));
    EXPECT_EQ(target, "Main");
    for (int i = 0; i < 100 && viewer.FrameDocument("Main") != kFront; ++i) QSignalSpy(&viewer, &TFrameViewer::LoadFinished).wait(50);
    EXPECT_EQ(viewer.FrameDocument("Main"), kFront);
}

// A link followed inside a frame is a history entry whose current file is that frame's
// document; back and forward bring the frameset back with each frame as it was.
TEST_F(FrameViewerTest, LinksInFramesAreHistoryEntriesOfTheirDocuments) {
    const std::string frames = "d:\\run\\html\\frames.htm";
    ASSERT_TRUE(LoadAndWait(viewer, frames));
    ASSERT_TRUE(ReaderClick(viewer, "frames[0].document.getElementById('go')"));
    ASSERT_TRUE(WaitFor([&] { return viewer.CurrentFile() == kFront; }));
    EXPECT_EQ(viewer.HistoryFiles(), (std::vector<std::string>{frames, kFront}));
    EXPECT_TRUE(WaitFor([&] { return viewer.FrameDocument("Main") == kFront; }));
    viewer.GoBack();
    EXPECT_EQ(viewer.CurrentFile(), frames);
    ASSERT_TRUE(WaitLoaded(viewer));
    EXPECT_TRUE(WaitFor([&] { return viewer.FrameDocument("Main") == kPlain; }));
    viewer.GoForward();
    ASSERT_TRUE(WaitLoaded(viewer));
    EXPECT_TRUE(WaitFor([&] { return viewer.FrameDocument("Main") == kFront; }));
    EXPECT_EQ(viewer.CurrentFile(), kFront);
    EXPECT_EQ(viewer.ExpandLink("pads.txt"), "d:\\run\\html\\brakes\\pads.txt");  // relative to the frame's document
}

TEST_F(FrameViewerTest, FindGoesOnAfterTheCaretWithoutWrapping) {
    ASSERT_TRUE(LoadAndWait(viewer, kFront));
    EXPECT_TRUE(viewer.FindText(QString::fromUtf8("колодка"), false));
    EXPECT_EQ(viewer.SelectionText(), QString::fromUtf8("колодка"));
    EXPECT_EQ(viewer.ScrollPosition(), 0);
    EXPECT_TRUE(viewer.FindText(QString::fromUtf8("колодка"), false));
    EXPECT_EQ(viewer.SelectionText(), QString::fromUtf8("Колодка"));
    EXPECT_GT(viewer.ScrollPosition(), 0);  // scrolled to the hit at the bottom
    EXPECT_FALSE(viewer.FindText(QString::fromUtf8("колодка"), false));
    viewer.SetCaretToTop();
    EXPECT_TRUE(viewer.FindText(QString::fromUtf8("Колодка"), true));
    EXPECT_EQ(viewer.SelectionText(), QString::fromUtf8("Колодка"));
    EXPECT_FALSE(viewer.FindText(QString::fromUtf8("нет такого"), false));
}

TEST_F(FrameViewerTest, SelectAllAndCopyWithTheSizeLimit) {
    ASSERT_TRUE(LoadAndWait(viewer, kPlain));
    viewer.SelectAll();
    EXPECT_TRUE(viewer.SelectionText().contains(QString::fromUtf8("Текст")));
    EXPECT_EQ(viewer.SelectionLength(), viewer.SelectionText().size());
    QString error;
    EXPECT_TRUE(viewer.CopySelection(&error));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), viewer.SelectionText());

    ASSERT_TRUE(LoadAndWait(viewer, "d:\\run\\html\\big.htm"));
    viewer.SelectAll();
    EXPECT_GT(viewer.SelectionLength(), TFrameViewer::kMaxCopy);
    EXPECT_FALSE(viewer.CopySelection(&error));
    EXPECT_EQ(error, "Selected text exceeds buffer size");
    EXPECT_NE(QGuiApplication::clipboard()->text().size(), viewer.SelectionLength());
}

TEST_F(FrameViewerTest, ScrollPositionIsSetReadAndKeptInHistory) {
    ASSERT_TRUE(LoadAndWait(viewer, kFront));
    EXPECT_EQ(viewer.ScrollPosition(), 0);
    viewer.SetScrollPosition(500);
    EXPECT_EQ(viewer.ScrollPosition(), 500);
    ASSERT_TRUE(LoadAndWait(viewer, kPlain));
    EXPECT_EQ(viewer.ScrollPosition(), 0);
    viewer.GoBack();
    ASSERT_TRUE(WaitLoaded(viewer));
    EXPECT_EQ(EvalUntil(viewer, "Math.round(window.scrollY)", 500).toInt(), 500);
    viewer.SetScrollPosition(0);
    EXPECT_EQ(viewer.ScrollPosition(), 0);
}

TEST_F(FrameViewerTest, ObjectsUnderThePointAndDropDownLists) {
    ASSERT_TRUE(LoadAndWait(viewer, kIndex));
    const RPageObject picture = viewer.ObjectAt(QPoint(320, 30));
    EXPECT_TRUE(picture.found);
    EXPECT_TRUE(picture.isImage);
    EXPECT_EQ(picture.title, QString::fromUtf8("Картинка"));
    EXPECT_EQ(picture.source, "d:\\run\\html\\img\\Pic.GIF");
    const RPageObject text = viewer.ObjectAt(QPoint(5, 5));
    EXPECT_FALSE(text.isImage);

    const auto lists = viewer.DropDownLists();
    ASSERT_EQ(lists.size(), 1u);  // a multiple-choice list is no drop-down
    EXPECT_EQ(lists[0].name, "Serial");
    EXPECT_EQ(lists[0].items, (QStringList{"111", "222"}));
    EXPECT_EQ(viewer.SelectedItemOf("SERIAL"), QString("222"));
    EXPECT_FALSE(viewer.SelectedItemOf("other").has_value());
}

} // namespace
