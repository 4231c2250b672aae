#include "app/SuperTimer.h"

#include "app/AppState.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

struct RTimerShared {
    std::mutex lock;
    std::condition_variable wake;
    bool suspended = true;   // guarded by lock
    bool terminated = false; // guarded by lock
    std::atomic<uint16_t> interval{1000};
    std::atomic<uint32_t> elapsed{0};
    TSuperTimer* owner = nullptr;  // window thread only; cleared when the timer goes
};

// ---- TTimerThread ----

TTimerThread::TTimerThread(std::shared_ptr<RTimerShared> shared) : shared_(std::move(shared)) {
    try {
        std::thread(Execute, shared_).detach();
    } catch (const std::system_error&) {
        // No worker: the timer simply never ticks.
    }
}

void TTimerThread::Resume() {
    std::lock_guard guard(shared_->lock);
    shared_->suspended = false;
    shared_->wake.notify_all();
}

void TTimerThread::Suspend() {
    std::lock_guard guard(shared_->lock);
    shared_->suspended = true;
}

void TTimerThread::Terminate() {
    std::lock_guard guard(shared_->lock);
    shared_->terminated = true;
    shared_->wake.notify_all();
}

void TTimerThread::Execute(std::shared_ptr<RTimerShared> shared) {
    RTimerShared& s = *shared;
    {
        std::unique_lock guard(s.lock);
        s.wake.wait(guard, [&] { return s.terminated || !s.suspended; });
        if (s.terminated) return;
    }
    // The priority setting is only recorded: raising a thread's priority on Linux needs
    // privileges (CAP_SYS_NICE or a real-time limit) that a reader program does not have.
    const std::chrono::milliseconds sleepTime(s.interval.load());
    for (;;) {
        {
            std::unique_lock guard(s.lock);
            if (s.wake.wait_for(guard, sleepTime, [&] { return s.terminated; })) return;
            if (s.suspended) {
                s.wake.wait(guard, [&] { return s.terminated || !s.suspended; });
                if (s.terminated) return;
                continue;  // a resumed timer waits a whole interval before its next tick
            }
        }
        s.elapsed += s.interval.load();
        DeliverTick(shared);
    }
}

void TTimerThread::DeliverTick(const std::shared_ptr<RTimerShared>& shared) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || ApplicationTerminating()) return;
    // Blocks until the window thread has run the tick. When the application goes away first,
    // Qt drops the pending call and releases the wait.
    QMetaObject::invokeMethod(
        app,
        [shared] {
            if (TSuperTimer* timer = shared->owner) timer->DoTimer();
        },
        Qt::BlockingQueuedConnection);
}

// ---- TSuperTimer ----

TSuperTimer::TSuperTimer(QObject* parent)
    : QObject(parent), shared_(std::make_shared<RTimerShared>()) {
    shared_->owner = this;
    thread_ = std::make_unique<TTimerThread>(shared_);
}

TSuperTimer::~TSuperTimer() {
    shared_->owner = nullptr;
    thread_->Terminate();
}

void TSuperTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    ApplyEnabled();
}

uint16_t TSuperTimer::Interval() const {
    return shared_->interval.load();
}

void TSuperTimer::SetInterval(uint16_t value) {
    if (value == shared_->interval.load()) return;
    if (enabled_) thread_->Suspend();
    shared_->interval = value;
    ApplyEnabled();
}

uint32_t TSuperTimer::ElapsedTotal() const {
    return shared_->elapsed.load();
}

void TSuperTimer::ApplyEnabled() {
    if (enabled_) {
        shared_->elapsed = 0;
        tickCount_ = 0;
        startTime_ = TimeGetTime();
        thread_->Resume();
    } else {
        thread_->Suspend();
    }
}

void TSuperTimer::DoTimer() {
    if (ApplicationTerminating() || !enabled_) return;
    ++tickCount_;
    if (!OnTimer) return;
    // A copy, because the handler may destroy this timer (and its OnTimer) while it runs;
    // nothing here touches the timer after the call.
    const TTimerEvent handler = OnTimer;
    try {
        handler(this);
    } catch (...) {
        // Tick handlers fail quietly.
    }
}

uint32_t TSuperTimer::TimeGetTime() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
