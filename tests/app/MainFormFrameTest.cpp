// The main window with its page frame: print requests from other processes, the trees'
// choice, history counted newest first, and the order of a screen change.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "app/MainFormFixture.h"
#include "base/Cp1251.h"
#include "html/Favorites.h"
#include "html/HtmlFrame.h"
#include "html/TreeList.h"
#include "packs/PackTestUtil.h"
#include "platform/hostpaths/Drives.h"
#include "platform/InstanceChannel.h"
#include "support/Wait.h"

// A print request names a file the book deletes once printed: never one outside the temporary
// folder, and never one that was not printed.
TEST_F(SampleBook, APrintRequestDeletesOnlyAPrintedFileOfTheTemporaryFolder) {
    Window& w = *window_;
    FakePageFrame frame;
    w.SetPageFrame(&frame);
    const std::string temp = MakeTempDir(), outside = MakeTempDir();
    StartState().tempDir = HostPathsService().ToWindows(temp) + "\\";
    auto request = [&](const std::string& host, bool printed) {
        WriteFileBytes(host, "picture");
        frame.printed = printed;
        RInstanceData record;
        record.kind = RInstanceData::kPrintPicture;
        record.count = 1;
        record.strings[0] = HostPathsService().ToWindows(host);
        TInstanceChannel::Instance().SendCopyData(w.WindowHandle(), 0, record);
        const size_t before = frame.printedFiles.size();
        EXPECT_TRUE(WaitUntil([&] { return frame.printedFiles.size() > before; }, 5000));
        Pump(50);
        return std::filesystem::exists(host);
    };
    EXPECT_TRUE(request(outside + "/mine.bmp", true));
    EXPECT_TRUE(request(temp + "/unprinted.bmp", false));
    EXPECT_TRUE(request(temp + "/../" + std::filesystem::path(outside).filename().string() + "/climb.bmp", true));
    EXPECT_FALSE(request(temp + "/printed.bmp", true));
    w.SetPageFrame(nullptr);
}

// With the page view hidden a tree's page goes to the "_html" element number 20; only the
// chosen tree follows a page.
TEST_F(SampleBook, TreesOpenInElementTwentyWhenTheViewIsHiddenAndOnlyOneFollows) {
    Window& w = *window_;
    w.RunCommand("2");
    FakePageFrame frame;
    w.SetPageFrame(&frame);
    frame.shown = false;
    frame.calls.clear();
    ASSERT_TRUE(w.Tree(1)->FindInTree(Cp1251::fromUtf8("Кузов")));
    ASSERT_EQ(frame.calls.size(), 1u);
    EXPECT_EQ(frame.calls[0].substr(frame.calls[0].size() - 6), " in 20");
    w.Tree(2)->setCurrentItem(nullptr);
    frame.current = w.Tree(1)->FocusedLink();  // a page both trees hold
    w.SyncTrees();
    EXPECT_EQ(w.Tree(2)->FocusedItem(), nullptr);  // the hidden second tree stays where it was
    w.SetPageFrame(nullptr);
}

// The frame counts its history newest first: index 0 is the page shown last.
TEST_F(SampleBook, HistoryIsCountedFromTheNewestEntry) {
    Window& w = *window_;
    w.show();
    w.RunCommand("2");
    for (const char* page : {"html1=html\\engine.htm", "html1=html\\body.htm"}) w.RunCommand(page);
    auto endsWith = [](const std::string& file, const char* name) { return Cp1251::asciiLower(file).find(name) != std::string::npos; };
    const auto history = w.HtmlFrame()->History();
    ASSERT_EQ(history.size(), 3u);
    EXPECT_TRUE(endsWith(history[0].file, "body.htm"));
    EXPECT_TRUE(endsWith(history[2].file, "index.htm"));
    EXPECT_EQ(w.HtmlFrame()->HistoryPosition(), 0);
    w.HtmlFrame()->GoToHistoryIndex(2);
    EXPECT_TRUE(endsWith(w.HtmlFrame()->CurrentFile(), "index.htm"));
    EXPECT_EQ(w.HtmlFrame()->HistoryPosition(), 2);
    EXPECT_TRUE(RunHistoryCommand(*w.HtmlFrame(), "history=1"));
    EXPECT_TRUE(endsWith(w.HtmlFrame()->CurrentFile(), "engine.htm"));
}

// The screen-aware parts hear of a new screen before its switches replay, and the fade back to
// the first screen starts from the face the user saw (no screen grab offscreen).
TEST_F(SampleBook, AScreenChangeIsToldBeforeTheReplayAndFadesFromTheOldFace) {
    Window& w = *window_;
    FakePageFrame frame;
    w.SetPageFrame(&frame);
    QObject::connect(&w, &TMainForm::ScreenChanged, [&](int screen) { w.commands.push_back("screen " + std::to_string(screen)); });
    w.RunCommand("3");
    ASSERT_EQ(w.commands.size(), 4u);  // the screen, then the single switch twice and the grouped one
    EXPECT_EQ(w.commands[0], "screen 2");
    EXPECT_EQ(w.commands[3], "tophtml");
    w.show();
    w.RunCommand("2");
    const QPoint onAButton(100, 545);
    const QImage before = w.grab().toImage();
    w.RunCommand("1");
    ASSERT_TRUE(w.EffectRunning());
    const QImage during = w.grab().toImage();
    EXPECT_EQ(during.pixel(onAButton), before.pixel(onAButton));
    EXPECT_NE(during.pixel(onAButton), w.Background().pixel(onAButton));
    w.SetPageFrame(nullptr);
}

