#pragma once
// One logging category per layer, off by default: "bookshell.packs", "bookshell.rules",
// "bookshell.platform", "bookshell.skin", "bookshell.html", "bookshell.engine", "bookshell.media",
// "bookshell.app", and "bookshell.libraries" for what Qt, the browser and the media back-end say.
// They tell a user with a real disc why a page, picture or entry was not found or was rejected,
// one line each, when the program runs with --verbose or QT_LOGGING_RULES turns them on.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPacks)
Q_DECLARE_LOGGING_CATEGORY(lcRules)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcSkin)
Q_DECLARE_LOGGING_CATEGORY(lcHtml)
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcMedia)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcLibraries)

// Routes the Qt-free layers' lines into their categories. verbose turns every category on and
// names it before each line. A normal run shows only the book's own warnings: what the libraries
// say (Qt's messages outside the program's categories among them) goes to "bookshell.libraries",
// shown with --verbose. QT_LOGGING_RULES, when set, still has the last word.
void InstallDiagnostics(bool verbose);
bool DiagnosticsVerbose();
