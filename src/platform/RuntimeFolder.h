#pragma once
// The per-user folder where running Bookshell processes meet: instance locks, window entries and
// the sockets behind them. It is "bookshell" in the user's runtime folder ($XDG_RUNTIME_DIR), or
// "bookshell-<uid>" in the temporary folder when there is none. Created on demand, private to the
// user (0700). Empty when it cannot be created or is not ours.
#include <QString>

QString RuntimeFolder();
