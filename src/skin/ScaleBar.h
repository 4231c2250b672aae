#pragma once
// TScaleBar: the progress bar of the full-text find, drawn into the message dialog's find page
// from two pictures of the bundle: "status_up.bmp" empty, "status_dn.bmp" full. ResetBar draws the
// empty bar; each StepBar copies the next one-pixel column of the full picture over it. The
// pictures are held only while the bar's screen is the current one. Window thread only.
#include <QImage>
#include <QPoint>

#include <functional>
#include <string>

struct RScaleHost {
    std::function<QImage(const std::string& name)> loadPicture;
    std::function<bool()> dialogExists;
    // Draws a picture onto the dialog and into its background picture.
    std::function<void(QPoint at, const QImage& picture)> drawIntoDialog;
};

class TScaleBar {
public:
    static constexpr int kLeft = 33;
    static constexpr int kTop = 75;
    static constexpr int kScreen = 1;

    explicit TScaleBar(RScaleHost host) : host_(std::move(host)) {}

    // The screen changed to screen.
    void ShowBar(int screen);
    void ResetBar();
    // Fills the next column; past the full picture's width nothing more is drawn.
    void StepBar();

    int Position() const { return position_; }
    // The bar's length in pixels: the full picture's width, 0 off its screen.
    int Width() const { return full_.width(); }

private:
    bool OnScreen() const { return lastScreen_ == kScreen; }
    void Draw(QPoint at, const QImage& picture) const;

    RScaleHost host_;
    int position_ = kLeft;
    int lastScreen_ = -1;
    QImage empty_;
    QImage full_;
};
