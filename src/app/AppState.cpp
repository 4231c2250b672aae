#include "app/AppState.h"

#include <QCoreApplication>

#include <atomic>

namespace {
std::atomic<bool> terminating{false};
} // namespace

bool ApplicationTerminating() {
    return terminating.load() || QCoreApplication::closingDown();
}

void SetApplicationTerminating(bool value) {
    terminating.store(value);
}
