#pragma once
// TMyControl: the transparent hint carrier laid over a skin element. It paints nothing, shows
// the element's hint, and passes its mouse events on to the window below, shifted by its own
// position, so that hit-testing never sees it.
#include <QWidget>
#include <functional>

class TMyControl : public QWidget {
public:
    enum class TMouse { Move, Down, Up };
    using TForward = std::function<void(TMouse, QMouseEvent*, QPoint windowPoint)>;

    TMyControl(QWidget* parent, const QRect& rect, const QString& hint, TForward forward);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent*) override {}

private:
    TForward forward_;
};
