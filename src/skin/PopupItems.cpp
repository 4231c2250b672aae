// The items of a popup: their pictures and captions, and how the popup lays them out.
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "base/Cp1251.h"
#include "platform/QtText.h"
#include "skin/PopupWin.h"
#include "skin/SkinFont.h"

namespace {

constexpr int kTextMargin = 7;  // left and right of a caption

// A copy that can be painted on (an indexed picture cannot), with the resolution fonts are
// measured at, so that the drawn caption has the measured width.
QImage paintable(const QImage& picture) {
    if (picture.isNull()) return picture;
    QImage out = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                   : QImage::Format_RGB32);
    const QImage fresh(1, 1, QImage::Format_RGB32);
    out.setDotsPerMeterX(fresh.dotsPerMeterX());
    out.setDotsPerMeterY(fresh.dotsPerMeterY());
    return out;
}

// Entry index of a picture list, entry 0 when the list is shorter; only the name part of a path.
std::string pictureName(const TDynamicStringArray& names, int index) {
    if (names.empty()) return {};
    const std::string& path = size_t(index) < names.size() ? names[size_t(index)] : names[0];
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

QColor colorOf(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// The text box of a caption on one look, and whether the caption fits with its margins.
struct RTextBox {
    QRect box;
    bool fits = false;
};

RTextBox textBox(const QFontMetrics& metrics, const QString& text, QSize item) {
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    RTextBox r;
    int top = 1, bottom = item.height() - 1;
    if (height < item.height()) {
        top = (item.height() - height) / 2;
        bottom = top + height;
    }
    r.fits = width + 2 * kTextMargin < item.width();
    const int right = r.fits ? kTextMargin + width : item.width() - kTextMargin;
    r.box = QRect(QPoint(kTextMargin, top), QPoint(right - 1, bottom - 1));
    return r;
}

// Drops characters from the end and appends "..." until the text fits; an item too narrow for
// even "..." ends with it alone.
QString shortened(const QFontMetrics& metrics, const QString& text, int width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    QString kept = text;
    QString candidate;
    do {
        kept.chop(1);
        candidate = kept + QStringLiteral("...");
    } while (metrics.horizontalAdvance(candidate) > width && !kept.isEmpty());
    return candidate;
}

} // namespace

TItemsBtn::TItemsBtn(QWidget* popup, TMyControl::TForward forward)
    : carrier_(new TMyControl(popup, QRect(), QString(), std::move(forward))) {
    carrier_->hide();
}

// The carrier may be the one whose press is being handled: it goes at the next event loop turn.
TItemsBtn::~TItemsBtn() {
    if (!carrier_) return;
    carrier_->hide();
    carrier_->deleteLater();
}

void TItemsBtn::Prepare(const RPopupData& data, int index, IPopupHost& host) {
    const TDynamicStringArray* lists[3] = {&data.itemPicturesUp, &data.itemPicturesMove, &data.itemPicturesDown};
    for (int k = 0; k < 3; ++k) {
        const std::string name = pictureName(*lists[k], index);
        const QImage loaded = name.empty() ? QImage() : host.LoadPicture(name);
        if (!loaded.isNull()) base_[k] = paintable(loaded);
        pictures_[k] = base_[k];
    }
    fonts_[0] = SkinFont(data.fontUp, data.sizeUp, data.styleUp);
    fonts_[1] = SkinFont(data.fontMove, data.sizeMove, data.styleMove);
    colors_[0] = data.colorUp;
    colors_[1] = data.colorMove;
}

void TItemsBtn::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    const QString text = ToQt(caption);
    const QSize item = Size();
    // Whether to shorten, and to what, is decided with the normal font for all three looks.
    const QFontMetrics normal(fonts_[0]);
    const RTextBox normalBox = textBox(normal, text, item);
    drawn_ = shortened(normal, text, normalBox.box.width());
    bool hinted = false;
    for (int k = 0; k < 3; ++k) {
        const QFont& font = fonts_[k == 0 ? 0 : 1];
        const RTextBox box = textBox(QFontMetrics(font), text, item);
        hinted = hinted || !box.fits;
        pictures_[k] = base_[k];
        if (pictures_[k].isNull()) continue;
        QPainter painter(&pictures_[k]);
        painter.setFont(font);
        painter.setPen(colorOf(colors_[k == 0 ? 0 : 1]));
        painter.setClipRect(box.box);
        painter.drawText(box.box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, drawn_);
    }
    hint_ = hinted ? text : QString();
    if (carrier_) carrier_->setToolTip(hint_);
}

bool TItemsBtn::Inside(QPoint p) const {
    const QRect r = Rect();
    return r.left() < p.x() && p.x() < r.left() + r.width() && r.top() < p.y() && p.y() < r.top() + r.height();
}

void TItemsBtn::Place(QPoint at) {
    pos_ = at;
    placed = true;
    if (!carrier_) return;
    carrier_->setGeometry(Rect());
    carrier_->show();
}

void TItemsBtn::Unplace() {
    placed = false;
    if (carrier_) carrier_->hide();
}

std::unique_ptr<TItemsBtn> TPopupWindow::NewItem(int index) {
    auto forward = [this](TMyControl::TMouse mouse, QMouseEvent*, QPoint point) {
        if (mouse == TMyControl::TMouse::Move) PointerMove(point);
        else if (mouse == TMyControl::TMouse::Down) PointerDown(point);
    };
    auto item = std::make_unique<TItemsBtn>(this, forward);
    item->Prepare(data_, index, host_);
    return item;
}

void TPopupWindow::ResetItems(int count) {
    items_.clear();
    for (int i = 0; i < count; ++i) items_.push_back(NewItem(i));
    Layout();
}

void TPopupWindow::AddItem(const std::string& caption, const std::string& command) {
    auto item = NewItem(ItemCount());
    item->visible = true;
    item->command = command;
    item->SetCaption(caption);
    items_.push_back(std::move(item));
    Layout();
}

void TPopupWindow::SetItem(const std::string& caption, const std::string& command, int index) {
    if (index < 0 || index >= ItemCount()) return;
    items_[size_t(index)]->SetCaption(caption);
    items_[size_t(index)]->command = command;
    Layout();
}

void TPopupWindow::ShowItem(bool visible, int index) {
    if (index < 0 || index >= ItemCount()) return;
    items_[size_t(index)]->visible = visible;
    Layout();
}

// Captions, commands and visibility of the following items move up one place; each place keeps
// its pictures and position, and loses the pressed and hover looks of the item that was there, so
// a second press in the same place deletes the next one.
void TPopupWindow::RemoveItem(int index) {
    for (size_t j = size_t(index); j + 1 < items_.size(); ++j) {
        items_[j]->SetCaption(items_[j + 1]->Caption());
        items_[j]->command = items_[j + 1]->command;
        items_[j]->visible = items_[j + 1]->visible;
        items_[j]->hover = items_[j]->pressed = false;
    }
    items_.pop_back();
    Layout();
}

bool TPopupWindow::AnyItemVisible() const {
    return std::any_of(items_.begin(), items_.end(), [](const auto& item) { return item->visible; });
}

// Items placed before the first hidden or unplaced one keep their places; the visible ones after
// it are stacked below them. Without an outline the background follows the column's height.
void TPopupWindow::Layout() {
    auto firstGap = std::find_if(items_.begin(), items_.end(), [](const auto& i) { return !i->visible || !i->placed; });
    for (auto it = firstGap; it != items_.end(); ++it) (*it)->Unplace();
    const int width = picture_.width();
    int next = margin_;
    int sum = 0;
    for (auto& item : items_) {
        if (!item->visible) continue;
        const QSize size = item->Size();
        if (!item->placed) {
            const int left = data_.itemLeft == -1 ? (width - size.width()) / 2 : data_.itemLeft;
            item->Place(QPoint(left, next));
        }
        next = item->Rect().top() + size.height();
        sum += size.height();
    }
    if (!HasOutline()) FitBackground(sum + 2 * margin_);
    update();
}

// The picture's bottom band of item-margin rows goes to the new bottom; rows in between, when
// the popup grew, repeat the picture's middle row. The band never exceeds the picture.
void TPopupWindow::FitBackground(int height) {
    height = std::max(height, 0);
    if (picture_.isNull() || height == 0) {
        background_ = picture_.isNull() ? QImage() : picture_.copy(0, 0, picture_.width(), 0);
        resize(std::max(picture_.width(), 1), std::max(height, 1));
        return;
    }
    const int old = picture_.height();
    const int band = std::clamp(margin_, 0, std::min(old, height));
    const int top = std::min(old, height) - band;
    QImage out(picture_.width(), height, picture_.format());
    out.setDotsPerMeterX(picture_.dotsPerMeterX());
    out.setDotsPerMeterY(picture_.dotsPerMeterY());
    const size_t bytes = size_t(std::min(out.bytesPerLine(), picture_.bytesPerLine()));
    auto copyRow = [&](int from, int to) { std::memcpy(out.scanLine(to), picture_.constScanLine(from), bytes); };
    for (int y = 0; y < top; ++y) copyRow(y, y);
    for (int y = top; y < height - band; ++y) copyRow(std::min(old / 2, old - 1), y);
    for (int y = 0; y < band; ++y) copyRow(old - band + y, height - band + y);
    background_ = out;
    resize(background_.size());
}
