// Window tests run on the offscreen platform with private folders.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "html/engine/PageScheme.h"
#include "media/QtMediaDevice.h"
#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("window-test");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    PreparePageEngine();
    TQtMediaDevice::SelectBackend();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
