#include "platform/Diagnostics.h"

#include "base/Diagnostics.h"
#include "platform/QtText.h"

Q_LOGGING_CATEGORY(lcPacks, "bookshell.packs", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRules, "bookshell.rules", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "bookshell.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSkin, "bookshell.skin", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHtml, "bookshell.html", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEngine, "bookshell.engine", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMedia, "bookshell.media", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "bookshell.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLibraries, "bookshell.libraries", QtCriticalMsg)

namespace {

bool verboseRun = false;
QtMessageHandler qtHandler = nullptr;

// A message outside the program's categories is a library's: it is told under
// "bookshell.libraries", so a normal run keeps it off the terminal.
void routeMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool ours = context.category && qstrncmp(context.category, "bookshell.", 10) == 0;
    if (ours || type == QtFatalMsg) return qtHandler(type, context, message);
    if (!lcLibraries().isDebugEnabled()) return;
    const QMessageLogContext routed(context.file, context.line, context.function, "bookshell.libraries");
    qtHandler(type, routed, QStringLiteral("[%1] %2").arg(QString::fromLatin1(context.category ? context.category : "default"), message));
}

void routeLine(TDiagnosticLayer layer, const std::string& line) {
    const QLoggingCategory& category =
        layer == TDiagnosticLayer::Packs ? lcPacks() : layer == TDiagnosticLayer::Rules ? lcRules() : lcPlatform();
    if (category.isInfoEnabled()) QMessageLogger().info(category).noquote() << ToQt(line);
}

} // namespace

void InstallDiagnostics(bool verbose) {
    verboseRun = verbose;
    SetDiagnosticSink(routeLine);
    if (!qtHandler) qtHandler = qInstallMessageHandler(routeMessage);
    if (verbose) {
        QLoggingCategory::setFilterRules(QStringLiteral("bookshell.*.info=true\nbookshell.*.debug=true"));
        qSetMessagePattern(QStringLiteral("%{if-category}%{category}: %{endif}%{message}"));
    } else {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    }
}

bool DiagnosticsVerbose() { return verboseRun; }
