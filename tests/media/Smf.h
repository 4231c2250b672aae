#pragma once
// Standard MIDI Files made by hand: a header, then tracks of events each after its delta time.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace smf {

inline std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += char(b);
    return s;
}

inline std::string Be(uint32_t value, int count) {
    std::string s;
    for (int i = count - 1; i >= 0; --i) s += char(value >> (8 * i) & 0xFF);
    return s;
}

inline std::string Number(uint32_t value) {
    std::string s(1, char(value & 0x7F));
    while (value >>= 7) s.insert(s.begin(), char(0x80 | (value & 0x7F)));
    return s;
}

inline std::string Header(int format, int tracks, int division) {
    return "MThd" + Be(6, 4) + Be(uint32_t(format), 2) + Be(uint32_t(tracks), 2) + Be(uint32_t(division), 2);
}

inline std::string Track(const std::string& events) { return "MTrk" + Be(uint32_t(events.size()), 4) + events; }

// An event: its delta time, then its bytes as they stand (a status may be left out).
inline std::string At(uint32_t delta, std::initializer_list<int> bytes) { return Number(delta) + Bytes(bytes); }

inline std::string Tempo(uint32_t delta, uint32_t usPerQuarter) {
    return Number(delta) + Bytes({0xFF, 0x51, 3}) + Be(usPerQuarter, 3);
}

inline std::string End(uint32_t delta) { return Number(delta) + Bytes({0xFF, 0x2F, 0}); }

// The file inside a RIFF "RMID" file, as some Windows programs saved their songs.
inline std::string Rmid(const std::string& file) {
    auto le = [](uint32_t v) { return Bytes({int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24)}); };
    const std::string data = "data" + le(uint32_t(file.size())) + file + (file.size() % 2 ? std::string(1, '\0') : "");
    return "RIFF" + le(uint32_t(4 + data.size())) + "RMID" + data;
}

// Two seconds at the default tempo: a note from 0 to 1 s, the track's end at 2 s.
inline std::string TwoSeconds() {
    return Header(0, 1, 480) + Track(At(0, {0xC0, 0}) + At(0, {0x90, 60, 100}) + At(960, {0x80, 60, 0}) + End(960));
}

}  // namespace smf
