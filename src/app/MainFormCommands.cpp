// The commands the main window carries out itself: screens, window commands, sounds, and the
// hand-over of page commands to the page frame.
#include <QApplication>
#include <QLabel>
#include <QEventLoop>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include "app/MainForm.h"
#include "app/LinkServices.h"
#include "html/HtmlFrame.h"
#include "app/SuperTimer.h"
#include "base/Cp1251.h"
#include "platform/QtText.h"
#include "base/GlobalPaths.h"
#include "effects/EffBtnCar.h"
#include "effects/EffCar.h"
#include "html/PageFrameApi.h"
#include "html/TreeList.h"
#include "platform/BusyCursor.h"
#include "platform/ChannelWindow.h"
#include "platform/Drives.h"
#include "platform/InstanceChannel.h"
#include "platform/Launch.h"
#include "skin/CommandDispatcher.h"

bool TMainForm::Busy() const { return BusyFlag; }

int TMainForm::ScreenCount() const { return static_cast<int>(elements_.ScreenBackgrounds.size()); }

void TMainForm::RunCommand(const std::string& command) { ExecuteCommand(*this, command, "", 0, ekButton, true); }

void TMainForm::CloseMainWindow(int exitButton) {
    if (exitButton >= 0) exitButton_ = exitButton;
    THandle handle = 0;
    if (TInstanceChannel::Instance().FindVisibleWindow(AppTitle(), handle)) TInstanceChannel::Instance().SendClose(handle);
    else close();
}

// Button sounds play asynchronously; a sound that cannot be played is simply not heard.
void TMainForm::PlaySound(const std::string& file) {
    const auto host = HostPathsService().Find(file);
    if (!host) return;
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(QString::fromStdString(*host)));
    connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying()) effect->deleteLater();
    });
    effect->play();
}

// The exit button's sound is heard to its end before the window goes (at most a few seconds).
void TMainForm::PlaySoundToEnd(const std::string& file) {
    const auto host = HostPathsService().Find(file);
    if (!host) return;
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(QString::fromStdString(*host)));
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying()) loop.quit();
    });
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Error) loop.quit();
    });
    effect.play();
    loop.exec();
}

void TMainForm::SwitchScreen(int target, int index, int kind) {
    if (target < 0 || target >= ScreenCount()) return;
    if (clipStartTimer_) clipStartTimer_->SetEnabled(false);
    // The element that sent the command loses its hover and press.
    if (kind == ekButton && index >= 0 && size_t(index) < buttonPics_.size()) {
        RBtnPic& pic = buttonPics_[size_t(index)];
        pic.spare = pic.hover = pic.pressed = false;
        if (pic.fader) pic.fader->Stop();
        pic.shown = QImage();
    } else if (kind == ekSwitchOne && size_t(currentScreen_) < elements_.ScreenSwitchesOne.size() &&
               size_t(index) < elements_.ScreenSwitchesOne[size_t(currentScreen_)].size()) {
        elements_.ScreenSwitchesOne[size_t(currentScreen_)][size_t(index)].hover = false;
    } else if (kind == ekSwitchGrp && size_t(currentScreen_) < elements_.ScreenSwitchesGrp.size() &&
               size_t(index) < elements_.ScreenSwitchesGrp[size_t(currentScreen_)].size()) {
        elements_.ScreenSwitchesGrp[size_t(currentScreen_)][size_t(index)].hover = false;
    }
    currentScreen_ = target;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BuildScreen(false);
    if (piston_) piston_->setVisible(currentScreen_ != 1);
    if (pageFrame_) pageFrame_->ShowForScreen(currentScreen_);
    for (TTreeViews* tree : {tree1_, tree2_})
        if (tree) tree->ShowTreeForScreen(currentScreen_);
    ReplaySwitches(true);
    if (htmlFrame_) htmlFrame_->FitToPanel();
    if (currentScreen_ == 0 && car_ && isVisible()) car_->StartCrossFade();
    repaint();
    // A 3-D clip switched on starts a moment after the screen is up.
    bool clip3d = false;
    if (size_t(currentScreen_) < elements_.ScreenSwitchesOne.size())
        for (const auto& sw : elements_.ScreenSwitchesOne[size_t(currentScreen_)]) clip3d |= sw.state && sw.downCommand == "3d";
    if (clip3d && currentScreen_ != 0) {
        if (!clipStartTimer_) {
            clipStartTimer_ = new TSuperTimer(this);
            clipStartTimer_->SetInterval(100);
            clipStartTimer_->OnTimer = [this](TSuperTimer* timer) {
                if (!EffectRunning()) timer->SetEnabled(false);
            };
        }
        clipStartTimer_->SetEnabled(true);
    }
    QApplication::restoreOverrideCursor();
    emit ScreenChanged(currentScreen_);
}

void TMainForm::RunFile(const std::string& file, const std::string& parameters) {
    const auto host = HostPathsService().Find(file);
    if (!host) return;
    const QString path = QString::fromStdString(*host);
    const QString folder = path.left(path.lastIndexOf('/'));
    const QStringList args = ToQt(parameters).split(' ', Qt::SkipEmptyParts);
    LaunchProgram(path, args, folder);
}

void TMainForm::Minimize(int index, int kind) {
    showMinimized();
    if (kind == ekButton && index >= 0 && size_t(index) < buttonPics_.size()) {
        buttonPics_[size_t(index)].hover = buttonPics_[size_t(index)].pressed = false;
        buttonPics_[size_t(index)].shown = QImage();
    }
}

// Back and forward are followed by the visible tree selecting the page now shown.
void TMainForm::Back() {
    if (!pageFrame_) return;
    pageFrame_->GoBack();
    for (TTreeViews* tree : {tree1_, tree2_})
        if (tree) tree->SyncTreeToPage("");
}
void TMainForm::Forward() {
    if (!pageFrame_) return;
    pageFrame_->GoForward();
    for (TTreeViews* tree : {tree1_, tree2_})
        if (tree) tree->SyncTreeToPage("");
}
void TMainForm::OpenHtml(const std::string& file, int view) {
    if (htmlFrame_ && pageFrame_ == htmlFrame_.get()) htmlFrame_->OpenHtmlCommand(file, view);
    else if (pageFrame_) pageFrame_->OpenInElement(file, view);
}
void TMainForm::CopyHtml() {
    if (pageFrame_) pageFrame_->CopyPage();
}
void TMainForm::PrintHtml() {
    if (pageFrame_) pageFrame_->PrintPage();
}
void TMainForm::TopHtml() {
    if (pageFrame_) pageFrame_->ScrollToTop();
}
void TMainForm::NextChapter() {
    if (pageFrame_) pageFrame_->NextChapter();
}
void TMainForm::PrevChapter() {
    if (pageFrame_) pageFrame_->PrevChapter();
}

// Help topics open the book's help file with the desktop's viewer.
void TMainForm::Help() {
    if (start_.keys.helpFile.empty()) return;
    if (const auto host = HostPathsService().Find(start_.keys.helpFile))
        ShellOpen(QString::fromStdString(*host), QString::fromStdString(HostPathsService().ToHost(ProgramDir()).value_or("")));
}
