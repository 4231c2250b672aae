#pragma once
// TBookMedia: the book's sound and video: button sounds, the background music, the clip player
// with its areas, the slide show, the start clip that plays before the window opens and the 3-D
// clip of the first screen. It answers the media commands itself; the window tells it of screen
// switches and of presses on the clip, and lends it what it draws on through IMediaHost.
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

#include "media/Sound.h"
#include "rules/CommandTarget.h"

class QImage;
class QWidget;
class TBackgroundMusic;
class TFormOptions;
class TInterfaceDescription;
class TMyAviPlayer;
class TSlideImage;
class TSuperTimer;
struct RWindowKeys;

// What the media need of the window they play on.
class IMediaHost {
public:
    virtual ~IMediaHost() = default;
    virtual int CurrentScreen() const = 0;
    virtual bool EffectRunning() const = 0;
    virtual QImage LoadPicture(const std::string& name) const = 0;
    // The window's face, and a picture drawn into it (the 3-D clip's still frames).
    virtual QImage ScreenImage() const = 0;
    virtual void DrawOnScreen(QPoint at, const QImage& picture) = 0;
    virtual void OpenPageIn(const std::string& page, int view) = 0;
    // A clip area or a picture took the pointer: no skin element keeps its hover look.
    virtual void PointerLeftSkin() = 0;
};

// The codecs the description asks for; the Indeo codec only where clips play at start.
void InstallBookCodecs(const std::string& codecs, bool clipAtStart);

// The media of a window that plays none (the thesaurus window, the standard window's start):
// its buttons still sound.
class TSilentMedia : public IMediaCommands {
public:
    void PlaySound(const std::string& file) override;
    void ToggleBackgroundSound() override {}
    void PlayerCommand(const std::string&) override {}
    void PlayClip(const std::string&, const std::string&) override {}
    void NextPicture() override {}
    void PrevPicture() override {}
    void Clip2D() override {}
    void Clip3D() override {}
};

class TBookMedia : public QObject, public IMediaCommands, private ISoundHost {
public:
    TBookMedia(QWidget& window, IMediaHost& host, const TInterfaceDescription& elements, const RWindowKeys& keys,
               TFormOptions& options);
    ~TBookMedia() override;

    TBackgroundMusic* Music() const { return music_.get(); }
    TSound* Sound() const { return sound_.get(); }
    TSlideImage* Slides() const { return slides_.get(); }
    TMyAviPlayer* Clip3DPlayer() const { return avi_.get(); }
    QWidget* StartClipWindow() const { return startClip_; }

    // The start clip plays first when the book has one and the "Clip" setting is on; then open
    // runs (at once without a start clip).
    void PlayStartClipThen(std::function<void()> open);
    void StartMusic();
    // The music keeps its place for the next run and fades out; then runs after it (at once
    // without music).
    void FadeMusicOutThen(std::function<void()> then);
    // At shutdown: the music still playing keeps its place; every player closes.
    void Stop();
    // A page link's sound, and a dropped sound file (false: the file is no sound).
    void PlayLinkSound(const std::string& path);
    bool DropSound(const std::string& lowerName, const std::string& file);
    // The screen-aware parts follow a new screen.
    void ScreenChanged();

    // The 3-D clip. A press on it freezes it or plays it on (true: the clip took the press).
    bool ClipPress(QPoint point);
    bool OverPlayingClip(QPoint point) const;
    bool ClipStill() const;
    // Before a screen is built: the reading screen freezes the clip; after, its video shows only
    // on the first screen, and a switched-on clip starts once the screen's effect is over.
    void ClipBeforeSwitch(int target);
    void ClipAfterSwitch(bool switchedOn);
    // The window closes: the clip no longer resumes, and then goes.
    void StopClipTimer();
    void FreeClips();

    // IMediaCommands
    void PlaySound(const std::string& file) override;
    void ToggleBackgroundSound() override;
    void PlayerCommand(const std::string& operation) override;
    void PlayClip(const std::string& file, const std::string& page) override;
    void NextPicture() override;
    void PrevPicture() override;
    void Clip2D() override;
    void Clip3D() override;

private:
    // ISoundHost: the window's, and the MPEG driver installed from the disc.
    int CurrentScreen() const override { return host_.CurrentScreen(); }
    void OpenPageIn(const std::string& page, int view) override;
    void PointerLeftSkin() override { host_.PointerLeftSkin(); }
    void InstallMpegDriver() override;

    void BuildSlides(const TInterfaceDescription& elements);
    void StartClip3D();

    QWidget& window_;
    IMediaHost& host_;
    TFormOptions& options_;
    const RWindowKeys& keys_;
    std::unique_ptr<TBackgroundMusic> music_;
    std::unique_ptr<TSound> sound_;
    std::unique_ptr<TSlideImage> slides_;
    std::unique_ptr<TMyAviPlayer> avi_;
    std::unique_ptr<TSuperTimer> clipStartTimer_;
    QPointer<QWidget> startClip_;  // the start clip's window while it plays
};
