#pragma once
// TVideoSurface: where a player's video shows, a child of the display control covering the
// display rectangle and painting the newest frame stretched over itself. The pointer goes through
// it to the display control, whose window answers clicks on a video. Window thread only.
#include <QImage>
#include <QWidget>

class TVideoSurface : public QWidget {
public:
    explicit TVideoSurface(QWidget* display);

    void SetFrame(const QImage& frame);
    const QImage& Frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage frame_;
};
