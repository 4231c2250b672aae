// The main window's popups: the history lists filled from the page history, the favourites list
// of the run, the menus, and what a chosen item does.
#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QScreen>
#include <QWidget>

#include "app/SkinControlsHost.h"
#include "rules/InterfaceDescription.h"
#include "app/SkinControls.h"
#include "base/GlobalPaths.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "platform/QtText.h"
#include "rules/CommandDispatcher.h"
#include "skin/PopupWin.h"

namespace {

constexpr int kHistoryItems = 8;
constexpr size_t kCaptionLength = 80;
const char* const kUntitled = "\xC1\xE5\xE7 \xED\xE0\xE7\xE2\xE0\xED\xE8\xFF";  // Без названия

// A page without a title still gets an item one can read.
std::string captionOf(const std::string& title) { return title.empty() ? kUntitled : title.substr(0, kCaptionLength); }

}  // namespace

void TSkinControls::BuildPopups() {
    bool any = false;
    for (const auto& screen : window_.Elements().ScreenPopups) any |= !screen.empty();
    if (!any) return;
    popups_ = std::make_unique<TControlPopupWindow>(window_.Elements(), static_cast<IPopupHost&>(*this), &window_.ControlsWindow());
    popups_->Rebuild();
    // Popups never take the focus, so the book stays active while one is open; leaving it closes them.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) HidePopups();
    });
}

// The favourites popup shows the run's list; rebuilding it never rereads the settings, so the
// deletions of this run stay deleted.
void TSkinControls::FillFavorites() {
    if (!popups_ || !favorites_) return;
    popups_->ResetItems(0, kPopupFavorite);
    for (const RFavoriteCaption& f : favorites_->Items()) popups_->AddItem(captionOf(f.caption), f.target, kPopupFavorite);
}

QPoint TSkinControls::ClientToScreen(QPoint clientPoint) { return window_.ControlsWindow().mapToGlobal(clientPoint); }

QRect TSkinControls::Desktop() {
    const QScreen* screen = window_.ControlsWindow().screen() ? window_.ControlsWindow().screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void TSkinControls::Choose(const std::string& command) { RunPopupCommand(*this, command); }

qint64 TSkinControls::Now() { return QDeadlineTimer::current().deadline(); }
QPoint TSkinControls::Cursor() { return QCursor::pos(); }

void TSkinControls::FavoriteDeleted(int index) {
    if (!favorites_) return;
    favorites_->Delete(index);
    favorites_->Save();
}

void TSkinControls::AddCurrentPageToFavorites() {
    const THtmlFrame* frame = window_.HtmlFrame();
    TFrameViewer* view = frame ? frame->CurrentView() : nullptr;
    if (!view || !favorites_) return;
    favorites_->Add(FromQt(view->Title()), view->CurrentFile(), view->ScrollPosition(), popups_ ? this : nullptr);
    favorites_->Save();
}

void TSkinControls::AddItem(const std::string& caption, const std::string& command) {
    if (popups_) popups_->AddItem(captionOf(caption), command, kPopupFavorite);
}

void TSkinControls::SetItem(int index, const std::string& caption, const std::string& command) {
    if (popups_) popups_->SetItem(captionOf(caption), command, index, kPopupFavorite);
}

// History-back gets the older pages n+1 … n+8 nearest first in items 0 … 7; history-forward the
// newer pages n-1 … n-8, the nearest in its topmost used item, the unused items above it hidden.
void TSkinControls::RefreshHistoryPopups() {
    const THtmlFrame* frame = window_.HtmlFrame();
    if (!popups_ || !frame || !frame->CurrentView()) return;
    const std::vector<RHistoryEntry> history = frame->History();
    const int n = frame->HistoryPosition(), count = int(history.size());
    auto fill = [&](int type, int item, int page) {
        const bool exists = page >= 0 && page < count && n >= 0;
        if (exists) popups_->SetItem(captionOf(history[size_t(page)].title), "history=" + std::to_string(page), item, type);
        popups_->ShowItem(exists, type, item);
    };
    const int newer = std::clamp(n, 0, kHistoryItems);
    for (int i = 0; i < kHistoryItems; ++i) {
        fill(kPopupHistoryBack, i, n + 1 + i);
        const int k = i - (kHistoryItems - newer) + 1;  // 1 for the nearest newer page
        fill(kPopupHistoryForward, i, k >= 1 ? n - k : -1);
    }
}

// "historyback" anchors at the button's bottom-right corner, the other lists at its bottom-left.
void TSkinControls::OpenPopupList(int list, int buttonIndex) {
    const auto& buttons = window_.Elements().ScreenButtons;
    const size_t screen = size_t(window_.CurrentScreen());
    if (!popups_ || screen >= buttons.size() || buttonIndex < 0 || size_t(buttonIndex) >= buttons[screen].size()) return;
    const RBtn& b = buttons[screen][size_t(buttonIndex)];
    const QPoint anchor(list == kPopupHistoryBack ? b.right : b.left, b.bottom);
    popups_->ShowPopup(list, window_.ControlsWindow().mapToGlobal(anchor));
}

void TSkinControls::OpenPopupAt(int type, QPoint screenPoint) {
    if (popups_) popups_->ShowPopup(type, screenPoint);
}

void TSkinControls::HidePopups() {
    if (popups_) popups_->HideAll();
}

bool TSkinControls::HasPageFrame() const { return window_.PageFrame() != nullptr; }

void TSkinControls::RunHistoryCommand(const std::string& command) {
    if (THtmlFrame* frame = window_.HtmlFrame()) ::RunHistoryCommand(*frame, command);
}

void TSkinControls::CopySelection() {
    const THtmlFrame* frame = window_.HtmlFrame();
    if (TFrameViewer* view = frame ? frame->CurrentView() : nullptr) view->CopySelection();
}

void TSkinControls::SelectAll() {
    if (IPageFrame* frame = window_.PageFrame()) frame->SelectAll();
}

void TSkinControls::PageFontDialog() { window_.ChooseFont(); }

void TSkinControls::PrintPage() {
    if (IPageFrame* frame = window_.PageFrame()) frame->PrintPage();
}

void TSkinControls::Dispatch(const std::string& command) { ExecuteCommand(window_.Routes(), command, "", 0, ekButton, true); }
