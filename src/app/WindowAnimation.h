#pragma once
// TWindowAnimation: the main window's opening and closing. Opening grows the window's region as
// an ellipse from its centre until it reaches past every corner; closing shrinks it as a rounded
// rectangle, first from top and bottom, then from the sides, and last as an ellipse to nothing.
// One step per tick of its timer component; done runs once the last step is shown. Window
// thread only.
#include <QObject>
#include <QRegion>

#include <functional>

class QWidget;
class TSuperTimer;

class TWindowAnimation : public QObject {
public:
    // applyRegion gives the window each region in turn.
    TWindowAnimation(QWidget& window, std::function<void(const QRegion&)> applyRegion);

    bool Running() const { return phase_ != TPhase::None; }
    // Starts from a one-pixel region at the centre.
    void Open(std::function<void()> done);
    void Close(std::function<void()> done);

    // The region a window starts its opening with.
    static QRegion StartRegion(const QWidget& window);

private:
    enum class TPhase { None, Opening, Closing };
    void Tick();
    bool OpeningStep(int w, int h);
    bool ClosingStep(int w, int h);
    void Finish();

    QWidget& window_;
    std::function<void(const QRegion&)> applyRegion_;
    TSuperTimer* timer_;
    TPhase phase_ = TPhase::None;
    int insetX_ = 0;
    int insetY_ = 0;
    std::function<void()> done_;
};
