// Pictures as the demo's generators paint them, and the two file formats the saver reads.
#pragma once

#include <string>
#include <vector>

namespace orv::content {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Rgba Lerp(Rgba x, Rgba y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
            x.a + (y.a - x.a) * t};
}

// Colour times s; alpha unchanged.
inline Rgba Scale(Rgba c, float s) { return {c.r * s, c.g * s, c.b * s, c.a}; }

// Linear RGBA floats, row 0 at the top of the picture. Values outside 0..1 are clamped when
// the picture is written.
class Image {
public:
    Image(int width, int height) : width_(width), height_(height), pixels_(size_t(width) * height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Rgba& at(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
    const Rgba& at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }

    // Adds colour c times weight w at (x, y), wrapping around both edges.
    void AddWrapped(int x, int y, const Rgba& c, float w);

private:
    int width_, height_;
    std::vector<Rgba> pixels_;
};

// Baseline JPEG, 3 components; the saver reads the top row as texture row t = 1.
bool WriteJpeg(const std::string& path, const Image& image, int quality);

// Uncompressed 32-bit TGA (image type 2) with alpha, rows stored bottom-up as the format's
// default origin says. The saver uses the first stored row as texture row t = 0, so the
// picture's bottom row is t = 0.
bool WriteTga(const std::string& path, const Image& image);

}  // namespace orv::content
