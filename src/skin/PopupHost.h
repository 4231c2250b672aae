#pragma once
// What the skin's popups need of the program: pictures, where the main window and the desktop
// lie, the screen shown, the clock and the pointer of the slide, and what chosen items do.
// Window thread only.
#include <QImage>
#include <QPoint>
#include <QRect>

#include <string>

class IPopupHost {
public:
    virtual ~IPopupHost() = default;
    virtual QImage LoadPicture(const std::string& name) = 0;
    virtual QPoint ClientToScreen(QPoint clientPoint) = 0;  // main window client -> screen ("xfon", "yfon")
    virtual QRect Desktop() = 0;                            // the available desktop, for clamping
    virtual int CurrentScreen() const = 0;
    virtual bool AnimationOffered() = 0;                  // the system offers window animation
    virtual void Choose(const std::string& command) = 0;  // runs a chosen item's command
    virtual void FavoriteDeleted(int index) = 0;          // delete mode removed favourite index
    virtual void FavoritesBuilt() = 0;  // Rebuild emptied the favourites popup: fill it again
    virtual qint64 Now() = 0;           // milliseconds of a monotonic clock
    virtual QPoint Cursor() = 0;        // screen position of the pointer
};
