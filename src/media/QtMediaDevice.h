#pragma once
// TQtMediaDevice: a media file played by Qt Multimedia. Video frames arrive in a video sink and
// are kept as pictures for whoever paints them. A sound is heard through the default audio
// output; where there is none (no sound server), a file with video plays silently and a file
// with sound alone cannot play. Window thread only.
#include <QObject>
#include <QVideoFrame>

#include <memory>

#include "media/MediaDevice.h"
#include "media/ReadAhead.h"

class QAudioOutput;
class QMediaPlayer;
class QVideoSink;

class TQtMediaDevice : public QObject, public IMediaDevice {
public:
    TQtMediaDevice();
    ~TQtMediaDevice() override;

    int Open(const std::string& hostPath) override;
    void Prepare(const std::string& hostPath, std::function<void()> ready) override {
        readAhead_.Start(hostPath, std::move(ready));
    }
    void Close() override;
    bool Play() override;
    void Pause() override;
    void Seek(int64_t ms) override;
    int64_t Position() const override;
    int64_t Length() const override;
    bool HasVideo() const override;
    QSize VideoSize() const override;
    QImage Frame() const override;
    void SetVolume(double volume) override;

    // Whether the system has an audio output to play sounds through.
    static bool HasAudioOutput();
    // Chooses the ffmpeg backend of Qt Multimedia, which decodes the old formats of the discs,
    // unless the user chose one. Call before the application object exists.
    static void SelectBackend();

private:
    QMediaPlayer* player_;
    QVideoSink* sink_;
    QAudioOutput* output_ = nullptr;  // none without an audio output: attaching one then crashes
    QVideoFrame frame_;               // turned into a picture only when asked for
    double volume_ = 1.0;
    bool opening_ = false;
    int64_t pendingSeek_ = -1;  // a place asked for while the length was not known yet
    TReadAhead readAhead_;
};
