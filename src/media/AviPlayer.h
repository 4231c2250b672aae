#pragma once
// TMyAviPlayer: the 3-D clip of the first screen, a video turning in a fixed rectangle of the main
// window. "3d" switches it on: it plays and loops, the idle picture ("3d_bg.bmp") painted into
// the screen image under it. A click on it freezes it on its frame, a second click plays it on;
// the reading screen and "2d" freeze it too ("2d" also puts back the screen image it covered).
// A frozen frame is painted into the screen image, so the screen shows it without the video.
// A clip that cannot be opened does nothing; a closed player counts as still. Window thread only.
#include <QImage>
#include <QObject>
#include <QRect>

#include <functional>
#include <memory>
#include <string>

#include "media/MPlayer.h"

class QPainter;
class QWidget;

struct RAviHost {
    std::function<QImage()> screenImage;                         // the window's screen image
    std::function<void(QPoint, const QImage&)> drawIntoScreen;  // paints into it
    std::function<QImage(const std::string&)> loadPicture;      // a picture of the bundle
};

class TMyAviPlayer : public QObject {
public:
    static const QRect kRect;  // (32, 138) to (688, 394)

    TMyAviPlayer(QWidget* window, RAviHost host, std::unique_ptr<IMediaDevice> device = nullptr);

    // The clip in the rectangle of the window; the window's image there is kept.
    void OpenClip(const QRect& rect, const std::string& name);
    bool IsStill() const;
    bool HitTest(QPoint point) const { return rect_.contains(point); }
    // True when the click was the clip's: it froze or played on.
    bool ClickAt(QPoint point);
    void SetActive(bool on);
    void Freeze();
    // Paints the frozen frame at the rectangle, while the clip is on and not playing.
    void PaintStill();
    void ResumeAfterSwitch();
    // The video shows only on its own screen.
    void ShowVideo(bool shown);

    bool Active() const { return active_; }
    bool Opened() const { return player_ && player_->Opened(); }
    TMPlayer* Player() const { return player_.get(); }
    const QImage& FrozenFrame() const { return frozen_; }

private:
    void ClipNotify();
    void Paint(const QImage& picture);

    QWidget* window_;
    RAviHost host_;
    std::unique_ptr<IMediaDevice> device_;  // for the player, made on the first open
    std::unique_ptr<TMPlayer> player_;
    QRect rect_;
    QImage background_, idle_, frozen_;
    bool active_ = false;
    bool still_ = true;
    bool wantActive_ = false;
};
