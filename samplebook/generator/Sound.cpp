// The sample book's sounds, written as an old disc holds them: 16-bit PCM and IMA ADPCM WAV
// files of tones and short tunes and a MIDI song, made here so the repository holds no recordings.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "Art.h"

QByteArray u16(int v) { return QByteArray{1, char(v & 0xFF)} + char((v >> 8) & 0xFF); }
QByteArray u32(quint32 v) { return u16(int(v & 0xFFFF)) + u16(int(v >> 16)); }

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) return true;
    std::fprintf(stderr, "samplebook_art: cannot write %s\n", qPrintable(path));
    return false;
}

namespace {

constexpr int kRate = 22050;

// A note of a tune: frequency in Hz (0 for a rest) and length in 1/8 s.
struct RNote {
    double hz;
    int eighths;
};

// A tune as 16-bit samples: each note a soft-edged sine with its second harmonic.
std::vector<qint16> tune(const std::vector<RNote>& notes, double volume) {
    std::vector<qint16> out;
    for (const RNote& n : notes) {
        const int count = kRate * n.eighths / 8;
        for (int i = 0; i < count; ++i) {
            const double t = double(i) / kRate;
            const double edge = std::min({1.0, i / 400.0, (count - i) / 800.0});
            const double v = n.hz > 0 ? std::sin(2 * M_PI * n.hz * t) + 0.3 * std::sin(4 * M_PI * n.hz * t) : 0;
            out.push_back(qint16(volume * 24000 * edge * v / 1.3));
        }
    }
    return out;
}

QByteArray pcmWav(const std::vector<qint16>& samples) {
    const QByteArray pcm = pcmSamples(samples);
    return "RIFF" + u32(quint32(36 + pcm.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(kRate) +
           u32(kRate * 2) + u16(2) + u16(16) + "data" + u32(quint32(pcm.size())) + pcm;
}

// IMA ADPCM (format 0x11), mono, blocks of 256 bytes: a sound the system's simple sound player
// cannot decode.
QByteArray imaAdpcmWav(const std::vector<qint16>& samples) {
    static const int kSteps[89] = {7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 21, 23, 25, 28, 31, 34, 37, 41, 45, 50, 55,
        60, 66, 73, 80, 88, 97, 107, 118, 130, 143, 157, 173, 190, 209, 230, 253, 279, 307, 337, 371, 408, 449, 494,
        544, 598, 658, 724, 796, 876, 963, 1060, 1166, 1282, 1411, 1552, 1707, 1878, 2066, 2272, 2499, 2749, 3024,
        3327, 3660, 4026, 4428, 4871, 5358, 5894, 6484, 7132, 7845, 8630, 9493, 10442, 11487, 12635, 13899, 15289,
        16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
    static const int kIndex[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
    constexpr int kBlock = 256, kPerBlock = (kBlock - 4) * 2 + 1;
    QByteArray data;
    int index = 0;
    for (size_t start = 0; start < samples.size(); start += kPerBlock) {
        int predicted = samples[start];
        data += u16(predicted) + char(index) + char(0);
        QByteArray nibbles(kBlock - 4, 0);
        for (int k = 0; k < (kBlock - 4) * 2; ++k) {
            const size_t at = start + 1 + size_t(k);
            const int sample = at < samples.size() ? samples[at] : 0;
            const int step = kSteps[index];
            int diff = sample - predicted, code = 0;
            if (diff < 0) code = 8, diff = -diff;
            int delta = step >> 3;
            for (int bit = 4, s = step; bit >= 1; bit >>= 1, s >>= 1)
                if (diff >= s) code |= bit, diff -= s, delta += s;
            predicted = std::clamp(predicted + ((code & 8) ? -delta : delta), -32768, 32767);
            index = std::clamp(index + kIndex[code & 7], 0, 88);
            nibbles[k / 2] = char(nibbles[k / 2] | (k % 2 ? code << 4 : code));
        }
        data += nibbles;
    }
    const QByteArray fmt = u16(0x11) + u16(1) + u32(kRate) + u32(kRate * kBlock / kPerBlock) + u16(kBlock) +
                           u16(4) + u16(2) + u16(kPerBlock);
    return "RIFF" + u32(quint32(4 + 8 + fmt.size() + 12 + 8 + data.size())) + "WAVEfmt " + u32(quint32(fmt.size())) +
           fmt + "fact" + u32(4) + u32(quint32(samples.size())) + "data" + u32(quint32(data.size())) + data;
}

const double C = 261.6, D = 293.7, E = 329.6, F = 349.2, G = 392.0, A = 440.0, B = 493.9, C2 = 523.3;

// A tone of a MIDI line: its keys (several for a chord) and its length in quarter notes.
struct RTone {
    std::vector<int> keys;
    int quarters;
};

constexpr int kTicks = 480;  // a quarter note

using TMidiEvents = std::vector<std::pair<int, QByteArray>>;  // at their ticks

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out += char(v);
    return out;
}

QByteArray midiNumber(quint32 value) {
    QByteArray out(1, char(value & 0x7F));
    while (value >>= 7) out.prepend(char(0x80 | (value & 0x7F)));
    return out;
}

QByteArray be32(quint32 v) { return bytes({int(v >> 24), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)}); }

TMidiEvents midiLine(int channel, int program, int velocity, const std::vector<RTone>& tones) {
    TMidiEvents events{{0, bytes({0xC0 | channel, program})}};
    int tick = 0;
    for (const RTone& tone : tones) {
        for (int key : tone.keys) events.push_back({tick, bytes({0x90 | channel, key, velocity})});
        tick += tone.quarters * kTicks;
        for (int key : tone.keys) events.push_back({tick, bytes({0x80 | channel, key, 0})});
    }
    return events;
}

QByteArray midiTrack(TMidiEvents events, int endTick) {
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QByteArray data;
    int tick = 0;
    for (const auto& [at, event] : events) {
        data += midiNumber(quint32(at - tick)) + event;
        tick = at;
    }
    data += midiNumber(quint32(endTick - tick)) + bytes({0xFF, 0x2F, 0});
    return "MTrk" + be32(quint32(data.size())) + data;
}

QByteArray tempo(int usPerQuarter) { return bytes({0xFF, 0x51, 3, usPerQuarter >> 16, usPerQuarter >> 8 & 0xFF, usPerQuarter & 0xFF}); }

// The sample book's MIDI song: eight bars of 4/4 for flute, strings and bass, at 120 beats a
// minute with the last bar slowing down, and a beat of rest to let it ring: 17.45 s.
QByteArray midiTune() {
    const int lastBar = 7 * 4 * kTicks, end = 33 * kTicks;
    const TMidiEvents tempos = {{0, bytes({0xFF, 0x58, 4, 4, 2, 24, 8})}, {0, tempo(500000)},
                                {lastBar, tempo(600000)}, {lastBar + 2 * kTicks, tempo(750000)}};
    const std::vector<RTone> melody = {
        {{64}, 1}, {{67}, 1}, {{72}, 1}, {{67}, 1}, {{69}, 1}, {{67}, 1}, {{64}, 2}, {{65}, 1}, {{69}, 1}, {{74}, 1},
        {{69}, 1}, {{67}, 2}, {{71}, 1}, {{74}, 1}, {{72}, 1}, {{71}, 1}, {{69}, 1}, {{67}, 1}, {{65}, 1}, {{64}, 1},
        {{62}, 2}, {{64}, 1}, {{67}, 1}, {{65}, 1}, {{62}, 1}, {{60}, 4}};
    const std::vector<RTone> bass = {{{48}, 2}, {{43}, 2}, {{45}, 2}, {{40}, 2}, {{50}, 2}, {{45}, 2}, {{43}, 2}, {{43}, 2},
                                     {{45}, 2}, {{40}, 2}, {{41}, 2}, {{43}, 2}, {{48}, 2}, {{43}, 2}, {{36}, 4}};
    const std::vector<RTone> strings = {{{60, 64, 67}, 4}, {{57, 60, 64}, 4}, {{57, 62, 65}, 4}, {{55, 59, 62}, 4},
                                        {{57, 60, 64}, 4}, {{53, 57, 60}, 4}, {{55, 60, 64}, 4}, {{48, 55, 64}, 4}};
    return "MThd" + be32(6) + bytes({0, 1, 0, 4, kTicks >> 8, kTicks & 0xFF}) + midiTrack(tempos, end) +
           midiTrack(midiLine(0, 73, 100, melody), end) + midiTrack(midiLine(1, 48, 60, strings), end) +
           midiTrack(midiLine(2, 32, 90, bass), end);
}

}  // namespace

std::vector<qint16> chime() { return tune({{C2, 1}, {G, 1}, {E, 2}, {C, 4}}, 0.8); }

bool drawSounds(const QString& disc) {
    // The codec and driver files an old disc carries for its installers; stand-ins here.
    bool ok = true;
    for (const char* name : {"Ir50_32.dll", "L3codecp.acm", "Xmdrivnt.dll", "Xmdriver.dll", "Xmdrv95.dll", "Xmres.dll",
                             "Xmsound.dll", "Xmvideo.dll"})
        ok &= writeFile(disc + "/Resource/" + name, QByteArray("A stand-in for the codec file ") + name + " of the disc.\n");
    ok &= writeFile(disc + "/click2.wav", imaAdpcmWav(tune({{880, 1}, {0, 1}}, 0.6)));
    ok &= writeFile(disc + "/sounds/horn.wav", pcmWav(tune({{A, 3}, {0, 1}, {A, 3}, {0, 1}, {F, 6}}, 0.9)));
    const std::vector<std::vector<RNote>> songs = {
        {{C, 2}, {E, 2}, {G, 2}, {C2, 4}, {G, 2}, {E, 2}, {C, 4}, {D, 2}, {F, 2}, {A, 2}, {D, 4}, {G, 4}, {C, 8},
         {E, 2}, {G, 2}, {C2, 4}, {B, 4}, {A, 4}, {G, 8}},
        {{A, 3}, {G, 1}, {F, 2}, {E, 2}, {D, 4}, {E, 2}, {F, 2}, {G, 4}, {A, 8}, {C2, 2}, {B, 2}, {A, 4}, {G, 4},
         {F, 8}, {E, 4}, {D, 8}},
        {{E, 2}, {E, 2}, {F, 2}, {G, 2}, {G, 2}, {F, 2}, {E, 2}, {D, 2}, {C, 2}, {C, 2}, {D, 2}, {E, 2}, {E, 3},
         {D, 1}, {D, 4}, {E, 2}, {E, 2}, {F, 2}, {G, 2}, {G, 2}, {F, 2}, {E, 2}, {D, 2}, {C, 2}, {C, 2}, {D, 2},
         {E, 2}, {D, 3}, {C, 1}, {C, 4}},
    };
    for (size_t i = 0; i < songs.size(); ++i)
        ok &= writeFile(disc + QString("/music/song%1.wav").arg(i + 1), pcmWav(tune(songs[i], 0.5)));
    ok &= writeFile(disc + "/music/tune.mid", midiTune());
    return ok;
}

QByteArray pcmSamples(const std::vector<qint16>& samples) {
    QByteArray pcm;
    for (qint16 s : samples) pcm += u16(s);
    return pcm;
}
