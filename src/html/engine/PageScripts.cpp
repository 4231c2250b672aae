#include "html/engine/PageScripts.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <memory>

#include "html/engine/ViewerPage.h"

namespace {

int answerWait = 100;

} // namespace

QString CssColor(unsigned bgr) {
    const unsigned rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0'));
}

QString JsString(const QString& text) {
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString JsStringList(const QStringList& list) {
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact));
}

// Frames are named by their place: "" the page itself, "1" its second frame, "1/0" that
// frame's first frame.
QString FramesHelper() {
    return QStringLiteral(R"(function framePath(w) {
  var p = [];
  try {
    while (w !== w.top) {
      var up = w.parent, i = 0;
      while (i < up.frames.length && up.frames[i] !== w) i++;
      p.unshift(i);
      w = up;
    }
  } catch (e) {}
  return p.join('/');
}
function frameAt(path) {
  var w = window;
  if (path) path.split('/').forEach(function(i) { if (w) w = w.frames[+i]; });
  return w;
}
)");
}

namespace {

// A selection the reader's own press and release made (a drag, a double-click), told once the
// browser has settled it; a click that only clears the old selection tells nothing. Of the two
// presses of a double-click only the last release tells, with the word its press selected. Runs
// inside the report script, with its deliver().
QString SelectionWatch() {
    return QStringLiteral(R"(
  var presses = 0, changed = false;
  document.addEventListener('selectionchange', function() { changed = true; });
  window.addEventListener('mousedown', function(e) {
    if (!e.isTrusted || e.button !== 0) return;
    changed = false;
    presses++;
  }, true);
  window.addEventListener('mouseup', function(e) {
    if (!e.isTrusted || e.button !== 0) return;
    var press = presses;
    setTimeout(function() {
      if (press !== presses) return;  // pressed again meanwhile
      var s = window.getSelection(), text = s ? s.toString() : '';
      if (changed && text) deliver(['select', text, '', '', location.href, framePath(window)]);
      changed = false;
    }, 0);
  }, true);
)");
}

} // namespace

// The main frame reaches the viewer over the channel; frames below hand their reports to it, in
// this world of the viewer's, which the page's own scripts do not share.
QString LinkReportScript() {
    return QStringLiteral(R"((function() {
  %1
  var queue = [], bridge = null;
  function deliver(fields) {
    if (bridge) bridge.report(fields[0], fields.slice(1));
    else queue.push(fields);
  }
  if (window === window.top) {
    window.__bookshellDeliver = deliver;
    if (typeof qt !== 'undefined' && qt.webChannelTransport) {
      new QWebChannel(qt.webChannelTransport, function(channel) {
        bridge = channel.objects.bookshell;
        queue.splice(0).forEach(deliver);
      });
    }
  } else {
    deliver = function(fields) { try { window.top.__bookshellDeliver(fields); } catch (e) {} };
  }
  function report(kind, e) {
    // Only the reader's own pointer and keys count; a page's script clicking a link or
    // dispatching events is left to the browser, which asks the viewer as for any navigation.
    if (!e.isTrusted) return;
    var n = e.target;
    if (n && n.nodeType !== 1) n = n.parentElement;
    var a = n && n.closest ? n.closest('a[href],area[href]') : null;
    if (!a) return;
    var t = a.getAttribute('target') || '';
    if (!t) { var b = document.querySelector('base[target]'); if (b) t = b.getAttribute('target') || ''; }
    // Every link but a script's is the viewer's: it decides, and follows the link itself.
    if (kind === 'click') {
      if (/^javascript:$/i.test(a.protocol)) return;
      e.preventDefault();
      kind = 'link';
    }
    var raw = (a.getAttribute('href') || '').trim();
    deliver([kind, a.href, t, raw, location.href, framePath(window)]);
  }
  window.addEventListener('mouseover', function(e) { report('hover', e); }, true);
  window.addEventListener('click', function(e) { report('click', e); }, true);
  %2
})();)")
        .arg(FramesHelper(), SelectionWatch());
}

QString FollowInFrameScript(const QString& fromFrame, const QString& url, const QString& target) {
    return QStringLiteral(R"((function(from, url, target) {
  %1
  var w = frameAt(from), to = null;
  if (!w) return null;
  if (!target || target === '_self') to = w;
  else if (target === '_parent') to = w.parent;
  else if (target !== '_top') {
    (function find(f) {
      for (var i = 0; i < f.frames.length && !to; i++) {
        try { if (f.frames[i].name === target) to = f.frames[i]; } catch (e) {}
        if (!to) find(f.frames[i]);
      }
    })(window);
  }
  if (!to || to === window) return null;
  to.location.href = url;
  return framePath(to);
})(%2, %3, %4))")
        .arg(FramesHelper(), JsString(fromFrame), JsString(url), JsString(target));
}

QString RestoreFramesScript(const QStringList& frames, const QStringList& urls) {
    return QStringLiteral(R"((function(frames, urls) {
  %1
  frames.forEach(function(path, i) { var w = frameAt(path); if (w && w !== window) w.location.replace(urls[i]); });
})(%2, %3))")
        .arg(FramesHelper(), JsStringList(frames), JsStringList(urls));
}

QString DefaultsScript(const RPageDefaults& d) {
    const QString visited = QString::fromLatin1(kVisitedAttribute);
    const QString css =
        QStringLiteral(":where(body:not([bgcolor])){background-color:%1}"
                       ":where(body:not([text])){color:%2}"
                       ":where(body:not([link]) a:link){color:%3}"
                       ":where(a[%4]){color:%5}"
                       ":where(a:link:hover,a[%4]:hover){color:%6}")
            .arg(CssColor(d.background), CssColor(d.fontColor), CssColor(d.hotSpotColor), visited,
                 CssColor(d.visitedColor), CssColor(d.overLinkColor));
    return QStringLiteral(R"((function() {
  try {
    var s = new CSSStyleSheet();
    s.replaceSync(%1);
    document.adoptedStyleSheets = document.adoptedStyleSheets.concat([s]);
  } catch (e) {}
})();)")
        .arg(JsString(css));
}

QString DocumentsHelper() {
    return QStringLiteral(R"(function docs() {
  var out = [];
  (function walk(w) {
    var d;
    try { d = w.document; } catch (e) { return; }
    if (!d) return;
    out.push(d);
    for (var i = 0; i < w.frames.length; i++) walk(w.frames[i]);
  })(window);
  return out;
}
)");
}

QString MarkVisitedScript(const QStringList& visitedUrls) {
    return QStringLiteral(R"((function(list) {
  %1
  var set = new Set(list), attr = %2, n = 0;
  docs().forEach(function(d) {
    d.querySelectorAll('a[href],area[href]').forEach(function(a) {
      if (set.has(String(a.href).split('#')[0].toLowerCase())) { a.setAttribute(attr, ''); n++; }
      else a.removeAttribute(attr);
    });
  });
  return n;
})(%3))")
        .arg(DocumentsHelper(), JsString(QString::fromLatin1(kVisitedAttribute)), JsStringList(visitedUrls));
}

QVariant RunPageScript(QWebEnginePage* page, const QString& script, bool* answered) {
    // The answer may come after the wait gave up; it then lands in the shared state only.
    struct State {
        QVariant value;
        bool done = false;
        QEventLoop* loop = nullptr;
    };
    auto state = std::make_shared<State>();
    page->runJavaScript(script, TViewerPage::ViewerWorld(), [state](const QVariant& value) {
        state->value = value;
        state->done = true;
        if (state->loop) state->loop->quit();
    });
    if (!state->done) {
        QEventLoop loop;
        state->loop = &loop;
        QTimer::singleShot(answerWait, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        state->loop = nullptr;
    }
    if (answered) *answered = state->done;
    return state->value;
}

int PageAnswerWait() { return answerWait; }
void SetPageAnswerWait(int milliseconds) { answerWait = milliseconds; }

void WaitBriefly(const std::function<bool()>& done) {
    if (done()) return;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(answerWait, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
