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
    script.setWorldId(QWebEngineScript::MainWorld);
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
    ReplaceScript(page_->scripts(), kLinkScriptName, LinkReportScript());
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
    if (index_ >= 0 && SameFile(full, history_[size_t(index_)].file)) {
        Navigate(history_[size_t(index_)].file, anchor);
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

void TFrameViewer::PushEntry(const std::string& file) {
    if (index_ + 1 < int(history_.size())) history_.erase(history_.begin() + index_ + 1, history_.end());
    history_.push_back({file, {}, 0});
    index_ = int(history_.size()) - 1;
    SetHistoryMaxCount(historyMax_);
}

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
    Navigate(history_[size_t(index)].file, {});
    pendingScroll_ = history_[size_t(index)].scroll;
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
    if (file.empty() || (index_ >= 0 && SameFile(file, history_[size_t(index_)].file))) return;
    PushEntry(file);
    emit HistoryChanged();
}

void TFrameViewer::OnTitleChanged(const QString& title) {
    if (index_ < 0 || !SameFile(PagePath(page_->url()), history_[size_t(index_)].file)) return;
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
    if (pendingScroll_ >= 0) {
        page_->runJavaScript(QStringLiteral("window.scrollTo(0, %1)").arg(pendingScroll_));
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
    page_->runJavaScript(MarkVisitedScript(urls));
}

QString TFrameViewer::LinkText(const QUrl& url) const {
    const std::string path = PagePath(url);
    if (path.empty()) {
        const QString scheme = url.scheme().toLower();
        if (scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mailto") return url.toString();
        return QUrl::fromPercentEncoding(url.toEncoded());
    }
    const QString anchor = url.fragment(QUrl::FullyDecoded);
    if (url.hasFragment() && SameFile(path, CurrentFile())) return "#" + anchor;
    return ToQt(path) + (url.hasFragment() ? "#" + anchor : QString());
}

QString TFrameViewer::TargetOf(const QUrl& url) const {
    if (!clickUrl_.isEmpty() && QUrl(clickUrl_) == url) return clickTarget_;
    if (!hoverUrl_.isEmpty() && QUrl(hoverUrl_) == url) return hoverTarget_;
    return {};
}

bool TFrameViewer::OnLinkClicked(const QUrl& url, bool mainFrame) {
    bool handled = false;
    emit HotSpotClick(LinkText(url), TargetOf(url), handled);
    clickUrl_.clear();
    if (handled) return false;
    if (mainFrame) RememberScroll();
    return true;
}

void TFrameViewer::OnNewWindow(const QUrl& url) {
    QString target = TargetOf(url);
    if (target.isEmpty()) target = QStringLiteral("_blank");
    bool handled = false;
    emit HotSpotClick(LinkText(url), target, handled);
    clickUrl_.clear();
    if (handled) return;
    // No new windows: a page the owner leaves alone is shown here.
    const std::string path = PagePath(url);
    if (!path.empty())
        LoadFile(url.hasFragment() ? path + "#" + FromQt(url.fragment(QUrl::FullyDecoded)) : path);
}

void TFrameViewer::OnReport(const QString& kind, const QStringList& fields) {
    if (fields.size() < 2) return;
    if (kind == QLatin1String("link")) {
        // Reports arrive inside the browser's own callback, where the page cannot answer
        // questions; the link is handed on from the event loop instead.
        QMetaObject::invokeMethod(this, [this, url = LinkText(QUrl(fields[0])), target = fields[1]] {
            bool handled = false;
            emit HotSpotClick(url, target, handled);
        }, Qt::QueuedConnection);
    } else if (kind == QLatin1String("click")) {
        clickUrl_ = fields[0];
        clickTarget_ = fields[1];
    } else if (kind == QLatin1String("hover")) {
        hoverUrl_ = fields[0];
        hoverTarget_ = fields[1];
        // The browser may have named the link before the script told its target.
        if (!covered_.isEmpty() && covered_ == QUrl(hoverUrl_) && coveredTarget_ != hoverTarget_) {
            coveredTarget_ = hoverTarget_;
            emit HotSpotCovered(LinkText(covered_), coveredTarget_);
        }
    }
}

void TFrameViewer::OnLinkHovered(const QString& url) {
    covered_ = QUrl(url);
    coveredTarget_ = url.isEmpty() ? QString() : TargetOf(covered_);
    emit HotSpotCovered(url.isEmpty() ? QString() : LinkText(covered_), coveredTarget_);
}

std::string TFrameViewer::ExpandLink(const QString& link) const {
    const std::string text = FromQt(link);
    if (text.empty()) return CurrentFile();
    if (text[0] == '#') return CurrentFile() + text;
    const size_t colon = text.find(':');
    const bool hasScheme = colon != std::string::npos && colon > 1 &&
                           std::all_of(text.begin(), text.begin() + long(colon), [](char c) {
                               return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
                           });
    std::string path = text;
    if (hasScheme) {
        const QUrl url(link);
        const std::string page = PagePath(url);
        if (!page.empty()) return url.hasFragment() ? page + "#" + FromQt(url.fragment(QUrl::FullyDecoded)) : page;
        if (!Cp1251::asciiEqualsNoCase(text.substr(0, colon), "file")) return text;
        path = text.substr(colon + 1);
        while (path.size() > 1 && (path[0] == '/' || path[0] == '\\') && !(path.size() > 2 && path[2] == ':')) path.erase(0, 1);
        if (path.size() > 2 && path[2] == ':' && (path[0] == '/' || path[0] == '\\')) path.erase(0, 1);
    }
    const auto [file, anchor] = WinPath::SplitAnchor(path);
    const bool absolute = (file.size() > 1 && file[1] == ':') || (!file.empty() && (file[0] == '\\' || file[0] == '/'));
    const std::string base = WinPath::Folder(CurrentFile());
    const std::string full = FullPagePath(absolute || base.empty() ? file : base + file);
    return anchor.empty() ? full : full + "#" + anchor;
}
