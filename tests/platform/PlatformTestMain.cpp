// Platform tests run against private runtime, configuration and data folders, shared with the
// peers they start, so they never meet a real Bookshell window, lock or drive of the developer.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/PrivateFolders.h"

int main(int argc, char** argv) {
    TPrivateFolders folders(TEST_FOLDERS);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
