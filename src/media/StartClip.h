#pragma once
// TStartClip: the book's introductory video, played before the main window shows, in a window of
// its own that stays on top: framed in the middle of the screen (the video inside a bevel of 10
// pixels) or on a black background covering the screen. It shows once the video plays; Esc skips
// it. A clip that cannot be opened is skipped (after installing the MPEG driver once, for a
// refusal other than a missing, invalid or unreadable file); one that never starts playing is
// tried 10 times, every 500 ms. However it ends, Finish runs once and hands the start on.
// Window thread only.
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "media/MPlayer.h"

struct RStartClipHost {
    std::function<void()> finished;           // the main window continues its start
    std::function<void()> installMpegDriver;  // a clip the player refused
};

class TStartClip : public QWidget {
public:
    static constexpr int kBevel = 10;
    static constexpr int kRetries = 10;

    // file: the clip (Windows path); fullScreen: on black over the whole screen.
    TStartClip(const std::string& file, bool fullScreen, RStartClipHost host, std::unique_ptr<IMediaDevice> device = nullptr);

    void Finish();
    bool Finished() const { return finished_; }
    TMPlayer& Player() { return *player_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void StartPlayback();
    void Place();
    void WaitForStart();
    void WaitForEnd();

    RStartClipHost host_;
    bool fullScreen_;
    TMPlayer* player_;
    QTimer start_, startWatch_, endWatch_;
    int retries_ = 0;
    bool finished_ = false;
};
