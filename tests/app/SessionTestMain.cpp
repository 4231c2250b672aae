// The window tests of a desktop session run in the session BOOKSHELL_SESSION names: "x11" on the
// display DISPLAY gives, "wayland" on the compositor socket BOOKSHELL_WAYLAND_DISPLAY gives (an
// absolute path, as the test command's weston has it). Without one they run offscreen and skip.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <string>

#include "html/engine/PageScheme.h"
#include "media/QtMediaDevice.h"
#include "support/PrivateFolders.h"

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

int main(int argc, char** argv) {
    TPrivateFolders folders("session-test");
    const std::string session = Env("BOOKSHELL_SESSION");
    if (session == "wayland" && !Env("BOOKSHELL_WAYLAND_DISPLAY").empty()) {
        ::setenv("WAYLAND_DISPLAY", Env("BOOKSHELL_WAYLAND_DISPLAY").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "wayland", 1);
        // A headless compositor has no seat, and Qt 6.4's Wayland input context then reads the
        // text input of a missing input device when a page takes the focus; a desktop always has
        // a seat. The compose input method stands in.
        ::setenv("QT_IM_MODULE", "compose", 0);
    } else if (session == "x11" && !Env("DISPLAY").empty()) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    PreparePageEngine();
    TQtMediaDevice::SelectBackend();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
