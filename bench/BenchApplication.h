#pragma once
// The application object of the window benchmarks: offscreen, or in the desktop session
// BOOKSHELL_SESSION names ("x11" on DISPLAY, "wayland" on the socket BOOKSHELL_WAYLAND_DISPLAY),
// with private runtime, configuration and data folders, and the page engine prepared before Qt
// starts.
#include <QApplication>
#include <QTemporaryDir>

#include "html/engine/PageScheme.h"
#include "media/QtMediaDevice.h"

struct TBenchFolders {
    QTemporaryDir folders;
    TBenchFolders() {
        qputenv("XDG_RUNTIME_DIR", folders.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (folders.path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (folders.path() + "/data").toUtf8());
        const QByteArray session = qgetenv("BOOKSHELL_SESSION");
        if (session == "wayland") {
            qputenv("WAYLAND_DISPLAY", qgetenv("BOOKSHELL_WAYLAND_DISPLAY"));
            qputenv("QT_QPA_PLATFORM", "wayland");
            qputenv("QT_IM_MODULE", "compose");  // a headless compositor has no seat
        } else {
            qputenv("QT_QPA_PLATFORM", session == "x11" ? "xcb" : "offscreen");
        }
        PreparePageEngine();
        TQtMediaDevice::SelectBackend();
    }
};

// The folders come first, so they exist before the application object starts.
class TBenchApplication : private TBenchFolders, public QApplication {
public:
    TBenchApplication(int& argc, char** argv) : TBenchFolders(), QApplication(argc, argv) {}
};
