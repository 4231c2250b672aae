// Settings tests run on the offscreen platform with private folders, so the settings file they
// write is their own.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("settings-test");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
