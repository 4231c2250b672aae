#pragma once
// TBackgroundMusic: the songs of the description's "bgsounddef" key, files in the program
// folder, played one after another in a ring. The music fades in when it starts and can fade out
// when it stops; the song and the place in it are kept in the settings ("BGSoundSong",
// "BGSoundPos") so that the next start resumes there. On() is the background-music flag; a song
// that cannot play turns it off for the run. A stored song beyond the list starts the first
// song, a stored place at or past the song's end its beginning; with no songs the flag is off.
// Window thread only.
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/DynamicStringArray.h"
#include "media/MPlayer.h"
#include "media/VolumeFade.h"

class TBackgroundMusic : public QObject {
public:
    // on: the stored "BGSound" flag; device: for tests, null for the real one.
    TBackgroundMusic(QObject* owner, TDynamicStringArray songs, bool on, std::unique_ptr<IMediaDevice> device = nullptr);

    bool On() const { return on_; }
    // Sets the flag; the options dialog's box follows it.
    void SetOn(bool on);
    std::function<void(bool on)> OnChanged;

    // Resumes the stored song at its stored place, fading in.
    void Start();
    // Stores the song and the place, and stops: at once, or with fade once the fade-out reached
    // silence or 10 s passed. Returns at once either way; a Start meanwhile ends the fading song
    // and starts afresh.
    void Stop(bool fade);
    // A fade-out of Stop is under way.
    bool Stopping() const { return stopping_; }
    // Runs then once the music is silent and closed (at once when it is).
    void WhenStopped(std::function<void()> then);
    // The "bgsound" button: on, the music fades out and the flag goes off; off, the flag goes on
    // and the music starts. The new flag is stored as "BGSound".
    void Toggle();

    int Song() const { return song_; }
    TMPlayer& Player() { return player_; }
    const TVolumeFade& Fade() const { return fade_; }

private:
    void NextSong();
    void PlayOpened(int error, bool fromPlace);
    void FinishStop();
    void ReadPlace();
    void WritePlace();
    std::string SongFile() const;

    TDynamicStringArray songs_;
    TMPlayer player_;
    TVolumeFade fade_;
    int song_ = 0;
    int32_t position_ = 0;
    bool on_ = false;
    bool stopping_ = false;
    QTimer stopBound_;  // a fade-out that never reaches silence stops all the same
    std::vector<std::function<void()>> whenStopped_;
};
