// The bytes as a JPEG entry, decoded to pixels through our memory source and error manager.
#include <cstddef>
#include <cstdint>

#include "resources/diagnostics.h"
#include "resources/image_limits.h"
#include "resources/jpeg_decoder.h"
#include "resources/memfile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Keeps every run quick; the size checks themselves are the same.
    orv::SetMaxImagePixels(4u << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::MemFile file;
    file.OpenBytes("textures\\fuzz.jpg", data, size);
    orv::DecodedImage image;
    if (orv::DecodeJpegFile(file, image)) {
        // Touch the first and last byte so that a short buffer shows up under ASan.
        const size_t bytes = static_cast<size_t>(image.rowBytes) * image.height;
        volatile unsigned char sink = image.pixels[0] ^ image.pixels[bytes - 1];
        (void)sink;
    }
    orv::ClearDiagnostics();
    return 0;
}
