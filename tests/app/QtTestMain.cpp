// Start-up tests run with a Qt application object and private folders.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("startup-test");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
