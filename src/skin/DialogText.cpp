#include "skin/DialogText.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QChar kEllipsis(0x2026);

// The words of one paragraph filled into lines no wider than width.
void FillLines(const QFontMetrics& m, const QString& paragraph, int width, QStringList& lines) {
    QString line;
    for (const QString& raw : paragraph.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const QString word = m.horizontalAdvance(raw) > width ? m.elidedText(raw, Qt::ElideMiddle, width) : raw;
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && m.horizontalAdvance(joined) > width) {
            lines << line;
            line = word;
        } else {
            line = joined;
        }
    }
    if (!line.isEmpty()) lines << line;
}

// The last line kept says that more followed: whole words dropped until "…" fits after them.
void MarkCut(const QFontMetrics& m, QString& last, int width) {
    while (m.horizontalAdvance(last + kEllipsis) > width && last.contains(QLatin1Char(' ')))
        last.truncate(last.lastIndexOf(QLatin1Char(' ')));
    if (m.horizontalAdvance(last + kEllipsis) > width) last = m.elidedText(last + QStringLiteral("  "), Qt::ElideRight, width);
    else last += kEllipsis;
}

} // namespace

QStringList WrapDialogText(const QFontMetrics& metrics, const QString& text, int width, int maxLines) {
    QStringList lines;
    for (const QString& paragraph : text.split(QRegularExpression(QStringLiteral("\\r\\n|\\n|\\r"))))
        FillLines(metrics, paragraph, std::max(1, width), lines);
    maxLines = std::max(1, maxLines);
    if (lines.size() > maxLines) {
        lines = lines.mid(0, maxLines);
        MarkCut(metrics, lines.back(), std::max(1, width));
    }
    return lines;
}
