// The timer component with real worker threads and a real event loop.
#include "app/AppState.h"
#include "app/SuperTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/Wait.h"

#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

void BlockWindowThread(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TEST(SuperTimer, TicksRunOnTheWindowThreadAndAddTheInterval) {
    TSuperTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_EQ(timer.Priority(), TThreadPriority::tpHigher);

    int ticks = 0;
    int offThread = 0;
    int badTotals = 0;
    timer.OnTimer = [&](TSuperTimer* sender) {
        ++ticks;
        if (QThread::currentThread() != qApp->thread()) ++offThread;
        if (sender->ElapsedTotal() != sender->TickCount() * 2u) ++badTotals;
    };
    timer.SetInterval(2);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 20; }, 10000));
    timer.SetEnabled(false);
    EXPECT_EQ(offThread, 0);
    EXPECT_EQ(badTotals, 0);
}

TEST(SuperTimer, SlowHandlerDelaysTicksInsteadOfQueueingThem) {
    TSuperTimer timer;
    timer.SetInterval(20);
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> starts, ends;
    timer.OnTimer = [&](TSuperTimer*) {
        starts.push_back(clock.elapsed());
        if (starts.size() <= 5) BlockWindowThread(100);
        ends.push_back(clock.elapsed());
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return starts.size() >= 6; }, 10000));
    Pump(200);
    timer.SetEnabled(false);

    // The worker sleeps a whole interval after each handler has finished...
    for (size_t i = 1; i < 6; ++i) EXPECT_GE(starts[i] - ends[i - 1], 15) << "tick " << i;
    // ...so ticks are not queued during slow handlers and do not arrive in a burst afterwards.
    const qint64 slowEnd = ends[4];
    int burst = 0;
    for (qint64 t : starts)
        if (t >= slowEnd && t <= slowEnd + 150) ++burst;
    EXPECT_LE(burst, 9);
}

TEST(SuperTimer, DisablingStopsTicksAndReenablingResetsCounters) {
    TSuperTimer timer;
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](TSuperTimer* sender) {
        if (++ticks == 3) sender->SetEnabled(false);
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }, 10000));
    Pump(100);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(timer.TickCount(), 3u);
    EXPECT_EQ(timer.ElapsedTotal(), 30u);

    timer.SetEnabled(true);
    EXPECT_EQ(timer.TickCount(), 0u);
    EXPECT_EQ(timer.ElapsedTotal(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 5; }, 10000));
    timer.SetEnabled(false);
}

TEST(SuperTimer, DisablingDropsATickAlreadyOnItsWay) {
    TSuperTimer timer;
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TSuperTimer*) { ++ticks; };
    timer.SetEnabled(true);
    BlockWindowThread(50);  // the worker has slept and now waits to hand over a tick
    timer.SetEnabled(false);
    Pump(100);
    EXPECT_EQ(ticks, 0);
}

TEST(SuperTimer, IntervalChangeKeepsTheRunningSleepTime) {
    TSuperTimer timer;
    timer.SetInterval(100);
    int ticks = 0;
    int badTotals = 0;
    timer.OnTimer = [&](TSuperTimer* sender) {
        if (++ticks == 1) {
            sender->SetInterval(1);
            EXPECT_EQ(sender->TickCount(), 0u);
            EXPECT_EQ(sender->ElapsedTotal(), 0u);
            EXPECT_TRUE(sender->Enabled());
            return;
        }
        if (sender->ElapsedTotal() != sender->TickCount()) ++badTotals;
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 1; }, 10000));
    Pump(600);
    timer.SetEnabled(false);
    // Still about one tick per 100 ms; a worker that took up the 1 ms interval would have ticked
    // hundreds of times.
    EXPECT_GE(ticks, 2);
    EXPECT_LE(ticks, 9);
    EXPECT_EQ(badTotals, 0);
}

TEST(SuperTimer, NoHandlerRunsWhileTheApplicationTerminates) {
    TSuperTimer timer;
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TSuperTimer*) { ++ticks; };
    SetApplicationTerminating(true);
    timer.SetEnabled(true);
    Pump(100);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(timer.TickCount(), 0u);
    SetApplicationTerminating(false);
    EXPECT_TRUE(WaitUntil([&] { return ticks > 0; }, 10000));
    timer.SetEnabled(false);
}

TEST(SuperTimer, DestroyingAnEnabledTimerNeverHangsOrCrashes) {
    // From inside its own handler.
    int ticks = 0;
    auto* own = new TSuperTimer;
    own->SetInterval(1);
    own->OnTimer = [&ticks](TSuperTimer* sender) {
        if (++ticks == 3) delete sender;
    };
    own->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }, 10000));
    Pump(50);
    EXPECT_EQ(ticks, 3);

    // Right after enabling.
    for (int i = 0; i < 20; ++i) {
        auto* quick = new TSuperTimer;
        quick->SetInterval(1);
        quick->OnTimer = [&ticks](TSuperTimer*) { ++ticks; };
        quick->SetEnabled(true);
        delete quick;
    }

    // While its worker is blocked handing a tick to this thread.
    auto* blocked = new TSuperTimer;
    blocked->SetInterval(1);
    blocked->OnTimer = [&ticks](TSuperTimer*) { ++ticks; };
    blocked->SetEnabled(true);
    BlockWindowThread(50);
    delete blocked;

    Pump(100);
    EXPECT_EQ(ticks, 3);
}

TEST(SuperTimer, ExceptionsFromTheHandlerAreDropped) {
    TSuperTimer timer;
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TSuperTimer*) {
        ++ticks;
        if (ticks % 2) throw std::runtime_error("handler failed");
        throw 42;
    };
    timer.SetEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 4; }, 10000));
    timer.SetEnabled(false);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
