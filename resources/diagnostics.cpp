#include "resources/diagnostics.h"

#include <cstdarg>
#include <cstdio>

namespace orv {
namespace {

std::vector<Diagnostic>& Store() {
    static std::vector<Diagnostic> store;
    return store;
}

bool g_echo = false;

// A file full of bad lines must not grow memory without bound.
constexpr size_t kMaxDiagnostics = 10000;

}  // namespace

void Warn(const std::string& entry, int line, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);

    if (g_echo) {
        if (line > 0)
            std::fprintf(stderr, "orvello: %s:%d: %s\n", entry.c_str(), line, text);
        else if (!entry.empty())
            std::fprintf(stderr, "orvello: %s: %s\n", entry.c_str(), text);
        else
            std::fprintf(stderr, "orvello: %s\n", text);
    }
    auto& store = Store();
    if (store.size() < kMaxDiagnostics) {
        store.push_back({entry, line, text});
    } else if (store.size() == kMaxDiagnostics) {
        store.push_back({"", 0, "too many warnings; further ones are not recorded"});
    }
}

const std::vector<Diagnostic>& Diagnostics() { return Store(); }

void ClearDiagnostics() { Store().clear(); }

void SetDiagnosticsEcho(bool on) { g_echo = on; }

}  // namespace orv
