// Tests that need a real X server use the display they are given, with private folders; without
// a display they run offscreen and skip.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "html/engine/PageScheme.h"
#include "media/QtMediaDevice.h"
#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("x11-test");
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    PreparePageEngine();
    TQtMediaDevice::SelectBackend();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
