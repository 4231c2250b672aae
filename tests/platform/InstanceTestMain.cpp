// Every instance test runs against private folders, shared with the peers it starts, so it never
// meets a real Bookshell window or lock of the developer.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders("instance-test");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
