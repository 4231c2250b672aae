#include "app/Application.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
