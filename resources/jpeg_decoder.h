// JPEG images, decoded by libjpeg (6b interface) straight from the entry in memory.
#pragma once

#include <cstdlib>
#include <memory>

#include "resources/memfile.h"

namespace orv {

struct FreeDeleter {
    void operator()(unsigned char* p) const { std::free(p); }
};

struct DecodedImage {
    int rowBytes = 0;  // width × 3
    int width = 0;
    int height = 0;
    // R, G, B bytes, rowBytes × height; the first row in memory is the bottom row of the
    // picture, so that the picture's top lands at texture coordinate t = 1.
    std::unique_ptr<unsigned char[], FreeDeleter> pixels;
};

// Decodes the archive entry `entry_name` to RGB. Greyscale pictures are widened to RGB; CMYK
// and YCCK pictures are refused. When the entry cannot be opened, shows
// "ARCH:Can't load JPG file: <entry>" (caption "Error"). Every other failure, and the first
// decoder warning of a picture (corrupt or truncated data), is a warning naming the entry;
// nothing else reaches the user.
bool DecodeJpeg(const char* entry_name, DecodedImage& image);

// Decodes an entry that is already open (the file's name is used in warnings).
bool DecodeJpegFile(const MemFile& file, DecodedImage& image);

}  // namespace orv
