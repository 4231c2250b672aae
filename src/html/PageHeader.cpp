#include "html/PageHeader.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

void PaintPageHeader(QPainter& painter, int page, int pageWidth, bool hasDocument) {
    if (!hasDocument) return;
    QFont font("Arial");
    font.setPointSize(8);
    painter.save();
    painter.setFont(font);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QString text = QString::fromUtf8("Страница ") + QString::number(page);
    const QFontMetrics metrics(font, painter.device());
    // The text's right end and top stand at the anchor, as a right-aligned text drawn there does.
    painter.drawText(QPoint(pageWidth - 50 - metrics.horizontalAdvance(text), 40 + metrics.ascent()), text);
    painter.restore();
}
