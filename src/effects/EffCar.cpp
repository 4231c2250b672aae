#include "effects/EffCar.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace {

constexpr uint32_t kLevelStep = 5;

bool AllBlack(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (qRed(line[x]) | qGreen(line[x]) | qBlue(line[x])) return false;
    }
    return true;
}

}  // namespace

TEffCar::TEffCar(QWidget* owner, const TTickerFactory& tickers)
    : QObject(owner), owner_(owner), timer_(tickers(1, [this](uint32_t n) { FadeTick(n); })) {}

TEffCar::~TEffCar() = default;

bool TEffCar::CanGrabScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") &&
           !platform.startsWith(QLatin1String("wayland"));
}

// Grabs are in device pixels; the buffers work in the window's own pixels.
QImage TEffCar::Fit(QImage picture) const {
    const QSize size = owner_->size();
    if (!picture.isNull() && picture.size() != size)
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(1.0);
    return picture;
}

QImage TEffCar::GrabScreenBeneath() const {
    QScreen* screen = owner_->screen();
    if (!CanGrabScreen() || !screen) return {};
    const QPoint at = owner_->mapToGlobal(QPoint(0, 0)) - screen->geometry().topLeft();
    const QImage grabbed =
        screen->grabWindow(0, at.x(), at.y(), owner_->width(), owner_->height()).toImage();
    if (grabbed.isNull() || AllBlack(grabbed)) return {};
    return Fit(grabbed);
}

void TEffCar::StartCrossFade() {
    if (!owner_ || owner_->width() <= 0 || owner_->height() <= 0) return;
    const bool restart = running_;
    timer_->SetEnabled(false);

    // Restarting continues from the frame on screen, unless the window changed size meanwhile.
    if (!restart || frame_.Width() != owner_->width() || frame_.Height() != owner_->height()) {
        QImage beneath = GrabScreenBeneath();
        if (beneath.isNull() && FallbackBackground) beneath = Fit(FallbackBackground());
        background_.LoadFrom(beneath);
    } else {
        background_.CopyFrom(frame_);
    }

    // The owner paints itself normally while it is rendered.
    running_ = false;
    image_.LoadFrom(Fit(owner_->grab().toImage()));
    if (background_.Width() != image_.Width() || background_.Height() != image_.Height())
        background_.CopyFrom(image_);
    frame_.CopyFrom(background_);
    running_ = true;

    if (!restart && Decoration) Decoration(true);
    timer_->SetEnabled(true);
}

void TEffCar::PaintCurrentFrame(QPainter& painter) const {
    if (running_) frame_.Draw(painter, QPoint(0, 0));
}

void TEffCar::FadeTick(uint32_t n) {
    if (!running_) return;
    const bool last = n > 255 / kLevelStep;
    if (last) timer_->SetEnabled(false);
    frame_.Blend(background_, image_, last ? 255 : static_cast<int>(n * kLevelStep));
    if (owner_) owner_->repaint();
    if (!last) return;

    running_ = false;
    background_.Free();
    image_.Free();
    frame_.Free();
    if (Decoration) Decoration(false);
}
