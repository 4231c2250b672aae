// Every instance test runs against a private runtime folder, shared with the peers it starts, so
// it never meets a real Bookshell window or lock of the developer.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include <cstdlib>

int main(int argc, char** argv) {
    char folder[] = "/tmp/bookshell-instance-test-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return 2;
    ::setenv("XDG_RUNTIME_DIR", folder, 1);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(QString::fromLocal8Bit(folder)).removeRecursively();
    return result;
}
