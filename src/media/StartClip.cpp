#include "media/StartClip.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

TStartClip::TStartClip(const std::string& file, bool fullScreen, RStartClipHost host, std::unique_ptr<IMediaDevice> device)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), host_(std::move(host)),
      fullScreen_(fullScreen), player_(new TMPlayer(this, std::move(device))) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    player_->FileName = file;
    start_.setSingleShot(true);
    startWatch_.setInterval(500);
    endWatch_.setInterval(100);
    connect(&start_, &QTimer::timeout, this, [this] { StartPlayback(); });
    connect(&startWatch_, &QTimer::timeout, this, [this] { WaitForStart(); });
    connect(&endWatch_, &QTimer::timeout, this, [this] { WaitForEnd(); });
    start_.start(10);
}

// Every step after a Finish returns at once: the window is closing.
void TStartClip::StartPlayback() {
    player_->SetDisplay(this);
    player_->OpenClipThen(host_.installMpegDriver, [this](int error) {
        if (error || finished_) return Finish();
        Place();
        try {
            player_->Play();
        } catch (const EMCIDeviceError&) {
            return Finish();
        }
        startWatch_.start();
    });
}

// The video at its own size, in the middle of the screen: on black over the whole screen, or
// inside a bevel in a window just larger than it.
void TStartClip::Place() {
    const QRect video = player_->GetDisplayRect();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const int w = video.width(), h = video.height();
    const QPoint middle(area.width() / 2 - w / 2, area.height() / 2 - h / 2);
    if (fullScreen_) {
        player_->SetDisplayRect(QRect(middle, QSize(w, h)));
        setGeometry(area);
    } else {
        player_->SetDisplayRect(QRect(kBevel, kBevel, w, h));
        setGeometry(QRect(area.topLeft() + middle - QPoint(kBevel, kBevel), QSize(w + 2 * kBevel, h + 2 * kBevel)));
    }
}

void TStartClip::WaitForStart() {
    if (player_->Mode() == 2) {
        startWatch_.stop();
        endWatch_.start();
        show();
        raise();
        activateWindow();
    } else if (retries_ == kRetries) {
        startWatch_.stop();
        endWatch_.start();
    } else {
        ++retries_;
        try {
            player_->SetNotify(false);
            player_->Play();
        } catch (const EMCIDeviceError&) {
        }
    }
}

void TStartClip::WaitForEnd() {
    if (player_->Mode() == 2) return;
    endWatch_.stop();
    player_->Close();
    Finish();
}

void TStartClip::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return QWidget::keyPressEvent(event);
    startWatch_.stop();
    endWatch_.stop();
    player_->Close();
    Finish();
}

// Once only, whichever way the clip ends first.
void TStartClip::Finish() {
    if (finished_) return;
    finished_ = true;
    start_.stop();
    startWatch_.stop();
    endWatch_.stop();
    hide();
    if (host_.finished) host_.finished();
}

// A black background on the whole screen; navy and a tiled raised bevel around a framed clip.
void TStartClip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (fullScreen_) return painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect(), QColor(0, 0, 128));
    const QColor light(0xE0, 0xE0, 0xE0), dark(0x40, 0x40, 0x40), face(0xC0, 0xC0, 0xC0);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), face);
    painter.setPen(light);
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(dark);
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}
