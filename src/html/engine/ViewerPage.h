#pragma once
// The browser page of a frame viewer: hands every link the user starts to the viewer before
// the browser follows it, and passes on the short reports of the viewer's own page scripts.
#include <QStringList>
#include <QWebEnginePage>
#include <functional>

class TViewerPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit TViewerPage(QObject* parent);

    // Asked for every link click; returns whether the browser may follow it.
    std::function<bool(const QUrl& url, bool mainFrame)> onLinkClicked;
    // A report of the viewer's scripts: its kind and its tab-separated fields.
    std::function<void(const QString& kind, const QStringList& fields)> onReport;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Console output of pages is dropped; the viewer's reports are recognised by their prefix.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;
};
