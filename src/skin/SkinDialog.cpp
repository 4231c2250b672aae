// The message dialog's pages: building one for a show, painting it, the find's result list,
// closing, and the stored switch states.
#include "skin/SkinDialog.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QListWidget>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <map>

#include "effects/EffBtnCar.h"
#include "effects/EffCar.h"
#include "platform/QtText.h"
#include "platform/ReaderAct.h"
#include "platform/SettingsStore.h"
#include "skin/DialogText.h"
#include "skin/MyControl.h"
#include "skin/SkinFont.h"

TCoolDialog::TCoolDialog(TDialogDescription description, ICoolDialogHost& host, TTickerFactory tickers, std::string appTitle)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      description_(std::move(description)), host_(host), tickers_(std::move(tickers)),
      appTitle_(std::move(appTitle)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    effect_ = new TEffCar(this, tickers_);
    // The find boxes are widgets of their own over the fading picture: they wait for its end.
    effect_->Decoration = [this](bool hide) {
        for (QWidget* box : host_.FindBoxes())
            if (box->parentWidget() == this) box->setVisible(!hide && page_ == 1);
    };
    ReadSwitchStates();
}

TCoolDialog::~TCoolDialog() { FreeElements(); }

bool TCoolDialog::EffectRunning() const { return effect_->Running(); }

bool TCoolDialog::ShowDialog(int page, const std::string& text) {
    if (page < 0 || size_t(page) >= description_.pages.size()) return false;
    const RDialogPage& p = description_.pages[size_t(page)];
    const QImage background = p.picture.empty() ? QImage() : host_.LoadPicture(p.picture);
    if (background.isNull()) return false;
    FreeElements();
    RemoveResults();
    pendingClose_.reset();
    page_ = page;
    int widening = 0;
    picture_ = Compose(background, text, widening);
    BuildButtons(widening);
    BuildSwitches();
    PlaceFindBoxes();
    if (page_ == 1) host_.RefreshScaleBar();
    setFixedSize(picture_.size());
    fullHeight_ = picture_.height();
    CentreOnMainWindow();
    {
        const TReaderAct::TProgramOwn replay;  // a switch's state replayed is not the reader's click
        for (RSwthGrp& s : description_.pages[size_t(page_)].switches)
            if (s.state) RunCommand(s.command, s.sound);
    }
    if (!isVisible()) effect_->StartCrossFade();
    show();
    raise();
    update();
    return true;
}

namespace {

// The picture widened by repeating its middle column.
QImage Widened(const QImage& background, int widening) {
    if (widening <= 0) return background;
    const int w = background.width(), half = w / 2;
    QImage picture(w + widening, background.height(), background.format());
    QPainter copy(&picture);
    copy.drawImage(0, 0, background, 0, 0, half, -1);
    copy.drawImage(half + widening, 0, background, half, 0, -1, -1);
    for (int x = half; x < half + widening; ++x) copy.drawImage(x, 0, background, half, 0, 1, -1);
    return picture;
}

// The text may take the rows from its area's top down to the first element below it.
int TextRoom(const RDialogPage& page, int pictureHeight) {
    int limit = pictureHeight;
    for (const RBtn& b : page.buttons)
        if (b.top > page.text.top) limit = std::min(limit, b.top);
    for (const RSwthGrp& s : page.switches)
        if (s.top > page.text.top) limit = std::min(limit, s.top);
    return limit - page.text.top;
}

} // namespace

// The page's picture with the text on it. A text wider than its area widens the picture by the
// overflow, repeating the middle column, and is drawn from the area's left; one that fits is
// centred in the area. The widening never takes the page past the screen: a text still wider is
// broken into lines between its words, as many as fit above the page's elements.
QImage TCoolDialog::Compose(const QImage& background, const std::string& text, int& widening) const {
    const RDialogPage& page = description_.pages[size_t(page_)];
    const RText& area = page.text;
    const QFont font = SkinFont(area.font, area.size, area.style);
    const QFontMetrics metrics(font);
    const QString shown = ToQt(text);
    const int cx = metrics.horizontalAdvance(shown), cy = metrics.height();
    const int w = background.width(), a = area.right - area.left;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int room = std::max(0, (screen ? screen->availableGeometry().width() : 1024) - w);
    widening = cx > a ? std::min(cx - a, room) : 0;
    const QStringList lines = cx - a > room ? WrapDialogText(metrics, shown, a + widening, TextRoom(page, background.height()) / cy)
                                            : QStringList{shown};
    QImage picture = Widened(background, widening);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(QColor(int(area.color & 0xFF), int((area.color >> 8) & 0xFF), int((area.color >> 16) & 0xFF)));
    const int x = cx > a ? area.left : area.left + (a - cx) / 2;
    painter.setClipRect(QRect(QPoint(area.left, area.top), QPoint(area.right + widening - 1, area.top + cy * int(lines.size()) - 1)));
    for (int i = 0; i < lines.size(); ++i) painter.drawText(QPoint(x, area.top + i * cy + metrics.ascent()), lines[i]);
    return picture;
}

void TCoolDialog::BuildButtons(int widening) {
    for (const RBtn& b : description_.pages[size_t(page_)].buttons) {
        RDialogButton button;
        const std::string* names[3] = {&b.picture1, &b.picture2, &b.picture3};
        for (int k = 0; k < 3; ++k)
            if (!names[k]->empty()) button.pictures[k] = host_.LoadPicture(*names[k]);
        const int shift = b.runText == "left" ? 0 : b.runText == "middle" ? widening / 2 : widening;
        button.rect = QRect(b.left + shift, b.top, button.pictures[0].width(), button.pictures[0].height());
        button.command = b.command;
        button.sound = b.sound;
        button.control = Carrier(button.rect, b.hint);
        button.fader = new TEffBtnCar(this, 4, tickers_);
        DrawIntoPicture(button.rect.topLeft(), button.pictures[0]);
        buttons_.push_back(std::move(button));
    }
}

// The hint carrier of an element, passing the pointer on to the dialog.
TMyControl* TCoolDialog::Carrier(const QRect& rect, const std::string& hint) {
    const bool hints = host_.HintsOn();
    return new TMyControl(this, rect, hints ? ToQt(hint) : QString(), [this](TMyControl::TMouse kind, QMouseEvent*, QPoint at) {
        if (kind == TMyControl::TMouse::Move) PointerMove(at);
        else if (kind == TMyControl::TMouse::Down) PointerDown(at);
        else PointerUp(at);
    });
}

// Switches never move with a wide text.
void TCoolDialog::BuildSwitches() {
    for (RSwthGrp& s : description_.pages[size_t(page_)].switches) {
        RDialogSwitch pic;
        const std::string* names[4] = {&s.picture1, &s.picture2, &s.picture3, &s.picture4};
        for (int k = 0; k < 4; ++k)
            if (!names[k]->empty()) pic.pictures[k] = host_.LoadPicture(*names[k]);
        pic.rect = QRect(s.left, s.top, pic.pictures[0].width(), pic.pictures[0].height());
        s.right = s.left + pic.rect.width();
        s.bottom = s.top + pic.rect.height();
        s.hover = false;
        pic.control = Carrier(pic.rect, s.hint);
        pic.fader = new TEffBtnCar(this, 4, tickers_);
        DrawIntoPicture(pic.rect.topLeft(), pic.pictures[0]);
        switches_.push_back(std::move(pic));
    }
}

// The find boxes live on the find page; elsewhere the first one leaves the dialog.
void TCoolDialog::PlaceFindBoxes() {
    const std::vector<QWidget*> boxes = host_.FindBoxes();
    for (QWidget* box : boxes) {
        if (page_ == 1) {
            box->setParent(this);
            box->show();
        } else if (box->parentWidget() == this) {
            box->hide();
            box->setParent(nullptr);
        }
    }
}

void TCoolDialog::CentreOnMainWindow() {
    const QRect main = host_.MainWindowGeometry();
    if (main.isNull()) return;
    move(main.left() + main.width() / 2 - width() / 2, main.top() + main.height() / 2 - height() / 2);
}

void TCoolDialog::DrawIntoPicture(QPoint at, const QImage& picture) {
    if (picture.isNull() || picture_.isNull()) return;
    QPainter painter(&picture_);
    painter.drawImage(at, picture);
    update(QRect(at, picture.size()));
}

void TCoolDialog::SetFindButtonHint(const std::string& hint) {
    for (const RDialogButton& b : buttons_)
        if (b.command == "findnext1" && b.control) b.control->setToolTip(ToQt(hint));
}

// The list lies under the find page's controls; without results the page ends above it.
void TCoolDialog::ShowFindResults() {
    const std::vector<std::string> captions = host_.FindResults();
    if (captions.empty()) return RemoveResults();
    if (!results_) {
        results_ = new QListWidget(this);
        results_->setFrameShape(QFrame::NoFrame);
        results_->setGeometry(11, 127, 377, 112);
        connect(results_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
            host_.OpenFindResult(results_->row(item));
        });
    }
    results_->clear();
    for (const std::string& caption : captions) results_->addItem(ToQt(caption));
    results_->show();
    setFixedHeight(fullHeight_);
}

void TCoolDialog::RemoveResults() {
    delete results_;
    if (page_ == 1 && fullHeight_ > 0) setFixedHeight(std::min(kEmptyFindHeight, fullHeight_));
}

void TCoolDialog::Close(int code) {
    if (host_.Busy()) {
        // A running scan still uses the list and the boxes: it is asked to stop, and the page
        // goes once it has.
        pendingClose_ = code;
        host_.StopFind();
        return;
    }
    FinishClose(code);
}

void TCoolDialog::ScanEnded() {
    if (pendingClose_) FinishClose(*pendingClose_);
}

void TCoolDialog::FinishClose(int code) {
    pendingClose_.reset();
    resultCode_ = code;
    host_.FindClosed();
    delete results_;
    FreeElements();
    WriteSwitchStates();
    hide();
    if (asking_) asking_->quit();
    host_.DialogClosed(code);
}

void TCoolDialog::FreeElements() {
    for (RDialogButton& b : buttons_) {
        delete b.control;
        delete b.fader;
    }
    for (RDialogSwitch& s : switches_) {
        delete s.control;
        delete s.fader;
    }
    buttons_.clear();
    switches_.clear();
}

// "SwGrpD" + page + index, both decimal without a separator: page 1 switch 12 and page 11
// switch 2 give the same name, so a name two stored switches share is neither read nor written.
std::vector<std::string> TCoolDialog::StoredNames() const {
    std::vector<std::string> names;
    std::map<std::string, int> uses;
    for (size_t p = 0; p < description_.pages.size(); ++p)
        for (size_t j = 0; j < description_.pages[p].switches.size(); ++j) {
            const std::string name = "SwGrpD" + std::to_string(p) + std::to_string(j);
            names.push_back(description_.pages[p].switches[j].store ? name : std::string());
            if (!names.back().empty()) ++uses[name];
        }
    for (std::string& name : names)
        if (!name.empty() && uses[name] > 1) name.clear();
    return names;
}

void TCoolDialog::ReadSwitchStates() {
    const std::vector<std::string> names = StoredNames();
    const TSettingsStore store(appTitle_);
    size_t n = 0;
    for (RDialogPage& page : description_.pages)
        for (RSwthGrp& s : page.switches) {
            s.hover = false;
            if (!names[n++].empty()) store.ReadBool(names[n - 1], s.state);
        }
}

void TCoolDialog::WriteSwitchStates() const {
    const std::vector<std::string> names = StoredNames();
    TSettingsStore store(appTitle_);
    size_t n = 0;
    for (const RDialogPage& page : description_.pages)
        for (const RSwthGrp& s : page.switches)
            if (!names[n++].empty()) store.WriteBool(names[n - 1], s.state);
}
