#include "html/engine/ViewerPage.h"

#include "html/engine/PageScheme.h"
#include "html/engine/PageScripts.h"

TViewerPage::TViewerPage(QObject* parent) : QWebEnginePage(PageProfile(), parent) {}

bool TViewerPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (type != NavigationTypeLinkClicked || !onLinkClicked) return true;
    return onLinkClicked(url, isMainFrame);
}

void TViewerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                           const QString&) {
    if (!message.startsWith(QLatin1String(kReportPrefix)) || !onReport) return;
    QStringList fields = message.mid(int(qstrlen(kReportPrefix))).split(QLatin1Char('\t'));
    const QString kind = fields.takeFirst();
    onReport(kind, fields);
}
