// The main window on a real X server: its shape and the screen grab its cross-fade starts from.
// Run under Xvfb; elsewhere the tests skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>

#include "app/MainForm.h"
#include "html/HtmlFrame.h"
#include "base/GlobalPaths.h"
#include "effects/EffCar.h"
#include "packs/PackFile.h"
#include "platform/InstanceLock.h"
#include "support/Wait.h"

namespace {


class X11Window : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server (run under Xvfb)";
        window_ = std::make_unique<TMainForm>(SAMPLE_RUN, TCommandLine{}, lock_);
        ASSERT_FALSE(window_->Terminating()) << window_->ExitMessage();
        window_->move(0, 0);
        bool opened = false;
        window_->ShowAnimated([&] { opened = true; });
        ASSERT_TRUE(WaitUntil([&] { return opened; }));
    }
    void TearDown() override {
        window_.reset();
        ClosePack();
        StartState() = TStartState{};
    }
    TInstanceLock lock_;
    std::unique_ptr<TMainForm> window_;
};

QColor ColorAt(const QImage& image, QPoint p) { return QColor(image.pixel(p)); }

} // namespace

TEST_F(X11Window, TheOpenedWindowHasTheLastEllipseAsItsShape) {
    const QRegion shape = window_->mask();
    ASSERT_FALSE(shape.isEmpty());
    EXPECT_TRUE(shape.contains(QPoint(1, 1)));
    EXPECT_TRUE(shape.contains(QPoint(798, 598)));
}

TEST_F(X11Window, TheFadeToTheStartScreenBeginsFromWhatTheScreenShowed) {
    ASSERT_TRUE(TEffCar::CanGrabScreen());
    window_->RunCommand("2");
    QCoreApplication::processEvents();
    const QPoint treePanel(100, 300);  // paper on the reading screen, leather on the start screen
    const QImage before = window_->grab().toImage();
    window_->RunCommand("1");
    ASSERT_TRUE(window_->EffectRunning());
    QImage frame = window_->grab().toImage();  // the effect paints its current frame
    EXPECT_LT(std::abs(ColorAt(frame, treePanel).lightness() - ColorAt(before, treePanel).lightness()), 40);
    ASSERT_TRUE(WaitUntil([&] { return !window_->EffectRunning(); }));
    frame = window_->grab().toImage();
    EXPECT_EQ(frame.pixel(treePanel), window_->Background().pixel(treePanel));
}
