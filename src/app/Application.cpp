#include "app/Application.h"

#include "app/AppState.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // From the moment the application is asked to end, timers deliver no more ticks.
    connect(this, &QCoreApplication::aboutToQuit, [] { SetApplicationTerminating(true); });
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        handler_.Handle(&e);
    } catch (...) {
        handler_.Handle(nullptr);
    }
    return false;
}
