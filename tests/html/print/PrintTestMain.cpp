// Print tests run the real browser on the offscreen platform and print through the system's
// print server: with BOOKSHELL_PRINT_OUT set (the test command's PDF printer writes there) a
// default printer is required, else the tests that need one are skipped.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "html/engine/PageScheme.h"
#include "html/engine/PageScripts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (data.path() + "/config").toUtf8());  // the frame stores its fonts there
    PreparePageEngine();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    SetPageAnswerWait(5000);
    return RUN_ALL_TESTS();
}
