// Start-up tests run with a Qt application object and a private runtime folder, so instance
// locks and window entries never meet a developer's running books.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include <cstdlib>

int main(int argc, char** argv) {
    char folder[] = "/tmp/bookshell-startup-test-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return 2;
    ::setenv("XDG_RUNTIME_DIR", folder, 1);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(QString::fromLocal8Bit(folder)).removeRecursively();
    return result;
}
