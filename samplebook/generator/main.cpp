// Draws the sample book's skin and page pictures at build time, so the repository holds no
// binary art: screen backgrounds, three looks of every button, the icon, and page pictures.
// Usage: samplebook_art SKIN_DIR PAGES_DIR DISC_FILES_DIR
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

#include "Art.h"

bool save(const QImage& image, const QString& path) {
    if (image.save(path)) return true;
    std::fprintf(stderr, "samplebook_art: cannot write %s\n", qPrintable(path));
    return false;
}

QFont font(int pixels, bool bold) {
    QFont f("DejaVu Sans");
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The font of at most that size in which the caption fits the width, down to 9 pixels.
QFont fittedFont(int pixels, bool bold, const QString& caption, int width) {
    QFont f = font(pixels, bold);
    while (f.pixelSize() > 9 && QFontMetrics(f).horizontalAdvance(caption) > width) f.setPixelSize(f.pixelSize() - 1);
    return f;
}

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

void leather(QPainter& p, const QRect& r) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, kLeather.lighter(130));
    g.setColorAt(1, kLeather.darker(140));
    p.fillRect(r, g);
    p.setPen(QPen(kBrass, 3));
    p.drawRoundedRect(r.adjusted(6, 6, -7, -7), 18, 18);
}

// Screen 1: the cover with the title; the 3-D clip turns the car in (32, 138)-(688, 394), where
// a wheel shows while it is off.
QImage startScreen() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    leather(p, img.rect());
    p.setPen(kBrass);
    p.setFont(font(28, true));
    p.drawText(QRect(40, 30, 650, 100), Qt::AlignCenter | Qt::TextWordWrap,
               QString::fromUtf8("Руководство по ремонту\nи эксплуатации автомобиля"));
    p.setFont(font(18));
    p.drawText(QRect(40, 410, 650, 40), Qt::AlignCenter, QString::fromUtf8("Пример книги Bookshell"));
    p.setPen(QPen(kBrass, 6));
    p.drawEllipse(QPoint(360, 266), 50, 50);
    p.drawEllipse(QPoint(360, 266), 12, 12);
    for (int a = 0; a < 360; a += 60) {
        p.save();
        p.translate(360, 266);
        p.rotate(a);
        p.drawLine(12, 0, 50, 0);
        p.restore();
    }
    return img;
}

// Screen 4: sound and video: the clip area and its page on the left, the slide show on the right.
QImage mediaScreen() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    leather(p, img.rect());
    p.setPen(kBrass);
    p.setFont(font(22, true));
    p.drawText(QRect(40, 30, 720, 40), Qt::AlignCenter, QString::fromUtf8("Звук и видео"));
    p.fillRect(QRect(36, 86, 328, 398), kBrass.darker(120));
    p.fillRect(QRect(416, 86, 348, 248), kBrass.darker(120));
    p.fillRect(QRect(420, 90, 340, 240), kPaper);
    return img;
}

// Screen 2: the reading desk; the page and the contents trees share the panel at (33, 90),
// 673 x 421, that the window lays over it.
QImage readingScreen() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    leather(p, img.rect());
    p.fillRect(QRect(29, 86, 681, 429), kBrass.darker(120));
    p.fillRect(QRect(33, 90, 673, 421), kPaper);
    p.setPen(kBrass);
    return img;
}

// Screen 3: the information desk with its option switches.
QImage infoScreen() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    leather(p, img.rect());
    p.fillRect(QRect(60, 90, 680, 400), kPaper);
    p.setPen(kLeather);
    p.setFont(font(22, true));
    p.drawText(QRect(60, 100, 680, 40), Qt::AlignCenter, QString::fromUtf8("Сведения о книге"));
    p.setFont(font(15));
    p.drawText(QRect(90, 150, 620, 120), Qt::AlignLeft | Qt::TextWordWrap,
               QString::fromUtf8("Пример книги Bookshell: три экрана, кнопки со звуком, переключатели, "
                                 "которые запоминают своё положение, и страницы в архиве интерфейса."));
    p.drawText(QRect(90, 280, 300, 30), Qt::AlignLeft, QString::fromUtf8("Вид страниц:"));
    p.drawText(QRect(90, 420, 300, 30), Qt::AlignLeft, QString::fromUtf8("Подсказки:"));
    return img;
}

}  // namespace

enum class Look { Up, Hover, Down };

// One look of a rounded button with a caption or a symbol.
QImage button(const QSize& size, const QString& caption, Look look) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(kLeather);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QColor face = look == Look::Up ? kBrass : look == Look::Hover ? kBrass.lighter(125) : kBrass.darker(135);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, face.lighter(115));
    g.setColorAt(1, face.darker(115));
    p.setBrush(g);
    p.setPen(QPen(kLeather.darker(150), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 6, 6);
    p.setPen(kLeather.darker(160));
    p.setFont(fittedFont(size.height() > 30 ? 15 : 14, true, caption, size.width() - 8));
    const QRect text = look == Look::Down ? img.rect().translated(1, 1) : img.rect();
    p.drawText(text, Qt::AlignCenter, caption);
    return img;
}

bool buttonSet(const QString& dir, const QString& stem, const QSize& size, const QString& caption) {
    bool ok = true;
    const Look looks[] = {Look::Up, Look::Hover, Look::Down};
    for (int i = 0; i < 3; ++i) ok &= save(button(size, caption, looks[i]), dir + "/" + stem + QString::number(i + 1) + ".bmp");
    return ok;
}

// The four looks of a switch: off, off under the pointer, on under the pointer, on.
QImage switchLook(const QSize& size, const QString& caption, int look) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(kPaper);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const bool on = look >= 2;
    const bool hover = look == 1 || look == 2;
    QColor lamp = on ? QColor(60, 160, 70) : QColor(150, 150, 150);
    if (hover) lamp = lamp.lighter(130);
    p.setPen(QPen(kLeather, 2));
    p.setBrush(hover ? kBrass.lighter(150) : kPaper.darker(108));
    p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 8, 8);
    p.setBrush(lamp);
    p.drawEllipse(QPointF(18, size.height() / 2.0), 8, 8);
    p.setPen(kLeather.darker(130));
    p.setFont(fittedFont(14, on, caption, size.width() - 38));
    p.drawText(QRect(34, 0, size.width() - 38, size.height()), Qt::AlignVCenter | Qt::AlignLeft, caption);
    return img;
}

bool switchSet(const QString& dir, const QString& stem, const QSize& size, const QString& caption) {
    bool ok = true;
    for (int i = 0; i < 4; ++i) ok &= save(switchLook(size, caption, i), dir + "/" + stem + QString::number(i + 1) + ".bmp");
    return ok;
}

namespace {

// A short click: a decaying 1.2 kHz tone, 16-bit mono PCM at 22050 Hz.
bool clickSound(const QString& path) {
    const int rate = 22050, samples = rate / 20;
    QByteArray pcm;
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        const auto v = static_cast<qint16>(12000 * std::exp(-t * 60) * std::sin(2 * M_PI * 1200 * t));
        pcm.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    }
    auto u32 = [](quint32 v) { return QByteArray{1, char(v & 0xFF)} + char((v >> 8) & 0xFF) + char((v >> 16) & 0xFF) + char(v >> 24); };
    auto u16 = [](quint16 v) { return QByteArray{1, char(v & 0xFF)} + char(v >> 8); };
    QByteArray wav = "RIFF" + u32(36 + pcm.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) + u32(rate * 2) +
                     u16(2) + u16(16) + "data" + u32(pcm.size()) + pcm;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly) && f.write(wav) == wav.size()) return true;
    std::fprintf(stderr, "samplebook_art: cannot write %s\n", qPrintable(path));
    return false;
}

QImage icon() {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(kLeather);
    p.setPen(QPen(kBrass, 2));
    p.drawRoundedRect(QRectF(3, 2, 26, 28), 3, 3);
    p.setPen(QPen(kBrass, 2));
    p.drawEllipse(QPointF(16, 16), 7, 7);
    return img;
}

// A page picture: a labelled diagram.
QImage diagram(const QString& label, const QColor& tint) {
    QImage img(320, 200, QImage::Format_RGB32);
    img.fill(kPaper);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(tint.darker(150), 3));
    p.setBrush(tint.lighter(160));
    p.drawRoundedRect(QRectF(40, 40, 240, 110), 20, 20);
    p.drawEllipse(QPointF(100, 150), 28, 28);
    p.drawEllipse(QPointF(220, 150), 28, 28);
    p.setPen(Qt::black);
    p.setFont(font(16, true));
    p.drawText(QRect(0, 0, 320, 36), Qt::AlignCenter, label);
    return img;
}

} // namespace

// The skin's buttons and switches, each in its looks.
bool drawButtons(const QString& skin) {
    bool ok = true;
    ok &= buttonSet(skin, "read", {160, 40}, QString::fromUtf8("Читать"));
    ok &= buttonSet(skin, "home", {160, 34}, QString::fromUtf8("На главную"));
    ok &= buttonSet(skin, "min", {24, 24}, QString::fromUtf8("–"));
    ok &= buttonSet(skin, "close", {24, 24}, QString::fromUtf8("×"));
    ok &= buttonSet(skin, "info", {160, 34}, QString::fromUtf8("Сведения"));
    ok &= buttonSet(skin, "menu", {100, 34}, QString::fromUtf8("Меню"));
    ok &= buttonSet(skin, "ret", {160, 34}, QString::fromUtf8("Назад"));
    ok &= buttonSet(skin, "prev", {150, 34}, QString::fromUtf8("‹ Раздел"));
    ok &= buttonSet(skin, "next", {150, 34}, QString::fromUtf8("Раздел ›"));
    ok &= buttonSet(skin, "hback", {100, 34}, QString::fromUtf8("← Назад"));
    ok &= buttonSet(skin, "hfwd", {100, 34}, QString::fromUtf8("Вперёд →"));
    ok &= switchSet(skin, "tree", {150, 30}, QString::fromUtf8("Указатель"));
    ok &= switchSet(skin, "tips", {150, 30}, QString::fromUtf8("Показывать"));
    ok &= switchSet(skin, "viewa", {150, 30}, QString::fromUtf8("Обычный"));
    ok &= switchSet(skin, "viewb", {150, 30}, QString::fromUtf8("Крупный"));
    ok &= switchSet(skin, "viewc", {150, 30}, QString::fromUtf8("Для печати"));
    ok &= buttonSet(skin, "hlist", {110, 30}, QString::fromUtf8("◄ История"));
    ok &= buttonSet(skin, "flist", {110, 30}, QString::fromUtf8("История ►"));
    ok &= buttonSet(skin, "favadd", {110, 30}, QString::fromUtf8("+ Закладка"));
    ok &= buttonSet(skin, "favshow", {110, 30}, QString::fromUtf8("Закладки"));
    ok &= buttonSet(skin, "favdel", {110, 30}, QString::fromUtf8("− Закладка"));
    ok &= buttonSet(skin, "search", {100, 30}, QString::fromUtf8("Поиск"));
    ok &= buttonSet(skin, "unpack", {110, 30}, QString::fromUtf8("Распаковать"));
    ok &= buttonSet(skin, "allpg", {74, 30}, QString::fromUtf8("Всюду"));
    ok &= switchSet(skin, "case", {74, 30}, QString::fromUtf8("Аа"));
    ok &= buttonSet(skin, "tez", {74, 30}, QString::fromUtf8("Тезаурус"));
    ok &= switchSet(skin, "car3d", {80, 30}, QString::fromUtf8("3D"));
    ok &= buttonSet(skin, "music", {80, 30}, QString::fromUtf8("Музыка"));
    ok &= buttonSet(skin, "video", {150, 34}, QString::fromUtf8("Звук и видео"));
    const char* const clipButtons[][2] = {{"clipplay", "Клип"}, {"clippause", "Пауза"}, {"clipback", "− 10 с"},
                                          {"clipfwd", "+ 10 с"}, {"clipstop", "Стоп"}};
    for (const auto& [stem, caption] : clipButtons) ok &= buttonSet(skin, stem, {100, 34}, QString::fromUtf8(caption));
    ok &= buttonSet(skin, "picprev", {160, 34}, QString::fromUtf8("◄ Картинка"));
    ok &= buttonSet(skin, "picnext", {160, 34}, QString::fromUtf8("Картинка ►"));
    ok &= buttonSet(skin, "fonts", {74, 30}, QString::fromUtf8("Шрифты"));
    ok &= buttonSet(skin, "opts", {74, 30}, QString::fromUtf8("Настройки"));
    return ok;
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: samplebook_art SKIN_DIR PAGES_DIR DISC_FILES_DIR\n");
        return 2;
    }
    const QString discFiles = QString::fromLocal8Bit(argv[3]);
    QDir().mkpath(discFiles);
    const QString skin = QString::fromLocal8Bit(argv[1]);
    const QString pages = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(skin);
    QDir().mkpath(pages + "/run/html/img");
    bool ok = drawButtons(skin);
    ok &= save(startScreen(), skin + "/back1.bmp") && save(readingScreen(), skin + "/back2.bmp");
    ok &= save(mediaScreen(), skin + "/back4.bmp");
    ok &= save(icon(), skin + "/book.ico");
    ok &= save(infoScreen(), skin + "/back3.bmp");
    ok &= clickSound(discFiles + "/click.wav");
    ok &= save(diagram(QString::fromUtf8("Двигатель"), QColor(70, 110, 160)), pages + "/run/html/img/engine.png");
    ok &= save(diagram(QString::fromUtf8("Тормоза"), QColor(160, 70, 60)), pages + "/run/html/img/brakes.jpg");
    ok &= drawMenus(skin);
    ok &= drawSearchPages(pages);
    ok &= drawSounds(discFiles);
    ok &= drawVideos(skin, discFiles);
    ok &= drawArchives(discFiles);
    ok &= drawSecondary(skin, pages);
    ok &= save(diagram(QString::fromUtf8("Кузов"), QColor(80, 140, 80)), pages + "/run/html/img/body.bmp");
    return ok ? 0 : 1;
}
