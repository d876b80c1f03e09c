// The process-wide random generator of the scene.
//
// Every random choice the scene makes (camera path, object defaults, particles, flashes) comes
// from this one generator, in a fixed order, so that a run seeded with the same value repeats
// exactly. It is the classic C-runtime linear congruential generator, written out here because
// glibc's rand() is a different generator:
//   state := state * 214013 + 2531011 (mod 2^32); draw := (state / 65536) mod 32768.
// A fresh process starts with state 1, as a C runtime does before any seeding.
#pragma once

#include <cstdint>

namespace orv {

constexpr int kRandMax = 32767;

// Sets the generator's state.
void SeedRandom(uint32_t seed);

// The generator's current state (for tests and for saving/restoring around tools).
uint32_t RandomState();

// Next raw draw, 0 to 32767.
int RandomDraw();

// Next draw scaled to 0..1 inclusive: draw / 32767.0.
double RandomUnit();


}  // namespace orv
