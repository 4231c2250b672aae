#include "platform/Diagnostics.h"

#include "base/Diagnostics.h"
#include "platform/QtText.h"

Q_LOGGING_CATEGORY(lcPacks, "bookshell.packs", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRules, "bookshell.rules", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "bookshell.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSkin, "bookshell.skin", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHtml, "bookshell.html", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEngine, "bookshell.engine", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "bookshell.app", QtWarningMsg)

namespace {

void routeLine(TDiagnosticLayer layer, const std::string& line) {
    const QLoggingCategory& category =
        layer == TDiagnosticLayer::Packs ? lcPacks() : layer == TDiagnosticLayer::Rules ? lcRules() : lcPlatform();
    if (category.isInfoEnabled()) QMessageLogger().info(category).noquote() << ToQt(line);
}

} // namespace

void InstallDiagnostics(bool verbose) {
    SetDiagnosticSink(routeLine);
    if (verbose) {
        QLoggingCategory::setFilterRules(QStringLiteral("bookshell.*.info=true\nbookshell.*.debug=true"));
        qSetMessagePattern(QStringLiteral("%{if-category}%{category}: %{endif}%{message}"));
    } else {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    }
}
