#pragma once
// Helpers shared by the effect tests.
#include <QColor>
#include <QImage>

#include "support/Wait.h"

inline QImage Solid(QColor colour, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// With black as the start and white as the target, a byte blended at level L (1…255) is L − 1.
inline int LevelOf(const QImage& frame) {
    return qBlue(frame.pixel(0, 0)) + 1;
}

