// The main window's creation from the interface description, and its shutdown.
#include "app/MainForm.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSplitter>

#include "app/BookMessages.h"
#include "app/BookSounds.h"
#include "archive/UnRar.h"
#include "media/ButtonSound.h"
#include "app/KeyPreview.h"
#include "app/Piston.h"
#include "app/SkinControls.h"
#include "app/LinkServices.h"
#include "app/SuperTicker.h"
#include "app/WindowAnimation.h"
#include "base/FileErrors.h"
#include "base/GlobalPaths.h"
#include "effects/EffCar.h"
#include "html/HtmlFrame.h"
#include "html/PictureQuery.h"
#include "html/TreeList.h"
#include "packs/CfsCodec.h"
#include "packs/ComprStream.h"
#include "platform/ChannelWindow.h"
#include "platform/hostpaths/Drives.h"
#include "platform/hostpaths/FileSearch.h"
#include "platform/QtText.h"
#include "platform/SettingsStore.h"
#include "settings/FormOptions.h"
#include "skin/SkinDialog.h"
#include "skin/WindowShape.h"
#include "skin/SkinScreen.h"

TMainForm::TMainForm(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock) {
    FormCreate(programFolderHost, line, lock);
}

TMainForm::~TMainForm() { FormDestroy(); }

THandle TMainForm::WindowHandle() const { return channel_ ? channel_->Handle() : 0; }

int TMainForm::CurrentScreen() const { return skin_ ? skin_->Current() : 0; }

const QImage& TMainForm::Background() const {
    static const QImage none;
    return skin_ ? skin_->Background() : none;
}

void TMainForm::FormCreate(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    start_ = RunStartup(programFolderHost, line, [this](const std::string& text) {
        QMessageBox::warning(this, QString(), ToQt(text), QMessageBox::Ok);
    }, lock);
    if (Terminating()) return;

    channel_ = new TChannelWindow(this);
    connect(channel_, &TChannelWindow::CloseRequested, this, &QWidget::close);
    new TBookMessages(*this, *channel_);
    new TKeyPreview(*this, [this](QKeyEvent* event) { return FormKeyDown(event); });
    connect(channel_, &TChannelWindow::ActivateRequested, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
    if (start_.outcome == TStartOutcome::Standard) return BuildStandardStart();
    if (start_.outcome == TStartOutcome::Thesaurus) return BuildThesaurusWindow();
    QApplication::setApplicationName(ToQt(AppTitle()));
    SetCaption(AppTitle());
    BuildWindow();
}

// The construction of the skinned window from the interface description, in order.
void TMainForm::BuildWindow() {
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    PrepareShapedWindow(*this);
    setMouseTracking(true);
    elements_ = ReadElements(start_.structLines, start_.keys);
    ReadOptions();
    InstallBookCodecs(start_.keys.codec, options_ && options_->Values().clip);
    setAcceptDrops(true);
    car_ = new TEffCar(this, SuperTimerTickers());
    car_->FallbackBackground = [this] { return fadeFrom_.isNull() ? Background() : fadeFrom_; };
    car_->Decoration = [this](bool hide) {
        if (CurrentScreen() == 0 && piston_) piston_->setVisible(!hide);
        if (CurrentScreen() == 1 && panelBkgrd_) panelBkgrd_->setVisible(!hide && panelBkgrd_->property("wanted").toBool());
    };
    animation_ = new TWindowAnimation(*this, [this](const QRegion& region) { ApplyRegion(region); });
    BuildSkin();
    BuildPanel();
    piston_ = MakePiston(this);
    AddDiscFonts();
    BuildPages();
    BuildControls();
    BuildMedia();
    ReplaySwitches(false);
}

// The window's icon from the bundle and the options that shape the window.
void TMainForm::ReadOptions() {
    TMemoryStream icon;
    QPixmap pixmap;
    if (!start_.keys.icon.empty() && start_.bundle->ReadBundleStream(start_.keys.icon, icon) &&
        pixmap.loadFromData(icon.Data(), static_cast<uint>(icon.Size())))
        QApplication::setWindowIcon(QIcon(pixmap));
    BuildOptions();
}

// The first screen's background gives the window its size, once; the stored switch states
// count before the first screen is built.
void TMainForm::BuildSkin(int buttonFadeStep) {
    RSkinHost host;
    host.window = this;
    host.buttonFadeStep = buttonFadeStep;
    host.loadPicture = [this](const std::string& name) { return LoadPicture(name); };
    host.effectRunning = [this] { return EffectRunning(); };
    host.treesHidden = [this] { return TreesHidden(); };
    host.tickers = SuperTimerTickers();
    host.forward = [this](TMyControl::TMouse kind, QMouseEvent* e, QPoint at) {
        if (kind == TMyControl::TMouse::Move) FormMouseMove(at, e->modifiers());
        else if (kind == TMyControl::TMouse::Down) FormMouseDown(e->button(), at, e->modifiers());
        else FormMouseUp(e->button(), at, e->modifiers());
    };
    skin_ = std::make_unique<TSkinScreen>(elements_, std::move(host));
    skin_->SetHintsShown(HintsShown());
    const QImage first = elements_.ScreenBackgrounds.empty() ? QImage() : LoadPicture(elements_.ScreenBackgrounds[0]);
    resize(first.isNull() ? QSize(640, 480) : first.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
    QPolygon shape;
    for (const TPoint& p : start_.keys.vertexMain) shape << QPoint(p.x, p.y);
    if (shape.size() >= 3) ApplyRegion(QRegion(shape, Qt::WindingFill));
    skin_->ReadSwitchStates(AppTitle());
    skin_->Build(0, true);
}

// The background panel holds the contents trees on the reading screen.
void TMainForm::BuildPanel() {
    panelBkgrd_ = new QWidget(this);
    panelBkgrd_->setGeometry(33, 90, 673, 421);
    panelBkgrd_->setAttribute(Qt::WA_NoSystemBackground);
    auto* splitter = new QSplitter(panelBkgrd_);
    splitter->setStyleSheet("QSplitter::handle { background: rgb(0, 80, 70); }");
    panelBkgrd_->hide();
}

// The disc's fonts are available while the book runs.
void TMainForm::AddDiscFonts() {
    TDynamicStringArray masks{"*.ttf"};
    for (const auto& font : WalkFiles(ProgramDir(), masks, false, false))
        if (const auto host = HostPathsService().Find(font))
            installedFonts_.push_back(QFontDatabase::addApplicationFont(QString::fromStdString(*host)));
}

// The media, with every sound the book names decoded ahead.
void TMainForm::BuildMedia() {
    media_ = std::make_unique<TBookMedia>(*this, *this, elements_, start_.keys, *options_);
    connect(this, &TMainForm::ScreenChanged, media_.get(), [this] { media_->ScreenChanged(); });
    linkServices_->PlaySound = [this](const std::string& path) { media_->PlayLinkSound(path); };
    const TCoolDialog* dialog = controls_ ? controls_->Dialog() : nullptr;
    if (ButtonSoundsOn()) PreloadBookSounds(elements_, dialog ? &dialog->Description() : nullptr, start_.bundle.get());
}

// The message dialog needs its description in the bundle, and is made only for a free run of
// the book's window (the thesaurus window has none: its find box sits on the window).
void TMainForm::BuildControls(bool withDialog) {
    TDynamicStringArray dialogLines;
    std::vector<uint8_t> bytes;
    if (withDialog && !StartState().restrictedRun && start_.bundle->ReadBundleEntry("Dialog.cfs", bytes) > 0)
        DecodeCfsLines(bytes.data(), bytes.size(), dialogLines, true);
    controls_ = std::make_unique<TSkinControls>(*this, dialogLines);
    connect(this, &TMainForm::ScreenChanged, controls_.get(), [this](int screen) { controls_->ScreenChanged(screen); });
}

QImage TMainForm::LoadPicture(const std::string& name) const {
    TMemoryStream stream;
    QImage picture;
    if (!name.empty() && start_.bundle && start_.bundle->ReadBundleStream(name, stream))
        picture.loadFromData(stream.Data(), static_cast<int>(stream.Size()));
    return picture.convertToFormat(QImage::Format_RGB32);
}

// Shutdown, in order: the exit button's sound, the fonts, the stored switch states.
void TMainForm::FormDestroy() {
    if (Terminating() || start_.outcome != TStartOutcome::Shell) return;
    const auto* buttons = size_t(CurrentScreen()) < elements_.ScreenButtons.size() ? &elements_.ScreenButtons[size_t(CurrentScreen())] : nullptr;
    if (exitButton_ >= 0 && ButtonSoundsOn() && buttons && size_t(exitButton_) < buttons->size()) {
        const std::string& sound = (*buttons)[size_t(exitButton_)].sound;
        if (!sound.empty() && sound != "no") PlaySoundToEnd(ProgramDir() + sound);
    }
    start_.structLines.clear();
    if (media_) media_->Stop();
    controls_.reset();
    for (int id : installedFonts_) QFontDatabase::removeApplicationFont(id);
    if (!StartState().restrictedRun) skin_->WriteSwitchStates(AppTitle());
}
