#pragma once
// TMidiSong: the song of a Standard MIDI File (format 0 or 1, bare or inside a RIFF "RMID" file)
// as one list of events in playing order, each at its time from the start in microseconds by
// the song's tempo map (the tempo events of any track; 120 beats a minute until the first). Its
// length is the time of its last event, the ends of the tracks included.
//
// Parse refuses what it cannot play whole: no MIDI header, format 2, a track cut short or an
// event running past its track, a data byte with no status before it, a song of more than a day.
// A status byte is kept for the data bytes that follow a meta or system-exclusive event, as most
// writers expect; unknown chunks are skipped. The C++ standard library only.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RMidiEvent {
    int64_t us = 0;      // from the start of the song
    uint8_t status = 0;  // a channel message 0x80..0xEF, or 0xF0: a system-exclusive message
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint32_t sysexAt = 0;    // 0xF0: where its bytes (without 0xF0 and the closing 0xF7) lie
    uint32_t sysexSize = 0;  // in the song's system-exclusive bytes
};

class TMidiSong {
public:
    // Files larger than this are not MIDI songs of a disc; a player refuses them unread.
    static constexpr int64_t kMaxFileSize = 4 << 20;

    static std::optional<TMidiSong> Parse(std::string_view file);
    // Whether a file's first bytes (at least 12 of them) are those of a MIDI file.
    static bool HasMidiHeader(std::string_view head);

    const std::vector<RMidiEvent>& Events() const { return events_; }
    std::string_view Sysex(const RMidiEvent& event) const {
        return std::string_view(sysex_).substr(event.sysexAt, event.sysexSize);
    }
    int64_t LengthUs() const { return lengthUs_; }

private:
    friend class TMidiReader;
    std::vector<RMidiEvent> events_;
    std::string sysex_;
    int64_t lengthUs_ = 0;
};
