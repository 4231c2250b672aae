// The full-text find on the sample book: the keyword index, the index scan of the pack's pages
// with its result list, the page and all-pages modes, the contents tree, and the find's messages.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include "app/FindTxtHtml.h"
#include "app/MainFormFixture.h"
#include "app/PageScan.h"
#include "app/SkinControls.h"
#include "app/ThesaurusLookup.h"
#include "base/Cp1251.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "platform/BusyCursor.h"
#include "platform/ChannelWindow.h"
#include "platform/QtText.h"
#include "skin/SkinDialog.h"
#include "support/Wait.h"

namespace {

std::string u(const char* utf8) { return Cp1251::fromUtf8(utf8); }

struct Find : SampleBook {
    TFindTxtHtml* find = nullptr;
    void SetUp() override {
        SampleBook::SetUp();
        window_->show();
        window_->RunCommand("2");
        ASSERT_TRUE(WaitUntil([&] { return window_->PagesSettled(); }, 10000));
        window_->RunCommand("findnext1");  // the search dialog with its box, once it faded in
        ASSERT_TRUE(WaitUntil([&] { return !window_->Controls()->Dialog()->EffectRunning(); }));
        find = window_->Controls()->Find();
        ASSERT_NE(find, nullptr);
    }
    void Type(const std::string& word) { find->Box(0)->setText(QString::fromStdString(Cp1251::toUtf8(word))); }
    std::string Current() const { return Cp1251::lower(window_->HtmlFrame()->CurrentFile()); }
    std::string Status() const { return window_->Controls()->LabelText(2); }
};

}  // namespace

TEST_F(Find, AKeywordGivesTheIndexResultsWithoutAScan) {
    find->SetIndexMode();
    Type(u("ДВИГАТЕЛЬ"));
    find->FindNext(1);
    ASSERT_GE(find->ResultFiles().size(), 2u);
    EXPECT_EQ(find->ResultFiles()[0], "html\\engine.htm");
    EXPECT_EQ(find->ResultTitles()[0], u("Двигатель"));
    QListWidget* list = window_->Controls()->Dialog()->ResultList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), int(find->ResultFiles().size()));
    find->OpenResult(0);
    EXPECT_NE(Current().find("engine.htm"), std::string::npos);
    EXPECT_EQ(Cp1251::lower(FromQt(window_->HtmlFrame()->CurrentView()->SelectionText())), u("двигатель"));
}

TEST_F(Find, AWordThatIsNoKeywordIsFoundByScanningThePackPages) {
    find->SetIndexMode();
    Type(u("поездкой"));
    find->FindNext(1);
    EXPECT_EQ(find->ResultFiles().size(), 300u);  // every generated note, none of the "man" folder
    EXPECT_NE(find->ResultTitles()[0].find(u("Заметка")), std::string::npos);
    Type(u("кардан"));  // only in a script, a hidden block and the "man" folder
    find->FindNext(1);
    EXPECT_TRUE(find->ResultFiles().empty());
    EXPECT_EQ(Status(), u("Текст не найден"));
}

TEST_F(Find, ThePageModeWrapsToThePageTopAndSaysWhenTheWordIsNotThere) {
    Type(u("оглавлению  нет"));
    find->FindNext(1);
    EXPECT_EQ(find->Box(0)->text().toStdString(), Cp1251::toUtf8(u("оглавлению нет")));  // blanks collapsed
    EXPECT_EQ(Status(), u("Текст не найден"));
    window_->RunCommand("html1=html\\gen\\p005.htm");
    ASSERT_TRUE(WaitUntil([&] { return window_->PagesSettled(); }, 10000));
    Type(u("заметка"));  // in the heading and in the text
    for (int i = 0; i < 3; ++i) find->FindNext(1);  // the third wraps to the heading
    EXPECT_NE(Current().find("p005.htm"), std::string::npos);
    EXPECT_EQ(Cp1251::lower(FromQt(window_->HtmlFrame()->CurrentView()->SelectionText())), u("заметка"));
    EXPECT_EQ(Status(), "");
}

TEST_F(Find, AllPagesWalkOnFromTheStartPageAndBeginAgainAfterTheLast) {
    find->SetAllPages(true);
    Type(u("масла"));  // twice on the engine page, once on a thesaurus page
    const auto next = [&] {
        find->FindNext(1);
        return Current().substr(Current().find("\\run\\") + 5);
    };
    EXPECT_EQ(next(), "html\\engine.htm");
    EXPECT_EQ(next(), "html\\engine.htm");  // its second place
    EXPECT_EQ(next(), "tezaurus\\dvigatel.htm");
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(next(), "tezaurus\\dvigatel.htm");  // the last page passed: said, and begun again
    EXPECT_EQ(Status(), u("Текст не найден"));
    EXPECT_EQ(next(), "html\\engine.htm");
}

TEST_F(Find, TheContentsModeLooksInTheTreeAndAnEmptyWordAsksForOne) {
    find->SetContentsMode();
    Type("");
    find->FindNext(1);
    EXPECT_EQ(Status(), u("Введите слово для поиска"));
    Type(u("Кузов"));
    find->FindNext(1);
    EXPECT_NE(Status(), u("Текст не найден"));
    Type(u("Несуществующее"));
    find->FindNext(1);
    EXPECT_EQ(Status(), u("Текст не найден"));
}

TEST_F(Find, EscInTheBoxStopsAScanBeforeItsNextPageAndClosesTheIdleDialog) {
    find->SetIndexMode();
    Type(u("поездкой"));
    QLineEdit* box = find->Box(0);
    QTimer::singleShot(0, box, [box] { QTest::keyClick(box, Qt::Key_Escape); });
    find->FindNext(1);
    EXPECT_TRUE(find->ResultFiles().empty());  // stopped before the first page
    EXPECT_TRUE(find->Stopped());
    EXPECT_FALSE(find->Scanning());
    EXPECT_TRUE(window_->Controls()->DialogShowing());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(window_->Controls()->DialogShowing());
}

TEST_F(Find, AHitInThePageStandsClearOfTheDialog) {
    window_->RunCommand("html1=html\\print.htm");  // a long page: the hit is scrolled to
    ASSERT_TRUE(WaitUntil([&] { return window_->PagesSettled() && Current().find("print.htm") != std::string::npos; }, 10000));
    TFrameViewer* view = window_->HtmlFrame()->CurrentView();
    auto* browser = view->findChild<QWebEngineView*>();
    ASSERT_NE(browser, nullptr);
    const QRect dialog = window_->Controls()->Dialog()->frameGeometry();
    const QRect page(browser->mapToGlobal(QPoint(0, 0)), browser->size());
    ASSERT_TRUE(dialog.intersects(page)) << "the dialog floats over the page";
    Type("30.");
    find->FindNext(1);
    const QVariantList box = view->EvaluateScript(
        "(function() { var r = getSelection().getRangeAt(0).getBoundingClientRect();"
        " return [r.left, r.top, r.width, r.height]; })()").toList();
    ASSERT_EQ(box.size(), 4);
    const double zoom = browser->zoomFactor();
    const QRect hit(page.topLeft() + QPoint(int(box[0].toDouble() * zoom), int(box[1].toDouble() * zoom)),
                    QSize(int(box[2].toDouble() * zoom), int(box[3].toDouble() * zoom)));
    EXPECT_TRUE(page.contains(hit));
    EXPECT_FALSE(hit.intersects(dialog)) << "the hit at " << hit.y() << ", the dialog " << dialog.top() << "-" << dialog.bottom();
}

TEST_F(Find, AScreenSwitchClosesTheSearchDialog) {
    ASSERT_TRUE(window_->Controls()->DialogShowing());
    window_->RunCommand("1");
    EXPECT_EQ(window_->CurrentScreen(), 0);
    EXPECT_FALSE(window_->Controls()->DialogShowing());
}

TEST_F(Find, TheIndexScanStartsAfreshAfterThePageModeAndLeavesOutNofilesPagesOfTheLimitedSet) {
    Type(u("поездкой"));
    find->FindNext(1);  // the page mode: not on the contents page
    EXPECT_EQ(Status(), u("Текст не найден"));
    find->SetIndexMode();
    find->FindNext(1);
    EXPECT_EQ(find->ResultFiles().size(), 300u);

    Type(u("толкование"));  // only on the thesaurus pages, which "nofiles" leaves out
    find->FindNext(1);
    EXPECT_TRUE(find->ResultFiles().empty());
    find->SetAllPages(true);
    find->SetIndexMode();
    find->FindNext(1);
    ASSERT_EQ(find->ResultFiles().size(), 1u);
    EXPECT_EQ(Cp1251::lower(find->ResultFiles()[0]), "d:\\run\\tezaurus\\index.htm");
    EXPECT_EQ(find->ResultTitles()[0], u("Тезаурус"));  // no "files.idx" line: the page's own title
}

TEST_F(Find, TheIndexScanFollowsThePagesStyleSheetsAndListsAPageWithoutAnIndexLineUnderItsOwnTitle) {
    find->SetIndexMode();
    Type(u("уточнение"));  // the visible part of an invisible paragraph of the notes page
    find->FindNext(1);
    ASSERT_EQ(find->ResultFiles().size(), 1u);
    EXPECT_NE(Cp1251::lower(find->ResultFiles()[0]).find("html\\notes.htm"), std::string::npos);
    EXPECT_EQ(find->ResultTitles()[0], u("Примечания к заметкам"));  // its <title>, white space collapsed
    // Hidden by an id in the sheet the page links, by visibility, and by a class of its own sheet.
    for (const char* hidden : {"проводки", "подсказка", "прокладку"}) {
        Type(u(hidden));
        find->FindNext(1);
        EXPECT_TRUE(find->ResultFiles().empty()) << hidden;
    }
    Type(u("карбюратор"));
    find->FindNext(1);
    ASSERT_EQ(find->ResultFiles().size(), 1u);
    EXPECT_EQ(find->ResultTitles()[0], u("Скрытый текст"));
}

TEST(PageScanSheets, ALinkedSheetIsFoundAsTheBrowserResolvesTheLinkAndNeverOffThePagesDrive) {
    const std::string page = "d:\\run\\html\\notes.htm";
    EXPECT_EQ(SheetPath(page, "styles/notes.css"), "d:\\run\\html\\styles\\notes.css");
    EXPECT_EQ(SheetPath(page, " ..\\Book.css?v=2#top "), "d:\\run\\Book.css");
    EXPECT_EQ(SheetPath(page, "/css/a.css"), "d:\\css\\a.css");
    EXPECT_EQ(SheetPath(page, "../../../../../css/a.css"), "d:\\css\\a.css");  // ".." stops at the drive's root
    EXPECT_EQ(SheetPath(page, "%D0%B0%20b.css"), u("d:\\run\\html\\а b.css"));
    for (const char* elsewhere : {"c:\\windows\\a.css", "file:///etc/a.css", "http://host/a.css", "//host/a.css",
                                  "\\\\host\\a.css", "a%00.css", "", "?only"})
        EXPECT_EQ(SheetPath(page, elsewhere), "") << elsewhere;
    EXPECT_EQ(SheetPath("notes.htm", "a.css"), "");  // a page without a drive
}

namespace {

// A window of this process that other windows find as the running thesaurus window.
struct ThesaurusWindow {
    TChannelWindow channel;
    std::vector<RInstanceData> records;
    bool activated = false;
    ThesaurusWindow() {
        channel.SetCaption(u("Тезаурус"));
        channel.SetVisible(true);
        QObject::connect(&channel, &TChannelWindow::CopyDataReceived,
                         [this](quint64, const RInstanceData& data) { records.push_back(data); });
        QObject::connect(&channel, &TChannelWindow::ActivateRequested, [this] { activated = true; });
    }
};

}  // namespace

TEST_F(SampleBook, AThesaurusLookUpGoesToTheRunningThesaurusWindow) {
    ThesaurusWindow thesaurus;
    std::vector<std::string> warnings;
    const auto warn = [&](const std::string& text) { warnings.push_back(text); };
    LookUpThesaurus(u("  ТОРМОЗНЫЕ "), window_->WindowHandle(), warn);
    ASSERT_EQ(thesaurus.records.size(), 1u);
    EXPECT_EQ(thesaurus.records[0].kind, RInstanceData::kShowPage);
    EXPECT_EQ(thesaurus.records[0].strings[0], ProgramDir() + "tezaurus\\tormoz.htm");
    EXPECT_TRUE(WaitUntil([&] { return thesaurus.activated; }, 5000));
    LookUpThesaurus("", window_->WindowHandle(), warn);  // the start page
    ASSERT_EQ(thesaurus.records.size(), 2u);
    EXPECT_EQ(thesaurus.records[1].strings[0], ProgramDir() + "tezaurus\\index.htm");
    LookUpThesaurus(u("кузов"), window_->WindowHandle(), warn);  // no term: nothing happens
    EXPECT_EQ(thesaurus.records.size(), 2u);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(Find, ClosingTheWindowDuringAScanEndsItQuietly) {
    find->SetIndexMode();
    Type(u("поездкой"));
    QTimer::singleShot(0, [this] { window_.reset(); });
    find->FindNext(1);  // the find goes with the window while it scans
    EXPECT_EQ(window_, nullptr);
    EXPECT_FALSE(BusyFlag);
}
