// The skin's widgets need an application with a screen: the offscreen platform serves, and
// stored values go to private folders.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("skin-widgets-test");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
