#include "media/QtMediaDevice.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include <algorithm>

TQtMediaDevice::TQtMediaDevice() : player_(new QMediaPlayer(this)), sink_(new QVideoSink(this)) {
    player_->setVideoSink(sink_);
    connect(sink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        frame_ = frame;
        if (NewFrame) NewFrame();
    });
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia && Ended) Ended();
    });
    // A place asked for before the length was known is taken once it is: past the end, the start.
    connect(player_, &QMediaPlayer::durationChanged, this, [this](qint64 duration) {
        if (pendingSeek_ < 0 || duration <= 0) return;
        const int64_t at = pendingSeek_ < duration ? pendingSeek_ : 0;
        pendingSeek_ = -1;
        player_->setPosition(at);
    });
    connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError && !opening_ && Failed) Failed();
    });
}

TQtMediaDevice::~TQtMediaDevice() = default;

bool TQtMediaDevice::HasAudioOutput() { return !QMediaDevices::audioOutputs().isEmpty(); }

void TQtMediaDevice::SelectBackend() {
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}

int TQtMediaDevice::Open(const std::string& hostPath) {
    Close();
    const QFileInfo info(QString::fromStdString(hostPath));
    if (!info.isFile()) return 275;
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) return 348;
    file.close();
    if (!output_ && HasAudioOutput()) {
        output_ = new QAudioOutput(this);
        output_->setVolume(float(volume_));
        player_->setAudioOutput(output_);
    }
    opening_ = true;  // the player reports a refused file at once; that is the open's answer
    player_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    opening_ = false;
    if (player_->error() != QMediaPlayer::NoError || (!player_->hasAudio() && !player_->hasVideo())) {
        Close();
        return 296;
    }
    return 0;
}

void TQtMediaDevice::Close() {
    readAhead_.Cancel();
    pendingSeek_ = -1;
    opening_ = true;
    player_->stop();
    player_->setSource(QUrl());
    opening_ = false;
    frame_ = QVideoFrame();
}

bool TQtMediaDevice::Play() {
    if (!player_->hasVideo() && !output_) return false;
    player_->play();
    return true;
}

void TQtMediaDevice::Pause() { player_->pause(); }

void TQtMediaDevice::Seek(int64_t ms) {
    if (Length() <= 0) {
        pendingSeek_ = std::max<int64_t>(ms, 0);
        return;
    }
    pendingSeek_ = -1;
    player_->setPosition(std::clamp<int64_t>(ms, 0, Length()));
}

int64_t TQtMediaDevice::Position() const {
    if (pendingSeek_ >= 0) return pendingSeek_;
    return std::clamp<int64_t>(player_->position(), 0, Length());
}

int64_t TQtMediaDevice::Length() const { return std::max<int64_t>(player_->duration(), 0); }

bool TQtMediaDevice::HasVideo() const { return player_->hasVideo(); }

QSize TQtMediaDevice::VideoSize() const {
    const QSize size = player_->metaData().value(QMediaMetaData::Resolution).toSize();
    return size.isValid() ? size : frame_.size();
}

QImage TQtMediaDevice::Frame() const { return frame_.isValid() ? frame_.toImage() : QImage(); }

void TQtMediaDevice::SetVolume(double volume) {
    volume_ = volume;
    if (output_) output_->setVolume(float(volume));
}
