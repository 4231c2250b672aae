// The secondary windows' pictures: the about window, the thesaurus window, a wiring scheme for the
// standard window, and the buttons that reach them.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Art.h"

namespace {

// The about window: an octagon of leather with a paper field for the texts.
QImage aboutBackground() {
    QImage img(440, 300, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygon outline({{20, 0}, {420, 0}, {440, 20}, {440, 280}, {420, 300}, {20, 300}, {0, 280}, {0, 20}});
    QLinearGradient g(0, 0, 440, 300);
    g.setColorAt(0, kLeather.lighter(130));
    g.setColorAt(1, kLeather.darker(140));
    p.setBrush(g);
    p.setPen(QPen(kBrass, 3));
    p.drawPolygon(outline);
    p.fillRect(QRect(30, 60, 380, 170), kPaper);
    p.setPen(kBrass);
    p.setFont(font(20, true));
    p.drawText(QRect(0, 14, 440, 36), Qt::AlignCenter, QString::fromUtf8("О программе"));
    return img;
}

// The thesaurus window: a slim desk with a heading, a page field and a find box field.
QImage thesaurusBackground() {
    QImage img(560, 460, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 560, 460);
    g.setColorAt(0, kLeather.lighter(130));
    g.setColorAt(1, kLeather.darker(140));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(kBrass, 3));
    p.drawRoundedRect(QRectF(5, 5, 549, 449), 14, 14);
    p.fillRect(QRect(20, 56, 520, 340), kBrass.darker(120));
    p.setPen(kBrass);
    p.setFont(font(20, true));
    p.drawText(QRect(20, 12, 440, 36), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("Тезаурус"));
    return img;
}

// A wiring scheme, wider than the pages: the standard window opens it at 780 x 550.
QImage scheme() {
    QImage img(900, 500, QImage::Format_RGB32);
    img.fill(kPaper);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.setFont(font(14, true));
    const char* const parts[] = {"Аккумулятор", "Генератор", "Стартер", "Замок", "Реле", "Фары"};
    for (int i = 0; i < 6; ++i) {
        const QRect box(40 + (i % 3) * 290, 80 + (i / 3) * 220, 220, 90);
        p.setBrush(QColor(220, 230, 245));
        p.drawRect(box);
        p.drawText(box, Qt::AlignCenter, QString::fromUtf8(parts[i]));
        if (i % 3 < 2) p.drawLine(box.right(), box.center().y(), box.right() + 70, box.center().y());
        if (i < 3) p.drawLine(box.center().x(), box.bottom(), box.center().x(), box.bottom() + 130);
    }
    p.setFont(font(20, true));
    p.drawText(QRect(0, 10, 900, 50), Qt::AlignCenter, QString::fromUtf8("Схема электрооборудования"));
    return img;
}

}  // namespace

bool drawSecondary(const QString& skin, const QString& pages) {
    bool ok = save(aboutBackground(), skin + "/aboutbg.bmp");
    ok &= buttonSet(skin, "aboutok", {120, 34}, QString::fromUtf8("Закрыть"));
    ok &= save(thesaurusBackground(), skin + "/tezbg.bmp");
    ok &= buttonSet(skin, "tezback", {100, 34}, QString::fromUtf8("К началу"));
    ok &= buttonSet(skin, "about", {160, 34}, QString::fromUtf8("О программе"));
    ok &= buttonSet(skin, "stdwin", {74, 30}, QString::fromUtf8("Окно"));
    ok &= save(scheme(), pages + "/run/html/img/scheme.bmp");
    return ok;
}
