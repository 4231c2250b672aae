// The sample book's sounds, written as an old disc holds them: 16-bit PCM and IMA ADPCM WAV
// files of tones and short tunes, made here so the repository holds no recordings.
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    return ok;
}

QByteArray pcmSamples(const std::vector<qint16>& samples) {
    QByteArray pcm;
    for (qint16 s : samples) pcm += u16(s);
    return pcm;
}
