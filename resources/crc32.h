// CRC-32 (the IEEE / zip polynomial, reflected) as RAR archives use it: for entry data, and in its
// low 16 bits for block headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv {

// Continues a CRC: start with crc = 0 and feed the bytes in any number of pieces.
uint32_t Crc32(const void* bytes, size_t size, uint32_t crc = 0);

}  // namespace orv
