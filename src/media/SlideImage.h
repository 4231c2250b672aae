#pragma once
// TSlideImage: the picture areas of the "_image" elements, one per element, each showing pictures
// from a folder on disk: its "*.bmp" files, then its "*.jpg", then its "*.jpeg", listed once at
// creation. The area of the current screen shows its picture, centred and not scaled; "nextpic"
// and "prevpic" step through its list, wrapping around, and the slide show steps on a timer
// forwards (sequence 0), backwards (1) or at random (any other). The picture index is shared by
// the areas and taken modulo the list of the area shown. A picture that cannot be read leaves
// the area as it was while the index moves on. Window thread only.
#include <QImage>
#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

#include "base/DynamicStringArray.h"
#include "rules/Elements.h"

class QWidget;

struct RSlideSettings {
    bool run = false;  // "RunSlideShow"
    int seconds = 5;   // "SlideShowTime"
    int sequence = 0;  // "ImageSequence"
};

class TSlideImage : public QObject {
public:
    TSlideImage(QWidget* window, const std::vector<RImage>& images, RSlideSettings settings,
                std::function<int()> currentScreen, std::function<void()> pointerOver);

    void ShowSlides();
    void NextPicture();
    void PreviousPicture();
    void SlideTick();

    // The options: the slide show on or off at once, and a new interval (seconds × 1000 + 1 ms).
    void SetRunSlideShow(bool run);
    void SetSlideShowTime(int seconds);
    void SetImageSequence(int sequence) { settings_.sequence = sequence; }

    size_t AreaCount() const { return areas_.size(); }
    const TDynamicStringArray& Files(size_t area) const { return areas_[area].files; }
    QImage Picture(size_t area) const;
    bool AreaShown(size_t area) const;
    size_t PictureIndex() const { return index_; }
    bool Running() const { return timer_.isActive(); }
    int Interval() const { return timer_.interval(); }

private:
    struct RArea;
    void Load(size_t area);
    RArea* Current();

    struct RArea {
        QWidget* control;
        int screen;
        TDynamicStringArray files;
    };
    std::vector<RArea> areas_;
    RSlideSettings settings_;
    std::function<int()> currentScreen_;
    QTimer timer_;
    size_t current_ = 0;
    size_t index_ = 0;
    int lastShown_ = -1;
};

// A picture file of the slide show: a JPEG through libjpeg, anything else through Qt's readers.
QImage LoadSlide(const std::string& winPath);
