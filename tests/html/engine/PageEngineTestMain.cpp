// Page engine tests run the real browser on the offscreen platform. Answers of the browser may
// take longer than the program's 100 ms on a busy test machine, so the tests allow more.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "html/engine/PageScheme.h"
#include "html/engine/PageScripts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    PreparePageEngine();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    SetPageAnswerWait(5000);
    return RUN_ALL_TESTS();
}
