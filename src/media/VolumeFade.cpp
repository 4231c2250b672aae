#include "media/VolumeFade.h"

TVolumeFade::TVolumeFade(std::function<void(int level)> apply) : apply_(std::move(apply)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

int TVolumeFade::Step(int level) {
    if (level <= 100) return 3;
    if (level <= 4000) return 7;
    if (level <= 8000) return 15;
    if (level <= 32000) return 25;
    return 50;
}

void TVolumeFade::Start(bool up) {
    timer_.stop();
    up_ = up;
    level_ = up ? 0 : kTop;
    steps_ = 0;
    apply_(level_);
    clock_.start();
    timer_.start();
}

void TVolumeFade::Tick() {
    const qint64 due = clock_.elapsed();
    bool ended = false;
    for (; steps_ < due && !ended; ++steps_) {
        const int step = Step(level_);
        level_ += up_ ? step : -step;
        ended = up_ ? level_ >= kTop : level_ <= 0;
    }
    if (ended) {
        level_ = up_ ? kTop : 0;
        timer_.stop();
    }
    apply_(level_);
    if (ended && Ended) Ended(up_);
}
