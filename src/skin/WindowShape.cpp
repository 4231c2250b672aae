#include "skin/WindowShape.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The shape in bands of rows rows each, every band the union of the spans of its rows.
QRegion Banded(const QRegion& region, int rows) {
    const QRect box = region.boundingRect();
    std::vector<QRect> out;
    for (int top = box.top(); top <= box.bottom(); top += rows) {
        const QRect band(box.left(), top, box.width(), std::min(rows, box.bottom() - top + 1));
        std::vector<std::pair<int, int>> spans;
        for (const QRect& r : region.intersected(band)) spans.emplace_back(r.left(), r.right());
        std::sort(spans.begin(), spans.end());
        for (size_t i = 0; i < spans.size();) {
            int left = spans[i].first, right = spans[i].second;
            while (++i < spans.size() && spans[i].first <= right + 1) right = std::max(right, spans[i].second);
            out.emplace_back(QPoint(left, band.top()), QPoint(right, band.bottom()));
        }
    }
    QRegion banded;
    banded.setRects(out.data(), int(out.size()));
    return banded;
}

} // namespace

QRegion BoundedRegion(const QRegion& region, int maxRects) {
    if (region.rectCount() <= maxRects) return region;  // QRegion merges equal neighbouring rows itself
    for (int rows = 2; rows < region.boundingRect().height(); rows *= 2) {
        const QRegion banded = Banded(region, rows);
        if (banded.rectCount() <= maxRects) return banded;
    }
    return region.boundingRect();
}

bool ShapeByPainting() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

void PrepareShapedWindow(QWidget& window) {
    if (ShapeByPainting()) window.setAttribute(Qt::WA_TranslucentBackground);
}

// An X server shows the shape itself, exactly; a compositor that only takes an input region gets
// the bounded one and the window paints the outline.
void ApplyWindowShape(QWidget& window, const QRegion& region) {
    if (region.isEmpty()) window.clearMask();
    else window.setMask(ShapeByPainting() ? BoundedRegion(region) : region);
}
