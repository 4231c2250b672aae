#include "effects/EffBtnCar.h"

#include <QPainter>

#include <algorithm>

TEffBtnCar::TEffBtnCar(QWidget* owner, int step, const TTickerFactory& tickers)
    : QObject(owner), owner_(owner), timer_(tickers(1, [this](uint32_t n) { Tick(n); })), step_(std::max(step, 1)) {}

TEffBtnCar::~TEffBtnCar() = default;

int TEffBtnCar::StepFor(std::string_view lowerCommand) {
    return lowerCommand.find("contextmenu") != std::string_view::npos ? 3 : 4;
}

void TEffBtnCar::Start(const QImage& from, const QImage& to, QPoint at) {
    // Continue from the level reached so far, mirrored for the new direction.
    const int reached =
        active_ ? static_cast<int>(std::min<uint32_t>(ticks_, 256)) * step_ + offset_ : 255;
    timer_->SetEnabled(false);
    if (to.isNull()) {
        Stop();
        if (owner_) owner_->update(Area());
        return;
    }
    offset_ = std::clamp(255 - reached, 0, 255);
    ticks_ = 0;
    at_ = at;

    to_.LoadFrom(to);
    if (from.size() == to.size()) {
        from_.LoadFrom(from);
    } else {
        QImage start = to.convertToFormat(QImage::Format_RGB32);
        QPainter(&start).drawImage(0, 0, from);
        from_.LoadFrom(start);
    }
    work_.CopyFrom(from_);
    active_ = true;
    timer_->SetEnabled(true);
}

void TEffBtnCar::Stop() {
    timer_->SetEnabled(false);
    offset_ = 0;
    ticks_ = 0;
    active_ = false;
    from_.Free();
    to_.Free();
}

void TEffBtnCar::Tick(uint32_t n) {
    if (!active_) return;
    ticks_ = n;
    const int64_t level = static_cast<int64_t>(n) * step_ + offset_;
    work_.Blend(from_, to_, static_cast<int>(std::min<int64_t>(level, 255)));
    if (level >= 256) Stop();
    if (owner_ && (!paintAllowed_ || paintAllowed_())) owner_->update(Area());
}

void TEffBtnCar::PaintCurrentFrame(QPainter& painter) const {
    if (active_) work_.Draw(painter, at_);
}
