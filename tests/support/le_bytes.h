// Appending little-endian values to a byte string, for tests and benchmarks that write binary
// entries (mesh files) by hand.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace orv::test {

inline void PutU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

inline void PutFloat(std::string& out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    PutU32(out, bits);
}

}  // namespace orv::test
