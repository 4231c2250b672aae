#include "app/MainForm.h"
#include "app/LinkServices.h"
#include "html/HtmlFrame.h"

#include <QApplication>
#include <QBuffer>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QMovie>
#include <QScreen>
#include <QSplitter>

#include "app/SuperTicker.h"
#include "app/SuperTimer.h"
#include "base/Cp1251.h"
#include "platform/QtText.h"
#include "base/FileErrors.h"
#include "base/GlobalPaths.h"
#include "effects/EffBtnCar.h"
#include "effects/EffCar.h"
#include "html/PictureQuery.h"
#include "html/TreeList.h"
#include "packs/ComprStream.h"
#include "platform/ChannelWindow.h"
#include "platform/Drives.h"
#include "platform/FileSearch.h"
#include "platform/SettingsStore.h"
#include "skin/CommandDispatcher.h"
#include "skin/MyControl.h"

TMainForm::TMainForm(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock) {
    FormCreate(programFolderHost, line, lock);
}

TMainForm::~TMainForm() { FormDestroy(); }

THandle TMainForm::WindowHandle() const { return channel_ ? channel_->Handle() : 0; }

void TMainForm::FormCreate(const std::string& programFolderHost, const TCommandLine& line, TInstanceLock& lock) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    start_ = RunStartup(programFolderHost, line, [this](const std::string& text) {
        QMessageBox::warning(this, QString(), ToQt(text), QMessageBox::Ok);
    }, lock);
    if (Terminating()) return;

    channel_ = new TChannelWindow(this);
    connect(channel_, &TChannelWindow::CloseRequested, this, &QWidget::close);
    connect(channel_, &TChannelWindow::CopyDataReceived, this, &TMainForm::OnCopyData);
    connect(channel_, &TChannelWindow::MessageReceived, this, &TMainForm::OnMessage);
    connect(channel_, &TChannelWindow::ActivateRequested, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
    if (start_.outcome != TStartOutcome::Shell) {
        // The thesaurus and standard windows are plain framed windows of their own.
        const QString caption = start_.outcome == TStartOutcome::Thesaurus
                                    ? ToQt("\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1")  // Тезаурус
                                    : ToQt(line.bookArgs.front());
        helpOnly_ = start_.outcome == TStartOutcome::Thesaurus || line.RawCommandLine().find(" /h") != std::string::npos;
        setWindowTitle(caption);
        channel_->SetCaption(FromQt(caption));
        resize(640, 480);
        return;
    }
    QApplication::setApplicationName(ToQt(AppTitle()));
    setWindowTitle(ToQt(AppTitle()));
    channel_->SetCaption(AppTitle());
    BuildWindow();
}

// The construction of the skinned window from the interface description.
void TMainForm::BuildWindow() {
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setMouseTracking(true);
    elements_ = ReadElements(start_.structLines, start_.keys);
    if (!start_.keys.icon.empty()) {
        TMemoryStream icon;
        if (start_.bundle->ReadBundleStream(start_.keys.icon, icon)) {
            QPixmap pixmap;
            if (pixmap.loadFromData(icon.Data(), static_cast<uint>(icon.Size()))) QApplication::setWindowIcon(QIcon(pixmap));
        }
    }
    TSettingsStore settings(AppTitle());
    if (!settings.ReadBool("Wav", buttonSounds_)) buttonSounds_ = true;
    if (!settings.ReadBool("BGSound", backgroundSound_)) backgroundSound_ = true;
    if (!settings.ReadBool("Hint", hints_)) hints_ = true;
    setAcceptDrops(true);

    car_ = new TEffCar(this, SuperTimerTickers());
    car_->FallbackBackground = [this] { return background_; };
    car_->Decoration = [this](bool hide) {
        if (currentScreen_ == 0 && piston_) piston_->setVisible(!hide);
        if (currentScreen_ == 1 && panelBkgrd_) panelBkgrd_->setVisible(!hide && panelBkgrd_->property("wanted").toBool());
    };
    animationTimer_ = new TSuperTimer(this);
    animationTimer_->OnTimer = [this](TSuperTimer*) { AnimationTick(); };

    // The first screen's background gives the window its size, once.
    currentScreen_ = 0;
    const QImage first = elements_.ScreenBackgrounds.empty() ? QImage() : LoadPicture(elements_.ScreenBackgrounds[0]);
    resize(first.isNull() ? QSize(640, 480) : first.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
    for (const TPoint& p : start_.keys.vertexMain) shape_ << QPoint(p.x, p.y);
    if (shape_.size() >= 3) ApplyRegion(QRegion(shape_, Qt::WindingFill));
    ReadSwitchStates();
    BuildScreen(true);

    // The background panel holds the contents trees on the reading screen.
    panelBkgrd_ = new QWidget(this);
    panelBkgrd_->setGeometry(33, 90, 673, 421);
    panelBkgrd_->setAttribute(Qt::WA_NoSystemBackground);
    auto* splitter = new QSplitter(panelBkgrd_);
    splitter->setStyleSheet("QSplitter::handle { background: rgb(0, 80, 70); }");
    panelBkgrd_->hide();

    // The piston animation beside the first screen's buttons.
    try {
        TComprStream gif(ProgramDir() + "piston.gif");
        auto* buffer = new QBuffer(this);
        buffer->setData(reinterpret_cast<const char*>(gif.Data()), static_cast<qsizetype>(gif.Size()));
        auto* movie = new QMovie(buffer, QByteArray(), this);
        if (movie->isValid()) {
            piston_ = new QLabel(this);
            piston_->setMovie(movie);
            piston_->move(583, 470);
            piston_->adjustSize();
            movie->start();
        }
    } catch (const EFOpenError&) {
        // no piston on this disc
    }

    // The disc's fonts are available while the book runs.
    TDynamicStringArray masks{"*.ttf"};
    for (const auto& font : WalkFiles(ProgramDir(), masks, false, false))
        if (const auto host = HostPathsService().Find(font))
            installedFonts_.push_back(QFontDatabase::addApplicationFont(QString::fromStdString(*host)));

    BuildPages();
    ReplaySwitches(false);
    if (start_.keys.bgSoundDef.empty()) backgroundSound_ = false;
}

// Shutdown, in order: the exit button's sound, the fonts, the stored switch states.
void TMainForm::FormDestroy() {
    if (Terminating() || start_.outcome != TStartOutcome::Shell) return;
    if (exitButton_ >= 0 && buttonSounds_ && size_t(currentScreen_) < elements_.ScreenButtons.size()) {
        const auto& buttons = elements_.ScreenButtons[size_t(currentScreen_)];
        if (size_t(exitButton_) < buttons.size()) {
            const std::string& sound = buttons[size_t(exitButton_)].sound;
            if (!sound.empty() && sound != "no") PlaySoundToEnd(ProgramDir() + sound);
        }
    }
    start_.structLines.clear();
    for (int id : installedFonts_) QFontDatabase::removeApplicationFont(id);
    if (!StartState().restrictedRun) WriteSwitchStates();
}

