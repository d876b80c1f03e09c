#include "resources/image_limits.h"

namespace orv {
namespace {
uint64_t g_max_pixels = kDefaultMaxImagePixels;
}

uint64_t MaxImagePixels() {
    return g_max_pixels;
}
void SetMaxImagePixels(uint64_t pixels) {
    g_max_pixels = pixels;
}

bool ImageSizeAcceptable(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= g_max_pixels;
}

}  // namespace orv
