#pragma once
// A disc an attacker made: a copy of the sample disc with crafted pages, companion files and
// archives beside the book's own, and small programs on the host that leave a mark when they run,
// so a test sees whether anything started.
#include <QString>

struct RHostileDisc {
    QString root;     // the disc's root folder
    QString program;  // its run folder
    QString bin;      // host folder of the marking programs
    // The host path of a marking program, and of the mark it leaves when it runs.
    QString Program(const QString& name) const { return bin + "/" + name; }
    QString Mark(const QString& name) const { return bin + "/" + name + ".ran"; }
    // The Windows form of a marking program, as the crafted pages name it.
    QString Windows(const QString& name) const;
};

// Makes the disc once per test program, in a folder that goes with the program. Marking
// programs: "evil.sh" and "other.sh" (leave their mark), "args.sh" (writes its arguments, one
// per line, into its mark) on the host; run\setup\evil.exe on the disc (mark "evil.exe") and
// foreign\setup.exe beside the foreign page (mark "setup.exe"). Crafted pages in run\html: hostile.htm (scripts that try every way
// to act for the reader), refresh.htm (a redirect to a software link), copyme.htm with a
// companion folder holding a file named "a\..\..\..\..\precious.txt", and a foreign page
// outside the disc, foreign/dropped.htm, with a script and a software link of its own. The
// archive run\archives\hostile.rar holds twelve entries whose names climb out, name a drive or
// an absolute path, the file ok.txt, a hard link same.txt to it, and a page like the dropped one
// (title "unpacked").
const RHostileDisc& HostileDisc();

// Removes every mark.
void ClearMarks(const RHostileDisc& disc);
// Whether a program left its mark.
bool Ran(const RHostileDisc& disc, const QString& name);
