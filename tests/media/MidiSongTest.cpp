// MIDI files made by hand with known tempos and note times: every event gets its time from the
// tempo map, the song lasts to its last track's end, and a damaged file is refused whole.
#include <gtest/gtest.h>

#include <vector>

#include "base/MidiSong.h"
#include "media/MidiDevice.h"
#include "media/Smf.h"

using namespace smf;

namespace {

struct RTimed {
    const char* name;
    std::string file;
    int64_t lengthMs;
    std::vector<int64_t> eventMs;
};

std::vector<RTimed> TimedCases() {
    const std::string tempoChanges = Header(1, 2, 480) + Track(Tempo(0, 1000000) + Tempo(480, 250000) + End(0)) +
                                     Track(At(0, {0xC0, 5}) + At(0, {0x90, 64, 100}) + At(960, {0x80, 64, 0}) + End(480));
    return {
        {"format 0 at the default tempo", TwoSeconds(), 2000, {0, 0, 1000}},
        // 480 ticks of a second, then quarters of 250 ms: the note ends at 1.25 s, the song at 1.5 s.
        {"format 1 with a tempo track that changes", tempoChanges, 1500, {0, 0, 1250}},
        {"the same inside a RIFF RMID file", Rmid(tempoChanges), 1500, {0, 0, 1250}},
        // Quarters of 600 ms; the statuses after the first are left out, a text event between them.
        {"running status",
         Header(0, 1, 96) + Track(Tempo(0, 600000) + At(0, {0x90, 60, 64}) + At(48, {60, 0}) + At(0, {0xFF, 0x01, 2, 'h', 'i'}) +
                                  At(48, {62, 64}) + At(48, {62, 0}) + End(0)),
         900,
         {0, 300, 600, 900}},
        // 25 frames a second of 40 ticks each: a millisecond a tick, whatever the tempo says.
        {"frames instead of beats",
         Header(0, 1, 0xE728) + Track(Tempo(0, 100000) + At(0, {0x90, 60, 64}) + At(2500, {0x80, 60, 0}) + End(0)),
         2500,
         {0, 2500}},
        // A track without its end event lasts to its last event.
        {"a track without an end", Header(0, 1, 480) + Track(At(0, {0x90, 60, 64}) + At(480, {0x80, 60, 0})), 500, {0, 500}},
    };
}

}  // namespace

TEST(MidiSong, EventsAndLengthFollowTheTempoMap) {
    for (const RTimed& c : TimedCases()) {
        const auto song = TMidiSong::Parse(c.file);
        ASSERT_TRUE(song) << c.name;
        EXPECT_EQ(song->LengthUs() / 1000, c.lengthMs) << c.name;
        std::vector<int64_t> times;
        for (const RMidiEvent& e : song->Events()) times.push_back(e.us / 1000);
        EXPECT_EQ(times, c.eventMs) << c.name;
    }
}

TEST(MidiSong, EventsKeepTheirStatusDataAndSystemExclusiveBytes) {
    const std::string file =
        Header(0, 1, 480) + Track(At(0, {0xF0, 5, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) + At(0, {0xE3, 0x00, 0x50}) +
                                  At(0, {0x93, 70, 90}) + At(10, {70, 0}) + End(0));
    const auto song = TMidiSong::Parse(file);
    ASSERT_TRUE(song);
    ASSERT_EQ(song->Events().size(), 4u);
    EXPECT_EQ(song->Events()[0].status, 0xF0);
    EXPECT_EQ(song->Sysex(song->Events()[0]), Bytes({0x7E, 0x7F, 0x09, 0x01}));  // GM on, without F0 and F7
    EXPECT_EQ(song->Events()[1].status, 0xE3);
    EXPECT_EQ(song->Events()[1].data2, 0x50);
    EXPECT_EQ(song->Events()[3].status, 0x93);  // by running status
    EXPECT_EQ(song->Events()[3].data1, 70);
    EXPECT_EQ(song->Events()[3].data2, 0);
}

TEST(MidiSong, ADamagedFileIsRefusedWhole) {
    const std::string good = TwoSeconds();
    const std::string track = At(0, {0x90, 60, 64}) + End(480);
    const std::pair<const char*, std::string> cases[] = {
        {"cut in its last event", good.substr(0, good.size() - 2)},
        {"a track longer than the file", Header(0, 1, 480) + "MTrk" + Be(uint32_t(track.size() + 10), 4) + track},
        {"fewer tracks than the header says", Header(1, 3, 480) + Track(track) + Track(track)},
        {"an event past its track's end", Header(0, 1, 480) + Track(At(0, {0x90, 60}))},
        {"a data byte with no status", Header(0, 1, 480) + Track(At(0, {60, 64}) + End(0))},
        {"a delta time of five bytes", Header(0, 1, 480) + Track(Bytes({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 64}))},
        {"format 2", Header(2, 1, 480) + Track(track)},
        {"a division of nothing", Header(0, 1, 0) + Track(track)},
        {"a wave file", "RIFF" + Be(36, 4) + "WAVEfmt " + std::string(24, '\0')},
        {"an RMID file without its data", "RIFF" + Be(4, 4) + "RMID"},
        {"nothing", ""},
    };
    for (const auto& [name, file] : cases) EXPECT_FALSE(TMidiSong::Parse(file)) << name;
}

TEST(MidiSong, AFileIsKnownAsMidiByItsHeaderOrItsName) {
    EXPECT_TRUE(TMidiSong::HasMidiHeader(TwoSeconds()));
    EXPECT_TRUE(TMidiSong::HasMidiHeader(Rmid(TwoSeconds())));
    EXPECT_FALSE(TMidiSong::HasMidiHeader(std::string("RIFF\x24\0\0\0WAVEfmt ", 16)));
    EXPECT_FALSE(TMidiSong::HasMidiHeader("RIFF"));
    for (const char* name : {"/d/MUSIC/SONG.MID", "/d/a.midi", "/d/b.Rmi"}) EXPECT_TRUE(TMidiDevice::IsMidiName(name)) << name;
    for (const char* name : {"/d/song.wav", "/d/mid", "/d/x.mid.wav"}) EXPECT_FALSE(TMidiDevice::IsMidiName(name)) << name;
}
