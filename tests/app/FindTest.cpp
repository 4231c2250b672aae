// The full-text find on the sample book: the keyword index, the index scan of the pack's pages
// with its result list, the page and all-pages modes, the contents tree, and the find's messages.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "app/FindTxtHtml.h"
#include "app/MainFormFixture.h"
#include "app/SkinControls.h"
#include "base/Cp1251.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
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
        window_->RunCommand("findnext1");  // the search dialog with its box
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

TEST_F(Find, ThePageModeWrapsAndAllPagesWalksOnFromTheStartPage) {
    Type(u("оглавлению  нет"));
    find->FindNext(1);
    EXPECT_EQ(find->Box(0)->text().toStdString(), Cp1251::toUtf8(u("оглавлению нет")));  // blanks collapsed
    EXPECT_EQ(Status(), u("Текст не найден"));
    window_->RunCommand("html1=html\\gen\\p005.htm");
    ASSERT_TRUE(WaitUntil([&] { return window_->PagesSettled(); }, 10000));
    Type(u("Проверьте"));
    find->FindNext(1);  // in the page itself
    EXPECT_NE(Current().find("p005.htm"), std::string::npos);
    find->SetAllPages(true);
    find->FindNext(1);  // not again on this page: on through the book
    EXPECT_EQ(Current().find("p005.htm"), std::string::npos);
    EXPECT_NE(Current().find("\\gen\\p"), std::string::npos);
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
