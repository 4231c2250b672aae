#include "skin/MyControl.h"

#include <QMouseEvent>

#include "platform/ReaderAct.h"
#include "skin/WindowShape.h"

TMyControl::TMyControl(QWidget* parent, const QRect& rect, const QString& hint, TForward forward)
    : QWidget(parent), forward_(std::move(forward)) {
    setGeometry(rect);
    setToolTip(hint);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    show();
}

void TMyControl::mouseMoveEvent(QMouseEvent* event) { forward_(TMouse::Move, event, SkinPixel(event->position()) + pos()); }
void TMyControl::mousePressEvent(QMouseEvent* event) {
    const TReaderAct click;
    forward_(TMouse::Down, event, SkinPixel(event->position()) + pos());
}
void TMyControl::mouseReleaseEvent(QMouseEvent* event) {
    const TReaderAct click;
    forward_(TMouse::Up, event, SkinPixel(event->position()) + pos());
}
