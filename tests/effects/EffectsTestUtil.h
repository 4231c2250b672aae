#pragma once
// Helpers shared by the effect tests.
#include <QColor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTimer>

#include <functional>

// Runs the event loop until done() holds or timeoutMs passes; returns done().
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done() || clock.elapsed() >= timeoutMs) loop.quit();
    });
    poll.start(2);
    if (!done()) loop.exec();
    return done();
}

inline QImage Solid(QColor colour, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// With black as the start and white as the target, a byte blended at level L (1…255) is L − 1.
inline int LevelOf(const QImage& frame) {
    return qBlue(frame.pixel(0, 0)) + 1;
}
