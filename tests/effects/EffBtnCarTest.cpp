// The per-element fader: steps, reversals and the last frame.
#include "effects/EffBtnCar.h"

#include "effects/EffectsTestUtil.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QImage kBlack = Solid(Qt::black, 6, 4);
const QImage kWhite = Solid(Qt::white, 6, 4);

class ElementWindow : public QWidget {
public:
    ElementWindow() { resize(30, 20); }
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        QPainter painter(this);
        painter.fillRect(rect(), Qt::gray);
    }
};

TEST(EffBtnCar, ButtonsStepByFourContextMenuButtonsByThree) {
    QWidget owner;
    TEffBtnCar button(&owner, TEffBtnCar::StepFor("html page.htm"), TestTickers());
    EXPECT_EQ(button.Step(), 4);
    button.Start(kBlack, kWhite, QPoint(3, 4));
    EXPECT_TRUE(button.Active());
    EXPECT_EQ(button.Area(), QRect(3, 4, 6, 4));
    button.Tick(1);
    EXPECT_EQ(LevelOf(button.CurrentFrame()), 4);
    button.Tick(63);
    EXPECT_EQ(LevelOf(button.CurrentFrame()), 252);
    EXPECT_TRUE(button.Active());
    button.Tick(64);  // 256: the last frame is drawn at 255
    EXPECT_EQ(LevelOf(button.CurrentFrame()), 255);
    EXPECT_FALSE(button.Active());

    TEffBtnCar menu(&owner, TEffBtnCar::StepFor("contextmenu 2"), TestTickers());
    EXPECT_EQ(menu.Step(), 3);
    menu.Start(kBlack, kWhite, QPoint());
    menu.Tick(1);
    EXPECT_EQ(LevelOf(menu.CurrentFrame()), 3);
    menu.Tick(85);
    EXPECT_TRUE(menu.Active());
    menu.Tick(86);
    EXPECT_FALSE(menu.Active());
    EXPECT_EQ(LevelOf(menu.CurrentFrame()), 255);
}

TEST(EffBtnCar, AReversalContinuesFromTheLookOnScreen) {
    QWidget owner;
    TEffBtnCar car(&owner, 4, TestTickers());
    car.Start(kBlack, kWhite, QPoint());
    for (uint32_t k = 1; k <= 10; ++k) car.Tick(k);  // level 40

    car.Start(kWhite, kBlack, QPoint());
    EXPECT_EQ(car.Offset(), 255 - 40);
    car.Tick(1);
    // White towards black at level L leaves 255 − L.
    EXPECT_EQ(qBlue(car.CurrentFrame().pixel(0, 0)), 255 - (255 - 40 + 4));
    car.Tick(11);  // 44 + 215 = 259
    EXPECT_FALSE(car.Active());
    EXPECT_EQ(car.Offset(), 0);

    // Once finished, the next fade starts from the beginning; reversing before any tick ends at once.
    car.Start(kBlack, kWhite, QPoint());
    EXPECT_EQ(car.Offset(), 0);
    car.Start(kWhite, kBlack, QPoint());
    EXPECT_EQ(car.Offset(), 255);
    car.Tick(1);
    EXPECT_FALSE(car.Active());
    EXPECT_EQ(qBlue(car.CurrentFrame().pixel(0, 0)), 0);
}

TEST(EffBtnCar, StopAndOddPictures) {
    QWidget owner;
    TEffBtnCar car(&owner, 4, TestTickers());
    car.Start(kBlack, kWhite, QPoint());
    car.Tick(5);
    car.Stop();
    EXPECT_FALSE(car.Active());
    EXPECT_EQ(car.Offset(), 0);
    const QImage stopped = car.CurrentFrame();
    car.Tick(6);  // a tick already on its way changes nothing
    EXPECT_EQ(car.CurrentFrame(), stopped);

    // A smaller start picture covers only its part of the target.
    car.Start(Solid(Qt::black, 2, 2), kWhite, QPoint());
    EXPECT_EQ(car.CurrentFrame().size(), kWhite.size());
    EXPECT_EQ(car.CurrentFrame().pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(car.CurrentFrame().pixel(5, 3), qRgb(255, 255, 255));

    car.Start(kBlack, QImage(), QPoint());  // nothing to fade to
    EXPECT_FALSE(car.Active());
}

TEST(EffBtnCar, RealTimerEndsOnTheBlendAt255AndAsksBeforePainting) {
    QImage from(6, 4, QImage::Format_RGB32);
    QImage to(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            from.setPixel(x, y, qRgb(40 * x, 250 - 60 * y, 7));
            to.setPixel(x, y, qRgb(200 - 30 * x, 60 * y, 255));
        }
    TFastBMP fromBmp, toBmp, expected;
    fromBmp.LoadFrom(from);
    toBmp.LoadFrom(to);
    expected.Blend(fromBmp, toBmp, 255);

    ElementWindow window;
    window.show();
    WaitUntil([] { return false; }, 20);
    TEffBtnCar car(&window, 4, TestTickers());

    // While painting is refused, the fade runs to its end without touching the window.
    bool allowed = false;
    car.SetPaintAllowed([&] { return allowed; });
    window.paints = 0;
    car.Start(from, to, QPoint(10, 5));
    ASSERT_TRUE(WaitUntil([&] { return !car.Active(); }, 30000));
    WaitUntil([] { return false; }, 20);
    EXPECT_EQ(window.paints, 0);
    EXPECT_EQ(car.CurrentFrame(), expected.ToImage());

    allowed = true;
    car.Start(to, from, QPoint(10, 5));
    ASSERT_TRUE(WaitUntil([&] { return !car.Active(); }, 30000));
    EXPECT_TRUE(WaitUntil([&] { return window.paints > 0; }, 10000));
    expected.Blend(toBmp, fromBmp, 255);
    EXPECT_EQ(car.CurrentFrame(), expected.ToImage());
}

}  // namespace
