// Keys, right-clicks and the pointer over the reading screen of the sample book, with the real
// page engine on the offscreen platform: the window's keys come first whatever has the focus,
// the browser opens no menu of its own, and the pointer leaving the skin for a page never waits
// for the page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>

#include "app/MainForm.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "html/TreeList.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScripts.h"
#include "packs/PackFile.h"
#include "platform/InstanceLock.h"
#include "skin/SkinScreen.h"
#include "support/Wait.h"

namespace {

// The book's page commands, with "prevchapter" counted.
class ChapterCounter : public TBookPages {
public:
    using TBookPages::TBookPages;
    int prevChapters = 0;
    void PrevChapter() override { ++prevChapters; }
};

class Window : public TMainForm {
public:
    Window(const std::string& folder, TInstanceLock& lock) : TMainForm(folder, TCommandLine{}, lock), chapters(*this) {
        SetPageCommands(chapters);
    }
    ChapterCounter chapters;
    int& prevChapters = chapters.prevChapters;
    int pageMenus = 0;
    void OpenPageContextMenu(QPoint) override { ++pageMenus; }
};

class WindowInput : public ::testing::Test {
protected:
    void SetUp() override {
        answerWait_ = PageAnswerWait();
        SetPageAnswerWait(3000);
        window_ = std::make_unique<Window>(SAMPLE_RUN, lock_);
        ASSERT_FALSE(window_->Terminating()) << window_->ExitMessage();
        window_->show();
        window_->RunCommand("2");
        view_ = window_->HtmlFrame()->CurrentView();
        const QString ready = QStringLiteral("document.readyState === 'complete'");
        ASSERT_TRUE(WaitUntil([&] { return !view_->CurrentFile().empty() && view_->EvaluateScript(ready).toBool(); }, 30000));
        surface_ = view_;
        while (surface_->focusProxy()) surface_ = surface_->focusProxy();  // the browser's own surface
    }
    void TearDown() override {
        window_.reset();
        ClosePack();
        StartState() = TStartState{};
        SetPageAnswerWait(answerWait_);
    }
    static bool MenuShown() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu*>(w) && w->isVisible()) return true;
        return QApplication::activePopupWidget() != nullptr;
    }

    TInstanceLock lock_;
    std::unique_ptr<Window> window_;
    TFrameViewer* view_ = nullptr;
    QWidget* surface_ = nullptr;
    int answerWait_ = 100;
};

} // namespace

TEST_F(WindowInput, TheWindowsKeysComeFirstFromAFocusedTreeAndAFocusedPage) {
    ASSERT_NE(surface_, view_);
    QTest::keyClick(surface_, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(window_->prevChapters, 1);
    TTreeViews* tree = window_->Tree(1);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Home, Qt::ShiftModifier);  // the tree would move to its first item
    EXPECT_EQ(window_->CurrentScreen(), 0);
}

TEST_F(WindowInput, ARightClickOnAPageOpensNoBrowserMenu) {
    QTest::mouseClick(surface_, Qt::RightButton, {}, QPoint(150, 150));
    Pump(700);
    EXPECT_FALSE(MenuShown());
    EXPECT_EQ(window_->pageMenus, 1);  // the page's own context menu hook is asked instead
}

TEST_F(WindowInput, ThePointerOnAPageClearsTheSkinsHoverAndNeverWaitsForThePage) {
    const auto& buttons = window_->Elements().ScreenButtons[1];
    size_t index = 0;
    while (index < buttons.size() && buttons[index].right <= buttons[index].left + 2) ++index;
    ASSERT_LT(index, buttons.size());
    window_->FormMouseMove(QPoint(buttons[index].left + 2, buttons[index].top + 2), Qt::NoModifier);
    ASSERT_TRUE(window_->Skin()->ButtonPictures()[index].hover);
    view_->RunScript("var t = Date.now(); while (Date.now() - t < 1500) {}");  // a page busy for a while
    QElapsedTimer clock;
    clock.start();
    QTest::mouseMove(surface_, QPoint(60, 60));
    QTest::mouseMove(surface_, QPoint(80, 90));
    EXPECT_LT(clock.elapsed(), 600);
    EXPECT_FALSE(window_->Skin()->ButtonPictures()[index].hover);
}
