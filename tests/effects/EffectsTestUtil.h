#pragma once
// Helpers shared by the effect tests.
#include <QColor>
#include <QImage>
#include <QTimer>

#include "effects/Ticker.h"
#include "support/Wait.h"

// Ticks from a 1 ms timer of the event loop, counted from each enabling: the program's timer
// component is not below the effects, so their tests drive them this way.
class TTestTicker : public ITicker {
public:
    TTestTicker(uint16_t intervalMs, TTickHandler onTick) : onTick_(std::move(onTick)) {
        timer_.setInterval(intervalMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] { onTick_(++ticks_); });
    }
    void SetEnabled(bool on) override {
        ticks_ = 0;
        on ? timer_.start() : timer_.stop();
    }

private:
    QTimer timer_;
    TTickHandler onTick_;
    uint32_t ticks_ = 0;
};

inline TTickerFactory TestTickers() {
    return [](uint16_t intervalMs, TTickHandler onTick) -> std::unique_ptr<ITicker> {
        return std::make_unique<TTestTicker>(intervalMs, std::move(onTick));
    };
}

inline QImage Solid(QColor colour, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// With black as the start and white as the target, a byte blended at level L (1…255) is L − 1.
inline int LevelOf(const QImage& frame) {
    return qBlue(frame.pixel(0, 0)) + 1;
}

