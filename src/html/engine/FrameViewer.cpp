#include "html/engine/FrameViewer.h"

#include <QColor>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <cmath>

#include "base/Cp1251.h"
#include "base/WinPath.h"
#include "html/engine/PageUrl.h"
#include "html/engine/ViewerPage.h"
#include "packs/BookFiles.h"
#include "platform/Diagnostics.h"
#include "platform/QtText.h"

namespace {

constexpr char kLinkScriptName[] = "bookshell-links";
constexpr char kDefaultsScriptName[] = "bookshell-defaults";

void ReplaceScript(QWebEngineScriptCollection& scripts, const char* name, const QString& source) {
    for (const QWebEngineScript& old : scripts.find(QString::fromLatin1(name))) scripts.remove(old);
    QWebEngineScript script;
    script.setName(QString::fromLatin1(name));
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(TViewerPage::ViewerWorld());
    script.setRunsOnSubFrames(true);
    scripts.insert(script);
}

QColor ToColor(unsigned bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

} // namespace

TFrameViewer::TFrameViewer(QWidget* parent) : QWidget(parent) {
    page_ = new TViewerPage(this);
    view_ = new QWebEngineView(this);
    view_->setPage(page_);
    // No browser menu: its Back and Forward would go round the viewer's history. A right-click
    // is the owner's, through the input watcher.
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    setFocusProxy(view_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    page_->onLinkClicked = [this](const QUrl& url, bool mainFrame) { return OnLinkClicked(url, mainFrame); };
    page_->onReport = [this](const QString& kind, const QStringList& fields) { OnReport(kind, fields); };
    connect(page_, &QWebEnginePage::linkHovered, this, &TFrameViewer::OnLinkHovered);
    connect(page_, &QWebEnginePage::urlChanged, this, &TFrameViewer::OnUrlChanged);
    connect(page_, &QWebEnginePage::titleChanged, this, &TFrameViewer::OnTitleChanged);
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { loading_ = true; });
    connect(page_, &QWebEnginePage::scrollPositionChanged, this,
            [this](const QPointF& position) { scrollY_ = int(std::lround(position.y())); });
    connect(page_, &QWebEnginePage::loadFinished, this, &TFrameViewer::OnLoadFinished);
    connect(page_, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) { OnNewWindow(request.requestedUrl()); });
    ReplaceScript(page_->scripts(), kLinkScriptName, TViewerPage::ChannelClientScript() + LinkReportScript());
    ApplyDefaults();
}

TFrameViewer::~TFrameViewer() {
    // The view goes before its page, the page before the profile.
    delete view_;
    delete page_;
}

void TFrameViewer::SetHistoryMaxCount(int count) {
    historyMax_ = std::max(1, count);
    while (int(history_.size()) > historyMax_) {
        history_.erase(history_.begin());
        index_ = std::max(0, index_ - 1);
    }
}

void TFrameViewer::SetVisitedMaxCount(int count) {
    visitedMax_ = std::max(0, count);
    if (int(visited_.size()) > visitedMax_) visited_.resize(size_t(visitedMax_));
}

void TFrameViewer::ApplyDefaults() {
    QWebEngineSettings* settings = page_->settings();
    settings->setFontFamily(QWebEngineSettings::StandardFont, ToQt(fontName_));
    // Points to CSS pixels; the default size is what <font size=3> and unstyled text get.
    settings->setFontSize(QWebEngineSettings::DefaultFontSize, int(std::lround(fontSize_ * 96.0 / 72.0)));
    page_->setBackgroundColor(ToColor(defaults_.background));
    ReplaceScript(page_->scripts(), kDefaultsScriptName, DefaultsScript(defaults_));
}

bool TFrameViewer::SameFile(const std::string& a, const std::string& b) const {
    return Cp1251::equalsNoCase(a, b);
}

bool TFrameViewer::LoadFile(const std::string& winPath) {
    const auto [file, anchor] = WinPath::SplitAnchor(winPath);
    const std::string full = FullPagePath(file);
    if (full.empty() || full.back() == '\\' || !BookFiles().Has(full)) {
        qCInfo(lcEngine).noquote() << "no such page in the pack or on the disc:" << ToQt(winPath);
        return false;
    }
    ApplyDefaults();
    if (index_ >= 0 && history_[size_t(index_)].frames.empty() && SameFile(full, history_[size_t(index_)].top)) {
        Navigate(history_[size_t(index_)].top, anchor);
        return true;
    }
    RememberScroll();
    PushEntry(full);
    Navigate(full, anchor);
    emit HistoryChanged();
    return true;
}

void TFrameViewer::Navigate(const std::string& file, const std::string& anchor) {
    pendingScroll_ = -1;
    // A jump inside the page shown is no load; the browser reports no start or end for it.
    const bool samePage = !anchor.empty() && SameFile(PagePath(page_->url()), file);
    if (!samePage) loading_ = true;
    page_->load(PageUrl(anchor.empty() ? file : file + "#" + anchor));
}

void TFrameViewer::PushEntry(REntry entry) {
    if (index_ + 1 < int(history_.size())) history_.erase(history_.begin() + index_ + 1, history_.end());
    history_.push_back(std::move(entry));
    index_ = int(history_.size()) - 1;
    SetHistoryMaxCount(historyMax_);
}

void TFrameViewer::PushEntry(const std::string& file) { PushEntry(REntry{file, file, {}, {}, {}, 0}); }

void TFrameViewer::RememberScroll() {
    // The last position known: asking the page here, in the middle of a navigation, would
    // get no answer.
    if (index_ >= 0 && !loading_) history_[size_t(index_)].scroll = scrollY_;
}

std::string TFrameViewer::CurrentFile() const {
    return index_ >= 0 ? history_[size_t(index_)].file : std::string();
}

QString TFrameViewer::Title() const { return index_ >= 0 ? history_[size_t(index_)].title : QString(); }

void TFrameViewer::Reload() {
    ApplyDefaults();
    if (index_ < 0) return;
    loading_ = true;
    page_->triggerAction(QWebEnginePage::Reload);
}

void TFrameViewer::LoadText(const QString& html) {
    ApplyDefaults();
    loading_ = true;
    page_->setHtml(html, QUrl(QStringLiteral("about:blank")));
}

std::vector<std::string> TFrameViewer::HistoryFiles() const {
    std::vector<std::string> files;
    for (const auto& entry : history_) files.push_back(entry.file);
    return files;
}

QStringList TFrameViewer::HistoryTitles() const {
    QStringList titles;
    for (const auto& entry : history_) titles << entry.title;
    return titles;
}

void TFrameViewer::SetHistoryIndex(int index) {
    if (index < 0 || index >= int(history_.size()) || index == index_) return;
    RememberScroll();
    index_ = index;
    ApplyDefaults();
    const REntry& entry = history_[size_t(index)];
    Navigate(entry.top, {});
    pendingFrames_ = entry.frames;  // put back when the page is there
    pendingScroll_ = entry.frames.empty() ? entry.scroll : -1;
    emit HistoryChanged();
}

void TFrameViewer::GoBack() {
    if (CanGoBack()) SetHistoryIndex(index_ - 1);
}

void TFrameViewer::GoForward() {
    if (CanGoForward()) SetHistoryIndex(index_ + 1);
}

void TFrameViewer::OnUrlChanged(const QUrl& url) {
    // A page the browser went to by itself (a followed link) becomes a new entry.
    const std::string file = PagePath(url);
    if (file.empty() || (index_ >= 0 && SameFile(file, history_[size_t(index_)].top))) return;
    PushEntry(file);
    emit HistoryChanged();
}

void TFrameViewer::OnTitleChanged(const QString& title) {
    if (index_ < 0 || !SameFile(PagePath(page_->url()), history_[size_t(index_)].top)) return;
    // A page without a title is given its address as the title by the browser.
    const QUrl url = page_->url();
    const bool address = title == url.toString() || title == url.toDisplayString() ||
                         title == url.toString(QUrl::RemoveScheme | QUrl::RemoveFragment).mid(2);
    const QString text = address ? QString() : title;
    REntry& entry = history_[size_t(index_)];
    if (entry.title == text) return;
    entry.title = text;
    emit TitleChanged();
}

void TFrameViewer::OnLoadFinished(bool ok) {
    loading_ = false;
    if (!pendingFrames_.empty()) {
        QStringList frames, urls;
        for (const auto& [frame, file] : std::exchange(pendingFrames_, {})) {
            frames << ToQt(frame);
            urls << PageUrl(file).toString();
            ExpectOwnLoad(PageUrl(file));
        }
        page_->RunViewerScript(RestoreFramesScript(frames, urls));
    }
    if (pendingScroll_ >= 0) {
        page_->RunViewerScript(QStringLiteral("window.scrollTo(0, %1)").arg(pendingScroll_));
        pendingScroll_ = -1;
    }
    OnTitleChanged(page_->title());
    RefreshVisited();
    emit LoadFinished(ok);
}

void TFrameViewer::AddVisited(const std::string& path) {
    const size_t colon = path.find(':');
    const bool url = colon != std::string::npos && colon > 1;
    const std::string full = url ? path : FullPagePath(WinPath::SplitAnchor(path).first);
    const std::string key = FromQt(ToQt(full).toLower());
    visited_.erase(std::remove(visited_.begin(), visited_.end(), key), visited_.end());
    visited_.insert(visited_.begin(), key);
    SetVisitedMaxCount(visitedMax_);
}

void TFrameViewer::RefreshVisited() {
    // Compared with each link's address, decoded and lower-cased, without its anchor.
    QStringList urls;
    for (const auto& path : visited_) {
        const QUrl url = PageUrl(path);
        const bool page = !PagePath(url).empty() && path.size() > 1 && path[1] == ':';
        urls << (page ? QStringLiteral("book://%1%2").arg(url.host(), url.path(QUrl::FullyDecoded)) : ToQt(path)).toLower();
    }
    page_->RunViewerScript(MarkVisitedScript(urls));
}
