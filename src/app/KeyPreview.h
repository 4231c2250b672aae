#pragma once
// TKeyPreview: the window sees every key pressed in it before the focused child does — a tree,
// a page view, a find box — and a key its handler takes goes no further. Window thread only.
#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

class TKeyPreview : public QObject {
public:
    // handle returns whether it took the key.
    TKeyPreview(QWidget& window, std::function<bool(QKeyEvent*)> handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    std::function<bool(QKeyEvent*)> handle_;
};
