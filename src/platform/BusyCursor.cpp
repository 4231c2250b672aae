#include "platform/BusyCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

bool BusyFlag = false;

namespace {
bool overrideShown = false;
}

void SetBusyCursor(bool on) {
    const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (on) {
        if (gui && !overrideShown) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            overrideShown = true;
        }
    } else {
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
        if (gui && overrideShown) {
            QGuiApplication::restoreOverrideCursor();
            overrideShown = false;
        }
    }
    BusyFlag = on;
}
