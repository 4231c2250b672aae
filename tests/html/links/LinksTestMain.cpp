// The link tests run with a Qt application object and private runtime and configuration folders,
// shared with the picture windows they start.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("links-test");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
