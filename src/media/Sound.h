#pragma once
// TSound: the clip player. It plays sound and video files on demand: the "clip" command (a video
// in the clip area of the current screen, its page handed to that area's page view), sound
// links and dropped sounds, and the player commands. It owns the clip areas, one plain coloured
// control per "_clip" element, shown on their own screen. A clip or sound interrupts the
// background music; with end action 5 the music resumes at its place when the clip has played
// (or at once, when the clip cannot be opened or played). End actions: 0 nothing, 3 a chained
// play, 4 the player closes, 5 the music resumes. Window thread only.
#include <functional>
#include <string>
#include <vector>

#include "media/MPlayer.h"
#include "rules/Elements.h"

class TBackgroundMusic;

// What the clip player needs of the window: the screen whose clip areas show, the page a clip
// opens beside it, the pointer over an area, and the MPEG driver for a clip the player refused.
class ISoundHost {
public:
    virtual ~ISoundHost() = default;
    virtual int CurrentScreen() const = 0;
    virtual void OpenPageIn(const std::string& page, int view) = 0;  // in the page view numbered so
    virtual void PointerLeftSkin() = 0;                              // the pointer moves over an area
    virtual void InstallMpegDriver() = 0;
};

class TSound : public TMPlayer {
public:
    TSound(QWidget* window, const std::vector<RClip>& clips, TBackgroundMusic* music, ISoundHost& host,
           std::unique_ptr<IMediaDevice> device = nullptr);

    void ShowClipAreas();
    // name: a media file (may be empty); page: for the clip area's page view; action 0, 3 or 4.
    void PlayMedia(const std::string& name, const std::string& page, int action);
    void StepForward();
    void StepBack();

    int EndAction() const { return endAction_; }
    size_t ClipAreaCount() const { return areas_.size(); }
    QWidget* ClipArea(size_t i) const { return areas_[i].control; }

private:
    struct RArea {
        QWidget* control;
        int screen;
        int html;
    };
    void ChooseEndAction(int action);
    void OpenClip(const std::string& page, std::function<void(int error)> done);
    void MediaEnded();
    void ResumeMusic();

    TBackgroundMusic* music_;
    ISoundHost& host_;
    std::vector<RArea> areas_;
    int lastShown_ = -1;
    int endAction_ = 0;
};
