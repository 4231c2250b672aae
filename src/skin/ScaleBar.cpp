#include "skin/ScaleBar.h"

void TScaleBar::ShowBar(int screen) {
    const int previous = lastScreen_;
    lastScreen_ = screen;
    if (screen == kScreen) {
        if (host_.loadPicture) {
            empty_ = host_.loadPicture("status_up.bmp");
            full_ = host_.loadPicture("status_dn.bmp");
        }
        if (host_.dialogExists && host_.dialogExists()) ResetBar();
    } else if (previous == kScreen) {
        empty_ = QImage();
        full_ = QImage();
    }
}

void TScaleBar::ResetBar() {
    position_ = kLeft;
    if (OnScreen() && !empty_.isNull()) Draw(QPoint(kLeft, kTop), empty_);
}

void TScaleBar::StepBar() {
    const int column = position_ - kLeft;
    if (OnScreen() && column >= 0 && column < full_.width())
        Draw(QPoint(position_, kTop), full_.copy(column, 0, 1, full_.height()));
    ++position_;
}

void TScaleBar::Draw(QPoint at, const QImage& picture) const {
    if (host_.drawIntoDialog && (!host_.dialogExists || host_.dialogExists())) host_.drawIntoDialog(at, picture);
}
