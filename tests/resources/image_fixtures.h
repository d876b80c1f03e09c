// Small generated pictures for the texture tests, benchmarks and fuzz seeds: TGA files of
// every supported kind (raw and run-length coded) and JPEG files written with libjpeg.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace orv::test {

struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// A picture with distinct rows and columns, runs of equal pixels and single pixels, so that
// both packet kinds of run-length coding occur. Colours come from a 16-colour palette.
inline std::vector<Rgba> TestPattern(int width, int height) {
    std::vector<Rgba> out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int index = x < width / 2 ? (y % 16) : ((x + y) % 16);
            out.push_back(
                {static_cast<uint8_t>(index * 16 + 8), static_cast<uint8_t>(255 - index * 16),
                 static_cast<uint8_t>((index * 40) & 255), static_cast<uint8_t>(index * 15)});
        }
    }
    return out;
}

// The palette index TestPattern used for a pixel (its red channel encodes it).
inline int PaletteIndex(const Rgba& p) {
    return p.r / 16;
}

struct TgaKind {
    int type;   // 1, 2, 3, 9, 10, 11
    int depth;  // 8, 16, 24, 32
};

inline void PutU16(std::string& s, int v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

// The stored bytes of one pixel of `kind`.
inline std::string StoredPixel(const TgaKind& kind, const Rgba& p) {
    std::string s;
    if (kind.type == 1 || kind.type == 9) {
        s.push_back(static_cast<char>(PaletteIndex(p)));
    } else if (kind.type == 3 || kind.type == 11) {
        s.push_back(static_cast<char>(p.r));
    } else if (kind.depth == 16) {
        PutU16(s, (p.b >> 3) | ((p.g >> 3) << 5) | ((p.r >> 3) << 10));
    } else {
        s += {static_cast<char>(p.b), static_cast<char>(p.g), static_cast<char>(p.r)};
        if (kind.depth == 32) s.push_back(static_cast<char>(p.a));
    }
    return s;
}

// The colour our loader must produce for a pixel of `kind` (what survives the stored form).
inline Rgba ExpectedRgba(const TgaKind& kind, const Rgba& p) {
    if (kind.type == 3 || kind.type == 11) return {p.r, p.r, p.r, 255};
    if (kind.depth == 16)
        return {static_cast<uint8_t>(p.r & 0xF8), static_cast<uint8_t>(p.g & 0xF8),
                static_cast<uint8_t>(p.b & 0xF8), 255};
    if (kind.depth == 32) return p;
    return {p.r, p.g, p.b, 255};
}

inline std::string TgaHeader(int id_length, int map_type, int type, int map_length, int map_entry,
                             int width, int height, int depth) {
    std::string s;
    s.push_back(static_cast<char>(id_length));
    s.push_back(static_cast<char>(map_type));
    s.push_back(static_cast<char>(type));
    PutU16(s, 0);
    PutU16(s, map_length);
    s.push_back(static_cast<char>(map_entry));
    PutU16(s, 0);
    PutU16(s, 0);
    PutU16(s, width);
    PutU16(s, height);
    s.push_back(static_cast<char>(depth));
    s.push_back(0);
    return s;
}

// Run-length codes stored pixels: runs of two or more equal pixels become repeat packets,
// the rest raw packets, at most 128 pixels per packet.
inline std::string RunLengthCode(const std::vector<std::string>& pixels) {
    std::string out;
    size_t i = 0;
    while (i < pixels.size()) {
        size_t run = 1;
        while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<char>(0x80 | (run - 1)));
            out += pixels[i];
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < pixels.size() && raw < 128 &&
               !(i + raw + 1 < pixels.size() && pixels[i + raw] == pixels[i + raw + 1]))
            ++raw;
        out.push_back(static_cast<char>(raw - 1));
        for (size_t k = 0; k < raw; ++k) out += pixels[i + k];
        i += raw;
    }
    return out;
}

// A whole TGA file of `kind` holding `pixels` (rows in stored order), with a 3-byte ID field;
// types 9, 10 and 11 are run-length coded.
inline std::string MakeTga(TgaKind kind, int width, int height, const std::vector<Rgba>& pixels) {
    const bool mapped = kind.type == 1 || kind.type == 9;
    std::string s = TgaHeader(3, mapped ? 1 : 0, kind.type, mapped ? 16 : 0, mapped ? 24 : 0, width,
                              height, kind.depth);
    s += "id!";
    if (mapped) {
        for (int i = 0; i < 16; ++i) {
            const Rgba c = TestPattern(2, 16)[static_cast<size_t>(i) * 2];
            s += {static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r)};
        }
    }
    std::vector<std::string> stored;
    for (const Rgba& p : pixels) stored.push_back(StoredPixel(kind, p));
    if (kind.type >= 9) {
        s += RunLengthCode(stored);
    } else {
        for (const std::string& p : stored) s += p;
    }
    return s;
}

enum class JpegColor { kRgb, kGrey, kCmyk };

// A JPEG file of the picture (width × height, rows from the top) written by libjpeg.
inline std::string MakeJpeg(int width, int height, const std::vector<Rgba>& pixels,
                            JpegColor color = JpegColor::kRgb, int quality = 95,
                            bool progressive = false) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = color == JpegColor::kGrey ? 1 : color == JpegColor::kCmyk ? 4 : 3;
    c.in_color_space = color == JpegColor::kGrey   ? JCS_GRAYSCALE
                       : color == JpegColor::kCmyk ? JCS_CMYK
                                                   : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * c.input_components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgba& p = pixels[static_cast<size_t>(y) * width + x];
            unsigned char* o = &row[static_cast<size_t>(x) * c.input_components];
            if (color == JpegColor::kGrey) {
                o[0] = p.r;
            } else {
                o[0] = p.r;
                o[1] = p.g;
                o[2] = p.b;
                if (color == JpegColor::kCmyk) o[3] = p.a;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
}

// A picture of flat colour blocks (8 × 8 pixels each, so the JPEG keeps them nearly exact).
inline std::vector<Rgba> BlockPattern(int width, int height) {
    static const Rgba kColors[4] = {
        {220, 30, 30, 255}, {30, 200, 40, 255}, {30, 40, 210, 255}, {240, 240, 240, 255}};
    std::vector<Rgba> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.push_back(kColors[((x / 8) + 2 * (y / 8)) % 4]);
    return out;
}

}  // namespace orv::test
