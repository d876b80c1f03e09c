// Deterministic noise and random numbers for the generators: everything derives from integer
// hashes and fixed seeds, so every build paints the same bytes.
#pragma once

#include <cstdint>

namespace orv::content {

struct P3 {
    float x, y, z;
};

inline P3 operator*(P3 p, float s) { return {p.x * s, p.y * s, p.z * s}; }
inline P3 operator+(P3 a, P3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// Smooth value noise in -1..1.
float Noise3(P3 p, uint32_t seed);
// Fractal sum of `octaves` noise layers, each twice the frequency and half the weight; -1..1.
float Fbm3(P3 p, uint32_t seed, int octaves);

// The point of the unit sphere at longitude lon and latitude lat (radians); +z is north.
P3 SpherePoint(float lon, float lat);

// A small seeded generator (xorshift) for placing stars, craters and the like.
class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    uint32_t Next();
    // Uniform in [0, 1).
    float Unit() { return static_cast<float>(Next() >> 8) / 16777216.0f; }
    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }

private:
    uint32_t state_;
};

inline float Smoothstep(float e0, float e1, float x) {
    float t = (x - e0) / (e1 - e0);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return t * t * (3 - 2 * t);
}

inline float Mix(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace orv::content
