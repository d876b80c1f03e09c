#include "camera/random.h"

namespace orv {
namespace {
uint32_t g_state = 1;
}

void SeedRandom(uint32_t seed) { g_state = seed; }

uint32_t RandomState() { return g_state; }

int RandomDraw() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7fffu);
}

double RandomUnit() { return RandomDraw() / 32767.0; }

}  // namespace orv
