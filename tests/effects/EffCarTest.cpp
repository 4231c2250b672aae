// The window cross-fade: its 51 levels, the decoration around it and where it starts from.
#include "effects/EffCar.h"

#include "effects/EffectsTestUtil.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A window that paints itself white and the effect's frame while the effect runs.
class FadeWindow : public QWidget {
public:
    FadeWindow() : car(this, TestTickers()) {
        resize(40, 30);
        car.FallbackBackground = [] { return Solid(Qt::black, 40, 30); };
        car.Decoration = [this](bool hide) {
            decorationCalls.push_back(hide);
            decorationHidden = hide;
        };
    }

    TEffCar car;
    std::vector<bool> decorationCalls;
    bool decorationHidden = false;
    std::vector<int> effectLevels;  // level of the frame painted, for every paint while running
    int paintsWithDecoration = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!car.Running()) {
            painter.fillRect(rect(), Qt::white);
            return;
        }
        car.PaintCurrentFrame(painter);
        effectLevels.push_back(LevelOf(car.CurrentFrame()));
        if (!decorationHidden) ++paintsWithDecoration;
    }
};

TEST(EffCar, TicksStepByFiveAndTick52EndsTheEffect) {
    FadeWindow window;
    window.car.StartCrossFade();
    ASSERT_TRUE(window.car.Running());
    EXPECT_EQ(qBlue(window.car.CurrentFrame().pixel(0, 0)), 0);
    EXPECT_EQ(window.decorationCalls, std::vector<bool>{true});

    window.car.FadeTick(1);
    EXPECT_EQ(LevelOf(window.car.CurrentFrame()), 5);
    window.car.FadeTick(2);
    EXPECT_EQ(LevelOf(window.car.CurrentFrame()), 10);
    window.car.FadeTick(51);
    EXPECT_EQ(LevelOf(window.car.CurrentFrame()), 255);
    EXPECT_TRUE(window.car.Running());

    window.car.FadeTick(52);
    EXPECT_FALSE(window.car.Running());
    EXPECT_TRUE(window.car.CurrentFrame().isNull());
    EXPECT_EQ(window.decorationCalls, (std::vector<bool>{true, false}));
    window.car.FadeTick(53);  // a late tick finds nothing to do
    EXPECT_EQ(window.decorationCalls.size(), 2u);
}

TEST(EffCar, RealTimerPaintsEveryLevelWithTheDecorationHidden) {
    FadeWindow window;
    window.show();
    WaitUntil([] { return false; }, 20);
    window.car.StartCrossFade();
    ASSERT_TRUE(WaitUntil([&] { return !window.car.Running(); }, 30000));

    EXPECT_EQ(window.decorationCalls, (std::vector<bool>{true, false}));
    EXPECT_FALSE(window.decorationHidden);
    EXPECT_EQ(window.paintsWithDecoration, 0);

    // Every tick repaints at once; other paints may come in between, showing the same frame.
    std::vector<int> distinct;
    for (int level : window.effectLevels)
        if (distinct.empty() || distinct.back() != level) distinct.push_back(level);
    if (!distinct.empty() && distinct.front() == 1) distinct.erase(distinct.begin());  // level 0
    std::vector<int> expected;
    for (int level = 5; level <= 255; level += 5) expected.push_back(level);
    EXPECT_EQ(distinct, expected);
    ASSERT_GE(window.effectLevels.size(), 52u);
    EXPECT_EQ(window.effectLevels.end()[-2], 255);  // tick 52 shows 255 once more
    EXPECT_EQ(window.effectLevels.back(), 255);
}

TEST(EffCar, WithoutScreenGrabsTheFadeStartsFromTheWindowsBackground) {
    EXPECT_FALSE(TEffCar::CanGrabScreen());  // the tests run offscreen

    FadeWindow window;
    window.car.FallbackBackground = [] { return Solid(QColor(10, 20, 30), 20, 15); };
    window.car.StartCrossFade();
    const QImage frame = window.car.CurrentFrame();
    ASSERT_EQ(frame.size(), QSize(40, 30));  // a background of another size is fitted
    EXPECT_EQ(frame.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(frame.pixel(39, 29), qRgb(10, 20, 30));
    window.car.FadeTick(52);

    // With no background at all, the window fades from its own image.
    window.car.FallbackBackground = nullptr;
    window.car.StartCrossFade();
    EXPECT_EQ(window.car.CurrentFrame().pixel(5, 5), qRgb(255, 255, 255));
    window.car.FadeTick(52);
}

TEST(EffCar, StartingAgainWhileRunningContinuesFromTheFrameOnScreen) {
    FadeWindow window;
    window.car.StartCrossFade();
    window.car.FadeTick(10);
    const QImage shown = window.car.CurrentFrame();
    ASSERT_EQ(LevelOf(shown), 50);

    window.car.StartCrossFade();
    EXPECT_TRUE(window.car.Running());
    EXPECT_EQ(window.car.CurrentFrame(), shown);
    EXPECT_EQ(window.decorationCalls, std::vector<bool>{true});

    window.car.FadeTick(1);
    EXPECT_EQ(qBlue(window.car.CurrentFrame().pixel(0, 0)), 49 + ((5 * (255 - 49)) >> 8));
    window.car.FadeTick(52);
    EXPECT_FALSE(window.car.Running());
    EXPECT_EQ(window.decorationCalls, (std::vector<bool>{true, false}));
}

TEST(EffCar, AnEmptyWindowDoesNotStart) {
    FadeWindow window;
    window.resize(0, 0);
    window.car.StartCrossFade();
    EXPECT_FALSE(window.car.Running());
    EXPECT_TRUE(window.decorationCalls.empty());
}

}  // namespace
