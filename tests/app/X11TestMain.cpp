// Tests that need a real X server use the display they are given, with private folders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include <cstdlib>

int main(int argc, char** argv) {
    char folder[] = "/tmp/bookshell-x11-test-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return 2;
    ::setenv("XDG_RUNTIME_DIR", folder, 1);
    const std::string config = std::string(folder) + "/config";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string data = std::string(folder) + "/data";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    if (!std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(QString::fromLocal8Bit(folder)).removeRecursively();
    return result;
}
