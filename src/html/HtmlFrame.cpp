#include "html/HtmlFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QTreeWidgetItem>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "html/TreeList.h"
#include "html/engine/FrameViewer.h"
#include "packs/StringUtils.h"
#include "platform/Diagnostics.h"
#include "platform/QtText.h"
#include "platform/SettingsStore.h"

namespace {

bool inHistory(const TFrameViewer& view, const std::string& file, int& index) {
    const auto files = view.HistoryFiles();
    for (size_t i = 0; i < files.size(); ++i)
        if (Cp1251::equalsNoCase(files[i], file)) {
            index = static_cast<int>(i);
            return true;
        }
    return false;
}

// Qt hides a widget whose parent changes; a view that was showing stays shown on its new parent.
void MoveTo(QWidget* view, QWidget* parent) {
    if (view->parentWidget() == parent) return;
    const bool shown = !view->isHidden();
    view->setParent(parent);
    if (shown) view->show();
}

} // namespace

THtmlFrame::THtmlFrame(IHtmlFrameHost& host, ILinkServices& services, const std::vector<RHTML>& elements)
    : host_(host), elements_(elements), links_(*this, services) {
    for (const RHTML& e : elements_)
        if (std::find(viewScreens_.begin(), viewScreens_.end(), e.screen) == viewScreens_.end()) viewScreens_.push_back(e.screen);
    viewStates_.resize(viewScreens_.size());
    ReadAttributes();
    for (size_t i = 0; i < viewScreens_.size(); ++i) {
        auto* view = new TFrameViewer(host_.FrameWindow());
        view->hide();
        view->resize(0, 0);
        ApplyAttributes(*view);
        view->SetDefOverLinkColor(255);
        view->SetHistoryMaxCount(10);
        view->SetVisitedMaxCount(20);
        connect(view, &TFrameViewer::HotSpotCovered, this, [this](const QString& url, const QString& target) {
            host_.ShowLinkStatus(links_.StatusText(FromQt(url), FromQt(target)));
        });
        connect(view, &TFrameViewer::HotSpotClick, this, [this](const QString& url, const QString& target, bool byReader, bool& handled) {
            handled = links_.LinkClick(FromQt(url), FromQt(target), byReader);
        });
        connect(view, &TFrameViewer::HistoryChanged, this, [this, view] { OnHistoryChange(view); });
        connect(view, &TFrameViewer::TitleChanged, this, [this, view] {
            if (view == CurrentView()) host_.HistoryChanged(FromQt(view->Title()));
        });
        WatchView(view);
        views_.push_back(view);
    }
    ShowForScreen(host_.FrameScreen());
}

THtmlFrame::~THtmlFrame() { WriteAttributes(); }

int THtmlFrame::ViewOfScreen(int screen) const {
    for (size_t i = 0; i < viewScreens_.size(); ++i)
        if (viewScreens_[i] == screen) return static_cast<int>(i);
    return -1;
}

TFrameViewer* THtmlFrame::CurrentView() const {
    const int v = ViewOfScreen(host_.FrameScreen());
    return v < 0 ? nullptr : views_[size_t(v)];
}

std::string THtmlFrame::CurrentFile() const {
    const TFrameViewer* view = CurrentView();
    return view ? view->CurrentFile() : std::string();
}

bool THtmlFrame::CurrentViewShown() const {
    const TFrameViewer* view = CurrentView();
    return view && view->isVisible();
}

bool THtmlFrame::ArchiveMode() const {
    const int v = ViewOfScreen(host_.FrameScreen());
    return v >= 0 && viewStates_[size_t(v)].archiveMode;
}

void THtmlFrame::SetArchiveMode(bool on) {
    const int v = ViewOfScreen(host_.FrameScreen());
    if (v >= 0) viewStates_[size_t(v)].archiveMode = on;
}

// On the reading screen the view lives on the background panel beside the trees.
void THtmlFrame::PlaceView(TFrameViewer* view, const RHTML& e, bool fill) {
    QWidget* panel = host_.BackgroundPanel();
    const QRect rect(QPoint(e.left, e.top), QPoint(e.right - 1, e.bottom - 1));
    if (e.screen == 1 && panel) {
        MoveTo(view, panel);
        view->setGeometry(rect.translated(-panel->pos()));
        if (fill || view->property("fillsPanel").toBool()) {
            view->setProperty("fillsPanel", true);  // once aligned to the panel it stays so
            FitToPanel();
        }
    } else {
        MoveTo(view, host_.FrameWindow());
        view->setGeometry(rect);
    }
}

void THtmlFrame::FitToPanel() {
    TFrameViewer* view = CurrentView();
    QWidget* panel = host_.BackgroundPanel();
    if (!view || !panel || view->parentWidget() != panel) return;
    int left = 0;
    for (int n = 1; n <= 2; ++n)
        if (TTreeViews* tree = host_.ContentsTree(n); tree && tree->isVisibleTo(panel)) left = std::max(left, tree->geometry().right() + 4);
    view->setGeometry(QRect(left, 0, panel->width() - left, panel->height()));
}

void THtmlFrame::FillWindow(const QRect& area) {
    TFrameViewer* view = CurrentView();
    if (!view) return;
    MoveTo(view, host_.FrameWindow());
    view->setGeometry(area);
    view->show();
    view->raise();
}

void THtmlFrame::RestoreBounds() {
    TFrameViewer* view = CurrentView();
    if (view && currentElement_ >= 0) PlaceView(view, elements_[size_t(currentElement_)], false);
}

bool THtmlFrame::ShowFile(TFrameViewer* view, const std::string& file) {
    int index = -1;
    if (inHistory(*view, file, index)) {
        view->SetHistoryIndex(index);
        return true;
    }
    return view->LoadFile(file);
}

void THtmlFrame::ShowForScreen(int screen) {
    for (size_t i = 0; i < elements_.size(); ++i) {
        if (elements_[i].screen != screen) continue;
        const int v = ViewOfScreen(screen);
        TFrameViewer* view = views_[size_t(v)];
        currentView_ = v;
        currentElement_ = static_cast<int>(i);
        bool ok = true;
        if (!view->HistoryFiles().empty()) view->SetScrollPosition(0);
        else ok = view->LoadFile(elements_[i].document);
        PlaceView(view, elements_[i], true);
        view->setVisible(ok);
        break;
    }
    if (previousScreen_ != screen) {
        const int previous = ViewOfScreen(previousScreen_);
        if (previous >= 0 && previousScreen_ != screen) views_[size_t(previous)]->hide();
    }
    previousScreen_ = screen;
}

void THtmlFrame::OpenHtmlCommand(const std::string& file, int number) {
    TrackPageGroup(file);
    OpenInElement(file, number);
}

void THtmlFrame::OpenInElement(const std::string& file, int number) {
    const auto it = std::find_if(elements_.begin(), elements_.end(), [&](const RHTML& e) { return e.number == number; });
    if (it == elements_.end()) {
        qCInfo(lcHtml).noquote() << "no page view numbered" << number << "for" << ToQt(file);
        return;
    }
    const RHTML& e = *it;
    const std::string page = file.empty() ? e.document : file;
    TFrameViewer* view = views_[size_t(ViewOfScreen(e.screen))];
    if (e.screen == host_.FrameScreen()) {
        const bool ok = ShowFile(view, page);
        PlaceView(view, e, false);
        view->SetScrollPosition(0);
        view->setVisible(ok);
        currentElement_ = static_cast<int>(it - elements_.begin());
        return;
    }
    // Another screen's view takes the page now and shows it when its screen comes.
    const QRect geometry = view->geometry();
    view->setGeometry(QRect(geometry.topLeft(), QSize(0, 0)));
    view->show();
    ShowFile(view, page);
    view->hide();
}

void THtmlFrame::OpenInCurrentView(const std::string& file) {
    TFrameViewer* view = CurrentView();
    if (!view || !view->isVisible()) return;
    int index = -1;
    if (!inHistory(*view, file, index)) {
        view->AddVisited(file);
        view->RefreshVisited();
        view->LoadFile(file);
    } else {
        view->SetHistoryIndex(index);
        view->SetScrollPosition(0);
    }
}

void THtmlFrame::TrackPageGroup(const std::string& file) {
    const int v = ViewOfScreen(host_.FrameScreen());
    if (v < 0) return;
    auto& groups = viewStates_[size_t(v)].groups;
    for (size_t g = 0; g < groups.size(); ++g)
        if (groups[g].find(file) != std::string::npos) {
            currentGroup_ = static_cast<int>(g);
            return;
        }
    groups.push_back(file);
    currentGroup_ = static_cast<int>(groups.size()) - 1;
}

void THtmlFrame::OnHistoryChange(TFrameViewer* view) {
    const auto v = std::find(views_.begin(), views_.end(), view) - views_.begin();
    auto& groups = viewStates_[size_t(v)].groups;
    const std::string file = view->CurrentFile();
    if (!groups.empty() && !file.empty()) {
        bool found = false;
        for (size_t g = 0; g < groups.size() && !found; ++g)
            if (groups[g].find(file) != std::string::npos) {
                currentGroup_ = static_cast<int>(g);
                found = true;
            }
        if (!found && currentGroup_ >= 0 && size_t(currentGroup_) < groups.size())
            groups[size_t(currentGroup_)] += "; " + Cp1251::asciiLower(file);
    }
    if (view == CurrentView()) host_.HistoryChanged(FromQt(view->Title()));
    RefreshChapterHints();
}

void THtmlFrame::Step(bool back) {
    TFrameViewer* view = CurrentView();
    if (!view) return;
    if (back ? !view->CanGoBack() : !view->CanGoForward()) {
        QApplication::beep();
        return;
    }
    const std::string before = view->CurrentFile();
    back ? view->GoBack() : view->GoForward();  // the history change has run by now
    if (view->CurrentFile() == before) return;
    const int v = ViewOfScreen(host_.FrameScreen());
    const auto& groups = viewStates_[size_t(v)].groups;
    if (currentGroup_ < 0 || size_t(currentGroup_) >= groups.size()) return;
    const std::string leading = ParseStringAt(groups[size_t(currentGroup_)], 1);
    if (!leading.empty()) host_.PressSwitchesFor(leading);
}

void THtmlFrame::ScrollToTop() {
    if (TFrameViewer* view = CurrentView()) view->SetScrollPosition(0);
}

void THtmlFrame::SelectAll() {
    if (TFrameViewer* view = CurrentView(); view && view->isVisible()) view->SelectAll();
}

TTreeViews* THtmlFrame::ChapterTree() const { return ChooseTree(host_.ContentsTree(1), host_.ContentsTree(2)); }

void THtmlFrame::Chapter(bool forward) {
    TTreeViews* tree = ChapterTree();
    if (!tree) return;
    QTreeWidgetItem* item = tree->FocusedItem();
    if (item) {
        if (QTreeWidgetItem* next = tree->NextChapterItem(forward)) item = next;
    } else {
        item = tree->topLevelItem(0);
    }
    if (!item) return;
    tree->FocusItem(item);
    tree->OpenFocusedItem();
}

void THtmlFrame::RefreshChapterHints() {
    TTreeViews* tree = ChapterTree();
    if (!tree || tree->topLevelItemCount() == 0) return;
    if (!tree->FocusedItem()) tree->setCurrentItem(tree->topLevelItem(0));
    auto hintOf = [&](QTreeWidgetItem* item, const char* none) {
        if (!item) return std::string(none);
        std::string hint;
        if (item->parent()) hint = TTreeViews::CaptionOf(item->parent()) + " : ";
        return hint + TTreeViews::CaptionOf(item);
    };
    host_.SetButtonHint("nextchapter", hintOf(tree->NextChapterItem(true), "\xCF\xEE\xF1\xEB\xE5\xE4\xED\xE8\xE9 \xF0\xE0\xE7\xE4\xE5\xEB"));  // Последний раздел
    host_.SetButtonHint("prevchapter", hintOf(tree->NextChapterItem(false), "\xCF\xE5\xF0\xE2\xFB\xE9 \xF0\xE0\xE7\xE4\xE5\xEB"));     // Первый раздел
}

// --- what the link protocol asks of the frame ---

std::string THtmlFrame::ExpandLink(const std::string& url) {
    TFrameViewer* view = CurrentView();
    return view ? view->ExpandLink(ToQt(url)) : url;
}

void THtmlFrame::AddVisited(const std::string& path) {
    if (TFrameViewer* view = CurrentView()) view->AddVisited(path);
}

void THtmlFrame::RefreshVisited() {
    if (TFrameViewer* view = CurrentView()) view->RefreshVisited();
}

// The page answers when it can; waiting for it here could give up on a busy machine.
void THtmlFrame::CopyListSelection(const std::string& name) {
    TFrameViewer* view = CurrentView();
    if (!view) return;
    view->SelectedItemOf(ToQt(name), [self = QPointer<THtmlFrame>(this)](const std::optional<QString>& selected) {
        if (!self || !selected) return;
        QApplication::clipboard()->setText(*selected);
        self->host_.ShowStatus("\xD1\xE5\xF0\xE8\xE9\xED\xFB\xE9 \xED\xEE\xEC\xE5\xF0 \xF1\xEA\xEE\xEF\xE8\xF0\xEE\xE2\xE0\xED");  // Серийный номер скопирован
    });
}

void THtmlFrame::SyncTreeToPage(const std::string& path) {
    if (TTreeViews* tree = ChapterTree()) tree->SyncTreeToPage(path);
}

// The viewer keeps its history oldest first; the frame speaks of it newest first.
void THtmlFrame::GoToHistoryIndex(int index) {
    TFrameViewer* view = CurrentView();
    const int count = view ? int(view->HistoryFiles().size()) : 0;
    if (index >= 0 && index < count) view->SetHistoryIndex(count - 1 - index);
}

std::vector<RHistoryEntry> THtmlFrame::History() const {
    std::vector<RHistoryEntry> entries;
    const TFrameViewer* view = CurrentView();
    if (!view) return entries;
    const auto files = view->HistoryFiles();
    const QStringList titles = view->HistoryTitles();
    for (size_t i = files.size(); i-- > 0;) entries.push_back({files[i], FromQt(titles.value(int(i)))});
    return entries;
}

int THtmlFrame::HistoryPosition() const {
    const TFrameViewer* view = CurrentView();
    return view && view->HistoryIndex() >= 0 ? int(view->HistoryFiles().size()) - 1 - view->HistoryIndex() : -1;
}

void THtmlFrame::SetScrollPosition(int pixels) {
    if (TFrameViewer* view = CurrentView()) view->SetScrollPosition(pixels);
}
