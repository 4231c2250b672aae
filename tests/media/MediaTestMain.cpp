// Media tests run on the offscreen platform with private folders, and play through the ffmpeg
// backend of Qt Multimedia, as the program does.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "media/QtMediaDevice.h"
#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("media-test");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TQtMediaDevice::SelectBackend();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
