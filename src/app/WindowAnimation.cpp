#include "app/WindowAnimation.h"

#include <QPainterPath>
#include <QWidget>

#include "app/SuperTimer.h"

namespace {

QRegion roundedRegion(const QRect& r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(r), 10, 10);  // 20 x 20 corners
    return QRegion(path.toFillPolygon().toPolygon());
}

} // namespace

TWindowAnimation::TWindowAnimation(QWidget& window, std::function<void(const QRegion&)> applyRegion)
    : QObject(&window), window_(window), applyRegion_(std::move(applyRegion)), timer_(new TSuperTimer(this)) {
    timer_->OnTimer = [this](TSuperTimer*) { Tick(); };
}

QRegion TWindowAnimation::StartRegion(const QWidget& window) {
    return QRegion(window.width() / 2, window.height() / 2, 1, 1);
}

void TWindowAnimation::Open(std::function<void()> done) {
    done_ = std::move(done);
    insetX_ = window_.width() / 2;
    insetY_ = window_.height() / 2;
    phase_ = TPhase::Opening;
    timer_->SetInterval(1);
    timer_->SetEnabled(true);
}

void TWindowAnimation::Close(std::function<void()> done) {
    done_ = std::move(done);
    insetX_ = insetY_ = 0;
    phase_ = TPhase::Closing;
    timer_->SetInterval(2);
    timer_->SetEnabled(true);
}

void TWindowAnimation::Tick() {
    const int w = window_.width(), h = window_.height();
    const bool more = phase_ == TPhase::Opening ? OpeningStep(w, h) : phase_ == TPhase::Closing && ClosingStep(w, h);
    if (!more && Running()) Finish();
}

bool TWindowAnimation::OpeningStep(int w, int h) {
    if (-w / 2 > insetX_) return false;
    applyRegion_(QRegion(QRect(QPoint(insetX_, insetY_), QPoint(w - insetX_, h - insetY_)), QRegion::Ellipse));
    insetX_ -= 4;
    insetY_ -= 2;
    return true;
}

bool TWindowAnimation::ClosingStep(int w, int h) {
    if (insetY_ <= h / 2 - 10) {
        applyRegion_(roundedRegion(QRect(QPoint(0, insetY_), QPoint(w, h - insetY_))));
        insetY_ += 2;
    } else if (insetX_ <= w / 2 - 10) {
        applyRegion_(roundedRegion(QRect(QPoint(insetX_, insetY_), QPoint(w - insetX_, h - insetY_))));
        insetX_ += 3;
    } else if (insetX_ <= w / 2) {
        applyRegion_(QRegion(QRect(QPoint(insetX_, insetY_), QPoint(w - insetX_, h - insetY_)), QRegion::Ellipse));
        insetX_ += 1;
        insetY_ += 1;
    } else {
        return false;
    }
    return true;
}

void TWindowAnimation::Finish() {
    timer_->SetEnabled(false);
    phase_ = TPhase::None;
    if (done_) std::exchange(done_, {})();
}
