#pragma once
// Starting other programs and opening files and addresses the way the desktop does. Paths are
// host paths. Windows programs (.exe, .com, .bat) run through Wine when "wine" is on PATH; without
// it they are not started and the call returns false, and callers stay silent. An executable
// script or ELF binary runs directly whatever its name, so a disc may ship a stand-in for a
// Windows program. Programs and
// documents are started detached: they keep running when this program ends.
#include <QString>
#include <QStringList>

// Opens a file or URL with the desktop's handler (xdg-open). False when xdg-open is missing or
// could not be started.
bool ShellOpen(const QString& fileOrUrl, const QString& workingDir = {});

// Starts a program with arguments in a working folder (empty: this process's folder). A Windows
// program goes to Wine; another executable file starts directly; anything else is opened with
// ShellOpen (the arguments are then dropped).
bool LaunchProgram(const QString& program, const QStringList& args, const QString& workingDir = {});

// Starts this program again, detached, with the given arguments.
bool StartNewInstance(const QStringList& args);

// Runs a program (a Windows program through Wine) and waits for it to end: its exit code, or -1
// when it could not start, crashed, or was still running after timeoutMs (it is then killed).
// A negative timeout waits without limit.
int RunAndWait(const QString& program, const QStringList& args, const QString& workingDir = {},
               int timeoutMs = -1);

// The same without a time limit, letting events run meanwhile, so the window keeps answering.
int RunAndWaitWithEvents(const QString& program, const QStringList& args, const QString& workingDir = {});
