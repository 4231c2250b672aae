#pragma once
// One logging category per layer, off by default: "bookshell.packs", "bookshell.rules",
// "bookshell.platform", "bookshell.skin", "bookshell.html", "bookshell.engine", "bookshell.app".
// They tell a user with a real disc why a page, picture or entry was not found or was rejected,
// one line each, when the program runs with --verbose or QT_LOGGING_RULES turns them on.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPacks)
Q_DECLARE_LOGGING_CATEGORY(lcRules)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcSkin)
Q_DECLARE_LOGGING_CATEGORY(lcHtml)
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcApp)

// Routes the Qt-free layers' lines into their categories. verbose turns every category on and
// names it before each line; otherwise the browser's own start-up report is kept quiet too.
// QT_LOGGING_RULES, when set, still has the last word.
void InstallDiagnostics(bool verbose);
