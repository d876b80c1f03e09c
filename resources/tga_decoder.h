// Truevision TGA images: colour-mapped, true-colour and grey, raw or run-length coded
// (image types 1, 2, 3, 9, 10, 11).
#pragma once

#include <cstdint>
#include <vector>

#include "resources/memfile.h"

namespace orv {

struct TgaImage {
    // The 18-byte header as read (little-endian fields).
    uint8_t idLength = 0;
    uint8_t colorMapType = 0;
    uint8_t imageType = 0;
    uint16_t colorMapFirst = 0;  // read, not used: indices address the map as they stand
    uint16_t colorMapLength = 0;
    uint8_t colorMapEntrySize = 0;
    uint16_t xOrigin = 0;
    uint16_t yOrigin = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelDepth = 0;  // after decoding: 24 for colour-mapped and 16-bit images
    uint8_t descriptor = 0;  // read, not used: rows keep their stored order

    // Decoded pixels, width × height × bytesPerPixel, rows in stored order (the first stored
    // row first). bytesPerPixel 1: grey; 3: B, G, R; 4: R, G, B, A.
    int bytesPerPixel = 0;
    std::vector<uint8_t> pixels;
};

// Decodes the archive entry `entry_name`. On failure the image holds no pixels and the result
// is false; a depth other than 8, 16, 24 or 32 also shows "Unsupported image depth.", every
// other refusal is a warning naming the entry.
bool DecodeTga(const char* entry_name, TgaImage& image);

// Decodes an entry that is already open (the file's name is used in warnings).
bool DecodeTgaFile(MemFile& file, TgaImage& image);

// The decoded pixels as R, G, B, A bytes, rows in the same order; empty when there are none.
std::vector<uint8_t> TgaToRgba(const TgaImage& image);

}  // namespace orv
