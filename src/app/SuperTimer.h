#pragma once
// TSuperTimer: the program's own timer component. A worker thread (TTimerThread) sleeps for the
// interval and hands every tick to the window thread with a blocking call, so OnTimer always runs
// on the window thread, one tick at a time, and a handler slower than the interval delays the next
// tick instead of queueing ticks. Use a timer from the window thread only.
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

// The seven thread priority levels, idle to time-critical.
enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

struct RTimerShared;  // state shared by a timer and its worker, outliving whichever goes first

// The worker of one timer. It is created suspended and frees itself when it ends: the timer only
// asks it to terminate and never waits for it, so a timer can be destroyed while its worker is
// blocked handing a tick to the window thread.
class TTimerThread {
public:
    explicit TTimerThread(std::shared_ptr<RTimerShared> shared);
    void Resume();
    void Suspend();    // takes effect before the next tick
    void Terminate();  // the worker ends once its current sleep or hand-over is over

private:
    static void Execute(std::shared_ptr<RTimerShared> shared);
    static void DeliverTick(const std::shared_ptr<RTimerShared>& shared);

    std::shared_ptr<RTimerShared> shared_;
};

class TSuperTimer : public QObject {
    Q_OBJECT
public:
    using TTimerEvent = std::function<void(TSuperTimer* sender)>;

    explicit TSuperTimer(QObject* parent = nullptr);
    ~TSuperTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    // Milliseconds. The worker's sleep time is the interval at the first enabling; a later change
    // only alters what each tick adds to the elapsed total.
    uint16_t Interval() const;
    void SetInterval(uint16_t value);

    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority value) { priority_ = value; }

    // Kept as a setting; no behaviour is attached to it.
    bool Compensation() const { return compensation_; }
    void SetCompensation(bool value) { compensation_ = value; }

    // Called on the window thread for every tick; exceptions it throws are dropped. The handler
    // may disable, re-time or destroy its own timer.
    TTimerEvent OnTimer;

    uint32_t StartTime() const { return startTime_; }  // ms clock at the last enabling
    uint32_t ElapsedTotal() const;                     // sum of the interval over the ticks
    uint32_t TickCount() const { return tickCount_; }

    // One tick, on the window thread. Nothing while the application is terminating or the timer
    // is disabled (a tick already on its way when the timer was disabled is dropped).
    void DoTimer();

    // A millisecond clock that wraps at 32 bits.
    static uint32_t TimeGetTime();

private:
    void ApplyEnabled();

    std::shared_ptr<RTimerShared> shared_;
    std::unique_ptr<TTimerThread> thread_;
    bool enabled_ = false;
    TThreadPriority priority_ = TThreadPriority::tpHigher;
    bool compensation_ = false;
    uint32_t startTime_ = 0;
    uint32_t tickCount_ = 0;
};
