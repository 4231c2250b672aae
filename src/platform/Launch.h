#pragma once
// Starting other programs and opening files and addresses the way the desktop does. Paths are
// host paths. Windows programs (.exe, .com, .bat) run through Wine when "wine" is on PATH; without
// it they are not started and the call returns false, and callers stay silent. An executable
// script or ELF binary runs directly whatever its name, so a disc may ship a stand-in for a
// Windows program. Programs and documents are started detached: they keep running when this
// program ends.
//
// Nothing starts without the gate's leave: every program run and every file or address opened
// is put to the gate the program installs, and with no gate installed nothing starts.
#include <QString>
#include <QStringList>

class ILaunchGate {
public:
    virtual ~ILaunchGate() = default;
    // A program (a host file) is about to run, itself or through Wine.
    virtual bool MayRun(const QString& program) = 0;
    // A file or an address is about to go to the desktop's handler.
    virtual bool MayOpen(const QString& fileOrUrl) = 0;
};
// Installs the gate (not owned; null removes it) and returns the one it replaces.
ILaunchGate* SetLaunchGate(ILaunchGate* gate);

// A program's parameters as one text ("-f \"a b\" c") split the way a shell splits them.
QStringList SplitParameters(const QString& parameters);

// Opens a file or URL with the desktop's handler (xdg-open). False when the gate refuses, or
// xdg-open is missing or could not be started. A file the handler would run (a desktop entry, a
// script or binary, a Windows program) is put to the gate as a program.
bool ShellOpen(const QString& fileOrUrl, const QString& workingDir = {});

// Starts a program with arguments in a working folder (empty: this process's folder). A Windows
// program goes to Wine; another executable file starts directly; anything else is opened with
// ShellOpen (the arguments are then dropped). False when the gate refuses.
bool LaunchProgram(const QString& program, const QStringList& args, const QString& workingDir = {});

// Starts this program again, detached, with the given arguments.
bool StartNewInstance(const QStringList& args);

// Runs a program (a Windows program through Wine) and waits for it to end: its exit code, or -1
// when it could not start, crashed, or was still running after timeoutMs (it is then killed).
// A negative timeout waits without limit. -1 too when the gate refuses.
int RunAndWait(const QString& program, const QStringList& args, const QString& workingDir = {},
               int timeoutMs = -1);

// The same without a time limit, letting events run meanwhile, so the window keeps answering.
int RunAndWaitWithEvents(const QString& program, const QStringList& args, const QString& workingDir = {});
