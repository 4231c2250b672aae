#pragma once
// Diagnostic lines of the Qt-free layers: why a file, an entry or a line of the disc was not
// found or was rejected, one line each. They go nowhere until the program installs a sink (it
// routes them into the logging categories that --verbose turns on); a normal run stays silent.
// The sink is installed once at start, before anything is read; it is called on whatever
// thread reports.
#include <string>

enum class TDiagnosticLayer { Packs, Rules, HostPaths };

using TDiagnosticSink = void (*)(TDiagnosticLayer layer, const std::string& line);

void SetDiagnosticSink(TDiagnosticSink sink);
// Whether lines are wanted at all; callers test it before they build an expensive line.
bool DiagnosticsOn();
void Diagnose(TDiagnosticLayer layer, const std::string& line);
