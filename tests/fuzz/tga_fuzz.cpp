// The bytes as a TGA entry: decoded to pixels and converted to RGBA, as the texture loader does
// before its upload.
#include <cstddef>
#include <cstdint>

#include "resources/diagnostics.h"
#include "resources/image_limits.h"
#include "resources/memfile.h"
#include "resources/tga_decoder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Keeps every run quick; the size checks themselves are the same.
    orv::SetMaxImagePixels(4u << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::MemFile file;
    file.OpenBytes("textures\\fuzz.tga", data, size);
    orv::TgaImage image;
    if (orv::DecodeTgaFile(file, image)) {
        const auto rgba = orv::TgaToRgba(image);
        if (rgba.size() != size_t{image.width} * image.height * 4) __builtin_trap();
    }
    orv::ClearDiagnostics();
    return 0;
}
