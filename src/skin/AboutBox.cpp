#include "skin/AboutBox.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVariantAnimation>
#include <QWindow>

#include "effects/EffBtnCar.h"
#include "effects/EffCar.h"
#include "platform/QtText.h"
#include "platform/ReaderAct.h"
#include "skin/WindowShape.h"
#include "skin/MyControl.h"
#include "skin/SkinFont.h"

namespace {

QColor ColorOf(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

}  // namespace

TAboutBox::TAboutBox(QWidget* parent, const RAboutDescription& description, IAboutHost& host, TTickerFactory tickers)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), host_(host), tickers_(std::move(tickers)) {
    setModal(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    PrepareShapedWindow(*this);
    background_ = host_.LoadPicture(description.picture);
    if (background_.isNull()) background_ = QImage(320, 200, QImage::Format_RGB32), background_.fill(Qt::white);
    setFixedSize(background_.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize free = screen->size() - background_.size();
        move(free.width() / 2, free.height() / 2);
    }
    QPolygon outline;
    for (const TPoint& p : description.vertex) outline << QPoint(p.x, p.y);
    if (outline.size() >= 3) outline_ = QRegion(outline, Qt::WindingFill);
    ApplyWindowShape(*this, outline_);
    BuildButtons(description.buttons);
    DrawTexts(description.texts);
    car_ = new TEffCar(this, tickers_);
    car_->FallbackBackground = [this] { return background_; };
}

TAboutBox::~TAboutBox() = default;

// Each button's normal picture goes into the background; a hint carrier lies over it.
void TAboutBox::BuildButtons(const std::vector<RBtn>& buttons) {
    for (const RBtn& keys : buttons) {
        TButton button;
        button.keys = keys;
        button.normal = host_.LoadPicture(keys.picture1);
        button.hover = host_.LoadPicture(keys.picture2);
        button.area = QRect(QPoint(keys.left, keys.top), button.normal.isNull() ? QSize(0, 0) : button.normal.size());
        if (!button.normal.isNull()) QPainter(&background_).drawImage(button.area.topLeft(), button.normal);
        const QString hint = host_.HintsShown() ? ToQt(keys.hint) : QString();
        new TMyControl(this, button.area, hint, [this](TMyControl::TMouse kind, QMouseEvent*, QPoint at) {
            if (kind == TMyControl::TMouse::Move) PointerAt(at);
            else if (kind == TMyControl::TMouse::Down) PressAt(at);
        });
        button.fader = new TEffBtnCar(this, 1, tickers_);
        buttons_.push_back(button);
    }
}

// Texts are drawn without a background; a "url" text becomes a link over what it shows.
void TAboutBox::DrawTexts(const std::vector<RText>& texts) {
    QPainter painter(&background_);
    for (const RText& text : texts) {
        const bool isLink = text.ident == "url";
        const RAboutLink link = AboutLink(text.value);
        const QString shown = ToQt(isLink ? link.shown : text.value);
        painter.setFont(SkinFont(text.font, text.size, text.style));
        painter.setPen(ColorOf(text.color));
        const QRect extent =
            painter.fontMetrics().boundingRect(QRect(text.left, text.top, 10000, 10000), Qt::AlignLeft | Qt::AlignTop, shown);
        painter.drawText(extent, Qt::AlignLeft | Qt::AlignTop, shown);
        if (isLink) links_.push_back({extent, link.target});
    }
}

bool TAboutBox::EffectRunning() const { return opening_ || (car_ && car_->Running()); }

void TAboutBox::ShowModal() {
    for (TButton& button : buttons_) button.hovered = false;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
}

// The opening: a short fade-in when the animation setting is on, and the car effect.
void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setCursor(Qt::ArrowCursor);
    if (host_.Animation()) {
        opening_ = true;
        auto* fade = new QVariantAnimation(this);
        fade->setStartValue(0.0);
        fade->setEndValue(1.0);
        fade->setDuration(250);
        connect(fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) { setWindowOpacity(v.toDouble()); });
        connect(fade, &QVariantAnimation::finished, this, [this] { opening_ = false; });
        fade->start(QAbstractAnimation::DeleteWhenStopped);
    }
    car_->StartCrossFade();
}

void TAboutBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (ShapeByPainting() && !outline_.isEmpty()) painter.setClipRegion(outline_);
    if (car_->Running()) return car_->PaintCurrentFrame(painter);
    painter.drawImage(0, 0, background_);
    for (const TButton& button : buttons_) {
        if (button.fader->Active()) button.fader->PaintCurrentFrame(painter);
        else if (button.hovered && !button.hover.isNull()) painter.drawImage(button.area.topLeft(), button.hover);
    }
}

int TAboutBox::ButtonAt(QPoint point) const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].area.contains(point)) return int(i);
    return -1;
}

int TAboutBox::LinkAt(QPoint point) const {
    for (size_t i = 0; i < links_.size(); ++i)
        if (links_[i].area.contains(point)) return int(i);
    return -1;
}

// The hand over a link; a button with a hover picture fades to it and back.
void TAboutBox::PointerAt(QPoint point) {
    if (EffectRunning()) return;
    setCursor(LinkAt(point) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    const int over = ButtonAt(point);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TButton& button = buttons_[i];
        const bool hovered = int(i) == over;
        if (hovered == button.hovered || button.hover.isNull() || button.normal.isNull()) continue;
        button.hovered = hovered;
        button.fader->Start(hovered ? button.normal : button.hover, hovered ? button.hover : button.normal,
                            button.area.topLeft());
    }
}

// A button plays its sound and closes the window; a link opens; elsewhere the window is dragged.
void TAboutBox::PressAt(QPoint point) {
    if (EffectRunning()) return;
    const int button = ButtonAt(point);
    if (button >= 0) host_.PlaySound(buttons_[size_t(button)].keys.sound);
    const int link = LinkAt(point);
    if (link >= 0) return host_.OpenLink(links_[size_t(link)].target);
    if (button < 0) {
        if (windowHandle()) windowHandle()->startSystemMove();
        return;
    }
    for (TButton& b : buttons_) b.hovered = false;
    setCursor(Qt::ArrowCursor);
    accept();
}

void TAboutBox::mouseMoveEvent(QMouseEvent* event) { PointerAt(SkinPixel(event->position())); }
void TAboutBox::mousePressEvent(QMouseEvent* event) {
    const TReaderAct click;
    PressAt(SkinPixel(event->position()));
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    if (EffectRunning()) return;
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) accept();
}
