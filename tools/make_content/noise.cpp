#include "tools/make_content/noise.h"

#include <cmath>

namespace orv::content {
namespace {

uint32_t Hash(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    uint32_t h = seed ^ 0x9E3779B9u;
    h ^= static_cast<uint32_t>(x) * 0x8DA6B343u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xD8163841u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(z) * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

float Lattice(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    return static_cast<float>(Hash(x, y, z, seed) >> 8) / 8388608.0f - 1.0f;
}

float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

float Noise3(P3 p, uint32_t seed) {
    const float fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const int32_t x = static_cast<int32_t>(fx), y = static_cast<int32_t>(fy),
                  z = static_cast<int32_t>(fz);
    const float u = Fade(p.x - fx), v = Fade(p.y - fy), w = Fade(p.z - fz);
    auto corner = [&](int dx, int dy, int dz) { return Lattice(x + dx, y + dy, z + dz, seed); };
    const float x00 = Mix(corner(0, 0, 0), corner(1, 0, 0), u);
    const float x10 = Mix(corner(0, 1, 0), corner(1, 1, 0), u);
    const float x01 = Mix(corner(0, 0, 1), corner(1, 0, 1), u);
    const float x11 = Mix(corner(0, 1, 1), corner(1, 1, 1), u);
    return Mix(Mix(x00, x10, v), Mix(x01, x11, v), w);
}

float Fbm3(P3 p, uint32_t seed, int octaves) {
    float sum = 0, weight = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * Noise3(p, seed + 101u * static_cast<uint32_t>(i));
        total += weight;
        weight *= 0.5f;
        // An odd offset keeps the lattices of successive octaves from lining up.
        p = p * 2.03f + P3{17.1f, -9.3f, 4.7f};
    }
    return sum / total;
}

P3 SpherePoint(float lon, float lat) {
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

uint32_t Rng::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

}  // namespace orv::content
