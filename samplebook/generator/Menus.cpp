// The popup menus' backgrounds and items, and the message dialog's pages, buttons, switches and
// scale bar. Popups stretch their background by its middle row, so it is drawn short.
#include <QLinearGradient>
#include <QPainter>

#include "Art.h"

namespace {

QImage popupBackground(const QSize& size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(kLeather.darker(130));
    QPainter p(&img);
    p.setPen(QPen(kBrass, 2));
    p.drawRect(QRect(1, 1, size.width() - 3, size.height() - 3));
    return img;
}

// The first screen's menu keeps its picture's size: its outline is the octagon drawn here.
QImage octagonBackground(const QSize& size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(kLeather.darker(130));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = size.width(), h = size.height();
    const QPointF corners[] = {{12, 1}, {w - 13.0, 1}, {w - 1.0, 12}, {w - 1.0, h - 13.0},
                               {w - 13.0, h - 1.0}, {12, h - 1.0}, {1, h - 13.0}, {1, 12}};
    p.setPen(QPen(kBrass, 2));
    p.drawPolygon(corners, 8);
    return img;
}

// An item look: 0 normal, 1 under the pointer, 2 pressed; its caption is drawn at run time.
QImage popupItem(const QSize& size, int look) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(kLeather.darker(130));
    if (look == 0) return img;
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, size.height());
    const QColor face = look == 1 ? kBrass.lighter(115) : kBrass.darker(120);
    g.setColorAt(0, face.lighter(110));
    g.setColorAt(1, face.darker(110));
    p.fillRect(img.rect(), g);
    return img;
}

// A dialog page: paper with a brass frame; the find page has an inset for its result list.
QImage dialogPage(const QSize& size, const QString& title, bool resultList) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(kPaper);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kLeather, 3));
    p.drawRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3));
    p.setPen(kLeather);
    p.setFont(font(12, true));
    p.drawText(QRect(10, 6, size.width() - 20, 18), Qt::AlignLeft | Qt::AlignVCenter, title);
    if (resultList) {
        // Without results the page shows only its top 115 rows: they end in a frame of their own.
        p.setPen(QPen(kLeather, 3));
        p.drawLine(QPointF(1.5, 113.5), QPointF(size.width() - 1.5, 113.5));
        p.setPen(QPen(kBrass.darker(130), 1));
        p.drawRect(QRect(10, 126, 378, 113));
    }
    return img;
}

// A printer symbol for the two printer messages.
void printer(QImage& img) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kLeather, 2));
    p.setBrush(kBrass);
    p.drawRoundedRect(QRectF(16, 44, 44, 24), 4, 4);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(24, 34, 28, 12));
    p.drawRect(QRectF(24, 62, 28, 16));
}

QImage scale(const QSize& size, bool full) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(full ? QColor(60, 140, 70) : kPaper.darker(112));
    return img;
}

}  // namespace

bool drawMenus(const QString& skin) {
    bool ok = save(popupBackground({220, 40}), skin + "/popbg.bmp");
    ok &= save(octagonBackground({200, 88}), skin + "/popstart.bmp");
    for (int look = 0; look < 3; ++look) {
        ok &= save(popupItem({208, 24}, look), skin + "/popitem" + QString::number(look + 1) + ".bmp");
        ok &= save(popupItem({188, 24}, look), skin + "/popshort" + QString::number(look + 1) + ".bmp");
    }
    ok &= save(dialogPage({320, 120}, QString::fromUtf8("Сообщение"), false), skin + "/dlgmsg.bmp");
    ok &= save(dialogPage({420, 250}, QString::fromUtf8("Поиск по книге"), true), skin + "/dlgfind.bmp");
    // The printer pages carry their messages; the program shows them without a text.
    const char* printerMessages[] = {"Не найдено установленных принтеров!", "Принтер, установленный по умолчанию, сейчас не доступен!"};
    for (int i = 1; i <= 2; ++i) {
        QImage page = dialogPage({360, 120}, QString::fromUtf8("Печать"), false);
        printer(page);
        QPainter text(&page);
        text.setPen(kLeather);
        text.setFont(font(10, true));
        text.drawText(QRect(76, 40, 270, 60), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, QString::fromUtf8(printerMessages[i - 1]));
        text.end();
        ok &= save(page, skin + "/dlgprn" + QString::number(i) + ".bmp");
    }
    // The page that asks before the book starts a program.
    ok &= save(dialogPage({420, 120}, QString::fromUtf8("Запуск программы"), false), skin + "/dlgask.bmp");
    ok &= buttonSet(skin, "dbyes", {90, 26}, QString::fromUtf8("Да"));
    ok &= buttonSet(skin, "dbno", {90, 26}, QString::fromUtf8("Нет"));
    ok &= buttonSet(skin, "dbok", {90, 26}, "OK");
    ok &= buttonSet(skin, "dbfind", {90, 24}, QString::fromUtf8("Искать"));
    ok &= buttonSet(skin, "dbclose", {90, 24}, QString::fromUtf8("Закрыть"));
    ok &= switchSet(skin, "dswa", {130, 26}, QString::fromUtf8("Раздел"));
    ok &= switchSet(skin, "dswb", {130, 26}, QString::fromUtf8("Вся книга"));
    ok &= switchSet(skin, "dswc", {130, 26}, QString::fromUtf8("Оглавление"));
    ok &= save(scale({334, 8}, false), skin + "/status_up.bmp");
    ok &= save(scale({334, 8}, true), skin + "/status_dn.bmp");
    return ok;
}
