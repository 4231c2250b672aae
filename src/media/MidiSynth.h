#pragma once
// TMidiSynth: a MIDI song rendered to 16-bit stereo PCM at 44.1 kHz by FluidSynth with a General
// MIDI sound font. The song's events reach the synthesizer at their own sample frames as the PCM
// is asked for. Seek silences it, sets the programs, controllers, pitch bends and
// system-exclusive settings in force at the new place, and goes on from there; notes struck
// before it are not sounded. The sound font is loaded on first use, a preset's samples only when
// a program asks for it. What the library says goes to the libraries' diagnostics. One thread.
#include <cstdint>
#include <memory>
#include <string>

#include "base/MidiSong.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;

class TMidiSynth {
public:
    static constexpr int kRate = 44100;
    static constexpr const char* kGeneralMidiSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

    explicit TMidiSynth(std::string soundFont = kGeneralMidiSoundFont);
    ~TMidiSynth();
    TMidiSynth(const TMidiSynth&) = delete;
    TMidiSynth& operator=(const TMidiSynth&) = delete;

    // Whether the synthesizer and its sound font are there, made at the first call. A sound font
    // that cannot be loaded is said once a run under --verbose.
    bool Ready();
    // The song to play, from its start. Needs Ready().
    void SetSong(TMidiSong song);
    void Seek(int64_t frame);
    // Renders frames, interleaved left and right, the song's next events at their frames; past
    // the end, what still sounds and then silence.
    void Render(int16_t* out, int frames);
    // The next frame to render.
    int64_t Frame() const { return frame_; }
    int64_t LengthFrames() const { return lengthFrames_; }
    static int64_t FrameAt(int64_t us) { return us * kRate / 1000000; }

private:
    void Send(const RMidiEvent& event);
    int64_t EventFrame(size_t i) const { return FrameAt(song_.Events()[i].us); }

    std::string soundFont_;
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    bool tried_ = false;
    TMidiSong song_;
    size_t next_ = 0;  // the next event to send
    int64_t frame_ = 0;
    int64_t lengthFrames_ = 0;
};
