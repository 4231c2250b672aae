#pragma once
// TMidiDevice: a MIDI song (".mid", ".midi", ".rmi") played as the system's sequencer would:
// FluidSynth renders it with the General MIDI sound font and a timer of the window thread feeds
// the PCM to the default audio output. Positions and the length are the song's own times by its
// tempo map; the position is what has been heard, the output's buffer taken off. A file that is
// not a whole MIDI song, or a missing sound font, makes Open refuse it with 296; with no audio
// output Play fails. Ended comes once the song's end has been heard, Failed when the output
// breaks off. Window thread only.
#include <QObject>
#include <QTimer>

#include <memory>

#include "media/MediaDevice.h"
#include "media/MidiSynth.h"

class QAudioSink;
class QIODevice;

class TMidiDevice : public QObject, public IMediaDevice {
public:
    explicit TMidiDevice(std::string soundFont = TMidiSynth::kGeneralMidiSoundFont);
    ~TMidiDevice() override;

    int Open(const std::string& hostPath) override;
    // A song is small and read whole by the open.
    void Prepare(const std::string&, std::function<void()> ready) override { ready(); }
    void Close() override;
    bool Play() override;
    void Pause() override;
    void Seek(int64_t ms) override;
    int64_t Position() const override;
    int64_t Length() const override;
    bool HasVideo() const override { return false; }
    QSize VideoSize() const override { return {}; }
    QImage Frame() const override { return {}; }
    void SetVolume(double volume) override { volume_ = volume; }

    // Whether a file is one for this device: its first bytes are a MIDI file's, or its name is.
    static bool IsMidiName(const std::string& hostPath);
    static bool HasMidiHeader(const std::string& hostPath);

private:
    int64_t HeardFrame() const;
    void Feed();
    void StopOutput();

    TMidiSynth synth_;
    bool open_ = false;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* stream_ = nullptr;
    QTimer feeder_;
    int64_t startFrame_ = 0;  // where the output started in the song
    int64_t written_ = 0;     // frames written to the output since
    double volume_ = 1.0;
};
