// The layers' diagnostic lines reach their logging categories only when asked for.
#include "platform/Diagnostics.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "base/Diagnostics.h"

namespace {

QStringList& Logged() {
    static QStringList lines;
    return lines;
}

void Capture(QtMsgType, const QMessageLogContext& context, const QString& message) {
    Logged() << QString::fromLatin1(context.category ? context.category : "") + " " + message;
}

} // namespace

TEST(Diagnostics, AreSilentByDefaultAndNameTheirLayerWhenVerbose) {
    const QtMessageHandler previous = qInstallMessageHandler(Capture);
    Logged().clear();
    InstallDiagnostics(false);
    Diagnose(TDiagnosticLayer::Packs, "not in the bundle: a.bmp");
    qCInfo(lcSkin) << "quiet";
    EXPECT_TRUE(Logged().isEmpty()) << Logged().join('\n').toStdString();

    InstallDiagnostics(true);
    Diagnose(TDiagnosticLayer::Packs, "not in the bundle: \xE0.bmp");  // CP1251 а
    Diagnose(TDiagnosticLayer::Rules, "command \"x\" does nothing");
    EXPECT_EQ(Logged(), (QStringList{QString::fromUtf8("bookshell.packs not in the bundle: а.bmp"),
                                     QStringLiteral("bookshell.rules command \"x\" does nothing")}));
    InstallDiagnostics(false);
    SetDiagnosticSink(nullptr);
    qInstallMessageHandler(previous);
}
