#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QPainter>
#include <filesystem>
#include <QProcess>
#include <QTest>

#include "app/MainForm.h"
#include "app/MainFormFixture.h"
#include "html/HtmlFrame.h"
#include "app/TestDisc.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "html/PageFrameApi.h"
#include "html/PageHeader.h"
#include "html/TreeList.h"
#include "skin/SkinScreen.h"
#include "html/engine/FrameViewer.h"
#include "packs/PackFile.h"
#include "packs/PackTestUtil.h"
#include "platform/hostpaths/Drives.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceLock.h"
#include "platform/QtText.h"
#include "platform/SettingsStore.h"
#include "support/Wait.h"

TEST_F(SampleBook, TheWindowTakesTheFirstBackgroundAndShowsEveryLookOfIt) {
    Window& w = *window_;
    ASSERT_FALSE(w.Terminating()) << w.ExitMessage();
    EXPECT_EQ(w.size(), QSize(800, 600));
    EXPECT_EQ(w.WindowRegion(), QRegion(QPolygon({QPoint(0, 0), QPoint(800, 0), QPoint(800, 600), QPoint(0, 600)}), Qt::WindingFill));
    // The button's first picture is part of the background.
    const RBtn& read = ButtonWithCommand(w, "2");
    EXPECT_EQ(read.right - read.left, 160);
    const QImage face = w.grab().toImage();
    EXPECT_EQ(face.pixel(read.left + 80, read.top + 2), w.Background().pixel(read.left + 80, read.top + 2));
}

TEST_F(SampleBook, APressOnTheBorderDragsAndAPressThatLeavesIsCancelled) {
    Window& w = *window_;
    const RBtn& read = ButtonWithCommand(w, "2");
    const size_t index = size_t(&read - &w.Elements().ScreenButtons[0][0]);
    w.FormMouseDown(Qt::LeftButton, QPoint(read.left, read.top + 10), Qt::NoModifier);  // the outer column
    EXPECT_FALSE(w.Skin()->ButtonPictures()[index].pressed);
    w.FormMouseMove(InsideOf(read), Qt::NoModifier);
    w.FormMouseDown(Qt::LeftButton, InsideOf(read), Qt::NoModifier);
    EXPECT_TRUE(w.Skin()->ButtonPictures()[index].pressed);
    w.FormMouseMove(QPoint(5, 5), Qt::NoModifier);
    w.FormMouseUp(Qt::LeftButton, InsideOf(read), Qt::NoModifier);
    EXPECT_EQ(w.CurrentScreen(), 0);
    // A whole click switches to the reading screen.
    w.FormMouseMove(InsideOf(read), Qt::NoModifier);
    w.FormMouseDown(Qt::LeftButton, InsideOf(read), Qt::NoModifier);
    w.FormMouseUp(Qt::LeftButton, InsideOf(read), Qt::NoModifier);
    EXPECT_EQ(w.CurrentScreen(), 1);
}

TEST_F(SampleBook, GroupedSwitchesExcludeEachOtherAndAnOnSwitchSendsNothing) {
    Window& w = *window_;
    FakePageFrame frame;  // "tophtml" needs a page frame
    w.SetPageFrame(&frame);
    w.RunCommand("3");
    ASSERT_EQ(w.CurrentScreen(), 2);
    const auto& groups = w.Elements().ScreenSwitchesGrp[2];
    ASSERT_EQ(groups.size(), 3u);
    ASSERT_TRUE(groups[0].state);
    w.commands.clear();
    w.FormMouseDown(Qt::LeftButton, InsideOf(groups[0]), Qt::NoModifier);
    EXPECT_TRUE(w.commands.empty());
    w.FormMouseDown(Qt::LeftButton, InsideOf(groups[2]), Qt::NoModifier);
    EXPECT_EQ(w.commands, std::vector<std::string>{"tophtml"});
    EXPECT_FALSE(groups[0].state);
    EXPECT_TRUE(groups[2].state);
    w.SetPageFrame(nullptr);
}

TEST_F(SampleBook, AShiftClickFlipsASwitchSilentlyAndTheNextScreenReplaysIt) {
    Window& w = *window_;
    FakePageFrame frame;
    w.SetPageFrame(&frame);
    w.RunCommand("3");
    const auto& tips = w.Elements().ScreenSwitchesOne[2][0];
    ASSERT_TRUE(tips.state);
    w.commands.clear();
    w.FormMouseDown(Qt::LeftButton, InsideOf(tips), Qt::ShiftModifier);
    EXPECT_FALSE(tips.state);
    EXPECT_TRUE(w.commands.empty());
    w.RunCommand("3");  // a screen change replays single switches twice, then grouped ones
    EXPECT_EQ(w.commands, (std::vector<std::string>{"offtree", "offtree", "tophtml"}));
    w.SetPageFrame(nullptr);
}

TEST(SwitchStates, AreStoredPerScreenAndIndex) {
    TInstanceLock lock;
    {
        Window w(SAMPLE_RUN, lock);
        w.RunCommand("2");
        w.commands.clear();
        const auto& index = w.Elements().ScreenSwitchesOne[1][0];
        ASSERT_FALSE(index.state);
        w.FormMouseDown(Qt::LeftButton, InsideOf(index), Qt::NoModifier);
        EXPECT_TRUE(index.state);
        EXPECT_EQ(w.commands, std::vector<std::string>{"tree 2"});  // its "godown" is "tree1"
    }
    TSettingsStore settings(AppTitle());
    bool stored = false;
    ASSERT_TRUE(settings.ReadBool("SwOne10", stored));
    EXPECT_TRUE(stored);
    settings.WriteBool("SwGrp21", true);
    settings.WriteBool("SwGrp20", false);
    ClosePack();
    Window again(SAMPLE_RUN, lock);
    EXPECT_TRUE(again.Elements().ScreenSwitchesOne[1][0].state);
    EXPECT_TRUE(again.Elements().ScreenSwitchesGrp[2][1].state);
    EXPECT_FALSE(again.Elements().ScreenSwitchesGrp[2][0].state);
    settings.DeleteValue("SwOne10");
    settings.DeleteValue("SwGrp21");
    settings.DeleteValue("SwGrp20");
}

TEST_F(SampleBook, ClosingWaitsForTheOpeningAndRunsItsAnimationOnce) {
    Window& w = *window_;
    bool opened = false;
    w.ShowAnimated([&] { opened = true; });
    ASSERT_TRUE(w.AnimationRunning());
    w.close();  // ignored while the window opens
    ASSERT_TRUE(WaitUntil([&] { return opened; }));
    EXPECT_TRUE(w.isVisible());
    // The last ellipse reaches past every corner of the window.
    EXPECT_TRUE(w.WindowRegion().contains(QPoint(1, 1)));
    w.close();
    ASSERT_TRUE(w.AnimationRunning());
    w.close();  // a second request changes nothing
    ASSERT_TRUE(WaitUntil([&] { return !w.AnimationRunning(); }));
    EXPECT_FALSE(w.isVisible());
}

TEST_F(SampleBook, PageKeysWorkOnlyOnTheReadingScreenWithAPageFrame) {
    Window& w = *window_;
    FakePageFrame frame;
    w.SetPageFrame(&frame);
    QTest::keyClick(&w, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_TRUE(frame.calls.empty());
    w.RunCommand("2");
    frame.calls.clear();
    QTest::keyClick(&w, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&w, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);  // not exactly Shift
    EXPECT_EQ(frame.calls, std::vector<std::string>{"prev chapter"});
    QTest::keyClick(&w, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(w.CurrentScreen(), 0);
    w.SetPageFrame(nullptr);
}

TEST_F(SampleBook, ADropOpensTheFirstFileAsAPage) {
    Window& w = *window_;
    FakePageFrame frame;
    w.SetPageFrame(&frame);
    w.DropUrls({QUrl::fromLocalFile("/tmp/Page.HTML"), QUrl::fromLocalFile("/tmp/second.htm")});
    EXPECT_EQ(frame.calls, std::vector<std::string>{"open z:\\tmp\\Page.HTML"});
    w.DropFile("d:\\music.wav");  // sounds and unknown files open no page
    w.DropFile("d:\\notes.doc");
    EXPECT_EQ(frame.calls.size(), 1u);
    w.SetPageFrame(nullptr);
}

TEST_F(SampleBook, ARecordFromASecondProcessShowsThePageAndIsAnswered) {
    Window& w = *window_;
    FakePageFrame frame;
    w.SetPageFrame(&frame);
    w.show();
    QProcess sender;
    sender.start(SEND_RECORD, {ToQt(AppTitle()), "0", "html\\engine.htm"});
    ASSERT_TRUE(WaitUntil([&] { return sender.state() == QProcess::NotRunning; }));
    EXPECT_EQ(sender.exitCode(), 0) << sender.readAllStandardError().toStdString();
    EXPECT_EQ(w.CurrentScreen(), 1);  // on the start screen the record switches to the reading screen
    w.SetPageFrame(nullptr);
}

TEST(TreeRule, ASwitchOfTheHiddenSecondTreeStopsThePointerScan) {
    const std::string structText =
        "title=" + UniqueTitle("tree rule") + "\r\n1_screen=back1.bmp\r\n"
        "1switchone vx=10 vy=10 fn1=a.bmp; fn2=a.bmp; fn3=a.bmp; fn4=a.bmp; goup=tree2; godown=x\r\n"
        "1switchgrp vx=10 vy=10 fn1=a.bmp; fn2=a.bmp; fn3=a.bmp; fn4=a.bmp; group=1; go=y\r\n";
    const TestDisc disc = MakeTestDisc(structText, "run", {}, "interface.dat", "Zaz.dhl",
                                       {{"back1.bmp", SolidBitmap(200, 100, 0xFFFFFF)}, {"a.bmp", SolidBitmap(40, 20, 0x336699)}});
    TInstanceLock lock;
    Window w(disc.programDir, lock);
    ASSERT_FALSE(w.Terminating()) << w.ExitMessage();
    EXPECT_EQ(w.size(), QSize(200, 100));
    w.FormMouseMove(QPoint(20, 20), Qt::NoModifier);
    EXPECT_FALSE(w.Elements().ScreenSwitchesOne[0][0].hover);
    EXPECT_FALSE(w.Elements().ScreenSwitchesGrp[0][0].hover);
    w.FormMouseDown(Qt::LeftButton, QPoint(20, 20), Qt::NoModifier);
    EXPECT_FALSE(w.Elements().ScreenSwitchesOne[0][0].state);
    EXPECT_FALSE(w.Elements().ScreenSwitchesGrp[0][0].state);
    ClosePack();
    StartState() = TStartState{};
}

// A description file with slips in it still gives a whole window: lines without a screen
// number, numbers that are not numbers, pictures the bundle lacks, a shape with a bad point.
TEST(BadDescriptions, NeverLeaveTheWindowHalfBuilt) {
    const std::string structText =
        "title=" + UniqueTitle("slips") + "\r\nvertexmain=[0,0;x,9;5,5]\r\n1_screen=back1.bmp\r\n"
        "button vx=5 vy=5 fn1=a.bmp; go=2\r\n"
        "1button vx=abc vy=-- fn1=missing.bmp; fn2=a.bmp; go=2\r\n"
        "1button vx=20 vy=20 fn1=a.bmp; fn2=missing.bmp; fn3=missing.bmp; go=9\r\n"
        "1switchone fn1=a.bmp; state=maybe\r\n"
        "2_screen=gone.bmp\r\n"
        "2_html vx=0 vy=0 vw=100 vh=50 fn=html\\missing.htm; number=1\r\n";
    const TestDisc disc = MakeTestDisc(structText, "run", {}, "interface.dat", "Zaz.dhl",
                                       {{"back1.bmp", SolidBitmap(120, 80, 0xFFFFFF)}, {"a.bmp", SolidBitmap(30, 10, 0x336699)}});
    TInstanceLock lock;
    Window w(disc.programDir, lock);
    ASSERT_FALSE(w.Terminating()) << w.ExitMessage();
    EXPECT_EQ(w.size(), QSize(120, 80));
    EXPECT_TRUE(w.WindowRegion().isEmpty());  // the bad shape is not applied
    const auto& buttons = w.Elements().ScreenButtons[0];
    ASSERT_EQ(buttons.size(), 4u);  // the window's own two, then the two of screen 1
    EXPECT_EQ(buttons[2].right, buttons[2].left);  // no first picture: no area to press
    EXPECT_EQ(buttons[3].right, buttons[3].left + 30);
    // Pressing and releasing everywhere, and switching to a screen whose background is gone,
    // finds only what is there.
    for (int x = 0; x < 120; x += 7)
        for (int y = 0; y < 80; y += 7) {
            w.FormMouseMove(QPoint(x, y), Qt::NoModifier);
            w.FormMouseDown(Qt::LeftButton, QPoint(x, y), Qt::NoModifier);
            w.FormMouseUp(Qt::LeftButton, QPoint(x, y), Qt::NoModifier);
        }
    w.RunCommand("2");
    EXPECT_EQ(w.CurrentScreen(), 1);
    EXPECT_EQ(w.Background().size(), QSize(120, 80));
    // A page view whose first page is missing stays hidden; opening another missing page too.
    ASSERT_NE(w.HtmlFrame(), nullptr);
    EXPECT_FALSE(w.HtmlFrame()->CurrentView()->isVisibleTo(&w));
    w.RunCommand("html1=html\\also-missing.htm");
    EXPECT_FALSE(w.HtmlFrame()->CurrentView()->isVisibleTo(&w));
    ClosePack();
    StartState() = TStartState{};
}

TEST_F(SampleBook, TheReadingScreenShowsATreeBesideThePage) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    ASSERT_NE(w.Tree(1), nullptr);
    EXPECT_TRUE(w.Tree(1)->isVisibleTo(&w));
    EXPECT_FALSE(w.Tree(2)->isVisibleTo(&w));
    ASSERT_NE(w.HtmlFrame(), nullptr);
    EXPECT_GT(w.HtmlFrame()->CurrentView()->geometry().left(), w.Tree(1)->geometry().right());
}

TEST_F(SampleBook, CopyingAPageTakesItsCompanionFolderAlong) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    w.RunCommand("html1=html\\engine.htm");
    ASSERT_TRUE(WaitUntil([&] { return Cp1251::asciiLower(w.HtmlFrame()->CurrentFile()).find("engine.htm") != std::string::npos; }));
    const std::string folder = MakeTempDir();
    w.pathInput = HostPathsService().ToWindows(folder) + "\\copies";
    w.HtmlFrame()->CopyPage();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder + "/copies/ENGINE.HTM")) ||
                QFile::exists(QString::fromStdString(folder + "/copies/engine.htm")));
    bool note = false;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        note |= Cp1251::asciiLower(entry.path().filename().string()) == "note.txt";
    EXPECT_TRUE(note);
}

TEST(PageHeader, EndsFiftyPixelsFromTheRightEdgeAndNeedsADocument) {
    QImage page(600, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        PaintPageHeader(painter, 3, 600, false);
    }
    EXPECT_EQ(page, [] { QImage blank(600, 100, QImage::Format_RGB32); blank.fill(Qt::white); return blank; }());
    {
        QPainter painter(&page);
        PaintPageHeader(painter, 3, 600, true);
    }
    int leftmost = 600, rightmost = -1, top = 100;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 600; ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255)) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
                top = std::min(top, y);
            }
    EXPECT_LE(rightmost, 550);
    EXPECT_GE(rightmost, 540);
    EXPECT_LT(leftmost, 520);
    EXPECT_GE(top, 40);
}
