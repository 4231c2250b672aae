// Reads the input as a MIDI file from a disc. A song it takes has its events in playing order,
// none after the song's end, only channel and system-exclusive messages, and each message's
// system-exclusive bytes among the song's own.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/MidiSong.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto song = TMidiSong::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!song) return 0;
    check(song->LengthUs() >= 0);
    int64_t last = 0;
    for (const RMidiEvent& event : song->Events()) {
        check(event.us >= last && event.us <= song->LengthUs());
        last = event.us;
        check((event.status >= 0x80 && event.status <= 0xEF) || event.status == 0xF0);
        check(event.data1 < 0x80 && event.data2 < 0x80);
        check(song->Sysex(event).size() == event.sysexSize);
        if (event.status != 0xF0) check(event.sysexSize == 0);
    }
    return 0;
}
