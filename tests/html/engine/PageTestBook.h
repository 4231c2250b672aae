#pragma once
// A small book for the page engine tests: pages and pictures in a pack built here, one page on
// disk only, the disc mapped to d: with the program in d:\run\.
#include <QString>
#include <QVariant>
#include <functional>
#include <string>

class TFrameViewer;

// Builds the book once per process (texts are given in UTF-8 and stored as CP1251).
void SetUpTestBook();
// Loads a file and waits (at most 10 s) for the page; false when refused or not loaded.
bool LoadAndWait(TFrameViewer& viewer, const std::string& winPath);
// Waits for a load already started.
bool WaitLoaded(TFrameViewer& viewer);
// The value of a script in the page.
QVariant Eval(TFrameViewer& viewer, const QString& script);
// Waits (at most 5 s) until the script yields the expected value; returns the last value.
QVariant EvalUntil(TFrameViewer& viewer, const QString& script, const QVariant& expected);
// Lets events run until done() holds, at most 5 s.
bool WaitFor(const std::function<bool()>& done);
// CP1251 from UTF-8 source text.
std::string Cp(const char* utf8);
