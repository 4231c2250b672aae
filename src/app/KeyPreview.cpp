#include "app/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/ReaderAct.h"

TKeyPreview::TKeyPreview(QWidget& window, std::function<bool(QKeyEvent*)> handle)
    : QObject(&window), window_(window), handle_(std::move(handle)) {
    qApp->installEventFilter(this);
}

// A key a child passes on reaches its parents as well; each sees it here, and the handler acts
// only on keys its table knows, which it takes at the first sight.
bool TKeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != &window_) return false;
    const TReaderAct key;
    return handle_(static_cast<QKeyEvent*>(event));
}
