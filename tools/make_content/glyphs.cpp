#include "tools/make_content/glyphs.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tools/make_content/noise.h"

namespace orv::content {
namespace {

// Seven segments, a to g, as line segments in a cell of 64 x 64 pixels (y down).
struct Segment {
    float x0, y0, x1, y1;
};
constexpr float kLeft = 12, kRight = 38, kTop = 10, kMiddle = 32, kBottom = 54, kGap = 3.5f;
constexpr Segment kSegments[7] = {
    {kLeft + kGap, kTop, kRight - kGap, kTop},           // a
    {kRight, kTop + kGap, kRight, kMiddle - kGap},       // b
    {kRight, kMiddle + kGap, kRight, kBottom - kGap},    // c
    {kLeft + kGap, kBottom, kRight - kGap, kBottom},     // d
    {kLeft, kMiddle + kGap, kLeft, kBottom - kGap},      // e
    {kLeft, kTop + kGap, kLeft, kMiddle - kGap},         // f
    {kLeft + kGap, kMiddle, kRight - kGap, kMiddle},     // g
};

// Lit segments per cell, as letters a-g; the colon is drawn separately.
constexpr const char* kCellSegments[13] = {
    "abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg",
    "", "abcefg", "abefg",
};

float DistanceToSegment(float px, float py, const Segment& s) {
    const float dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / len2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = px - (s.x0 + t * dx), ey = py - (s.y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

// Brightness of a glyph at a cell point: a crisp stroke with a faint glow around it.
float Stroke(float distance, float half_width) {
    return Smoothstep(half_width + 0.7f, half_width - 0.7f, distance) +
           0.22f * std::exp(-std::max(0.0f, distance - half_width) / 2.5f);
}

// A 5 x 7 pixel font for the few letters the loading screen writes.
struct Letter {
    char c;
    const char* rows[7];
};
constexpr Letter kFont[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
};

const Letter* FindLetter(char c) {
    for (const Letter& l : kFont)
        if (l.c == c) return &l;
    return nullptr;
}

// Writes text centred at (cx, cy), each font pixel `scale` picture pixels, 4 x 4 supersampled.
void WriteText(Image& image, const char* text, float cx, float cy, float scale, Rgba colour) {
    const int n = static_cast<int>(std::strlen(text));
    const float advance = 6 * scale;
    const float left = cx - (n * advance - scale) / 2, top = cy - 3.5f * scale;
    const int x0 = std::max(0, static_cast<int>(left) - 1);
    const int x1 = std::min(image.width(), static_cast<int>(left + n * advance) + 1);
    const int y0 = std::max(0, static_cast<int>(top) - 1);
    const int y1 = std::min(image.height(), static_cast<int>(top + 7 * scale) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int lit = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const float fx = (x + (sx + 0.5f) / 4 - left) / scale;
                    const float fy = (y + (sy + 0.5f) / 4 - top) / scale;
                    if (fx < 0 || fy < 0 || fy >= 7) continue;
                    const int index = static_cast<int>(fx / 6);
                    const int col = static_cast<int>(fx) - index * 6;
                    if (index >= n || col >= 5) continue;
                    const Letter* letter = FindLetter(text[index]);
                    if (letter && letter->rows[static_cast<int>(fy)][col] == '#') ++lit;
                }
            }
            if (lit) image.AddWrapped(x, y, colour, lit / 16.0f);
        }
    }
}

void FillBlack(Image& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.at(x, y) = Rgba{0, 0, 0};
}

}  // namespace

Image PaintDigitAtlas(int size) {
    Image image(size, size);
    FillBlack(image);
    const int cell = size / 4;
    const float unit = cell / 64.0f;
    const Rgba ink{0.72f, 0.90f, 1.0f};
    for (int i = 0; i < 13; ++i) {
        const int ox = (i % 4) * cell, oy = (i / 4) * cell;
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                const float px = (x + 0.5f) / unit, py = (y + 0.5f) / unit;
                float best = 1e9f;
                for (const char* s = kCellSegments[i]; *s; ++s)
                    best = std::min(best, DistanceToSegment(px, py, kSegments[*s - 'a']));
                if (i == 10) {  // colon
                    const Segment upper{25, 22, 25, 22}, lower{25, 42, 25, 42};
                    best = std::min(DistanceToSegment(px, py, upper), DistanceToSegment(px, py, lower)) - 1.5f;
                }
                const float v = std::min(1.0f, Stroke(best, 2.6f));
                image.at(ox + x, oy + y) = Rgba{ink.r * v, ink.g * v, ink.b * v};
            }
        }
    }
    return image;
}

Image PaintEmblem(int size) {
    Image image(size, size);
    FillBlack(image);
    Rng rng(161);
    for (int i = 0; i < 120; ++i) {
        const float v = rng.Range(0.1f, 0.7f);
        image.AddWrapped(static_cast<int>(rng.Unit() * size), static_cast<int>(rng.Unit() * size),
                         Rgba{v, v, v * 1.1f}, 1.0f);
    }
    const float s = size / 256.0f;
    const float cx = 128 * s, cy = 112 * s, radius = 58 * s;
    const float tilt = -0.28f, ca = std::cos(tilt), sa = std::sin(tilt);
    auto ring = [&](float x, float y, bool front) -> float {
        const float dx = x - cx, dy = y - cy;
        const float rx = dx * ca - dy * sa, ry = dx * sa + dy * ca;
        if (front != (ry > 0)) return 0;
        const float e = std::sqrt((rx / (112 * s)) * (rx / (112 * s)) + (ry / (28 * s)) * (ry / (28 * s)));
        if (e < 0.62f || e > 1.0f) return 0;
        return 0.55f + 0.35f * std::sin(e * 60) * (e < 0.8f ? 1.0f : 0.6f);
    };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgba& p = image.at(x, y);
            const Rgba ring_colour{0.85f, 0.76f, 0.6f};
            const float back = ring(x + 0.5f, y + 0.5f, false);
            if (back > 0) p = Rgba{ring_colour.r * back, ring_colour.g * back, ring_colour.b * back};
            const float dx = (x + 0.5f - cx) / radius, dy = (y + 0.5f - cy) / radius;
            const float d2 = dx * dx + dy * dy;
            if (d2 < 1) {
                const float nz = std::sqrt(1 - d2);
                const float light = std::max(0.04f, -0.55f * dx - 0.45f * dy + 0.7f * nz);
                const float band = 0.8f + 0.2f * std::sin((dy * std::cos(tilt) + dx * std::sin(tilt)) * 14);
                const float edge = Smoothstep(1.0f, 0.96f, d2);
                p = Lerp(p, Rgba{0.92f * band * light, 0.78f * band * light, 0.6f * band * light}, edge);
            }
            const float front = ring(x + 0.5f, y + 0.5f, true);
            if (front > 0) p = Rgba{ring_colour.r * front, ring_colour.g * front, ring_colour.b * front};
        }
    }
    WriteText(image, "ORVELLO", 128 * s, 214 * s, 4 * s, Rgba{0.8f, 0.9f, 1.0f});
    return image;
}

Image PaintLoadingLabel(int size) {
    Image image(size, size);
    FillBlack(image);
    const float s = size / 256.0f;
    WriteText(image, "LOADING", 128 * s, 118 * s, 4 * s, Rgba{0.65f, 0.8f, 1.0f});
    for (int dot = 0; dot < 3; ++dot) {
        const float dx0 = (104 + 24 * dot) * s, dy0 = 158 * s;
        for (int y = static_cast<int>(dy0 - 6 * s); y <= static_cast<int>(dy0 + 6 * s); ++y) {
            for (int x = static_cast<int>(dx0 - 6 * s); x <= static_cast<int>(dx0 + 6 * s); ++x) {
                const float d = std::hypot(x + 0.5f - dx0, y + 0.5f - dy0) / s;
                const float v = Smoothstep(4.5f, 3.5f, d) * (0.4f + 0.3f * dot);
                image.AddWrapped(x, y, Rgba{0.65f, 0.8f, 1.0f}, v);
            }
        }
    }
    return image;
}

}  // namespace orv::content
