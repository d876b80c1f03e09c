#include "tools/make_content/image.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace orv::content {
namespace {

unsigned char ToByte(float v) {
    const float c = std::clamp(v, 0.0f, 1.0f);
    return static_cast<unsigned char>(std::lround(c * 255.0f));
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

}  // namespace

void Image::AddWrapped(int x, int y, const Rgba& c, float w) {
    x = ((x % width_) + width_) % width_;
    y = ((y % height_) + height_) % height_;
    Rgba& p = at(x, y);
    p.r += c.r * w;
    p.g += c.g * w;
    p.b += c.b * w;
}

bool WriteJpeg(const std::string& path, const Image& image, int quality) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;

    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file.get());
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Stars and glyphs are small and sharp: keep full colour resolution.
    for (int i = 0; i < cinfo.num_components; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);

    std::vector<JSAMPLE> row(size_t(image.width()) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < image.width(); ++x) {
            const Rgba& p = image.at(x, y);
            row[size_t(x) * 3 + 0] = ToByte(p.r);
            row[size_t(x) * 3 + 1] = ToByte(p.g);
            row[size_t(x) * 3 + 2] = ToByte(p.b);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::ferror(file.get()) == 0;
}

bool WriteTga(const std::string& path, const Image& image) {
    const int w = image.width(), h = image.height();
    std::vector<unsigned char> bytes(18 + size_t(w) * h * 4);
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = static_cast<unsigned char>(w & 0xFF);
    bytes[13] = static_cast<unsigned char>(w >> 8);
    bytes[14] = static_cast<unsigned char>(h & 0xFF);
    bytes[15] = static_cast<unsigned char>(h >> 8);
    bytes[16] = 32;
    bytes[17] = 8;  // 8 alpha bits, lower-left origin
    size_t out = 18;
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgba& p = image.at(x, y);
            bytes[out++] = ToByte(p.b);
            bytes[out++] = ToByte(p.g);
            bytes[out++] = ToByte(p.r);
            bytes[out++] = ToByte(p.a);
        }
    }
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

}  // namespace orv::content
