// Warnings about bad content. Every data.sdd is untrusted: a reader that meets something it
// cannot use records a warning naming the archive entry (and line, where there is one) and
// carries on with what is usable. Warnings are collected so that tools and tests can read them;
// the saver also echoes them to stderr.
#pragma once

#include <string>
#include <vector>

namespace orv {

struct Diagnostic {
    std::string entry;    // archive entry name, or "" when none applies
    int line = 0;         // 1-based line number, or 0 when none applies
    std::string message;
};

// Records a warning (printf-style message). Line 0 means "no line".
void Warn(const std::string& entry, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The warnings recorded since the last ClearDiagnostics().
const std::vector<Diagnostic>& Diagnostics();
void ClearDiagnostics();

// When on, every warning is also printed to stderr as "orvello: ENTRY:LINE: MESSAGE".
void SetDiagnosticsEcho(bool on);

}  // namespace orv
