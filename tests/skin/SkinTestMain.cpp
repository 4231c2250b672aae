// Skin tests need no window: pictures are images, and stored states go to private folders.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("skin-test");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
