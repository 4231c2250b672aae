// The popup windows and their owner: building them per screen, showing, the pointer, choosing.
#include "skin/PopupWin.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QVariantAnimation>

#include <charconv>

#include "platform/ReaderAct.h"
#include "skin/WindowShape.h"

namespace {

constexpr qint64 kSlidePauseMs = 250;  // a popup shown again sooner opens without the slide
constexpr int kSlideMs = 100;

bool toInt(std::string_view text, int& value) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// The points "x,y" of an outline; malformed points are left out, and fewer than three valid
// points make no outline (such a shape would have no area).
QPolygon outlineOf(const TDynamicStringArray& vertex) {
    QPolygon polygon;
    for (const std::string& point : vertex) {
        const size_t comma = point.find(',');
        int x = 0, y = 0;
        if (comma != std::string::npos && toInt(std::string_view(point).substr(0, comma), x) &&
            toInt(std::string_view(point).substr(comma + 1), y))
            polygon << QPoint(x, y);
    }
    return polygon.size() >= 3 ? polygon : QPolygon();
}

} // namespace

// On Wayland a window is placed where the compositor likes unless it is a popup of its parent,
// which it keeps where it was asked for, beside the pointer.
TPopupWindow::TPopupWindow(IPopupHost& host, QWidget* parent)
    : QWidget(parent, ShapeByPainting() ? Qt::Popup | Qt::FramelessWindowHint
                                        : Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      host_(host) {
    PrepareShapedWindow(*this);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

TPopupWindow::~TPopupWindow() = default;

void TPopupWindow::Configure(const RPopupData& section) {
    data_ = section;
    const QImage loaded = host_.LoadPicture(section.backgroundPicture);
    if (!loaded.isNull()) {
        picture_ = loaded.convertToFormat(loaded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                   : QImage::Format_RGB32);
        background_ = picture_;
        resize(picture_.size());
    }
    margin_ = section.itemMargin == -1 ? 5 : section.itemMargin;
    outline_ = outlineOf(section.vertex);
    shape_ = QRegion();
    clearMask();
    deleteMode_ = false;
}

void TPopupWindow::ShowAt(QPoint point, bool deleteMode) {
    if (deleteMode) deleteMode_ = true;
    QPoint at = point;
    if (Type() == kPopupHistoryBack) at.rx() -= width();
    if ((data_.backgroundX != -1 || data_.backgroundY != -1)) {
        const QPoint fixed = host_.ClientToScreen(QPoint(data_.backgroundX, data_.backgroundY));
        if (data_.backgroundX != -1) at.setX(fixed.x());
        if (data_.backgroundY != -1) at.setY(fixed.y());
    }
    const QRect desk = host_.Desktop();
    if (at.x() + width() > desk.x() + desk.width()) at.setX(desk.x() + desk.width() - width());
    if (at.y() + height() > desk.y() + desk.height()) at.setY(desk.y() + desk.height() - height());
    at.setX(std::max(at.x(), desk.x()));
    at.setY(std::max(at.y(), desk.y()));
    move(at);

    const int screen = host_.CurrentScreen();
    const qint64 now = host_.Now();
    const bool slide = (!shownBefore_ || now - lastShow_ > kSlidePauseMs) && host_.AnimationOffered() && screen == 1;
    shownBefore_ = true;
    lastShow_ = now;
    slideRan_ = false;
    if (screen == 0 && HasOutline()) shape_ = QRegion(outline_, Qt::WindingFill);
    RestoreShape();
    QToolTip::hideText();  // a page's or a button's hint would stand over the popup
    show();
    if (slide) StartSlide(host_.Cursor().y() > at.y());
    update();
}

// Reveals the window over 100 ms by growing its mask from the top edge down, or from the bottom
// edge up, within its outline.
void TPopupWindow::StartSlide(bool upward) {
    slideRan_ = true;
    slideUpward_ = upward;
    if (!slide_) {
        slide_ = new QVariantAnimation(this);
        slide_->setDuration(kSlideMs);
        slide_->setStartValue(0.0);
        slide_->setEndValue(1.0);
        connect(slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            const int rows = std::max(1, int(height() * value.toDouble() + 0.5));
            QRegion open(slideUpward_ ? QRect(0, height() - rows, width(), rows) : QRect(0, 0, width(), rows));
            if (!shape_.isEmpty()) open &= shape_;
            shown_ = open.isEmpty() ? QRegion(0, 0, 1, 1) : open;
            ApplyWindowShape(*this, shown_);
            if (ShapeByPainting()) update();
        });
        connect(slide_, &QVariantAnimation::finished, this, [this] { RestoreShape(); });
    }
    slide_->stop();
    slide_->start();
}

void TPopupWindow::RestoreShape() {
    shown_ = shape_;
    ApplyWindowShape(*this, shape_);
    if (ShapeByPainting()) update();
}

void TPopupWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    for (auto& item : items_) item->hover = item->pressed = false;
}

// A pointer that leaves fast sends no last move inside: the hover look goes with it.
void TPopupWindow::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    PointerMove(QPoint(-1, -1));
}

void TPopupWindow::HidePopup() {
    if (slide_ && slide_->state() == QAbstractAnimation::Running) {
        slide_->stop();
        RestoreShape();
    }
    deleteMode_ = false;
    for (auto& item : items_) item->hover = item->pressed = false;
    hide();
}

void TPopupWindow::PointerMove(QPoint point) {
    for (auto& item : items_) {
        if (!item->visible || !item->placed) continue;
        const bool in = item->Inside(point);
        if (in == item->hover) continue;
        item->hover = in;
        if (!in) item->pressed = false;
        update(item->Rect());
    }
}

void TPopupWindow::PointerDown(QPoint point) {
    for (size_t i = 0; i < items_.size(); ++i) {
        TItemsBtn& item = *items_[i];
        if (!item.visible || !item.placed || !item.Inside(point) || item.pressed) continue;
        item.pressed = true;
        update(item.Rect());
        Choose(int(i));
        return;
    }
}

// The command may rebuild the popups: nothing of this popup is touched after it ran.
void TPopupWindow::Choose(int index) {
    if (deleteMode_) {
        RemoveItem(index);
        host_.FavoriteDeleted(index);
        if (!AnyItemVisible()) HidePopup();
        return;
    }
    const std::string command = items_[size_t(index)]->command;
    HidePopup();
    QCoreApplication::processEvents();
    host_.Choose(command);
}

void TPopupWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (ShapeByPainting() && !shown_.isEmpty()) painter.setClipRegion(shown_);
    if (!background_.isNull()) painter.drawImage(0, 0, background_);
    for (const auto& item : items_) {
        if (!item->visible || !item->placed) continue;
        const QImage& look = item->Picture(item->pressed ? 2 : item->hover ? 1 : 0);
        if (!look.isNull()) painter.drawImage(item->Rect().topLeft(), look);
    }
}

void TPopupWindow::mouseMoveEvent(QMouseEvent* event) { PointerMove(SkinPixel(event->position())); }
void TPopupWindow::mousePressEvent(QMouseEvent* event) {
    const TReaderAct click;
    PointerDown(SkinPixel(event->position()));
}
void TPopupWindow::wheelEvent(QWheelEvent* event) { event->accept(); }

TControlPopupWindow::TControlPopupWindow(const TInterfaceDescription& elements, IPopupHost& host, QWidget* window)
    : elements_(elements), host_(host), window_(window) {}

TControlPopupWindow::~TControlPopupWindow() {
    for (auto& popup : popups_) delete popup.data();
}

void TControlPopupWindow::Rebuild() {
    const int screen = host_.CurrentScreen();
    const auto& lists = elements_.ScreenPopups;
    bool any = false;
    for (size_t s = size_t(std::max(screen, 0)); s < lists.size() && !any; ++s) any = !lists[s].empty();
    if (!any) return;
    HideAll();
    static const std::vector<RPopupData> kNone;
    const auto& list = screen >= 0 && size_t(screen) < lists.size() ? lists[size_t(screen)] : kNone;
    // A popup freed here may be the one whose item chose the screen change: it goes later.
    while (popups_.size() > list.size()) {
        if (TPopupWindow* popup = popups_.back()) popup->deleteLater();
        popups_.pop_back();
    }
    while (popups_.size() < list.size()) popups_.emplace_back(new TPopupWindow(host_, window_));
    bool favorites = false;
    for (size_t i = 0; i < list.size(); ++i) {
        TPopupWindow* popup = popups_[i];
        if (!popup) popups_[i] = popup = new TPopupWindow(host_, window_);
        const RPopupData& data = list[i];
        popup->Configure(data);
        if (data.type == kPopupHistoryBack || data.type == kPopupHistoryForward) {
            popup->ResetItems(8);
            continue;
        }
        popup->ResetItems(0);
        favorites = favorites || data.type == kPopupFavorite;
        if (data.type == kPopupFavorite) continue;
        for (size_t c = 0; c < data.captions.size(); ++c)
            popup->AddItem(data.captions[c], c < data.commands.size() ? data.commands[c] : std::string());
    }
    if (favorites) host_.FavoritesBuilt();
}

TPopupWindow* TControlPopupWindow::Popup(int type) const {
    const int wanted = type == -4 ? kPopupFavorite : type;
    for (const auto& popup : popups_)
        if (popup && popup->Type() == wanted) return popup;
    return nullptr;
}

void TControlPopupWindow::ShowPopup(int type, QPoint screenPoint) {
    TPopupWindow* popup = Popup(type);
    if (!popup || !popup->AnyItemVisible()) return;
    popup->ShowAt(screenPoint, type == -4);
}

void TControlPopupWindow::HideAll() {
    for (const auto& popup : popups_)
        if (popup) popup->HidePopup();
}

bool TControlPopupWindow::AnyVisible() const {
    for (const auto& popup : popups_)
        if (popup && popup->isVisible()) return true;
    return false;
}

void TControlPopupWindow::ResetItems(int count, int type) {
    if (TPopupWindow* popup = Popup(type)) popup->ResetItems(std::max(count, 0));
}

void TControlPopupWindow::AddItem(const std::string& caption, const std::string& command, int type) {
    if (TPopupWindow* popup = Popup(type)) popup->AddItem(caption, command);
}

void TControlPopupWindow::SetItem(const std::string& caption, const std::string& command, int index, int type) {
    if (TPopupWindow* popup = Popup(type)) popup->SetItem(caption, command, index);
}

void TControlPopupWindow::ShowItem(bool visible, int type, int index) {
    if (TPopupWindow* popup = Popup(type)) popup->ShowItem(visible, index);
}
