// The sample book's popups, message dialog and small controls in the main window: history and
// favourites in their popups, the dialog's pages, the status line, the title label and the path
// input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/MainFormFixture.h"
#include "app/SkinControls.h"
#include "base/Cp1251.h"
#include "html/HtmlFrame.h"
#include "platform/SettingsStore.h"
#include "skin/SkinDialog.h"
#include "skin/PopupWin.h"
#include "support/Wait.h"

namespace {

std::vector<std::string> shownCaptions(const TPopupWindow& popup) {
    std::vector<std::string> captions;
    for (int i = 0; i < popup.ItemCount(); ++i)
        if (popup.Item(i).visible) captions.push_back(popup.Item(i).Caption());
    return captions;
}

const std::string kUntitled = "\xC1\xE5\xE7 \xED\xE0\xE7\xE2\xE0\xED\xE8\xFF";  // Без названия

}  // namespace

// Older pages go to the history-back popup nearest first, newer ones to history-forward with the
// nearest on top; the back list's anchor is the button's bottom-right corner.
TEST_F(SampleBook, TheHistoryPopupsShowThePagesAroundTheCurrentOne) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    for (const char* page : {"html1=html\\engine.htm", "html1=html\\body.htm", "html1=html\\links.htm"}) w.RunCommand(page);
    TControlPopupWindow& popups = *w.Controls()->Popups();
    ASSERT_NE(popups.Popup(kPopupHistoryBack), nullptr);
    EXPECT_EQ(popups.Popup(kPopupHistoryBack)->ItemCount(), 8);
    EXPECT_EQ(shownCaptions(*popups.Popup(kPopupHistoryBack)).size(), 3u);
    EXPECT_TRUE(shownCaptions(*popups.Popup(kPopupHistoryForward)).empty());
    w.HtmlFrame()->GoToHistoryIndex(2);  // back to engine.htm: one older, two newer pages
    ASSERT_TRUE(WaitUntil([&] { return w.PagesSettled(); }, 10000));
    const auto back = shownCaptions(*popups.Popup(kPopupHistoryBack));
    const auto forward = shownCaptions(*popups.Popup(kPopupHistoryForward));
    ASSERT_EQ(back.size(), 1u);
    ASSERT_EQ(forward.size(), 2u);
    const auto history = w.HtmlFrame()->History();
    const TPopupWindow& fw = *popups.Popup(kPopupHistoryForward);
    EXPECT_FALSE(fw.Item(5).visible);
    EXPECT_EQ(fw.Item(6).command, "history=1");  // the nearest newer page on top
    EXPECT_EQ(fw.Item(7).command, "history=0");
    EXPECT_EQ(popups.Popup(kPopupHistoryBack)->Item(0).command, "history=3");
    EXPECT_EQ(back[0], history[3].title.empty() ? kUntitled : history[3].title);
    const RBtn& button = ButtonWithCommand(w, "historyback");
    QTest::mouseClick(&w, Qt::LeftButton, {}, InsideOf(button));
    ASSERT_TRUE(popups.AnyVisible());
    const TPopupWindow& bw = *popups.Popup(kPopupHistoryBack);
    const QPoint anchor = w.mapToGlobal(QPoint(button.right, button.bottom));
    EXPECT_EQ(bw.geometry().left(), std::max(0, anchor.x() - bw.width()));  // left of it, on the desktop
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(760, 300));  // any press on the window closes it
    EXPECT_FALSE(popups.AnyVisible());
}

// Favourites show in their popup; deleting in delete mode survives a screen change, which
// rebuilds the popups from the run's list and not from the settings.
TEST_F(SampleBook, FavouritesDeletedInThePopupStayDeleted) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    w.RunCommand("html1=html\\engine.htm");
    ASSERT_TRUE(WaitUntil([&] { return w.PagesSettled() && !w.HtmlFrame()->History()[0].title.empty(); }, 10000));
    w.RunCommand("addtofavorite");
    TControlPopupWindow& popups = *w.Controls()->Popups();
    ASSERT_EQ(shownCaptions(*popups.Popup(kPopupFavorite)).size(), 1u);
    QTest::mouseClick(&w, Qt::LeftButton, {}, InsideOf(ButtonWithCommand(w, "deletefromfavorite")));
    TPopupWindow& favorites = *popups.Popup(kPopupFavorite);
    ASSERT_TRUE(favorites.isVisible());
    EXPECT_TRUE(favorites.DeleteMode());
    favorites.PointerDown(favorites.Item(0).Rect().center());
    EXPECT_FALSE(favorites.isVisible());  // the last one went: nothing left to show
    EXPECT_TRUE(w.Controls()->Favorites()->Items().empty());
    TSettingsStore store(AppTitle());
    EXPECT_FALSE(store.ValueExists("Favorite0"));
    w.RunCommand("1");
    w.RunCommand("2");
    EXPECT_TRUE(shownCaptions(*w.Controls()->Popups()->Popup(kPopupFavorite)).empty());
}

// A chosen menu item runs its command as a key would; the page context menu opens at a point.
TEST_F(SampleBook, MenuItemsRunTheirCommands) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    TControlPopupWindow& popups = *w.Controls()->Popups();
    QTest::mouseClick(&w, Qt::LeftButton, {}, InsideOf(ButtonWithCommand(w, "contextmenu1")));
    TPopupWindow* menu = popups.Popup(1);
    ASSERT_TRUE(menu && menu->isVisible());
    ASSERT_EQ(menu->ItemCount(), 6);
    menu->PointerDown(menu->Item(5).Rect().center());  // "Сведения о книге": screen 3
    EXPECT_EQ(w.CurrentScreen(), 2);
    w.RunCommand("2");
    w.OpenPageContextMenu(w.mapToGlobal(QPoint(300, 300)));
    ASSERT_TRUE(popups.Popup(kPopupContextHtml)->isVisible());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(popups.AnyVisible());
    w.OpenPageContextMenu(w.mapToGlobal(QPoint(300, 300)));
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);  // the user went to another program
    EXPECT_FALSE(popups.AnyVisible());
}

// "unarc" without an archive asks for one in the message page; Esc closes it; the find page
// opens without results at the empty height.
TEST_F(SampleBook, TheMessageDialogShowsItsPagesAndEscClosesIt) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    TCoolDialog* dialog = w.Controls()->Dialog();
    ASSERT_NE(dialog, nullptr);
    w.RunCommand("unarc");
    ASSERT_TRUE(dialog->Showing());
    EXPECT_EQ(dialog->CurrentPage(), 0);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(dialog->Showing());
    QTest::mouseClick(&w, Qt::LeftButton, {}, InsideOf(ButtonWithCommand(w, "findnext1")));
    ASSERT_TRUE(dialog->Showing());
    EXPECT_EQ(dialog->CurrentPage(), 1);
    EXPECT_EQ(dialog->height(), 115);  // no results yet
    for (int page : {2, 3}) {
        EXPECT_TRUE(dialog->ShowDialog(page, "printer"));
        dialog->Close(2);
    }
}

// The page title goes to label 1 with two blanks; copies go to the path input's folder; a
// status message blinks in the status label.
TEST_F(SampleBook, TheLabelsAndThePathInputFollowTheBook) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    w.RunCommand("html1=html\\engine.htm");
    ASSERT_TRUE(WaitUntil([&] { return !w.HtmlFrame()->History()[0].title.empty(); }, 10000));
    const std::string title = w.HtmlFrame()->History()[0].title;
    EXPECT_EQ(w.Controls()->LabelText(1), title + "  ");
    EXPECT_EQ(w.Controls()->CurrentPath(), "c:\\bookshell\\");
    w.Controls()->ShowStatus("copied");
    EXPECT_EQ(w.Controls()->LabelText(2), "copied");
    w.RunCommand("1");
    EXPECT_EQ(w.Controls()->CurrentPath(), "");  // the first screen has no path input
}
