#pragma once
// The browser page of a frame viewer: hands every link the browser is about to follow to the
// viewer first, and carries the reports of the viewer's own page scripts.
//
// The viewer's scripts run in a script world of their own, apart from the page's scripts, and
// report over a web channel that only that world reaches: a page's script can neither see them
// nor speak in their name. Console output of pages is dropped.
#include <QStringList>
#include <QVariant>
#include <QWebEnginePage>
#include <functional>

class QWebChannel;

class TViewerPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit TViewerPage(QObject* parent);

    // Asked for every link the browser would follow; returns whether it may.
    std::function<bool(const QUrl& url, bool mainFrame)> onLinkClicked;
    // A report of the viewer's scripts: its kind and its tab-separated fields.
    std::function<void(const QString& kind, const QStringList& fields)> onReport;

    // Runs a script in the viewer's own world of the main frame; done gets its value.
    void RunViewerScript(const QString& script, const std::function<void(const QVariant&)>& done = {});

    // The script world of the viewer's scripts.
    static unsigned ViewerWorld();

    // The web channel's client side, to run in the viewer's world before its scripts.
    static QString ChannelClientScript();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;

private:
    QWebChannel* channel_ = nullptr;
};

// The object the viewer's scripts call over the channel.
class TViewerReports : public QObject {
    Q_OBJECT
public:
    explicit TViewerReports(TViewerPage* page) : QObject(page), page_(page) {}
    Q_INVOKABLE void report(const QString& kind, const QStringList& fields);

private:
    TViewerPage* page_;
};
