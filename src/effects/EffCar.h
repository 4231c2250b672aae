#pragma once
// TEffCar: the car effect, a cross-fade of a whole window from what lay on the screen beneath it to
// the window's own image, in 51 steps of 5 driven by a 1 ms ticker. While Running() the owner's
// paint handler calls PaintCurrentFrame instead of painting itself, and the owner ignores mouse and
// keys. Window thread only.
//
// Starting again while a fade runs restarts it from the frame on screen: that frame becomes the new
// background, the owner is grabbed anew and the 51 steps begin again; the decoration stays hidden.
#include "effects/FastBMP.h"
#include "effects/Ticker.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;

class TEffCar : public QObject {
    Q_OBJECT
public:
    // Builds the ticker; the effect belongs to its owner and is freed with it.
    TEffCar(QWidget* owner, const TTickerFactory& tickers);
    ~TEffCar() override;

    QWidget* Owner() const { return owner_; }
    bool Running() const { return running_; }

    void StartCrossFade();
    void PaintCurrentFrame(QPainter& painter) const;

    // The tick handler: tick n shows level n × 5; tick 52 shows 255 again and ends the effect.
    void FadeTick(uint32_t n);

    // The frame shown now (null when idle); for tests and screenshots.
    QImage CurrentFrame() const { return frame_.ToImage(); }

    // Called with true when a fade starts and with false when it ends: the owner hides and shows
    // whatever moving decoration it has (an animated picture, a panel, find boxes).
    std::function<void(bool hide)> Decoration;

    // The window's own background, used instead of the screen beneath where the window system
    // cannot grab the screen (offscreen, Wayland). Unset, the fade starts from the window's image.
    std::function<QImage()> FallbackBackground;

    // False where screen grabs give nothing useful.
    static bool CanGrabScreen();

private:
    QImage GrabScreenBeneath() const;
    QImage Fit(QImage picture) const;

    QPointer<QWidget> owner_;
    std::unique_ptr<ITicker> timer_;
    TFastBMP background_;
    TFastBMP image_;
    TFastBMP frame_;
    bool running_ = false;
};
