#pragma once
// A program for popups under test that has nothing around them: no pictures, a main window at
// the screen's origin, a desktop too wide to clamp, screen 0, no window animation, and chosen
// items that do nothing; the clock and the pointer are the system's, as in the program. Tests
// override what they watch.
#include <QCursor>
#include <QDeadlineTimer>

#include "skin/PopupHost.h"

class TIdlePopupHost : public IPopupHost {
public:
    QImage LoadPicture(const std::string&) override { return {}; }
    QPoint ClientToScreen(QPoint clientPoint) override { return clientPoint; }
    QRect Desktop() override { return QRect(-(1 << 20), -(1 << 20), 1 << 21, 1 << 21); }
    int CurrentScreen() const override { return 0; }
    bool AnimationOffered() override { return false; }
    void Choose(const std::string&) override {}
    void FavoriteDeleted(int) override {}
    void FavoritesBuilt() override {}
    qint64 Now() override { return QDeadlineTimer::current().deadline(); }
    QPoint Cursor() override { return QCursor::pos(); }
};
