#include "base/MidiSong.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxUs = 24.0 * 3600 * 1000000;  // longer is a damaged time, not a song
constexpr uint32_t kDefaultTempo = 500000;        // microseconds a quarter note: 120 a minute

uint32_t Be32(std::string_view s, size_t at) {
    return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 | uint32_t(uint8_t(s[at + 2])) << 8 |
           uint8_t(s[at + 3]);
}
uint16_t Be16(std::string_view s, size_t at) { return uint16_t(uint8_t(s[at]) << 8 | uint8_t(s[at + 1])); }
uint32_t Le32(std::string_view s, size_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
           uint32_t(uint8_t(s[at + 3])) << 24;
}

// An event at its tick, before the tempo map gives it a time.
struct RTicked {
    int64_t tick;
    RMidiEvent event;
};

struct RTempo {
    int64_t tick;
    uint32_t usPerQuarter;
};

// Ticks to microseconds: a piece of constant tempo from each tempo change on. A division with
// its high bit set counts frames a second (negated) and ticks a frame, and ignores the tempo.
class TTempoMap {
public:
    static std::optional<TTempoMap> Make(uint16_t division, std::vector<RTempo> tempos);
    double UsAt(int64_t tick) const {
        const auto it =
            std::upper_bound(pieces_.begin(), pieces_.end(), tick, [](int64_t t, const RPiece& p) { return t < p.tick; });
        const RPiece& piece = *std::prev(it);
        return piece.us + double(tick - piece.tick) * piece.usPerTick;
    }

private:
    struct RPiece {
        int64_t tick;
        double us;
        double usPerTick;
    };
    std::vector<RPiece> pieces_;
};

std::optional<TTempoMap> TTempoMap::Make(uint16_t division, std::vector<RTempo> tempos) {
    TTempoMap map;
    if (division & 0x8000) {
        const int fps = -int(int8_t(division >> 8));
        const int perFrame = division & 0xFF;
        if (fps <= 0 || perFrame == 0) return std::nullopt;
        map.pieces_.push_back({0, 0.0, 1e6 / ((fps == 29 ? 29.97 : fps) * perFrame)});
        return map;
    }
    if (division == 0) return std::nullopt;
    std::stable_sort(tempos.begin(), tempos.end(), [](const RTempo& a, const RTempo& b) { return a.tick < b.tick; });
    map.pieces_.push_back({0, 0.0, double(kDefaultTempo) / division});
    for (const RTempo& tempo : tempos) {
        RPiece& last = map.pieces_.back();
        const double perTick = double(tempo.usPerQuarter) / division;
        if (tempo.tick == last.tick) last.usPerTick = perTick;
        else map.pieces_.push_back({tempo.tick, last.us + double(tempo.tick - last.tick) * last.usPerTick, perTick});
    }
    return map;
}

// One track chunk's bytes: its events, tempo changes and system-exclusive bytes.
class TTrackReader {
public:
    TTrackReader(std::string_view bytes, std::vector<RTicked>& events, std::vector<RTempo>& tempos, std::string& sysex)
        : bytes_(bytes), events_(events), tempos_(tempos), sysex_(sysex) {}
    // The tick of the track's end; nothing when the track is damaged.
    std::optional<int64_t> Read();

private:
    bool Number(uint32_t& value);
    bool Channel(uint8_t status, int64_t tick);
    bool Meta(int64_t tick, bool& end);
    bool Exclusive(uint8_t status, int64_t tick);

    std::string_view bytes_;
    size_t at_ = 0;
    std::vector<RTicked>& events_;
    std::vector<RTempo>& tempos_;
    std::string& sysex_;
};

std::optional<int64_t> TTrackReader::Read() {
    int64_t tick = 0;
    uint8_t running = 0;
    while (at_ < bytes_.size()) {
        uint32_t delta = 0;
        if (!Number(delta) || at_ >= bytes_.size()) return std::nullopt;
        tick += delta;
        uint8_t status = uint8_t(bytes_[at_]);
        if (status & 0x80) ++at_;
        else if (running) status = running;
        else return std::nullopt;
        bool ok = false, end = false;
        if (status < 0xF0) {
            running = status;
            ok = Channel(status, tick);
        } else if (status == 0xFF) {
            ok = Meta(tick, end);
        } else if (status == 0xF0 || status == 0xF7) {
            ok = Exclusive(status, tick);
        }
        if (!ok) return std::nullopt;
        if (end) break;
    }
    return tick;
}

// A variable-length number: seven bits a byte, at most four bytes.
bool TTrackReader::Number(uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4 && at_ < bytes_.size(); ++i) {
        const uint8_t b = uint8_t(bytes_[at_++]);
        value = value << 7 | (b & 0x7F);
        if (!(b & 0x80)) return true;
    }
    return false;
}

bool TTrackReader::Channel(uint8_t status, int64_t tick) {
    const size_t count = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
    if (bytes_.size() - at_ < count) return false;
    RMidiEvent event;
    event.status = status;
    event.data1 = uint8_t(bytes_[at_]) & 0x7F;
    if (count == 2) event.data2 = uint8_t(bytes_[at_ + 1]) & 0x7F;
    at_ += count;
    events_.push_back({tick, event});
    return true;
}

bool TTrackReader::Meta(int64_t tick, bool& end) {
    if (at_ >= bytes_.size()) return false;
    const uint8_t type = uint8_t(bytes_[at_++]);
    uint32_t size = 0;
    if (!Number(size) || bytes_.size() - at_ < size) return false;
    if (type == 0x51 && size >= 3) {
        const uint32_t tempo =
            uint32_t(uint8_t(bytes_[at_])) << 16 | uint32_t(uint8_t(bytes_[at_ + 1])) << 8 | uint8_t(bytes_[at_ + 2]);
        if (tempo > 0) tempos_.push_back({tick, tempo});
    }
    end = type == 0x2F;
    at_ += size;
    return true;
}

// 0xF0 starts a whole message, sent as it is; 0xF7 carries raw bytes (a continued message or a
// real-time message), which are not played.
bool TTrackReader::Exclusive(uint8_t status, int64_t tick) {
    uint32_t size = 0;
    if (!Number(size) || bytes_.size() - at_ < size) return false;
    std::string_view data = bytes_.substr(at_, size);
    at_ += size;
    if (status != 0xF0) return true;
    if (!data.empty() && uint8_t(data.back()) == 0xF7) data.remove_suffix(1);
    RMidiEvent event;
    event.status = 0xF0;
    event.sysexAt = uint32_t(sysex_.size());
    event.sysexSize = uint32_t(data.size());
    sysex_.append(data);
    events_.push_back({tick, event});
    return true;
}

// The MIDI file inside a RIFF "RMID" file: the bytes of its "data" chunk.
std::string_view RmidData(std::string_view file) {
    if (file.size() < 12 || file.substr(8, 4) != "RMID") return {};
    for (size_t at = 12; file.size() - at >= 8;) {
        const uint32_t size = Le32(file, at + 4);
        if (file.substr(at, 4) == "data") return file.substr(at + 8, size);
        if (file.size() - at - 8 < size) break;
        at += 8 + size + (size & 1);
        if (at > file.size()) break;
    }
    return {};
}

}  // namespace

// Reads the header and the tracks it announces, then gives every event its time.
class TMidiReader {
public:
    explicit TMidiReader(std::string_view file) : file_(file) {}
    std::optional<TMidiSong> Read();

private:
    bool Finish(uint16_t division, int64_t endTick);

    std::string_view file_;
    TMidiSong song_;
    std::vector<RTicked> events_;
    std::vector<RTempo> tempos_;
};

std::optional<TMidiSong> TMidiReader::Read() {
    if (file_.size() < 14 || file_.substr(0, 4) != "MThd") return std::nullopt;
    const uint32_t headerSize = Be32(file_, 4);
    if (headerSize < 6 || headerSize > file_.size() - 8) return std::nullopt;
    const uint16_t format = Be16(file_, 8), tracks = Be16(file_, 10), division = Be16(file_, 12);
    if (format > 1) return std::nullopt;
    int64_t endTick = 0;
    size_t at = 8 + headerSize;
    for (int found = 0; found < tracks;) {
        if (file_.size() - at < 8) return std::nullopt;  // a track is missing: the file was cut
        const uint32_t size = Be32(file_, at + 4);
        if (file_.size() - at - 8 < size) return std::nullopt;
        if (file_.substr(at, 4) == "MTrk") {
            const auto end = TTrackReader(file_.substr(at + 8, size), events_, tempos_, song_.sysex_).Read();
            if (!end) return std::nullopt;
            endTick = std::max(endTick, *end);
            ++found;
        }
        at += 8 + size;
    }
    if (!Finish(division, endTick)) return std::nullopt;
    return std::move(song_);
}

bool TMidiReader::Finish(uint16_t division, int64_t endTick) {
    const auto map = TTempoMap::Make(division, std::move(tempos_));
    if (!map) return false;
    const double length = map->UsAt(endTick);
    if (!(length <= kMaxUs)) return false;
    std::stable_sort(events_.begin(), events_.end(), [](const RTicked& a, const RTicked& b) { return a.tick < b.tick; });
    song_.events_.reserve(events_.size());
    for (RTicked& ticked : events_) {
        ticked.event.us = std::llround(map->UsAt(ticked.tick));
        song_.events_.push_back(ticked.event);
    }
    song_.lengthUs_ = std::llround(length);
    return true;
}

std::optional<TMidiSong> TMidiSong::Parse(std::string_view file) {
    if (file.substr(0, 4) == "RIFF") file = RmidData(file);
    return TMidiReader(file).Read();
}

bool TMidiSong::HasMidiHeader(std::string_view head) {
    return head.substr(0, 4) == "MThd" || (head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "RMID");
}
