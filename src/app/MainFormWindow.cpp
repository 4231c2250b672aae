// The main window as a window: its shape and animations, closing, keys and dropped files.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMimeData>

#include "app/DiscImageOption.h"
#include "app/MainForm.h"
#include "skin/AboutBox.h"
#include "settings/FormOptions.h"
#include "skin/SkinScreen.h"
#include "app/WindowAnimation.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "effects/EffCar.h"
#include "html/engine/PageScheme.h"
#include "platform/BookWindows.h"
#include "platform/ChannelWindow.h"
#include "platform/Diagnostics.h"
#include "platform/QtText.h"
#include "platform/hostpaths/Drives.h"
#include "platform/ReaderAct.h"
#include "skin/WindowShape.h"
#include "rules/CommandDispatcher.h"

using namespace BookWindows;

namespace {
constexpr int kMaxClosesPerCaption = 64;  // a window that refuses to close cannot hold the exit up
} // namespace

bool TMainForm::AnimationRunning() const { return animation_ && animation_->Running(); }
bool TMainForm::EffectRunning() const { return car_ && car_->Running(); }

// The offscreen platform has no window shapes; the region is still kept for whoever asks.
void TMainForm::ApplyRegion(const QRegion& region) {
    region_ = region;
    if (QGuiApplication::platformName() != "offscreen") ApplyWindowShape(*this, region);
    if (ShapeByPainting()) update();
}

void TMainForm::ShowAnimated(std::function<void()> done) {
    ApplyRegion(TWindowAnimation::StartRegion(*this));  // hidden until the first ellipse
    show();
    animation_->Open(std::move(done));
}

// The start clip plays first when the book has one; then the window opens and the music starts.
// A switched-on 3-D clip, which could not play while the window was hidden, starts once the
// window is open.
void TMainForm::StartBook(std::function<void()> done) {
    auto open = [this, done = std::move(done)] {
        ShowAnimated([this, done] {
            if (options_) options_->ClearAnimation();  // the start is over
            if (media_ && skin_ && skin_->SwitchedOn("3d") && CurrentScreen() == 0) media_->Clip3D();
            if (done) done();
        });
        if (media_) media_->StartMusic();
    };
    if (!media_) return open();
    media_->PlayStartClipThen(std::move(open));
}

// The book's other windows close first; the program ends with the closing animation.
void TMainForm::StartClosingSequence() {
    if (InStandardWindow()) SetCaption(AppTitle());  // it is the book closing, not a picture window
    CloseWindows(kHelp, 1);
    CloseWindows(kThesaurus, 1);
    CloseWindows(kWiringViewer, kMaxClosesPerCaption);
    for (const char* caption : kHelpCaptions) CloseWindows(caption, kMaxClosesPerCaption);
    about_.Close();
    if (!StartState().restrictedRun) CloseWindows(kEnlargedPicture, kMaxClosesPerCaption);
    animation_->Close([this] {
        if (media_) media_->FreeClips();
        hide();
        if (media_) media_->FadeMusicOutThen([] { QApplication::quit(); });
        else QApplication::quit();
    });
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (start_.outcome != TStartOutcome::Shell || StartState().restrictedRun) {
        event->accept();
        return;
    }
    event->ignore();
    if (!AnimationRunning()) StartClosingSequence();
    if (media_) media_->StopClipTimer();
}

// The window's key table; true when it took the key, which then reaches no child.
bool TMainForm::FormKeyDown(QKeyEvent* event) {
    if (EffectRunning()) return false;
    const int key = event->key();
    if (helpOnly_) {
        if (key == Qt::Key_Escape) QApplication::quit();
        return key == Qt::Key_Escape;
    }
    if (key == Qt::Key_Escape) {
        EscapeKey();
        return true;
    }
    if (key == Qt::Key_F1) {
        if (CurrentScreen() != 0 && CurrentScreen() != 1) return false;
        Help();
        return true;
    }
    if (!pageFrame_ || CurrentScreen() != 1) return false;
    return PageKey(key, event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
}

// The keys of the reading screen; false for a key that is none of them.
bool TMainForm::PageKey(int key, Qt::KeyboardModifiers mods) {
    const bool shift = mods == Qt::ShiftModifier, ctrl = mods == Qt::ControlModifier;
    auto clickSwitches = [this](const char* command) {
        if (size_t(CurrentScreen()) >= elements_.ScreenSwitchesOne.size()) return;
        const auto& ones = elements_.ScreenSwitchesOne[size_t(CurrentScreen())];
        for (size_t j = 0; j < ones.size(); ++j)
            if (Cp1251::asciiEqualsNoCase(ones[j].upCommand, command) || Cp1251::asciiEqualsNoCase(ones[j].downCommand, command))
                ClickSwitchOne(int(j), false);
    };
    if (shift && key == Qt::Key_T) findCommands_->Thesaurus("");
    else if (shift && key == Qt::Key_Z) clickSwitches("tree1");
    else if (mods == (Qt::ShiftModifier | Qt::ControlModifier) && key == Qt::Key_Z) clickSwitches("offtree");
    else if (shift && key == Qt::Key_Left) RunCommand("prevchapter");
    else if (shift && key == Qt::Key_Right) RunCommand("nextchapter");
    else if (shift && key == Qt::Key_Home) RunCommand("1");
    else if (ctrl && key == Qt::Key_I) AddToFavorites();
    else if (ctrl && key == Qt::Key_P) pageCommands_->PrintHtml();
    else if (ctrl && key == Qt::Key_F) findCommands_->OpenFindDialog();
    else if (ctrl && key == Qt::Key_A) pageFrame_->SelectAll();
    else return false;
    return true;
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const TReaderAct drop;
    DropUrls(event->mimeData()->urls());
    event->acceptProposedAction();
}

// Only the first dropped file counts.
void TMainForm::DropUrls(const QList<QUrl>& urls) {
    if (!urls.isEmpty() && urls.front().isLocalFile())
        DropFile(HostPathsService().ToWindows(urls.front().toLocalFile().toStdString()));
}

void TMainForm::DropFile(const std::string& file) {
    const std::string name = Cp1251::asciiLower(file.substr(0, 200));
    auto has = [&](std::initializer_list<const char*> parts) {
        for (const char* p : parts)
            if (name.find(p) != std::string::npos) return true;
        return false;
    };
    if (has({".htm", ".txt", ".bmp", ".jpg", ".jpeg", ".gif", ".png"})) {
        // A page from elsewhere on this computer shows as a foreign one: no scripts, plain links.
        if (PageTrust(file) == TPageTrust::Refused) AdmitForeign(WinPath::Folder(file));
        if (pageFrame_) pageFrame_->OpenInCurrentView(file);
    } else if (name.find(".rar") != std::string::npos) {
        software_->ShowArchive(file, pageFrame_ ? pageFrame_->CurrentFile() : std::string());
    } else if (!(media_ && media_->DropSound(name, file)) && !OpenDroppedImage(HostPathsService().Find(file).value_or(""))) {
        qCInfo(lcApp).noquote() << "a dropped file of no kind the book opens:" << ToQt(file);
    }
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (channel_) channel_->SetVisible(true);
}

void TMainForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (channel_) channel_->SetVisible(false);
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (channel_ && event->type() == QEvent::ActivationChange && isActiveWindow()) channel_->MarkRaised();
}
