#include "media/SlideImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QWidget>

#include <algorithm>

#include "base/WinPath.h"
#include "base/Cp1251.h"
#include "media/JpegPicture.h"
#include "platform/hostpaths/Drives.h"
#include "platform/hostpaths/FileSearch.h"

namespace {

// A picture area: the picture centred, the pointer's moves told to the window.
class TPictureArea : public QWidget {
public:
    TPictureArea(QWidget* window, std::function<void()> over) : QWidget(window), over_(std::move(over)) {
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }
    void SetPicture(const QImage& picture) {
        picture_ = picture;
        update();
    }
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (picture_.isNull()) return;
        QPainter painter(this);
        painter.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2, picture_);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (over_) over_();
        QWidget::mouseMoveEvent(event);
    }

private:
    QImage picture_;
    std::function<void()> over_;
};

constexpr int kMinIntervalMs = 1000;

}  // namespace

QImage LoadSlide(const std::string& winPath) {
    const auto host = HostPathsService().Find(winPath);
    if (!host) return {};
    const std::string extension = Cp1251::asciiLower(WinPath::Extension(winPath));
    if (extension == ".jpg" || extension == ".jpeg") return DecodeJpeg(*host);
    return QImage(QString::fromStdString(*host));
}

TSlideImage::TSlideImage(QWidget* window, const std::vector<RImage>& images, RSlideSettings settings,
                         std::function<int()> currentScreen, std::function<void()> pointerOver)
    : settings_(settings), currentScreen_(std::move(currentScreen)) {
    for (const RImage& image : images) {
        auto* area = new TPictureArea(window, pointerOver);
        area->setGeometry(image.left, image.top, image.right - image.left, image.bottom - image.top);
        area->hide();
        TDynamicStringArray masks{"*.bmp", "*.jpg", "*.jpeg"};
        areas_.push_back({area, image.screen, WalkFiles(image.dir, masks, false, false)});
    }
    SetSlideShowTime(settings_.seconds);
    connect(&timer_, &QTimer::timeout, this, [this] { SlideTick(); });
    ShowSlides();
}

TSlideImage::RArea* TSlideImage::Current() { return current_ < areas_.size() ? &areas_[current_] : nullptr; }

QImage TSlideImage::Picture(size_t area) const { return static_cast<TPictureArea*>(areas_[area].control)->Picture(); }

bool TSlideImage::AreaShown(size_t area) const { return !areas_[area].control->isHidden(); }

// A picture that cannot be read leaves the area as it was.
void TSlideImage::Load(size_t area) {
    const RArea& a = areas_[area];
    if (a.files.empty()) return;
    const QImage picture = LoadSlide(a.files[index_ % a.files.size()]);
    if (!picture.isNull()) static_cast<TPictureArea*>(a.control)->SetPicture(picture);
}

// The current screen's area shows and runs the slide show; the previous screen's stops and hides.
void TSlideImage::ShowSlides() {
    const int screen = currentScreen_ ? currentScreen_() : 0;
    for (size_t i = 0; i < areas_.size(); ++i) {
        RArea& area = areas_[i];
        if (area.screen == screen) {
            area.control->show();
            current_ = i;
            if (Picture(i).isNull()) Load(i);
            if (settings_.run) timer_.start();
        }
        if (area.screen == lastShown_ && lastShown_ != screen) {
            if (settings_.run) timer_.stop();
            area.control->hide();
        }
    }
    lastShown_ = screen;
}

void TSlideImage::NextPicture() {
    RArea* area = Current();
    if (!area || area->files.empty()) return;
    index_ = index_ + 1 >= area->files.size() ? 0 : index_ + 1;
    Load(current_);
}

void TSlideImage::PreviousPicture() {
    RArea* area = Current();
    if (!area || area->files.empty()) return;
    index_ = index_ == 0 || index_ > area->files.size() ? area->files.size() - 1 : index_ - 1;
    Load(current_);
}

void TSlideImage::SlideTick() {
    RArea* area = Current();
    if (settings_.sequence == 0) NextPicture();
    else if (settings_.sequence == 1) PreviousPicture();
    else if (area && !area->files.empty()) {
        index_ = QRandomGenerator::global()->bounded(quint32(area->files.size()));
        Load(current_);
    }
}

void TSlideImage::SetRunSlideShow(bool run) {
    settings_.run = run;
    const RArea* area = Current();
    const bool shown = area && !area->control->isHidden();
    if (run && shown) timer_.start();
    else timer_.stop();
}

// A time of no seconds or less would make a busy timer: at least a second.
void TSlideImage::SetSlideShowTime(int seconds) {
    settings_.seconds = seconds;
    timer_.setInterval(std::max(kMinIntervalMs, seconds * 1000 + 1));
}
