#include "base/Diagnostics.h"

#include <atomic>

namespace {
std::atomic<TDiagnosticSink> sink{nullptr};
} // namespace

void SetDiagnosticSink(TDiagnosticSink s) { sink.store(s); }

bool DiagnosticsOn() { return sink.load() != nullptr; }

void Diagnose(TDiagnosticLayer layer, const std::string& line) {
    if (const TDiagnosticSink s = sink.load()) s(layer, line);
}
