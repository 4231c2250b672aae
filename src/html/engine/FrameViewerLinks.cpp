// A frame viewer's links: the texts its owner gets for them, the clicks handed on from the event
// loop (never from inside the browser's own callbacks), and the links the viewer then follows
// itself, in the page or in one of its frames.
#include <QPointer>
#include <algorithm>
#include <cctype>
#include <optional>

#include "base/Cp1251.h"
#include "base/WinPath.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageScheme.h"
#include "html/engine/PageUrl.h"
#include "html/engine/ViewerPage.h"
#include "platform/QtText.h"
#include "platform/ReaderAct.h"

namespace {

std::string WithAnchor(const QUrl& url) {
    const std::string path = PagePath(url);
    return url.hasFragment() ? path + "#" + FromQt(url.fragment(QUrl::FullyDecoded)) : path;
}

} // namespace

std::string TFrameViewer::BaseDocument() const { return linkDocument_.empty() ? CurrentFile() : linkDocument_; }

// A link of another scheme keeps the text the page wrote ("copy:Файл.zip", "copy://d:\x.zip"):
// the browser's own address would have its host lower-cased, punycoded or dropped.
QString TFrameViewer::RawTextOf(const QUrl& url) const {
    if (!hover_.raw.isEmpty() && QUrl(hover_.href) == url) return hover_.raw;
    return url.toString();
}

QString TFrameViewer::LinkText(const QUrl& url) const {
    const std::string path = PagePath(url);
    if (path.empty()) return RawTextOf(url);
    const QString anchor = url.fragment(QUrl::FullyDecoded);
    if (url.hasFragment() && SameFile(path, BaseDocument())) return "#" + anchor;
    return ToQt(path) + (url.hasFragment() ? "#" + anchor : QString());
}

QString TFrameViewer::TargetOf(const QUrl& url) const { return QUrl(hover_.href) == url ? hover_.target : QString(); }

// The browser takes a frame loaded by the viewer's own script for a link as well: that one goes
// ahead. Links the report script did not see (a page's script going somewhere) are taken from the
// event loop like the others; the browser follows none of them itself.
bool TFrameViewer::OnLinkClicked(const QUrl& url, bool) {
    if (const auto it = std::find(ownLoads_.begin(), ownLoads_.end(), url); it != ownLoads_.end()) {
        ownLoads_.erase(it);
        return true;
    }
    const RLinkReport link{url.toString(), TargetOf(url), {}, PageUrl(CurrentFile()).toString(), {}, false};
    QMetaObject::invokeMethod(this, [this, link] { FollowLink(link); }, Qt::QueuedConnection);
    return false;
}

// No new windows: a page the owner leaves alone is shown here.
void TFrameViewer::OnNewWindow(const QUrl& url) {
    QString target = TargetOf(url);
    if (target.isEmpty()) target = QStringLiteral("_blank");
    const RLinkReport link{url.toString(), target, {}, PageUrl(CurrentFile()).toString(), {}, false};
    QMetaObject::invokeMethod(this, [this, link] { FollowLink(link); }, Qt::QueuedConnection);
}

void TFrameViewer::OnReport(const QString& kind, const QStringList& fields) {
    if (fields.size() < 5) return;
    const RLinkReport link{fields[0], fields[1], fields[2], fields[3], fields[4], true};
    if (kind == QLatin1String("link")) {
        // Reports arrive inside the browser's own callback, where the page cannot answer
        // questions; the link is handed on from the event loop instead.
        QMetaObject::invokeMethod(this, [this, link] { FollowLink(link); }, Qt::QueuedConnection);
    } else if (kind == QLatin1String("select")) {
        emit SelectionMade(link.href);
    } else if (kind == QLatin1String("hover")) {
        hover_ = link;
        // The browser may have named the link before the script told its target.
        if (!covered_.isEmpty() && covered_ == QUrl(hover_.href) && coveredTarget_ != hover_.target) {
            coveredTarget_ = hover_.target;
            linkDocument_ = PagePath(QUrl(hover_.document));
            emit HotSpotCovered(LinkText(covered_), coveredTarget_);
            linkDocument_.clear();
        }
    }
}

void TFrameViewer::OnLinkHovered(const QString& url) {
    covered_ = QUrl(url);
    coveredTarget_ = url.isEmpty() ? QString() : TargetOf(covered_);
    if (covered_ == QUrl(hover_.href)) linkDocument_ = PagePath(QUrl(hover_.document));
    emit HotSpotCovered(url.isEmpty() ? QString() : LinkText(covered_), coveredTarget_);
    linkDocument_.clear();
}

// The owner hears of the link with its document as the base of relative paths; what it leaves
// alone, a book link, the viewer follows as the browser would have. Only a reader's click on a
// page that may act is the reader's act; a foreign page's links are plain page links.
void TFrameViewer::FollowLink(const RLinkReport& link) {
    const QUrl url(link.href);
    const bool book = !PagePath(url).empty();
    linkDocument_ = PagePath(QUrl(link.document));
    const QString text = book ? LinkText(url) : (link.raw.isEmpty() ? link.href : link.raw);
    const bool byReader = link.byReader && PageTrust(linkDocument_) != TPageTrust::Foreign;
    bool handled = false;
    {
        std::optional<TReaderAct> act;
        if (byReader) act.emplace();
        emit HotSpotClick(text, link.target, byReader, handled);
    }
    linkDocument_.clear();
    if (!handled && book) Follow(link);
}

void TFrameViewer::Follow(const RLinkReport& link) {
    const QUrl url(link.href);
    const std::string file = WithAnchor(url);
    if (link.target.compare(QLatin1String("_blank"), Qt::CaseInsensitive) == 0) {
        LoadFile(file);
        return;
    }
    ExpectOwnLoad(url);
    page_->RunViewerScript(FollowInFrameScript(link.frame, link.href, link.target),
                         [self = QPointer<TFrameViewer>(this), file, page = PagePath(url)](const QVariant& frame) {
                             if (!self) return;
                             if (frame.isNull() || frame.toString().isEmpty()) self->LoadFile(file);
                             else self->PushFrameEntry(FromQt(frame.toString()), page);
                         });
}

// A link followed inside a frame is a history entry of its own, the frameset with that frame's
// new document; a jump inside the document a frame shows is none.
void TFrameViewer::PushFrameEntry(const std::string& frame, const std::string& file) {
    if (index_ < 0) return;
    REntry entry = history_[size_t(index_)];
    const auto shown = entry.frames.find(frame);
    const bool same = shown != entry.frames.end() ? SameFile(shown->second, file) : entry.activeFrame == frame && SameFile(entry.file, file);
    if (same) return;
    RememberScroll();
    entry.frames[frame] = file;
    entry.file = file;
    entry.activeFrame = frame;
    entry.scroll = 0;
    PushEntry(std::move(entry));
    emit HistoryChanged();
}

// At most a few of the viewer's own loads are on their way at once; older ones were not asked for.
void TFrameViewer::ExpectOwnLoad(const QUrl& url) {
    ownLoads_.push_back(url);
    while (ownLoads_.size() > 8) ownLoads_.pop_front();
}

std::string TFrameViewer::ExpandLink(const QString& link) const {
    const std::string text = FromQt(link);
    if (text.empty()) return CurrentFile();
    if (text[0] == '#') return BaseDocument() + text;
    const size_t colon = text.find(':');
    const bool hasScheme = colon != std::string::npos && colon > 1 &&
                           std::all_of(text.begin(), text.begin() + long(colon), [](char c) {
                               return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
                           });
    std::string path = text;
    if (hasScheme) {
        const QUrl url(link);
        if (!PagePath(url).empty()) return WithAnchor(url);
        if (!Cp1251::asciiEqualsNoCase(text.substr(0, colon), "file")) return text;
        path = text.substr(colon + 1);
        while (path.size() > 1 && (path[0] == '/' || path[0] == '\\') && !(path.size() > 2 && path[2] == ':')) path.erase(0, 1);
        if (path.size() > 2 && path[2] == ':' && (path[0] == '/' || path[0] == '\\')) path.erase(0, 1);
    }
    const auto [file, anchor] = WinPath::SplitAnchor(path);
    const bool absolute = (file.size() > 1 && file[1] == ':') || (!file.empty() && (file[0] == '\\' || file[0] == '/'));
    const std::string base = WinPath::Folder(BaseDocument());
    const std::string full = FullPagePath(absolute || base.empty() ? file : base + file);
    return anchor.empty() ? full : full + "#" + anchor;
}
