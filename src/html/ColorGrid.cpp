#include "html/ColorGrid.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kColumns = 4;

QColor ToColor(unsigned bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

}  // namespace

TColorGrid::TColorGrid(std::vector<unsigned> colors, QWidget* parent) : QWidget(parent), colors_(std::move(colors)) {
    setCursor(Qt::PointingHandCursor);
}

QRect TColorGrid::Cell(int index) const {
    const int rows = (int(colors_.size()) + kColumns - 1) / kColumns;
    const int w = width() / kColumns;
    const int h = rows > 0 ? height() / rows : 0;
    return QRect((index % kColumns) * w, (index / kColumns) * h, w, h);
}

void TColorGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (size_t i = 0; i < colors_.size(); ++i) {
        const QRect cell = Cell(int(i)).adjusted(1, 1, -1, -1);
        painter.fillRect(cell, ToColor(colors_[i]));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    for (size_t i = 0; i < colors_.size(); ++i)
        if (Cell(int(i)).contains(event->position().toPoint())) {
            emit ColorPicked(colors_[i]);
            return;
        }
}
