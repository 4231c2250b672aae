#include "html/engine/ViewerPage.h"

#include <QFile>
#include <QWebChannel>
#include <QWebEngineScript>

#include "html/engine/PageScheme.h"

TViewerPage::TViewerPage(QObject* parent) : QWebEnginePage(PageProfile(), parent) {
    channel_ = new QWebChannel(this);
    channel_->registerObject(QStringLiteral("bookshell"), new TViewerReports(this));
    setWebChannel(channel_, ViewerWorld());
}

unsigned TViewerPage::ViewerWorld() { return QWebEngineScript::ApplicationWorld; }

QString TViewerPage::ChannelClientScript() {
    static const QString source = [] {
        QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return source;
}

void TViewerPage::RunViewerScript(const QString& script, const std::function<void(const QVariant&)>& done) {
    if (done) runJavaScript(script, ViewerWorld(), done);
    else runJavaScript(script, ViewerWorld());
}

bool TViewerPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (type != NavigationTypeLinkClicked || !onLinkClicked) return true;
    return onLinkClicked(url, isMainFrame);
}

void TViewerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) {}

void TViewerReports::report(const QString& kind, const QStringList& fields) {
    if (page_->onReport) page_->onReport(kind, fields);
}
