#pragma once
// TEffBtnCar: the cross-fader of one skin button or switch. It fades from one picture to another
// at the element's top-left corner, `step` levels per 1 ms tick of its ticker. While Active()
// the owner's paint handler draws PaintCurrentFrame (or CurrentFrame() at Position()) over the
// element; once a fade ends the owner paints the element's new state picture itself.
//
// A fade started while another runs begins at 255 minus the level already reached, so a reversal
// (pointer in, then quickly out) continues from the look on screen. Window thread only.
#include "effects/FastBMP.h"
#include "effects/Ticker.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

class QPainter;

class TEffBtnCar : public QObject {
    Q_OBJECT
public:
    // step: levels per tick, 4 normally (StepFor gives it from the element's command). The owner
    // (may be null) is repainted over the element's area at each frame.
    TEffBtnCar(QWidget* owner, int step, const TTickerFactory& tickers);
    ~TEffBtnCar() override;

    // 3 for a button whose lower-cased command contains "contextmenu", else 4.
    static int StepFor(std::string_view lowerCommand);

    int Step() const { return step_; }
    int Offset() const { return offset_; }
    bool Active() const { return active_; }
    QPoint Position() const { return at_; }
    QRect Area() const { return QRect(at_, QSize(work_.Width(), work_.Height())); }

    // Fades from `from` to `to` with their top-left corner at `at` (owner coordinates). A `from` of
    // another size is laid over a copy of `to`; a null `to` only stops the fade.
    void Start(const QImage& from, const QImage& to, QPoint at);
    // Ends the fade at once, without a last frame; the owner repaints the element itself.
    void Stop();

    // The tick handler: level = n × step + offset; from 256 on, one last frame at 255 ends the fade.
    void Tick(uint32_t n);

    // The work picture: the frame shown now, or the last one after a fade ended.
    QImage CurrentFrame() const { return work_.ToImage(); }
    void PaintCurrentFrame(QPainter& painter) const;

    // Asked before each frame is shown; false keeps the owner from repainting (while its
    // full-window effect runs, for instance). Unset, painting is always allowed.
    void SetPaintAllowed(std::function<bool()> allowed) { paintAllowed_ = std::move(allowed); }

private:
    QPointer<QWidget> owner_;
    std::unique_ptr<ITicker> timer_;
    int step_;
    int offset_ = 0;
    uint32_t ticks_ = 0;  // ticks of the running fade
    bool active_ = false;
    QPoint at_;
    TFastBMP from_;
    TFastBMP to_;
    TFastBMP work_;
    std::function<bool()> paintAllowed_;
};
