#include "skin/TextMsg.h"

#include <QFontMetrics>
#include <QPainter>

#include "base/Cp1251.h"
#include "platform/QtText.h"
#include "skin/SkinFont.h"

namespace {

QColor colorOf(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

}  // namespace

TTextMsg::TTextMsg(const std::vector<RText>& texts, RTextHost host) : host_(std::move(host)) {
    for (const RText& t : texts) {
        Label label;
        label.font = SkinFont(t.font, t.size, t.style);
        label.color = t.color;
        label.rect = QRect(t.left, t.top, 0, 0);
        label.text = t.value;
        label.screen = t.screen;
        label.number = t.number;
        label.status = Cp1251::asciiLower(t.ident) == "statusline";
        Measure(label);
        labels_.push_back(std::move(label));
    }
}

void TTextMsg::Measure(Label& label) const {
    const QFontMetrics metrics(label.font);
    const QString text = ToQt(label.text);
    label.rect.setSize(QSize(metrics.horizontalAdvance(text), text.isEmpty() ? 0 : metrics.height()));
}

std::string TTextMsg::TextOf(int number) const {
    for (const Label& label : labels_)
        if (label.number == number) return label.text;
    return {};
}

void TTextMsg::PaintTexts(QPainter& painter, bool dialog) {
    const int screen = host_.currentScreen ? host_.currentScreen() : 0;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (Label& label : labels_) {
        if (label.screen != screen || (label.number == kDialogTextNumber) != dialog) continue;
        Measure(label);
        if (label.text.empty()) continue;
        painter.setFont(label.font);
        painter.setPen(colorOf(label.color));
        painter.drawText(label.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ToQt(label.text));
    }
    painter.restore();
}

void TTextMsg::SetText(const std::string& text, int number, bool redraw) {
    for (Label& label : labels_) {
        const bool chosen = number == kAllStatusTexts ? label.status : label.number == number;
        if (!chosen || label.text == text) continue;
        const QRect old = label.rect;
        label.text = text;
        Measure(label);
        if (redraw) Repaint(label, old.united(label.rect));
    }
}

// The background under the old text comes back with the repaint; the new text is drawn over it.
void TTextMsg::Repaint(const Label& label, const QRect& area) {
    const int screen = host_.currentScreen ? host_.currentScreen() : 0;
    if (label.screen != screen || area.isEmpty()) return;
    ++repaints_;
    if (label.number == kDialogTextNumber) {
        if (host_.repaintDialog) host_.repaintDialog(area);
    } else if (host_.repaintWindow) {
        host_.repaintWindow(area);
    }
}
