// Bounds on decoded image sizes. Image headers come from untrusted archives: a forged width and
// height must be refused before anything is allocated for them.
#pragma once

#include <cstdint>

namespace orv {

// Largest side accepted, in pixels (far beyond any texture the renderer can use well).
constexpr uint32_t kMaxImageSide = 16384;
// Default bound on width × height: 8192 × 8192.
constexpr uint64_t kDefaultMaxImagePixels = 8192ull * 8192ull;

// The current bound on width × height. Fuzzers lower it to keep each run fast.
uint64_t MaxImagePixels();
void SetMaxImagePixels(uint64_t pixels);

// True when an image of this size may be decoded: both sides non-zero, each side within
// kMaxImageSide and the pixel count within MaxImagePixels().
bool ImageSizeAcceptable(uint64_t width, uint64_t height);

}  // namespace orv
