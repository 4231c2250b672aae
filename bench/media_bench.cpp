// Sound as the user hears it, measured on what reaches the sound server: the default sink's
// monitor is recorded with parec while the program plays, and each recorded sample is given the
// time it reached the recording (its arrival less what followed it in the same read).
// - click to sound: a button sound started as a click starts it, to its first loud sample in the
//   recording, median of 20 clicks, for the sample book's PCM click and its IMA ADPCM click;
// - the background music's fade: a steady tone as the only song, from its first audible sample to
//   full level when the music starts, and from full level to silence when it stops with a fade.
// The figures include the recording's own delay (parec asks for 5 ms).
// Run: build/bench/media_bench, with a PulseAudio server running (any sink; a null sink will do).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "BenchApplication.h"
#include "base/GlobalPaths.h"
#include "media/BackgroundMusic.h"
#include "media/ButtonSound.h"
#include "media/QtMediaDevice.h"
#include "platform/hostpaths/Drives.h"
#include "support/Wait.h"

namespace {

constexpr int kRate = 44100;

// The monitor of the default sink, recorded as it plays.
class TRecording {
public:
    TRecording() {
        QObject::connect(&parec_, &QProcess::readyReadStandardOutput, [this] { Read(); });
        parec_.start("parec", {"--raw", "--format=s16le", "--rate=44100", "--channels=1", "--latency-msec=5",
                               "-d", "@DEFAULT_MONITOR@"});
        clock_.start();
    }
    ~TRecording() {
        parec_.kill();
        parec_.waitForFinished();
    }
    bool Running() { return parec_.waitForStarted(3000); }
    double Now() const { return double(clock_.nsecsElapsed()) / 1e6; }
    // The time of the first sample after from whose magnitude passes threshold; -1 when none.
    double FirstLoud(double from, int threshold) const {
        for (size_t i = 0; i < samples_.size(); ++i)
            if (times_[i] >= from && std::abs(samples_[i]) > threshold) return times_[i];
        return -1;
    }
    // Root mean square levels of 10 ms windows from a time on, with the time of each window.
    std::vector<std::pair<double, double>> Levels(double from) const {
        std::vector<std::pair<double, double>> out;
        const size_t window = kRate / 100;
        for (size_t i = 0; i + window <= samples_.size(); i += window) {
            if (times_[i] < from) continue;
            double sum = 0;
            for (size_t k = i; k < i + window; ++k) sum += double(samples_[k]) * samples_[k];
            out.emplace_back(times_[i], std::sqrt(sum / double(window)));
        }
        return out;
    }

private:
    void Read() {
        const double arrived = Now();
        const QByteArray bytes = parec_.readAllStandardOutput();
        pending_ += bytes;
        const qsizetype count = pending_.size() / 2;
        for (qsizetype i = 0; i < count; ++i) {
            samples_.push_back(qint16(uchar(pending_[2 * i]) | (uchar(pending_[2 * i + 1]) << 8)));
            times_.push_back(arrived - double(count - 1 - i) * 1000.0 / kRate);
        }
        pending_.remove(0, count * 2);
    }

    QProcess parec_;
    QElapsedTimer clock_;
    QByteArray pending_;
    std::vector<qint16> samples_;
    std::vector<double> times_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

std::vector<double> ClickDelays(TRecording& recording, const std::string& file) {
    std::vector<double> delays;
    PreloadButtonSound(file);
    Pump(1500);  // the recording gets going
    for (int i = 0; i < 20; ++i) {
        WaitUntil([] { return !ButtonSoundPlaying(); }, 3000);
        Pump(300);
        const double click = recording.Now();
        PlayButtonSound(file);
        Pump(600);
        const double heard = recording.FirstLoud(click, 1500);
        if (heard >= 0) delays.push_back(heard - click);
    }
    return delays;
}

// A steady tone of the given seconds as a 16-bit mono WAV file.
bool WriteTone(const QString& path, int seconds) {
    QByteArray pcm;
    for (int i = 0; i < 22050 * seconds; ++i) {
        const auto v = qint16(12000 * std::sin(2 * M_PI * 440 * i / 22050.0));
        pcm.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    }
    auto u32 = [](quint32 v) { return QByteArray{1, char(v & 0xFF)} + char((v >> 8) & 0xFF) + char((v >> 16) & 0xFF) + char(v >> 24); };
    auto u16 = [](quint16 v) { return QByteArray{1, char(v & 0xFF)} + char(v >> 8); };
    const QByteArray wav = "RIFF" + u32(quint32(36 + pcm.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
                           u32(22050) + u32(44100) + u16(2) + u16(16) + "data" + u32(quint32(pcm.size())) + pcm;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size();
}

// From the first window above 2 % of the full level to the first at 98 % (rising), or from the
// last window at 98 % to the first below 2 % (falling).
double RampMs(const std::vector<std::pair<double, double>>& levels, double full, bool rising) {
    double start = -1;
    for (const auto& [time, level] : levels) {
        if (start < 0 && (rising ? level > 0.02 * full : level < 0.98 * full)) start = time;
        if (start >= 0 && (rising ? level >= 0.98 * full : level < 0.02 * full)) return time - start;
    }
    return -1;
}

void MeasureFades(TRecording& recording) {
    QTemporaryDir dir;
    if (!WriteTone(dir.filePath("tone.wav"), 8)) return;
    HostPathsService().SetDrive('t', dir.path().toStdString());
    SetProgramDir("t:\\");
    StartState().appTitle = "media bench";
    TBackgroundMusic music(nullptr, {"tone.wav"}, true);
    const double started = recording.Now();
    music.Start();
    Pump(4500);
    const auto rise = recording.Levels(started);
    const double full = rise.empty() ? 0 : rise.back().second;
    const double stopping = recording.Now();
    music.Stop(true);
    Pump(500);
    const double up = RampMs(rise, full, true), down = RampMs(recording.Levels(stopping), full, false);
    std::printf("  fade-in, first audible to full level: %.0f ms\n", up);
    std::printf("  fade-out, full level to silence: %.0f ms\n", down);
}

}  // namespace

int main(int argc, char** argv) {
    TBenchApplication app(argc, argv);
    if (!TQtMediaDevice::HasAudioOutput()) {
        std::printf("media_bench: no audio output (start a PulseAudio server)\n");
        return 1;
    }
    TRecording recording;
    if (!recording.Running()) {
        std::printf("media_bench: parec does not run (install pulseaudio-utils)\n");
        return 1;
    }
    HostPathsService().SetDrive('d', SAMPLE_RUN);
    std::printf("\nmedia_bench (what reached the default sink, recorded by parec)\n");
    for (const char* file : {"d:\\click.wav", "d:\\click2.wav"}) {
        const std::vector<double> delays = ClickDelays(recording, file);
        const auto [low, high] = std::minmax_element(delays.begin(), delays.end());
        std::printf("  click to sound, %s: median %.1f ms (min %.1f, max %.1f; %zu of 20 heard)\n", file, Median(delays),
                    delays.empty() ? -1 : *low, delays.empty() ? -1 : *high, delays.size());
    }
    MeasureFades(recording);
    return 0;
}
