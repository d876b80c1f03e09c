// The fixed OpenGL state the whole scene is drawn with, vertical sync and the brightness ramp.
#pragma once

#include <array>
#include <cstdint>

namespace orv {

// What a display backend can do for InitOpenGL; a headless run leaves both unset.
struct DisplayControl {
    bool (*setSwapInterval)(int interval) = nullptr;
    // 3 x 256 entries: red, then green, then blue.
    bool (*setGammaRamp)(const uint16_t* ramp) = nullptr;
};
DisplayControl& CurrentDisplayControl();

// Sets the fixed state (capabilities, blending, viewport over Width x Height, the 4:3 frustum,
// lights, clear colour), vertical sync and, unless DefGamma is on, the brightness ramp.
bool InitOpenGL();

// Brightness setting (0..100, larger values used as they are) to the ramp exponent:
// 0 gives 1.5 (darker), 50 gives 1.0, 100 gives 0.5 (brighter).
float GammaExponent(uint32_t gamma);

using GammaRampTable = std::array<uint16_t, 768>;
// Entry k of a channel with exponent e is the integer part of (k / 256)^e * 65536.
GammaRampTable BuildGammaRamp(float red, float green, float blue);

// Loads a ramp through the display backend; false when there is none or it refused.
bool SetGammaRamp(float red, float green, float blue);

}  // namespace orv
