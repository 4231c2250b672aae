#include "media/VideoSurface.h"

#include <QPainter>

TVideoSurface::TVideoSurface(QWidget* display) : QWidget(display) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TVideoSurface::SetFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

// Until the first frame the control beneath shows through.
void TVideoSurface::paintEvent(QPaintEvent*) {
    if (frame_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(rect(), frame_);
}
