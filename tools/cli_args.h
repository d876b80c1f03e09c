// Strict parsing of command-line values for the tools: the whole word must be a number in range.
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace orv::cli {

inline bool ParseUnsigned(const char* text, uint64_t max, uint64_t& out) {
    if (!text || !*text || *text == '-' || *text == '+') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || v > max) return false;
    out = v;
    return true;
}

inline bool ParseDouble(const char* text, double& out) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

}  // namespace orv::cli
