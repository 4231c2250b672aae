// Window tests run on the offscreen platform with a private runtime and configuration folder,
// so instance locks, window entries and stored switch states never meet a developer's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include <cstdlib>

int main(int argc, char** argv) {
    char folder[] = "/tmp/bookshell-window-test-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return 2;
    ::setenv("XDG_RUNTIME_DIR", folder, 1);
    const std::string config = std::string(folder) + "/config";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string data = std::string(folder) + "/data";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(QString::fromLocal8Bit(folder)).removeRecursively();
    return result;
}
