#pragma once
// Waiting in tests: the event loop runs until a condition holds or the time is up.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs the event loop until done() holds or timeoutMs passes; returns done().
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    if (done()) return true;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done() || clock.elapsed() >= timeoutMs) loop.quit();
    });
    poll.start(2);
    loop.exec();
    return done();
}

// Runs the event loop for ms milliseconds.
inline void Pump(int ms) {
    WaitUntil([] { return false; }, ms);
}
