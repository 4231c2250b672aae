// The main window as a window: its shape and animations, closing, keys, dropped files and the
// messages of the book's other processes.
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainterPath>

#include "app/MainForm.h"
#include "app/LinkServices.h"
#include "html/HtmlFrame.h"
#include "app/SuperTimer.h"
#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "effects/EffCar.h"
#include "html/PageFrameApi.h"
#include "html/TreeList.h"
#include "platform/ChannelWindow.h"
#include "platform/Drives.h"
#include "platform/InstanceChannel.h"
#include "skin/CommandDispatcher.h"

namespace {

// Window captions of the book's helpers, in CP1251.
const char* const kHelpCaptions[] = {
    "Help System: \xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE \xEF\xEE \xF0\xE5\xEC\xEE\xED\xF2\xF3 \xE8 \xFD\xEA\xF1\xEF\xEB\xF3\xE0\xF2\xE0\xF6\xE8\xE8 \xE0\xE2\xF2\xEE\xEC\xEE\xE1\xE8\xEB\xFF",
    "\xD1\xEF\xF0\xE0\xE2\xEA\xE0: \xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE \xEF\xEE \xF0\xE5\xEC\xEE\xED\xF2\xF3 \xE8 \xFD\xEA\xF1\xEF\xEB\xF3\xE0\xF2\xE0\xF6\xE8\xE8 \xE0\xE2\xF2\xEE\xEC\xEE\xE1\xE8\xEB\xFF",
    "Help Topics: \xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE \xEF\xEE \xF0\xE5\xEC\xEE\xED\xF2\xF3 \xE8 \xFD\xEA\xF1\xEF\xEB\xF3\xE0\xF2\xE0\xF6\xE8\xE8 \xE0\xE2\xF2\xEE\xEC\xEE\xE1\xE8\xEB\xFF",
    "\xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE \xEF\xEE \xF0\xE5\xEC\xEE\xED\xF2\xF3 \xE8 \xFD\xEA\xF1\xEF\xEB\xF3\xE0\xF2\xE0\xF6\xE8\xE8 \xE0\xE2\xF2\xEE\xEC\xEE\xE1\xE8\xEB\xFF",
};
const char kHelpWindow[] = "\xCF\xEE\xEC\xEE\xF9\xFC";                       // Помощь
const char kThesaurusWindow[] = "\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1";           // Тезаурус
const char kPictureWindow[] = "\xD3\xE2\xE5\xEB\xE8\xF7\xE5\xED\xED\xE0\xFF \xEA\xE0\xF0\xF2\xE8\xED\xEA\xE0";  // Увеличенная картинка
constexpr int kMaxClosesPerCaption = 64;  // a window that refuses to close cannot hold the exit up

constexpr uint32_t kMsgPrintPending = 0x04C8;
constexpr uint32_t kMsgAnswer = 0x04C9;
constexpr uint32_t kMsgPageShown = 0x069A;

void closeWindows(const char* caption, int times) {
    THandle handle = 0;
    for (int i = 0; i < times && TInstanceChannel::Instance().FindVisibleWindow(caption, handle); ++i)
        TInstanceChannel::Instance().SendClose(handle);
}

QRegion roundedRegion(const QRect& r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(r), 10, 10);  // 20 x 20 corners
    return QRegion(path.toFillPolygon().toPolygon());
}

} // namespace

bool TMainForm::AnimationRunning() const { return animation_ != TAnimation::None; }
bool TMainForm::EffectRunning() const { return car_ && car_->Running(); }

// The offscreen platform has no window shapes; the region is still kept for whoever asks.
void TMainForm::ApplyRegion(const QRegion& region) {
    region_ = region;
    if (QGuiApplication::platformName() != "offscreen") setMask(region);
}

void TMainForm::ShowAnimated(std::function<void()> done) {
    openingDone_ = std::move(done);
    // An empty region hides the window until the first ellipse.
    ApplyRegion(QRegion(width() / 2, height() / 2, 1, 1));
    show();
    insetX_ = width() / 2;
    insetY_ = height() / 2;
    animation_ = TAnimation::Opening;
    animationTimer_->SetInterval(1);
    animationTimer_->SetEnabled(true);
}

void TMainForm::StartClosingSequence() {
    closeWindows(kHelpWindow, 1);
    closeWindows(kThesaurusWindow, 1);
    closeWindows("Varurorivazi", kMaxClosesPerCaption);
    for (const char* caption : kHelpCaptions) closeWindows(caption, kMaxClosesPerCaption);
    if (!StartState().restrictedRun) closeWindows(kPictureWindow, kMaxClosesPerCaption);
    insetX_ = insetY_ = 0;
    animation_ = TAnimation::Closing;
    animationTimer_->SetInterval(2);
    animationTimer_->SetEnabled(true);
}

void TMainForm::AnimationTick() {
    const int w = width(), h = height();
    if (animation_ == TAnimation::Opening) {
        if (-w / 2 > insetX_) {
            animationTimer_->SetEnabled(false);
            animation_ = TAnimation::None;
            if (openingDone_) std::exchange(openingDone_, {})();
            return;
        }
        ApplyRegion(QRegion(QRect(QPoint(insetX_, insetY_), QPoint(w - insetX_, h - insetY_)), QRegion::Ellipse));
        insetX_ -= 4;
        insetY_ -= 2;
        return;
    }
    if (animation_ != TAnimation::Closing) return;
    if (insetY_ <= h / 2 - 10) {
        ApplyRegion(roundedRegion(QRect(QPoint(0, insetY_), QPoint(w, h - insetY_))));
        insetY_ += 2;
    } else if (insetX_ <= w / 2 - 10) {
        ApplyRegion(roundedRegion(QRect(QPoint(insetX_, insetY_), QPoint(w - insetX_, h - insetY_))));
        insetX_ += 3;
    } else if (insetX_ <= w / 2) {
        ApplyRegion(QRegion(QRect(QPoint(insetX_, insetY_), QPoint(w - insetX_, h - insetY_)), QRegion::Ellipse));
        insetX_ += 1;
        insetY_ += 1;
    } else {
        animationTimer_->SetEnabled(false);
        animation_ = TAnimation::None;
        hide();
        QApplication::quit();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (start_.outcome != TStartOutcome::Shell || StartState().restrictedRun) {
        event->accept();
        return;
    }
    event->ignore();
    if (!AnimationRunning()) StartClosingSequence();
    delete clipStartTimer_;
    clipStartTimer_ = nullptr;
}

void TMainForm::keyPressEvent(QKeyEvent* event) { FormKeyDown(event); }

void TMainForm::FormKeyDown(QKeyEvent* event) {
    if (EffectRunning()) return;
    const int key = event->key();
    if (helpOnly_) {
        if (key == Qt::Key_Escape) QApplication::quit();
        return;
    }
    if (key == Qt::Key_F1) {
        if (currentScreen_ == 0 || currentScreen_ == 1) Help();
        return;
    }
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (!pageFrame_ || currentScreen_ != 1) return;
    const bool shift = mods == Qt::ShiftModifier, ctrl = mods == Qt::ControlModifier;
    auto clickSwitches = [this](const char* command) {
        if (size_t(currentScreen_) >= elements_.ScreenSwitchesOne.size()) return;
        const auto& ones = elements_.ScreenSwitchesOne[size_t(currentScreen_)];
        for (size_t j = 0; j < ones.size(); ++j)
            if (Cp1251::asciiEqualsNoCase(ones[j].upCommand, command) || Cp1251::asciiEqualsNoCase(ones[j].downCommand, command))
                ClickSwitchOne(int(j), false);
    };
    if (shift && key == Qt::Key_T) Thesaurus("");
    else if (shift && key == Qt::Key_Z) clickSwitches("tree1");
    else if (mods == (Qt::ShiftModifier | Qt::ControlModifier) && key == Qt::Key_Z) clickSwitches("offtree");
    else if (shift && key == Qt::Key_Left) RunCommand("prevchapter");
    else if (shift && key == Qt::Key_Right) RunCommand("nextchapter");
    else if (shift && key == Qt::Key_Home) RunCommand("1");
    else if (ctrl && key == Qt::Key_I) AddToFavorites();
    else if (ctrl && key == Qt::Key_P) PrintHtml();
    else if (ctrl && key == Qt::Key_F) OpenFindDialog();
    else if (ctrl && key == Qt::Key_A) pageFrame_->SelectAll();
    else return;
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
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
        if (pageFrame_) pageFrame_->OpenInCurrentView(file);
    }
    // Archives go to the archive browser and sounds to the sound player, once the book has them.
}

void TMainForm::OnCopyData(quint64 sender, const RInstanceData& record) {
    if (!pageFrame_) return;
    if (record.kind == RInstanceData::kShowPage) {
        const std::string& page = record.strings[0];
        if (currentScreen_ == 0) {
            ExecuteCommand(*this, "screen2=" + ProgramDir() + page, "", 0, ekButton, true);
        } else if (!Cp1251::equalsNoCase(WinPath::FileName(pageFrame_->CurrentFile()), WinPath::FileName(page))) {
            pageFrame_->OpenInCurrentView(ProgramDir() + page);
        }
        for (TTreeViews* tree : {tree1_, tree2_})
            if (tree) tree->SyncTreeToPage("");
        TInstanceChannel::Instance().PostMessage(sender, kMsgPageShown, WindowHandle(), 0);
    } else if (record.kind == RInstanceData::kPrintPicture) {
        pageFrame_->SetPicturePrint(true);
        int width = -1, height = -1;
        for (int i = 0; i < record.count && i < 3; ++i) {
            if (record.codes[i] == 0) pendingPrintFile_ = record.strings[i];
            else if (record.codes[i] == 1) width = std::atoi(record.strings[i].c_str());
            else if (record.codes[i] == 2) height = std::atoi(record.strings[i].c_str());
        }
        pageFrame_->SetPicturePrintSize(width, height);
        TInstanceChannel::Instance().PostMessage(WindowHandle(), kMsgPrintPending, 0, 0);
    } else if (record.kind == RInstanceData::kQueryShownFile) {
        pageFrame_->SetPicturePrint(true);
        // The main window shows no file of its own; only the standard window answers yes.
        TInstanceChannel::Instance().PostMessage(sender, kMsgAnswer, 0, 0);
    }
}

void TMainForm::OnMessage(quint32 message, quint64 wParam, quint64) {
    if (message == kMsgAnswer) {
        answered_ = true;
        answerYes_ = wParam == 1;
    } else if (message == kMsgPrintPending && pageFrame_ && !pendingPrintFile_.empty()) {
        pageFrame_->PrintFile(pendingPrintFile_);
        if (const auto host = HostPathsService().Find(pendingPrintFile_)) QFile::remove(QString::fromStdString(*host));
        pendingPrintFile_.clear();
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
