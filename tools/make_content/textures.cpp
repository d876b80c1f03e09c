#include "tools/make_content/textures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/make_content/noise.h"

namespace orv::content {
namespace {

constexpr float kPi = 3.14159265f;

// A colour ramp through evenly spaced stops.
Rgba Ramp(const std::vector<Rgba>& stops, float t) {
    t = std::clamp(t, 0.0f, 1.0f) * static_cast<float>(stops.size() - 1);
    const size_t i = std::min(static_cast<size_t>(t), stops.size() - 2);
    return Lerp(stops[i], stops[i + 1], t - static_cast<float>(i));
}

// Calls paint(p, lon, lat) for every pixel of an equirectangular map.
template <class Paint>
Image SphereMap(int width, int height, Paint paint) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const float lat = (0.5f - (y + 0.5f) / height) * kPi;
        for (int x = 0; x < width; ++x) {
            const float lon = (x + 0.5f) / width * 2 * kPi;
            image.at(x, y) = paint(SpherePoint(lon, lat), lon, lat);
        }
    }
    return image;
}

// Calls paint(x, y, r) for every pixel of a square sprite, x and y from -1 to 1 (y up), r the
// distance from the centre; the result's alpha is faded to zero towards the border.
template <class Paint>
Image Sprite(int size, Paint paint) {
    Image image(size, size);
    for (int j = 0; j < size; ++j) {
        const float y = 1.0f - 2.0f * (j + 0.5f) / size;
        for (int i = 0; i < size; ++i) {
            const float x = 2.0f * (i + 0.5f) / size - 1.0f;
            const float r = std::sqrt(x * x + y * y);
            Rgba c = paint(x, y, r);
            c.a = std::clamp(c.a, 0.0f, 1.0f) * Smoothstep(0.97f, 0.85f, r);
            image.at(i, j) = c;
        }
    }
    return image;
}

struct Crater {
    P3 centre;
    float radius;  // chord length on the unit sphere
    float depth;
};

std::vector<Crater> ScatterCraters(uint32_t seed, int count, float rmin, float rmax) {
    Rng rng(seed);
    std::vector<Crater> craters;
    for (int i = 0; i < count; ++i) {
        const float lon = rng.Range(0, 2 * kPi);
        const float lat = std::asin(rng.Range(-1, 1));
        // Small craters far outnumber large ones.
        const float u = rng.Unit();
        const float radius = rmin + (rmax - rmin) * u * u * u;
        craters.push_back({SpherePoint(lon, lat), radius, rng.Range(0.5f, 1.0f)});
    }
    return craters;
}

// Height change from craters: a dished floor and a raised rim.
float CraterRelief(P3 p, const std::vector<Crater>& craters) {
    float h = 0;
    for (const Crater& c : craters) {
        const float dx = p.x - c.centre.x, dy = p.y - c.centre.y, dz = p.z - c.centre.z;
        const float d = std::sqrt(dx * dx + dy * dy + dz * dz) / c.radius;
        if (d > 1.6f) continue;
        if (d < 1.0f) h -= c.depth * 0.5f * (1.0f - d * d);
        const float rim = (d - 1.0f) / 0.14f;
        h += c.depth * 0.3f * std::exp(-rim * rim);
    }
    return h;
}

}  // namespace

Image PaintGasGiant(int width, int height) {
    const std::vector<Rgba> bands = {
        {0.30f, 0.18f, 0.11f}, {0.60f, 0.39f, 0.22f}, {0.78f, 0.62f, 0.42f},
        {0.88f, 0.80f, 0.66f}, {0.70f, 0.48f, 0.30f}, {0.50f, 0.29f, 0.18f},
    };
    const Rgba polar{0.50f, 0.52f, 0.56f};
    const Rgba storm{0.80f, 0.40f, 0.26f};
    const float storm_lon = 1.2f, storm_lat = -0.38f;
    return SphereMap(width, height, [&](P3 p, float lon, float lat) {
        // Latitude bands, bent by large eddies and combed into fine streaks along longitude.
        const float warp = 0.07f * Fbm3(p * 2.5f, 11, 4) +
                           0.025f * Fbm3(P3{p.x * 5, p.y * 5, p.z * 30}, 12, 3);
        const float b = std::sin(lat) + warp;
        const float tone = 0.5f + 0.62f * Noise3(P3{b * 11.0f, 0.5f, 0.5f}, 13) +
                           0.2f * Noise3(P3{b * 37.0f, 2.5f, 0.5f}, 14);
        Rgba c = Ramp(bands, tone);
        const float streak = 1.0f + 0.07f * Fbm3(P3{p.x * 4, p.y * 4, p.z * 60}, 15, 3);
        c = Scale(c, streak);

        // One great oval storm in the southern belts.
        float dlon = lon - storm_lon;
        if (dlon > kPi) dlon -= 2 * kPi;
        const float dx = dlon * std::cos(storm_lat) / 0.17f, dy = (lat - storm_lat) / 0.075f;
        const float e = dx * dx + dy * dy;
        if (e < 3.0f) {
            const float swirl = 2.5f * (1.0f - std::min(e, 1.0f));
            const float sx = dx * std::cos(swirl) - dy * std::sin(swirl);
            const float sy = dx * std::sin(swirl) + dy * std::cos(swirl);
            const float texture = 0.8f + 0.2f * Noise3(P3{sx * 3, sy * 3, 1.0f}, 16);
            c = Lerp(c, Scale(storm, texture), 0.85f * Smoothstep(1.2f, 0.5f, e));
            c = Lerp(c, Rgba{0.97f, 0.93f, 0.84f}, 0.5f * std::exp(-(e - 1.25f) * (e - 1.25f) / 0.05f));
        }
        return Lerp(c, polar, Smoothstep(1.05f, 1.45f, std::fabs(lat)));
    });
}

Image PaintCrateredMoon(int width, int height) {
    const std::vector<Crater> craters = ScatterCraters(21, 110, 0.02f, 0.28f);
    return SphereMap(width, height, [&](P3 p, float, float) {
        float v = 0.56f + 0.12f * Fbm3(p * 3.0f, 22, 5);
        v -= 0.17f * Smoothstep(0.05f, 0.3f, Fbm3(p * 1.4f, 23, 3));  // dark plains
        v += 0.5f * CraterRelief(p, craters);
        v = std::clamp(v, 0.08f, 0.95f);
        return Rgba{v, v * 0.97f, v * 0.93f};
    });
}

Image PaintIceMoon(int width, int height) {
    return SphereMap(width, height, [&](P3 p, float, float) {
        const float base = 0.86f + 0.12f * Fbm3(p * 3.0f, 31, 5);
        Rgba c{0.80f * base, 0.88f * base, 0.96f * base};
        // Two sets of cracks: ridges of noise where it crosses zero.
        const float wide = 1.0f - std::fabs(Noise3(p * 4.0f, 32));
        const float thin = 1.0f - std::fabs(Noise3(p * 11.0f, 33));
        const Rgba rust{0.55f, 0.38f, 0.28f};
        c = Lerp(c, rust, 0.8f * Smoothstep(0.95f, 0.99f, wide));
        c = Lerp(c, rust, 0.5f * Smoothstep(0.965f, 0.995f, thin));
        return Lerp(c, Rgba{0.62f, 0.66f, 0.74f}, 0.35f * Smoothstep(0.1f, 0.5f, Fbm3(p * 1.5f, 34, 3)));
    });
}

Image PaintVolcanicMoon(int width, int height) {
    Rng rng(41);
    std::vector<Crater> vents;
    for (int i = 0; i < 28; ++i) {
        vents.push_back({SpherePoint(rng.Range(0, 2 * kPi), std::asin(rng.Range(-0.9f, 0.9f))),
                         rng.Range(0.015f, 0.05f), 1.0f});
    }
    return SphereMap(width, height, [&](P3 p, float, float) {
        const Rgba sulphur{0.93f, 0.82f, 0.38f}, orange{0.86f, 0.52f, 0.20f},
            frost{0.95f, 0.93f, 0.84f};
        Rgba c = Lerp(sulphur, orange, Smoothstep(-0.2f, 0.4f, Fbm3(p * 2.5f, 42, 5)));
        c = Lerp(c, frost, 0.7f * Smoothstep(0.25f, 0.5f, Fbm3(p * 3.5f, 43, 4)));
        for (const Crater& v : vents) {
            const float dx = p.x - v.centre.x, dy = p.y - v.centre.y, dz = p.z - v.centre.z;
            const float d = std::sqrt(dx * dx + dy * dy + dz * dz) / v.radius;
            if (d < 4.0f) {
                c = Lerp(c, Rgba{0.70f, 0.25f, 0.10f}, 0.6f * Smoothstep(4.0f, 1.5f, d));
                c = Lerp(c, Rgba{0.12f, 0.07f, 0.05f}, Smoothstep(1.2f, 0.7f, d));
            }
        }
        return c;
    });
}

Image PaintAsteroidRock(int width, int height) {
    const std::vector<Crater> craters = ScatterCraters(51, 70, 0.03f, 0.3f);
    return SphereMap(width, height, [&](P3 p, float, float) {
        float v = 0.46f + 0.16f * Fbm3(p * 4.0f, 52, 5) + 0.45f * CraterRelief(p, craters);
        v = std::clamp(v, 0.08f, 0.9f);
        return Rgba{v * 1.0f, v * 0.9f, v * 0.8f};
    });
}

Image PaintStormFlashes(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.at(x, y) = Rgba{0, 0, 0};
    Rng rng(61);
    const Rgba flash{0.75f, 0.85f, 1.0f};
    for (int cluster = 0; cluster < 36; ++cluster) {
        const float cx = rng.Range(0, static_cast<float>(width));
        const float cy = rng.Range(height * 0.2f, height * 0.8f);
        const int blobs = 1 + static_cast<int>(rng.Unit() * 3);
        for (int b = 0; b < blobs; ++b) {
            const float bx = cx + rng.Range(-6, 6), by = cy + rng.Range(-3, 3);
            const float sigma = rng.Range(0.7f, 1.8f);
            const float peak = rng.Range(0.4f, 0.9f);
            const int reach = static_cast<int>(sigma * 3) + 1;
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    const int px = static_cast<int>(bx) + dx, py = static_cast<int>(by) + dy;
                    const float ex = px + 0.5f - bx, ey = py + 0.5f - by;
                    image.AddWrapped(px, py, flash,
                                     peak * std::exp(-(ex * ex + ey * ey) / (2 * sigma * sigma)));
                }
            }
        }
    }
    return image;
}

Image PaintAtmosphere(int width, int height, float brightness) {
    return SphereMap(width, height, [&](P3 p, float, float) {
        const float v = brightness * (0.78f + 0.22f * Fbm3(p * 3.0f, 71, 4));
        return Rgba{0.38f * v, 0.62f * v, 1.0f * v};
    });
}

Image PaintStarField(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // A faint, uneven dark background rather than flat black.
            const float n = 0.5f + 0.5f * Noise3(P3{x / 96.0f, y / 96.0f, 0.5f}, 81);
            image.at(x, y) = Rgba{0.004f + 0.006f * n, 0.005f + 0.006f * n, 0.010f + 0.010f * n};
        }
    }
    Rng rng(82);
    const std::vector<Rgba> tints = {
        {0.70f, 0.80f, 1.00f}, {0.88f, 0.92f, 1.00f}, {1.00f, 1.00f, 1.00f},
        {1.00f, 0.94f, 0.80f}, {1.00f, 0.82f, 0.62f},
    };
    for (int i = 0; i < 7000; ++i) {
        const float sx = rng.Range(0, static_cast<float>(width));
        const float sy = rng.Range(0, static_cast<float>(height));
        const float u = rng.Unit();
        const float brightness = 0.06f + 1.1f * u * u * u * u * u * u;
        const float sigma = 0.42f + 0.5f * brightness;
        const Rgba tint = Ramp(tints, rng.Unit());
        const int reach = static_cast<int>(sigma * 3) + 1;
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const int px = static_cast<int>(sx) + dx, py = static_cast<int>(sy) + dy;
                const float ex = px + 0.5f - sx, ey = py + 0.5f - sy;
                image.AddWrapped(px, py, tint,
                                 brightness * std::exp(-(ex * ex + ey * ey) / (2 * sigma * sigma)));
            }
        }
    }
    return image;
}

Image PaintNebula(int width, int height) {
    // The galactic plane is a great circle tilted against the map's equator.
    const P3 pole{0.3f, 0.5f, 0.812f};
    const Rgba violet{0.45f, 0.25f, 0.65f}, blue{0.22f, 0.38f, 0.80f}, rose{0.80f, 0.35f, 0.55f};
    return SphereMap(width, height, [&](P3 p, float, float) {
        const float g = p.x * pole.x + p.y * pole.y + p.z * pole.z;
        const float warp = 0.12f * Fbm3(p * 2.0f, 91, 4);
        const float band = std::exp(-((g + warp) * (g + warp)) / (0.32f * 0.32f));
        const float clouds = Smoothstep(-0.25f, 0.55f, Fbm3(p * 2.6f, 92, 6));
        const float patches = 0.5f * Smoothstep(0.2f, 0.7f, Fbm3(p * 1.7f, 93, 5));
        const float dust = 1.0f - 0.75f * band * Smoothstep(0.05f, 0.45f, Fbm3(p * 6.0f, 94, 4));
        const float glow = (band * (0.35f + 0.65f * clouds) + patches * clouds) * dust;
        const Rgba hue = Lerp(Lerp(violet, blue, Smoothstep(-0.4f, 0.4f, Noise3(p * 1.5f, 95))),
                              rose, Smoothstep(0.2f, 0.6f, Noise3(p * 2.2f, 96)));
        Rgba c = Scale(hue, 0.7f * glow);
        c = Lerp(c, Rgba{c.r + 0.30f * band * dust, c.g + 0.27f * band * dust,
                         c.b + 0.24f * band * dust}, 0.6f);
        return c;
    });
}

Image PaintRing(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const float t = static_cast<float>(height - 1 - y) / static_cast<float>(height - 1);
        float d = 0.6f + 0.28f * Noise3(P3{t * 38.0f, 0.5f, 0.5f}, 101) +
                  0.16f * Noise3(P3{t * 140.0f, 1.5f, 0.5f}, 102);
        d *= 0.55f + 0.45f * Smoothstep(0.0f, 0.3f, t);         // fainter inner ring
        d *= 1.0f - 0.93f * Smoothstep(0.015f, 0.0f, std::fabs(t - 0.64f) - 0.02f);  // main gap
        d *= 1.0f - 0.85f * Smoothstep(0.006f, 0.0f, std::fabs(t - 0.87f));          // thin gap
        d *= Smoothstep(0.0f, 0.05f, t) * Smoothstep(1.0f, 0.95f, t);
        const float tone = 0.85f + 0.2f * Noise3(P3{t * 60.0f, 3.5f, 0.5f}, 103);
        const Rgba dusty{0.78f * tone, 0.72f * tone, 0.64f * tone};
        const Rgba icy{0.92f * tone, 0.84f * tone, 0.70f * tone};
        Rgba c = Lerp(dusty, icy, Smoothstep(0.25f, 0.6f, t));
        c.a = std::clamp(d, 0.0f, 1.0f) * 0.92f;
        for (int x = 0; x < width; ++x) image.at(x, y) = c;
    }
    return image;
}

Image PaintHullPanels(int size) {
    Image image(size, size);
    const int cell = size / 8;
    Rng rng(111);
    std::vector<float> shade(64);
    std::vector<bool> windows(64);
    for (int i = 0; i < 64; ++i) {
        shade[i] = rng.Range(0.5f, 0.8f);
        windows[i] = rng.Unit() < 0.2f;
    }
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int cx = x / cell, cy = y / cell, ix = x % cell, iy = y % cell;
            const int id = cy * 8 + cx;
            float v = shade[id] * (0.93f + 0.07f * Noise3(P3{x / 9.0f, y / 9.0f, 0.5f}, 112));
            Rgba c{v, v, v * 1.03f};
            if (ix < 1 || iy < 1) c = Scale(c, 0.45f);                       // seams
            if ((ix == 4 || ix == cell - 5) && (iy == 4 || iy == cell - 5)) c = Scale(c, 0.6f);  // rivets
            if (windows[id] && iy > cell / 2 - 3 && iy < cell / 2 + 3 && ix > 3 && ix < cell - 3 &&
                (ix / 4) % 2 == 0) {
                c = Rgba{1.0f, 0.88f, 0.55f};
            }
            image.at(x, y) = c;
        }
    }
    return image;
}

Image PaintSun(int size) {
    return Sprite(size, [](float x, float y, float r) {
        const float angle = std::atan2(y, x);
        const float rays = std::pow(0.5f + 0.5f * Noise3(P3{std::cos(angle) * 5, std::sin(angle) * 5, 0.5f}, 121), 4.0f);
        const float disc = Smoothstep(0.105f, 0.085f, r);
        const float corona = 0.85f * std::exp(-(r - 0.09f) / 0.09f) * (r > 0.09f) + 0.3f * std::exp(-r / 0.35f);
        const float a = disc + corona + 0.5f * rays * std::exp(-r / 0.3f);
        const Rgba core{1.0f, 1.0f, 0.96f}, warm{1.0f, 0.80f, 0.52f};
        Rgba c = Lerp(core, warm, Smoothstep(0.08f, 0.5f, r));
        c.a = a;
        return c;
    });
}

Image PaintFlareStar(int size) {
    return Sprite(size, [](float x, float y, float r) {
        const float ax = std::fabs(x), ay = std::fabs(y);
        const float cross = std::exp(-ay / 0.012f) * std::exp(-ax / 0.5f) +
                            std::exp(-ax / 0.012f) * std::exp(-ay / 0.5f);
        const float u = std::fabs(x + y) * 0.7071f, v = std::fabs(x - y) * 0.7071f;
        const float diagonal = 0.4f * (std::exp(-u / 0.01f) * std::exp(-v / 0.3f) +
                                       std::exp(-v / 0.01f) * std::exp(-u / 0.3f));
        const float ring = 0.1f * std::exp(-((r - 0.55f) * (r - 0.55f)) / 0.0015f);
        const float a = std::exp(-r / 0.06f) + 0.35f * std::exp(-r / 0.22f) + 0.8f * cross + diagonal + ring;
        return Rgba{1.0f, 0.95f, 0.86f, a};
    });
}

Image PaintLensRing(int size) {
    return Sprite(size, [](float, float, float r) {
        const float edge = (r - 0.78f) / 0.05f;
        const float a = 0.7f * std::exp(-edge * edge) + 0.08f * Smoothstep(0.8f, 0.7f, r);
        return Rgba{1, 1, 1, a};
    });
}

Image PaintLensHexagon(int size) {
    return Sprite(size, [](float x, float y, float) {
        const float ax = std::fabs(x), ay = std::fabs(y);
        const float hex = std::max(ax * 0.866f + ay * 0.5f, ay);
        const float edge = (hex - 0.74f) / 0.03f;
        const float a = 0.22f * Smoothstep(0.78f, 0.72f, hex) + 0.3f * std::exp(-edge * edge);
        return Rgba{1, 1, 1, a};
    });
}

Image PaintLensGlow(int size) {
    return Sprite(size, [](float, float, float r) {
        return Rgba{1, 1, 1, 0.9f * std::exp(-(r * r) / (0.42f * 0.42f))};
    });
}

Image PaintSoftDot(int size, Rgba colour, float peak) {
    return Sprite(size, [&](float, float, float r) {
        const float q = std::max(0.0f, 1.0f - r * r);
        Rgba c = colour;
        c.a = peak * q * q;
        return c;
    });
}

Image PaintPlasma(int size) {
    return Sprite(size, [](float x, float y, float r) {
        const float q = std::max(0.0f, 1.0f - r * r);
        const float n = 0.65f + 0.35f * Fbm3(P3{x * 3, y * 3, 0.5f}, 131, 3);
        return Rgba{0.55f, 0.62f, 1.0f, 0.45f * q * q * n};
    });
}

Image PaintSparkle(int size) {
    return Sprite(size, [](float x, float y, float r) {
        const float ax = std::fabs(x), ay = std::fabs(y);
        const float spikes = std::exp(-ay / 0.03f) * std::exp(-ax / 0.45f) +
                             std::exp(-ax / 0.03f) * std::exp(-ay / 0.45f);
        const float a = std::exp(-r / 0.07f) + 0.25f * std::exp(-r / 0.25f) + 0.9f * spikes;
        return Rgba{0.9f, 0.95f, 1.0f, a};
    });
}

Image PaintHalo(int size) {
    // The planet's silhouette falls at about 0.75 to 0.82 of the halo quad (see the "oreol"
    // billboard in planet.txt): glow over the limb, fading into space.
    return Sprite(size, [](float, float, float r) {
        const float limb = 0.78f;
        float a;
        if (r < limb) {
            const float d = (limb - r) / 0.07f;
            a = std::exp(-d * d);
        } else {
            a = std::exp(-(r - limb) / 0.055f);
        }
        return Rgba{0.50f, 0.70f, 1.0f, 0.8f * a};
    });
}

Image PaintGalaxy(int size) {
    return Sprite(size, [](float x, float y, float r) {
        const float angle = std::atan2(y, x);
        const float arm = std::pow(0.5f + 0.5f * std::cos(2 * angle - 6.0f * std::log(r + 0.05f)), 3.0f);
        const float mottle = 0.7f + 0.3f * Fbm3(P3{x * 6, y * 6, 0.5f}, 141, 4);
        const float core = std::exp(-r / 0.08f);
        const float disc = arm * std::exp(-r / 0.3f) * mottle;
        Rgba c = Lerp(Rgba{1.0f, 0.9f, 0.75f}, Rgba{0.7f, 0.8f, 1.0f}, Smoothstep(0.05f, 0.4f, r));
        c.a = core + 1.2f * disc;
        return c;
    });
}

Image PaintWisp(int size) {
    return Sprite(size, [](float x, float y, float r) {
        const float q = std::max(0.0f, 1.0f - r);
        const float n = Smoothstep(-0.3f, 0.6f, Fbm3(P3{x * 2.5f, y * 2.5f, 0.5f}, 151, 5));
        return Rgba{0.78f, 0.48f, 0.88f, 0.7f * q * q * n};
    });
}

}  // namespace orv::content
