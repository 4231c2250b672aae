#pragma once
// A window's shape as the window system takes it. A polygon or an ellipse as a region is one
// rectangle per scan line, which a Wayland compositor receives as that many requests and an X
// server as that many rectangles: the shape handed over is bounded instead. Rows are merged where
// they are equal; a shape of more rectangles is approximated by whole bands of rows, each as wide
// as the rows in it (a pixel or two more than the outline at a slanted edge). Where the
// compositor cannot shape windows, the window is translucent and paints inside its outline only.
#include <QPointF>
#include <QRegion>
#include <QtMath>

class QWidget;

// The skin pixel a pointer position lies in. At a fractional scale a position falls between
// whole pixels; rounding would put the pointer on the next element at an edge.
inline QPoint SkinPixel(QPointF position) { return QPoint(qFloor(position.x()), qFloor(position.y())); }

constexpr int kMaxShapeRects = 256;

QRegion BoundedRegion(const QRegion& region, int maxRects = kMaxShapeRects);

// Whether windows of this session are shaped by painting inside their outline on a translucent
// window (Wayland) rather than by the window system.
bool ShapeByPainting();

// Makes a top-level window ready for its shape before it is first shown.
void PrepareShapedWindow(QWidget& window);
// Gives the window its shape: on X11 the region itself, which the server shows exactly; on
// Wayland the bounded region as the input region, the window painting inside the outline.
void ApplyWindowShape(QWidget& window, const QRegion& region);
