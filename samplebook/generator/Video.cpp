// The sample book's videos, written as Motion-JPEG AVI files (with a PCM sound track where they
// have sound), the kind of file an old disc's player reads; and the pictures of the slide show.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "Art.h"

namespace {

QByteArray chunk(const char* id, const QByteArray& data) {
    QByteArray out = QByteArray(id, 4) + u32(quint32(data.size())) + data;
    if (data.size() % 2) out += char(0);
    return out;
}

QByteArray list(const char* type, const QByteArray& data) { return chunk("LIST", QByteArray(type, 4) + data); }

QByteArray jpeg(const QImage& frame) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    frame.save(&buffer, "JPG", 80);
    return bytes;
}

QByteArray streamHeader(const char* type, const char* handler, quint32 scale, quint32 rate, quint32 length,
                        quint32 sampleSize, QSize frame) {
    return QByteArray(type, 4) + QByteArray(handler, 4) + u32(0) + u16(0) + u16(0) + u32(0) + u32(scale) + u32(rate) +
           u32(0) + u32(length) + u32(0) + u32(0xFFFFFFFF) + u32(sampleSize) + u16(0) + u16(0) +
           u16(frame.width()) + u16(frame.height());
}

// An AVI of the frames at fps, with the samples (22050 Hz, 16-bit mono) as its sound, if any.
QByteArray avi(const std::vector<QImage>& frames, int fps, const QByteArray& pcm) {
    const QSize size = frames.front().size();
    const bool sound = !pcm.isEmpty();
    const int perFrame = sound ? int(pcm.size() / int(frames.size())) & ~1 : 0;
    QByteArray movi, index;
    for (size_t i = 0; i < frames.size(); ++i) {
        const QByteArray picture = jpeg(frames[i]);
        index += QByteArray("00dc") + u32(0x10) + u32(quint32(4 + movi.size())) + u32(quint32(picture.size()));
        movi += chunk("00dc", picture);
        if (!sound) continue;
        const QByteArray part = pcm.mid(qsizetype(i) * perFrame, perFrame);
        index += QByteArray("01wb") + u32(0x10) + u32(quint32(4 + movi.size())) + u32(quint32(part.size()));
        movi += chunk("01wb", part);
    }
    const QByteArray avih = u32(quint32(1000000 / fps)) + u32(0) + u32(0) + u32(0x110) + u32(quint32(frames.size())) +
                            u32(0) + u32(sound ? 2 : 1) + u32(0) + u32(quint32(size.width())) +
                            u32(quint32(size.height())) + QByteArray(16, 0);
    const QByteArray bitmap = u32(40) + u32(quint32(size.width())) + u32(quint32(size.height())) + u16(1) + u16(24) +
                              "MJPG" + u32(quint32(size.width() * size.height() * 3)) + QByteArray(16, 0);
    QByteArray header = chunk("avih", avih) +
                        list("strl", chunk("strh", streamHeader("vids", "MJPG", 1, quint32(fps), quint32(frames.size()),
                                                                0, size)) + chunk("strf", bitmap));
    if (sound) {
        const QByteArray format = u16(1) + u16(1) + u32(22050) + u32(44100) + u16(2) + u16(16) + u16(0);
        header += list("strl", chunk("strh", streamHeader("auds", "\0\0\0\0", 2, 44100, quint32(pcm.size() / 2), 2,
                                                          QSize())) + chunk("strf", format));
    }
    const QByteArray body = list("hdrl", header) + list("movi", movi) + chunk("idx1", index);
    return "RIFF" + u32(quint32(4 + body.size())) + "AVI " + body;
}

std::vector<QImage> frames(int count, QSize size, const std::function<void(QPainter&, double)>& draw) {
    std::vector<QImage> out;
    for (int i = 0; i < count; ++i) {
        QImage frame(size, QImage::Format_RGB32);
        QPainter p(&frame);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, double(i) / count);
        out.push_back(frame);
    }
    return out;
}

// A car from the side, its length shrunk as it turns about its vertical axis (turn 0..1).
void car(QPainter& p, QPointF centre, double length, double turn) {
    const double squeeze = std::cos(2 * M_PI * turn);
    const double half = length / 2 * std::max(0.25, std::abs(squeeze));
    p.setPen(QPen(kLeather, 3));
    p.setBrush(squeeze >= 0 ? kBrass : kBrass.darker(130));
    QPainterPath body;
    body.addRoundedRect(QRectF(centre.x() - half, centre.y() - 20, 2 * half, 30), 10, 10);
    body.addRoundedRect(QRectF(centre.x() - half * 0.55, centre.y() - 45, half * 1.1, 30), 12, 12);
    p.drawPath(body.simplified());
    p.setBrush(kLeather);
    for (double side : {-0.6, 0.6}) p.drawEllipse(QPointF(centre.x() + side * half, centre.y() + 12), 14, 14);
}

void backdrop(QPainter& p, const QSize& size, const QColor& top) {
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, top);
    g.setColorAt(1, kLeather.darker(160));
    p.fillRect(QRect(QPoint(0, 0), size), g);
}

bool slides(const QString& disc) {
    const QString names[] = {"1_engine.bmp", "2_brakes.bmp", "3_body.bmp", "4_wheel.jpg", "5_lamp.jpg"};
    const QColor tints[] = {QColor(70, 110, 160), QColor(160, 70, 60), QColor(80, 140, 80), kBrass, kPaper.darker(130)};
    bool ok = QDir().mkpath(disc + "/slides");
    for (int i = 0; i < 5; ++i) {
        QImage picture(300, 200, QImage::Format_RGB32);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        backdrop(p, picture.size(), tints[i]);
        car(p, QPointF(150, 120), 200, i * 0.1);
        p.setPen(kPaper);
        p.setFont(font(16, true));
        p.drawText(QRect(0, 8, 300, 30), Qt::AlignCenter, QString::fromUtf8("Слайд %1 (%2)").arg(i + 1).arg(names[i].right(3)));
        p.end();
        ok &= save(picture, disc + "/slides/" + names[i]);
    }
    return ok;
}

}  // namespace

bool drawVideos(const QString& skin, const QString& disc) {
    const auto turning = frames(36, {328, 128}, [](QPainter& p, double t) {
        backdrop(p, {328, 128}, kLeather);
        car(p, QPointF(164, 80), 220, t);
    });
    bool ok = writeFile(disc + "/car.avi", avi(turning, 12, {}));
    QImage idle = turning.front().scaled(656, 256);
    ok &= save(idle, skin + "/3d_bg.bmp");
    const auto intro = frames(30, {320, 200}, [](QPainter& p, double t) {
        backdrop(p, {320, 200}, kLeather.lighter(140));
        car(p, QPointF(-60 + 440 * t, 130), 160, 0);
        p.setPen(kBrass);
        p.setFont(font(24, true));
        p.drawText(QRect(0, 20, 320, 40), Qt::AlignCenter, "Bookshell");
    });
    std::vector<qint16> sound = chime();
    sound.resize(22050 * 3);  // as long as the pictures: silence after the chime
    ok &= writeFile(disc + "/intro.avi", avi(intro, 10, pcmSamples(sound)));
    const auto engine = frames(40, {240, 160}, [](QPainter& p, double t) {
        backdrop(p, {240, 160}, QColor(70, 110, 160));
        const double lift = 30 * std::sin(2 * M_PI * t * 2);
        p.setPen(QPen(kPaper, 3));
        p.setBrush(kBrass);
        p.drawRect(QRectF(90, 50 + lift, 60, 40));
        p.drawLine(QPointF(120, 90 + lift), QPointF(120 + 25 * std::cos(4 * M_PI * t), 140));
    });
    ok &= writeFile(disc + "/video/engine.avi", avi(engine, 10, {}));
    return ok && slides(disc);
}
