#pragma once
// TVolumeFade: the background music's volume ramp. The level runs from 0 up to kTop (a fade-in)
// or from kTop down to 0 (a fade-out), one step each millisecond, the step chosen by the level
// before it: 3 up to 100, 7 up to 4000, 15 up to 8000, 25 up to 32000 and 50 above, about 2.5 s
// for the whole range. The steps due are counted from the time elapsed, so a late tick catches up
// instead of stretching the ramp. A fade-in ends at exactly kTop, a fade-out at 0. A new fade
// stops a running one. Window thread only.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class TVolumeFade : public QObject {
public:
    static constexpr int kTop = 65535;

    // apply sets the output to a level, 0 to kTop.
    explicit TVolumeFade(std::function<void(int level)> apply);

    void Start(bool up);
    void Stop() { timer_.stop(); }
    bool Running() const { return timer_.isActive(); }
    int Level() const { return level_; }
    // Told, from the event loop, when a fade reached its end: true for the top, false for 0.
    std::function<void(bool up)> Ended;

    static int Step(int level);

private:
    void Tick();

    std::function<void(int)> apply_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 steps_ = 0;  // steps taken since the start
    int level_ = 0;
    bool up_ = true;
};
