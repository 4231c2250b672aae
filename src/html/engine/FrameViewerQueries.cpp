// What a frame viewer asks of the page shown: its input, scripts, scroll position, selection,
// find, form lists, the object under a point and the documents of frames.
#include <QClipboard>
#include <QGuiApplication>
#include <QChildEvent>
#include <QPointer>
#include <QWebEngineView>
#include <cmath>
#include <functional>

#include "base/Cp1251.h"
#include "html/engine/FrameViewer.h"
#include "html/engine/PageUrl.h"
#include "html/engine/ViewerPage.h"
#include "platform/QtText.h"

void TFrameViewer::WatchInput(QObject* watcher) {
    watcher_ = watcher;
    installEventFilter(watcher);
    view_->installEventFilter(this);
    if (QWidget* surface = view_->focusProxy()) surface->installEventFilter(watcher);
}

// The browser puts its rendering surface into the view when it likes: the watcher sees each one
// from the moment it arrives.
bool TFrameViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::ChildAdded && watcher_) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) child->installEventFilter(watcher_);
    }
    return QWidget::eventFilter(watched, event);
}

void TFrameViewer::RunScript(const QString& script) { page_->RunViewerScript(script); }

QVariant TFrameViewer::EvaluateScript(const QString& script) { return RunPageScript(page_, script); }

// The window the current entry's document is in: the page, or the frame a link last loaded.
QString TFrameViewer::InActiveWindow(const QString& body) const {
    const QString frame = index_ >= 0 ? ToQt(history_[size_t(index_)].activeFrame) : QString();
    return QStringLiteral("(function(w) { %1 })(%2)")
        .arg(body, frame.isEmpty() ? QStringLiteral("window") : QStringLiteral("(function() { %1 return frameAt(%2) || window; })()")
                                                                 .arg(FramesHelper(), JsString(frame)));
}

int TFrameViewer::ScrollPosition() const {
    if (loading_ && pendingScroll_ >= 0) return pendingScroll_;
    // The page itself knows best: the browser tells the view's position only a while later.
    bool answered = false;
    const QVariant y = RunPageScript(page_, InActiveWindow(QStringLiteral("return Math.round(w.scrollY);")), &answered);
    if (answered) scrollY_ = y.toInt();
    return answered ? scrollY_ : int(std::lround(page_->scrollPosition().y()));
}

void TFrameViewer::SetScrollPosition(int y) {
    y = std::max(0, y);
    if (loading_) {
        pendingScroll_ = y;
        return;
    }
    bool answered = false;
    const QVariant reached =
        RunPageScript(page_, InActiveWindow(QStringLiteral("w.scrollTo(0, %1); return Math.round(w.scrollY);").arg(y)), &answered);
    if (answered) scrollY_ = reached.toInt();
}

void TFrameViewer::SelectAll() {
    bool changed = false;
    const auto connection = connect(page_, &QWebEnginePage::selectionChanged, this, [&] { changed = true; });
    page_->triggerAction(QWebEnginePage::SelectAll);
    WaitBriefly([&] { return changed; });
    disconnect(connection);
}

int TFrameViewer::SelectionLength() const { return int(page_->selectedText().size()); }

QString TFrameViewer::SelectionText() const { return page_->selectedText(); }

bool TFrameViewer::CopySelection(QString* error) {
    const QString text = SelectionText();
    if (text.size() > kMaxCopy) {
        if (error) *error = QStringLiteral("Selected text exceeds buffer size");
        return false;
    }
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    return true;
}

bool TFrameViewer::FindText(const QString& text, bool matchCase, const QString& frame) {
    if (text.isEmpty()) return false;
    // In the frame called f alone when there is one; else the search starts in the document
    // holding the selection and goes on through the frames after it, each from its top.
    // window.find selects the hit and scrolls to it.
    const QString script = QStringLiteral(R"((function(t, c, f) {
  %1
  var ds = docs().filter(function(d) { return d.body && d.body.tagName !== 'FRAMESET'; });
  if (f) {
    var named = ds.filter(function(d) {
      try { return (d.defaultView.name || '').toLowerCase() === f && d.defaultView !== window; } catch (e) { return false; }
    });
    if (named.length) ds = named.slice(0, 1);
  }
  var start = 0;
  ds.forEach(function(d, i) { var s = d.getSelection(); if (s && s.rangeCount && !s.isCollapsed) start = i; });
  for (var i = start; i < ds.length; i++) {
    if (i > start) ds[i].getSelection().removeAllRanges();
    if (ds[i].defaultView.find(t, c, false, false, false, false, false)) return true;
  }
  return false;
})(%2, %3, %4))")
                               .arg(DocumentsHelper(), JsString(text), matchCase ? "true" : "false", JsString(frame.toLower()));
    bool found = RunPageScript(page_, script).toBool();
    if (found) {
        // Let the selection reach the browser side so the selection queries see the hit.
        WaitBriefly([&] { return page_->selectedText().compare(text, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0; });
        KeepSelectionClear();
    }
    return found;
}

// The browser scrolls a hit into the middle of its frame, where the search dialog floats: the
// frame is scrolled on until the hit stands above the dialog, or below it where above is no room.
void TFrameViewer::KeepSelectionClear() {
    if (!covering_ || !covering_->isVisible()) return;
    const QRect window = covering_->frameGeometry();
    const QRect covered = QRect(view_->mapFromGlobal(window.topLeft()), window.size()) & view_->rect();
    if (covered.isEmpty()) return;
    const double zoom = page_->zoomFactor() > 0 ? page_->zoomFactor() : 1.0;
    const QString script = QStringLiteral(R"((function(l, t, r, b) {
  %1
  var ds = docs();
  for (var i = 0; i < ds.length; i++) {
    var s = ds[i].getSelection();
    if (!s || !s.rangeCount || s.isCollapsed) continue;
    var w = ds[i].defaultView, box = s.getRangeAt(0).getBoundingClientRect(), x = 0, y = 0;
    for (var v = w; v !== v.top; v = v.parent) {
      var f = v.frameElement.getBoundingClientRect();
      x += f.left;
      y += f.top;
    }
    var top = box.top + y, bottom = box.bottom + y;
    if (box.right + x <= l || box.left + x >= r || bottom <= t || top >= b) return 0;
    var up = bottom - t + 8, down = top - b - 8;
    var dy = top - up >= y ? up : down;
    w.scrollBy(0, dy);
    return dy;
  }
  return 0;
})(%2, %3, %4, %5))")
                               .arg(DocumentsHelper())
                               .arg(covered.left() / zoom)
                               .arg(covered.top() / zoom)
                               .arg((covered.right() + 1) / zoom)
                               .arg((covered.bottom() + 1) / zoom);
    RunPageScript(page_, script);
}

void TFrameViewer::SetCaretToTop() {
    const QString script = QStringLiteral("(function() { %1 docs().forEach(function(d) { var s = d.getSelection(); if (s) s.removeAllRanges(); }); })()")
                               .arg(DocumentsHelper());
    RunPageScript(page_, script);
}

namespace {

QString DropDownScript() {
    return QStringLiteral(R"((function() {
  %1
  var out = [];
  docs().forEach(function(d) {
    d.querySelectorAll('select').forEach(function(s) {
      if (s.multiple || s.size > 1) return;
      out.push({name: s.name, items: Array.from(s.options).map(function(o) { return o.text; }), selected: s.selectedIndex});
    });
  });
  return out;
})())")
        .arg(DocumentsHelper());
}

std::vector<RDropDownList> DropDownsOf(const QVariant& answer) {
    std::vector<RDropDownList> lists;
    for (const QVariant& item : answer.toList()) {
        const QVariantMap map = item.toMap();
        lists.push_back({map.value("name").toString(), map.value("items").toStringList(), map.value("selected").toInt()});
    }
    return lists;
}

std::optional<QString> SelectedIn(const std::vector<RDropDownList>& lists, const QString& name) {
    std::optional<QString> result;
    for (const auto& list : lists)
        if (list.name.compare(name, Qt::CaseInsensitive) == 0 && list.selected >= 0 && list.selected < list.items.size())
            result = list.items[list.selected];
    return result;
}

} // namespace

std::vector<RDropDownList> TFrameViewer::DropDownLists() { return DropDownsOf(RunPageScript(page_, DropDownScript())); }

std::optional<QString> TFrameViewer::SelectedItemOf(const QString& name) { return SelectedIn(DropDownLists(), name); }

void TFrameViewer::SelectedItemOf(const QString& name, std::function<void(const std::optional<QString>&)> done) {
    page_->RunViewerScript(DropDownScript(), [name, done = std::move(done)](const QVariant& answer) {
        done(SelectedIn(DropDownsOf(answer), name));
    });
}

namespace {

RPageObject ObjectOf(const QVariant& answer) {
    RPageObject object;
    if (answer.isNull() || !answer.isValid()) return object;
    const QVariantMap map = answer.toMap();
    object.found = true;
    object.isImage = map.value("image").toBool();
    object.title = map.value("title").toString();
    object.source = PagePath(QUrl(map.value("src").toString()));
    return object;
}

} // namespace

QString TFrameViewer::ObjectScript(QPoint point) const {
    const double zoom = page_->zoomFactor() > 0 ? page_->zoomFactor() : 1.0;
    const QPoint inView = view_->mapFrom(this, point);
    // Into frames: the point is moved into each frame's own document.
    return QStringLiteral(R"((function(x, y) {
  var d = document, e = d.elementFromPoint(x, y);
  while (e && (e.tagName === 'FRAME' || e.tagName === 'IFRAME')) {
    var r = e.getBoundingClientRect(), inner;
    try { inner = e.contentDocument; } catch (err) { break; }
    if (!inner) break;
    x -= r.left + e.clientLeft; y -= r.top + e.clientTop;
    d = inner; e = d.elementFromPoint(x, y);
  }
  if (!e) return null;
  var image = e.tagName === 'IMG' || (e.tagName === 'INPUT' && e.type === 'image');
  return {image: image, title: e.getAttribute('title') || (image ? e.getAttribute('alt') || '' : ''), src: image ? e.src : ''};
})(%1, %2))")
        .arg(inView.x() / zoom)
        .arg(inView.y() / zoom);
}

RPageObject TFrameViewer::ObjectAt(QPoint point) { return ObjectOf(RunPageScript(page_, ObjectScript(point))); }

void TFrameViewer::ObjectAt(QPoint point, std::function<void(const RPageObject&)> done) {
    page_->RunViewerScript(ObjectScript(point), [done = std::move(done)](const QVariant& answer) { done(ObjectOf(answer)); });
}

std::string TFrameViewer::FrameDocument(const QString& frameName) {
    const QString script = QStringLiteral(R"((function(n) {
  %1
  var ds = docs();
  for (var i = 0; i < ds.length; i++) {
    var fs = ds[i].querySelectorAll('frame,iframe');
    for (var j = 0; j < fs.length; j++) {
      if ((fs[j].name || '').toLowerCase() !== n) continue;
      try { return fs[j].contentWindow.location.href; } catch (e) { return fs[j].src; }
    }
  }
  return '';
})(%2))")
                               .arg(DocumentsHelper(), JsString(frameName.toLower()));
    return PagePath(QUrl(RunPageScript(page_, script).toString()));
}

std::string TFrameViewer::ActiveDocument() {
    const QString script = QStringLiteral(R"((function() {
  var w = window;
  for (;;) {
    var d;
    try { d = w.document; } catch (e) { break; }
    if (!d || !d.body || d.body.tagName !== 'FRAMESET') break;
    var fs = Array.prototype.slice.call(d.querySelectorAll('frame,iframe'));
    var next = fs.indexOf(d.activeElement) >= 0 ? d.activeElement : null, best = -1;
    if (!next) fs.forEach(function(f) {
      var r = f.getBoundingClientRect(), area = r.width * r.height;
      if (area > best) { next = f; best = area; }
    });
    if (!next || !next.contentWindow) break;
    w = next.contentWindow;
  }
  try { return w.location.href; } catch (e) { return ''; }
})())");
    return PagePath(QUrl(RunPageScript(page_, script).toString()));
}
