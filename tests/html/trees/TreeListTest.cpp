#include <gtest/gtest.h>

#include <QSplitter>
#include <QTest>

#include <vector>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "html/TreeList.h"
#include "packs/BundleWriter.h"
#include "packs/CfsCodec.h"
#include "packs/PackTestUtil.h"
#include "packs/ReadBin.h"
#include "support/IdleTreeHost.h"

namespace {

// A panel like the main window's, with a tree read from UTF-8 lines stored as tree1.cfs; the
// pages it opens, its presses and its moves are recorded.
struct TreeFixture : ::testing::Test, ITreeHost {
    QWidget panel;
    QSplitter* splitter = new QSplitter(&panel);
    TTreeViews* tree = nullptr;
    std::vector<std::string> opened;
    std::string current;
    int popups = 0, moves = 0;

    void OpenTreePage(const std::string& p) override { opened.push_back(p), current = p; }
    std::string CurrentPage() const override { return current; }
    void ClosePopup() override { ++popups; }
    void PointerLeftSkin() override { ++moves; }

    void Build(const std::string& utf8) {
        SetCdRoot("d:\\");
        SetProgramDir("d:\\run\\");
        panel.setGeometry(33, 90, 673, 421);
        const std::string path = MakeTempDir() + "/Zaz.dhl";
        WriteFileBytes(path, BuildBundle({{"tree1.cfs", EncodeCfs(Cp1251::fromUtf8(utf8), 7)}}));
        TReadBin bundle;
        bundle.OpenBundle(path);
        tree = new TTreeViews(&panel, *this);
        ASSERT_TRUE(tree->CreateTree(bundle, "TREE1.CFS"));
    }
    QTreeWidgetItem* Top(int i) const { return tree->topLevelItem(i); }
    std::string Caption(const QTreeWidgetItem* item) const { return Cp1251::toUtf8(TTreeViews::CaptionOf(item)); }
};

} // namespace

TEST_F(TreeFixture, TabsPlaceItemsUnderTheRightParent) {
    Build("a.htm; Первый\r\n"
          "\t\tb.htm; Второй\r\n"          // two tabs deeper: child of the previous item
          "\t\tc.htm; Третий; лишнее\r\n"  // same depth: sibling
          "\t\t\t\t\t<cd>d.htm; Deep\r\n"
          "\te.htm; E\r\n"                 // shallower: under the nearest item of depth 0
          "\t\t\t..\\..\\f.htm; F\r\n"
          "\t\tg.htm; G\r\n"               // shallower: under e, the nearest item of depth 1
          "  \t\r\n"
          "http://x.ru/; Web\r\n");
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* a = Top(0);
    EXPECT_EQ(Caption(a), "Первый");
    EXPECT_EQ(a->text(0), QString::fromUtf8("Первый"));
    ASSERT_EQ(a->childCount(), 3);
    EXPECT_EQ(Caption(a->child(1)), "Третий");
    EXPECT_EQ(TTreeViews::LinkOf(a->child(1)->child(0)), "d:\\d.htm");
    QTreeWidgetItem* e = a->child(2);
    ASSERT_EQ(e->childCount(), 2);
    EXPECT_EQ(TTreeViews::LinkOf(e->child(0)), "d:\\run\\f.htm");  // never above the program folder
    EXPECT_EQ(Caption(e->child(1)), "G");
    EXPECT_EQ(TTreeViews::LinkOf(Top(1)), "http://x.ru/");
}

TEST_F(TreeFixture, OddIndentationNeverFails) {
    Build("\t\tfirst.htm; Отступ\r\n"
          "\t\tsecond.htm; Рядом\r\n"
          " \tspace.htm; Пробел\r\n"  // a space first: no leading tabs
          "\t\t\tdeep.htm\r\n"
          "\t\tshallow.htm;\r\n"      // no earlier item of depth 1: top level
          ";Без ссылки\r\n");
    ASSERT_EQ(tree->topLevelItemCount(), 5);
    EXPECT_EQ(Caption(Top(1)), "Рядом");
    EXPECT_EQ(TTreeViews::LinkOf(Top(2)->child(0)), "d:\\run\\deep.htm");
    EXPECT_EQ(Caption(Top(2)->child(0)), "");
    EXPECT_EQ(TTreeViews::LinkOf(Top(3)), "d:\\run\\shallow.htm");
    EXPECT_EQ(TTreeViews::LinkOf(Top(4)), "");
    tree->setCurrentItem(Top(4));
    tree->OpenFocusedItem();
    EXPECT_TRUE(opened.empty());
}

TEST_F(TreeFixture, SyncFocusesTheFirstOfEqualLinksAndOpensNothingElse) {
    Build("a.htm; A\r\n\tb.htm; B1\r\nc.htm; C\r\n\tB.HTM; B2\r\n");
    tree->SyncTreeToPage("D:\\RUN\\b.htm#part");
    EXPECT_EQ(Caption(tree->FocusedItem()), "B1");
    EXPECT_TRUE(tree->FocusedItem()->isSelected());
    EXPECT_TRUE(opened.empty());

    // Empty: the current page; a page outside the tree leaves focus and view alone.
    current = "d:\\run\\c.htm";
    tree->SyncTreeToPage("");
    EXPECT_EQ(Caption(tree->FocusedItem()), "C");
    current = "d:\\run\\elsewhere.htm";
    tree->SyncTreeToPage("");
    EXPECT_EQ(Caption(tree->FocusedItem()), "C");
    EXPECT_TRUE(opened.empty());
}

TEST_F(TreeFixture, FindOpensTheNextMatchingCaptionAndWraps) {
    Build("a.htm; Тормоза\r\n\tb.htm; Колодки тормозные\r\nc.htm; Кузов\r\n");
    EXPECT_TRUE(tree->FindInTree(Cp1251::fromUtf8("ТОРМОЗ")));
    EXPECT_EQ(opened, std::vector<std::string>{"d:\\run\\a.htm"});
    EXPECT_TRUE(tree->FindInTree(Cp1251::fromUtf8("тормоз")));
    EXPECT_EQ(opened.back(), "d:\\run\\b.htm");
    EXPECT_TRUE(tree->FindInTree(Cp1251::fromUtf8("Тормоз")));  // wraps to the first
    EXPECT_EQ(opened.back(), "d:\\run\\a.htm");
    tree->setCurrentItem(Top(1));
    current = "d:\\run\\c.htm";
    EXPECT_TRUE(tree->FindInTree(Cp1251::fromUtf8("Кузов")));  // only the focused item holds it
    EXPECT_EQ(opened.size(), 3u);  // its page is already shown
    EXPECT_FALSE(tree->FindInTree("nothing"));
    EXPECT_FALSE(tree->FindInTree(""));
}

TEST_F(TreeFixture, ClicksKeysAndPointerReachTheirHooks) {
    Build("a.htm; A\r\nb.htm; B\r\n");
    panel.show();
    tree->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(Top(1)).center());
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(opened, std::vector<std::string>{"d:\\run\\b.htm"});
    tree->setCurrentItem(Top(0));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(opened.back(), "d:\\run\\a.htm");
    QTest::mouseMove(tree->viewport(), QPoint(5, 5));
    EXPECT_GE(moves, 1);
}

TEST_F(TreeFixture, ScreensSwitchingAndTheScreenPage) {
    Build("k1.htm; Кузов\r\nk2.htm; Кузов, уход\r\ne.htm#oil; Масло\r\n");
    tree->ShowTreeForScreen(1);
    EXPECT_FALSE(panel.isHidden());
    EXPECT_FALSE(tree->isHidden());
    tree->ShowSwitched(false);
    EXPECT_TRUE(tree->isHidden());
    EXPECT_TRUE(tree->SwitchedAway());
    tree->ShowTreeForScreen(2);
    EXPECT_TRUE(tree->isHidden());
    tree->ShowTreeForScreen(1);
    EXPECT_FALSE(tree->SwitchedAway());

    // The item of the page itself, not the next caption containing its caption.
    tree->setCurrentItem(Top(0));
    tree->SetScreenPage("d:\\run\\k1.htm");
    tree->ShowTreeForScreen(2);
    EXPECT_EQ(opened, std::vector<std::string>{"d:\\run\\k1.htm"});
    EXPECT_EQ(Caption(tree->FocusedItem()), "Кузов");
    tree->SetScreenPage("D:\\run\\E.htm#oil");
    tree->ShowTreeForScreen(2);
    EXPECT_EQ(Caption(tree->FocusedItem()), "Масло");
    tree->SetScreenPage("d:\\run\\k2.htm#none");  // retried without the "#" part
    tree->ShowTreeForScreen(2);
    EXPECT_EQ(opened.back(), "d:\\run\\k2.htm");

    tree->CollapseTree(true);
    tree->ShowTreeForScreen(0);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_TRUE(tree->isHidden());
    EXPECT_TRUE(tree->SwitchedAway());
    EXPECT_FALSE(tree->Collapsed());
}

TEST_F(TreeFixture, CollapseMovesThePageOnceAndRestoresIt) {
    Build("a.htm; A\r\n");
    QWidget page(&panel);
    const QRect beside(170, 0, 503, 421);
    page.setGeometry(beside);
    tree->SetPageView(&page);
    tree->ShowTreeForScreen(1);
    tree->CollapseTree(true);
    tree->CollapseTree(true);
    EXPECT_TRUE(tree->isHidden());
    EXPECT_TRUE(splitter->isHidden());
    EXPECT_EQ(page.geometry(), QRect(0, 0, 673, 421));

    tree->ShowSwitched(true);  // collapsed: only recorded
    EXPECT_TRUE(tree->isHidden());
    tree->CollapseTree(false);
    EXPECT_FALSE(tree->isHidden());
    EXPECT_FALSE(splitter->isHidden());
    EXPECT_EQ(page.geometry(), beside);
    EXPECT_EQ(tree->geometry(), QRect(0, 0, 165, 421));

    // A tree switched away stays hidden when un-collapsed; the page still moves back.
    tree->CollapseTree(true);
    tree->ShowSwitched(false);
    tree->CollapseTree(false);
    EXPECT_TRUE(tree->isHidden());
    EXPECT_EQ(page.geometry(), beside);
}

TEST_F(TreeFixture, ChapterStepsSkipEmptyAndSameLinks) {
    Build("a.htm; A\r\n\ta.htm; A again\r\n\t; Empty\r\nb.htm; B\r\n");
    EXPECT_EQ(tree->NextChapterItem(true), nullptr);  // nothing focused
    tree->FocusItem(Top(0));
    EXPECT_EQ(tree->NextChapterItem(true), Top(1));
    EXPECT_EQ(tree->NextChapterItem(false), nullptr);
    tree->FocusItem(Top(1));
    EXPECT_EQ(tree->NextChapterItem(false), Top(0)->child(0));
    EXPECT_EQ(tree->NextChapterItem(true), nullptr);
    EXPECT_EQ(tree->FocusedLink(), "d:\\run\\b.htm");
}

TEST_F(TreeFixture, LinksAreSpelledAsPagePathsSoTheShownPageFindsThem) {
    Build("html/brakes/./front.htm; Front\r\nD:/Run/x.htm#a; X\r\n");
    EXPECT_EQ(TTreeViews::LinkOf(Top(0)), "d:\\run\\html\\brakes\\front.htm");
    EXPECT_EQ(TTreeViews::LinkOf(Top(1)), "d:\\Run\\x.htm#a");
    tree->SyncTreeToPage("d:\\run\\html\\brakes\\front.htm#top");
    EXPECT_EQ(Caption(tree->FocusedItem()), "Front");
}

// Syncing and chapter steps use one tree: the first if it shows, else the second if it shows.
TEST(TreeChoice, TheFirstShownTreeElseTheSecondElseTheFirst) {
    QWidget panel;
    TIdleTreeHost host;
    TTreeViews first(&panel, host), second(&panel, host);
    panel.show();
    EXPECT_EQ(ChooseTree(&first, &second), &first);  // neither shows
    second.show();
    EXPECT_EQ(ChooseTree(&first, &second), &second);
    first.show();
    EXPECT_EQ(ChooseTree(&first, &second), &first);
    EXPECT_EQ(ChooseTree(nullptr, &second), &second);
    EXPECT_EQ(ChooseTree(nullptr, nullptr), nullptr);
}
