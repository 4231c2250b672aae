#pragma once
// The skin's popup menus. TControlPopupWindow owns the popups of the current screen, one
// TPopupWindow per "_popup" section, and finds them by type: a user menu number, -5 the page
// context menu, -1 / -2 the history lists, -3 the favourites (-4 opens it in delete mode). A
// popup is a frameless, top-most tool window that never takes the focus, drawn from its
// background picture with a column of TItemsBtn pictures carrying their captions. Choosing an
// item hides the popup and hands the item's command to the host; in delete mode the item is
// removed instead and the host told its index.
//
// Pictures come from the host's bundle; a picture it lacks leaves what was there
// before (nothing at first: a popup or an item of no size). The interface description must
// outlive the owner, and the owner its window. Window thread only.
#include <QImage>
#include <QPointer>
#include <QPolygon>
#include <QRegion>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "rules/InterfaceDescription.h"
#include "skin/MyControl.h"
#include "skin/PopupHost.h"

class QVariantAnimation;

// One item of a popup: three looks (normal, hover, pressed) with the caption drawn on them, and
// an invisible child of the popup on its rectangle that carries the hint.
class TItemsBtn {
public:
    TItemsBtn(QWidget* popup, TMyControl::TForward forward);
    ~TItemsBtn();
    TItemsBtn(const TItemsBtn&) = delete;
    TItemsBtn& operator=(const TItemsBtn&) = delete;

    // Takes pictures and fonts of item index from the popup's data: entry index of each picture
    // list, entry 0 when the list is shorter. The size is that of the normal picture.
    void Prepare(const RPopupData& data, int index, IPopupHost& host);
    // Draws caption on the three looks; an equal caption changes nothing. A caption that does
    // not fit is shortened with "..." and becomes the hint.
    void SetCaption(const std::string& caption);

    const std::string& Caption() const { return caption_; }
    const QString& DrawnText() const { return drawn_; }
    const QString& Hint() const { return hint_; }  // empty when the caption fits
    const QImage& Picture(int look) const { return pictures_[look]; }
    QRect Rect() const { return QRect(pos_, Size()); }
    QSize Size() const { return pictures_[0].size(); }
    bool Inside(QPoint p) const;  // strictly inside: the outer pixels do not count

    std::string command;
    bool visible = false;
    bool hover = false;
    bool pressed = false;
    bool placed = false;

private:
    friend class TPopupWindow;
    void Place(QPoint at);
    void Unplace();
    void Draw(QImage& picture, const QFont& font, uint32_t color, const QString& text) const;

    QImage base_[3];      // the pictures as loaded
    QImage pictures_[3];  // with the caption
    QFont fonts_[2];      // normal, hover (also pressed)
    uint32_t colors_[2] = {0, 0};
    std::string caption_;
    QString drawn_;
    QString hint_;
    QPoint pos_;
    QPointer<TMyControl> carrier_;
};

class TPopupWindow : public QWidget {
public:
    TPopupWindow(IPopupHost& host, QWidget* parent);
    ~TPopupWindow() override;

    // Takes the section's values and background (a missing one keeps the previous picture and
    // size); the items are left to the owner. The outline needs at least three valid points.
    void Configure(const RPopupData& section);
    const RPopupData& Data() const { return data_; }
    int Type() const { return data_.type; }

    void ResetItems(int count);
    void AddItem(const std::string& caption, const std::string& command);
    void SetItem(const std::string& caption, const std::string& command, int index);
    void ShowItem(bool visible, int index);

    // Opens at a screen point; the owner has resolved type -4 to this popup and the delete mode.
    void ShowAt(QPoint point, bool deleteMode);
    void HidePopup();

    // The pointer in popup coordinates (mouse events on the popup and its items come here).
    void PointerMove(QPoint point);
    void PointerDown(QPoint point);

    int ItemCount() const { return int(items_.size()); }
    const TItemsBtn& Item(int index) const { return *items_[size_t(index)]; }
    bool AnyItemVisible() const;
    bool DeleteMode() const { return deleteMode_; }
    bool HasOutline() const { return !outline_.isEmpty(); }
    const QImage& Background() const { return background_; }
    bool SlideRan() const { return slideRan_; }  // the last show slid open

protected:
    void paintEvent(QPaintEvent*) override;
    // Hidden by the window system too (a Wayland popup closes on a press elsewhere): no item
    // keeps its hover or pressed look.
    void hideEvent(QHideEvent*) override;
    void leaveEvent(QEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    std::unique_ptr<TItemsBtn> NewItem(int index);
    void Layout();
    void FitBackground(int height);
    void Choose(int index);
    void RemoveItem(int index);
    void StartSlide(bool upward);
    void RestoreShape();

    IPopupHost& host_;
    RPopupData data_;
    QImage picture_;     // the background as loaded
    QImage background_;  // fitted to the items
    int margin_ = 5;
    QPolygon outline_;
    std::vector<std::unique_ptr<TItemsBtn>> items_;
    bool deleteMode_ = false;
    bool slideRan_ = false;
    bool slideUpward_ = false;
    bool shownBefore_ = false;
    qint64 lastShow_ = 0;
    QVariantAnimation* slide_ = nullptr;
    QRegion shape_;  // the mask the window keeps after a slide; empty: none
    QRegion shown_;  // the part shown now, which a translucent window paints
};

class TControlPopupWindow {
public:
    // The host outlives the owner; window is the transient parent of the popups, may be null.
    TControlPopupWindow(const TInterfaceDescription& elements, IPopupHost& host, QWidget* window);
    ~TControlPopupWindow();
    TControlPopupWindow(const TControlPopupWindow&) = delete;
    TControlPopupWindow& operator=(const TControlPopupWindow&) = delete;

    // Builds the popups of the host's current screen. When neither that screen nor any higher
    // one has a popup, the popups stay as they are.
    void Rebuild();
    void ShowPopup(int type, QPoint screenPoint);
    void HideAll();
    bool AnyVisible() const;

    // The list operations; type -4 means -3, and an unknown type or index changes nothing.
    void ResetItems(int count, int type);
    void AddItem(const std::string& caption, const std::string& command, int type);
    void SetItem(const std::string& caption, const std::string& command, int index, int type);
    void ShowItem(bool visible, int type, int index);

    // The first popup of the current screen with the type (-4 looks up -3), or null.
    TPopupWindow* Popup(int type) const;
    int PopupCount() const { return int(popups_.size()); }

private:
    const TInterfaceDescription& elements_;
    IPopupHost& host_;
    QWidget* window_;
    std::vector<QPointer<TPopupWindow>> popups_;
};
