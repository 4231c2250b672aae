#include "media/MidiSynth.h"

#include <fluidsynth.h>

#include <QString>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>

#include "platform/Diagnostics.h"

namespace {

// Loud enough to stand beside recorded music, quiet enough that a full arrangement seldom clips.
constexpr double kGain = 0.3;

void libraryLine(int, const char* message, void*) {
    if (lcLibraries().isDebugEnabled()) qCDebug(lcLibraries).noquote() << "[fluidsynth]" << QString::fromUtf8(message);
}

// Its debugging lines (every preset chosen, every sample unloaded) are left out altogether.
void RouteLibraryLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO}) fluid_set_log_function(level, libraryLine, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    });
}

void TellNoSoundFont(const std::string& soundFont) {
    static std::set<std::string> told;
    if (told.insert(soundFont).second)
        qCInfo(lcMedia).noquote() << "MIDI songs cannot play: no General MIDI sound font at" << QString::fromStdString(soundFont);
}

}  // namespace

TMidiSynth::TMidiSynth(std::string soundFont) : soundFont_(std::move(soundFont)) {}

TMidiSynth::~TMidiSynth() {
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

bool TMidiSynth::Ready() {
    if (synth_ || tried_) return synth_ != nullptr;
    tried_ = true;
    RouteLibraryLog();
    std::error_code error;
    if (!std::filesystem::is_regular_file(soundFont_, error)) {
        TellNoSoundFont(soundFont_);
        return false;
    }
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
    fluid_settings_setnum(settings_, "synth.gain", kGain);
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    synth_ = new_fluid_synth(settings_);
    if (!synth_ || fluid_synth_sfload(synth_, soundFont_.c_str(), 1) == FLUID_FAILED) {
        TellNoSoundFont(soundFont_);
        if (synth_) delete_fluid_synth(synth_);
        synth_ = nullptr;
        return false;
    }
    return true;
}

void TMidiSynth::SetSong(TMidiSong song) {
    song_ = std::move(song);
    lengthFrames_ = FrameAt(song_.LengthUs());
    Seek(0);
}

// Everything but the notes before the place, so that it sounds as it would have, played through.
void TMidiSynth::Seek(int64_t frame) {
    frame_ = std::clamp<int64_t>(frame, 0, lengthFrames_);
    next_ = 0;
    if (!synth_) return;
    fluid_synth_system_reset(synth_);
    const auto& events = song_.Events();
    for (; next_ < events.size() && EventFrame(next_) < frame_; ++next_) {
        const int kind = events[next_].status & 0xF0;
        if (kind != 0x80 && kind != 0x90 && kind != 0xA0) Send(events[next_]);
    }
}

void TMidiSynth::Render(int16_t* out, int frames) {
    if (!synth_) {
        std::memset(out, 0, size_t(frames) * 2 * sizeof(int16_t));
        frame_ += frames;
        return;
    }
    const auto& events = song_.Events();
    while (frames > 0) {
        while (next_ < events.size() && EventFrame(next_) <= frame_) Send(events[next_++]);
        int64_t count = frames;
        if (next_ < events.size()) count = std::min(count, EventFrame(next_) - frame_);
        fluid_synth_write_s16(synth_, int(count), out, 0, 2, out, 1, 2);
        out += 2 * count;
        frames -= int(count);
        frame_ += count;
    }
}

void TMidiSynth::Send(const RMidiEvent& event) {
    const int channel = event.status & 0x0F;
    switch (event.status & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth_, channel, event.data1); break;
    case 0x90:
        if (event.data2) fluid_synth_noteon(synth_, channel, event.data1, event.data2);
        else fluid_synth_noteoff(synth_, channel, event.data1);
        break;
    case 0xA0: fluid_synth_key_pressure(synth_, channel, event.data1, event.data2); break;
    case 0xB0: fluid_synth_cc(synth_, channel, event.data1, event.data2); break;
    case 0xC0: fluid_synth_program_change(synth_, channel, event.data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth_, channel, event.data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth_, channel, event.data1 | event.data2 << 7); break;
    case 0xF0: {
        const std::string_view data = song_.Sysex(event);
        fluid_synth_sysex(synth_, data.data(), int(data.size()), nullptr, nullptr, nullptr, 0);
        break;
    }
    default: break;
    }
}
