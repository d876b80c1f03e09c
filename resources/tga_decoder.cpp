#include "resources/tga_decoder.h"

#include <cstdio>
#include <cstring>

#include "platform/message_box.h"
#include "resources/diagnostics.h"
#include "resources/image_limits.h"
#include "resources/image_source.h"

namespace orv {
namespace {

constexpr uint32_t kHeaderSize = 18;
constexpr uint32_t kMaxRunLength = 128;

uint8_t ReadU8(MemFile& file) {
    uint8_t v = 0;
    file.Read(&v, 1);
    return v;
}

uint16_t ReadU16(MemFile& file) {
    uint8_t b[2] = {0, 0};
    file.Read(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

void ReadHeader(MemFile& file, TgaImage& image) {
    image.idLength = ReadU8(file);
    image.colorMapType = ReadU8(file);
    image.imageType = ReadU8(file);
    image.colorMapFirst = ReadU16(file);
    image.colorMapLength = ReadU16(file);
    image.colorMapEntrySize = ReadU8(file);
    image.xOrigin = ReadU16(file);
    image.yOrigin = ReadU16(file);
    image.width = ReadU16(file);
    image.height = ReadU16(file);
    image.pixelDepth = ReadU8(file);
    image.descriptor = ReadU8(file);
}

// The unread part of an open file.
struct Input {
    const uint8_t* data;
    size_t left;

    bool Take(size_t n, const uint8_t** out) {
        if (n > left) return false;
        *out = data;
        data += n;
        left -= n;
        return true;
    }
};

Input Remaining(const MemFile& file) {
    if (file.cursor() >= file.size()) return {nullptr, 0};
    return {file.data() + file.cursor(), file.size() - file.cursor()};
}

// Writes one stored pixel in its decoded form. 16-bit values become B, G, R (5 bits each,
// scaled by 8, bit 15 ignored); 32-bit B, G, R, A becomes R, G, B, A; others are copied.
template <int kDepth>
inline void PutPixel(const uint8_t* in, uint8_t* out) {
    if constexpr (kDepth == 16) {
        const unsigned v = in[0] | (in[1] << 8);
        out[0] = static_cast<uint8_t>((v & 31) * 8);
        out[1] = static_cast<uint8_t>(((v >> 5) & 31) * 8);
        out[2] = static_cast<uint8_t>(((v >> 10) & 31) * 8);
    } else if constexpr (kDepth == 32) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = in[3];
    } else {
        std::memcpy(out, in, kDepth / 8);
    }
}

template <int kDepth>
constexpr size_t OutBytes() {
    return kDepth == 16 ? 3 : kDepth / 8;
}

// Decodes `count` pixels into `out`, raw or run-length coded. A run-length packet that reaches
// past the end of the image is cut at the end. False when the data ends before the image.
template <int kDepth>
bool DecodePixels(Input in, bool run_length, size_t count, uint8_t* out) {
    constexpr size_t kIn = kDepth / 8;
    constexpr size_t kOut = OutBytes<kDepth>();
    const uint8_t* p = nullptr;
    if (!run_length) {
        if (!in.Take(count * kIn, &p)) return false;
        for (size_t i = 0; i < count; ++i) PutPixel<kDepth>(p + i * kIn, out + i * kOut);
        return true;
    }
    size_t done = 0;
    while (done < count) {
        if (!in.Take(1, &p)) return false;
        const uint8_t h = *p;
        size_t n = (h & 0x7F) + 1u;
        if (n > count - done) n = count - done;
        uint8_t* o = out + done * kOut;
        if (h & 0x80) {
            if (!in.Take(kIn, &p)) return false;
            PutPixel<kDepth>(p, o);
            for (size_t i = 1; i < n; ++i) std::memcpy(o + i * kOut, o, kOut);
        } else {
            if (!in.Take(n * kIn, &p)) return false;
            for (size_t i = 0; i < n; ++i) PutPixel<kDepth>(p + i * kIn, o + i * kOut);
        }
        done += n;
    }
    return true;
}

bool DecodeByDepth(int depth, Input in, bool run_length, size_t count, uint8_t* out) {
    switch (depth) {
        case 8:
            return DecodePixels<8>(in, run_length, count, out);
        case 16:
            return DecodePixels<16>(in, run_length, count, out);
        case 24:
            return DecodePixels<24>(in, run_length, count, out);
        case 32:
            return DecodePixels<32>(in, run_length, count, out);
        default:
            return false;
    }
}

// The fewest stored bytes that can describe `count` pixels of `in_bytes` each: raw data needs
// them all, run-length data at least one full packet per 128 pixels.
uint64_t MinimumDataBytes(bool run_length, uint64_t count, uint64_t in_bytes) {
    if (!run_length) return count * in_bytes;
    return (count + kMaxRunLength - 1) / kMaxRunLength * (1 + in_bytes);
}

bool IsColorMapped(int type) {
    return type == 1 || type == 9;
}
bool IsTrueColor(int type) {
    return type == 2 || type == 10;
}
bool IsGrey(int type) {
    return type == 3 || type == 11;
}

bool Refuse(const char* entry, TgaImage& image, const char* what) {
    image.pixels.clear();
    image.bytesPerPixel = 0;
    Warn(entry, 0, "TGA image refused: %s", what);
    return false;
}

}  // namespace

bool DecodeTgaFile(MemFile& file, TgaImage& image) {
    const char* entry = file.name();
    char why[160];
    image = TgaImage{};
    if (file.size() < kHeaderSize) return Refuse(entry, image, "shorter than its 18-byte header");
    ReadHeader(file, image);
    file.Seek(image.idLength, 1);

    const int type = image.imageType;
    const int depth = image.pixelDepth;
    std::vector<uint8_t> color_map;
    if (IsColorMapped(type)) {
        if (image.colorMapType != 1 || image.colorMapEntrySize != 24) {
            std::snprintf(why, sizeof why,
                          "colour-mapped image needs a 24-bit colour map "
                          "(map type %d, entry size %d)",
                          image.colorMapType, image.colorMapEntrySize);
            return Refuse(entry, image, why);
        }
        Input in = Remaining(file);
        const uint8_t* map = nullptr;
        if (!in.Take(size_t{image.colorMapLength} * 3, &map))
            return Refuse(entry, image, "colour map runs past the end of the entry");
        color_map.assign(map, map + size_t{image.colorMapLength} * 3);
        file.Seek(static_cast<int32_t>(color_map.size()), 1);
    } else if (IsTrueColor(type) || IsGrey(type)) {
        // A colour map may be present in any image; a true-colour or grey image does not use
        // it, but its pixels start after it.
        if (image.colorMapType == 1) {
            const uint32_t map_bytes =
                uint32_t{image.colorMapLength} * ((image.colorMapEntrySize + 7u) / 8u);
            file.Seek(static_cast<int32_t>(map_bytes), 1);
        }
    } else {
        std::snprintf(why, sizeof why, "unsupported image type %d", type);
        return Refuse(entry, image, why);
    }

    if (depth != 8 && depth != 16 && depth != 24 && depth != 32) {
        platform::ShowMessageBox("Unsupported image depth.", "TGA");
        std::snprintf(why, sizeof why, "unsupported image depth %d", depth);
        return Refuse(entry, image, why);
    }
    const bool pair_ok = IsTrueColor(type) ? depth != 8 : depth == 8;
    if (!pair_ok) {
        std::snprintf(why, sizeof why, "image type %d cannot have depth %d", type, depth);
        return Refuse(entry, image, why);
    }
    if (!ImageSizeAcceptable(image.width, image.height)) {
        std::snprintf(why, sizeof why, "image size %dx%d", image.width, image.height);
        return Refuse(entry, image, why);
    }

    const bool run_length = type >= 9;
    const size_t count = size_t{image.width} * image.height;
    const Input in = Remaining(file);
    if (MinimumDataBytes(run_length, count, depth / 8) > in.left)
        return Refuse(entry, image, "image data is shorter than the image");

    if (IsColorMapped(type)) {
        std::vector<uint8_t> indices(count);
        if (!DecodeByDepth(8, in, run_length, count, indices.data()))
            return Refuse(entry, image, "image data ends early");
        const size_t map_length = image.colorMapLength;
        image.pixels.resize(count * 3);
        for (size_t i = 0; i < count; ++i) {
            const size_t index = indices[i];
            if (index >= map_length) {
                std::snprintf(why, sizeof why, "colour index %zu beyond the map of %zu entries",
                              index, map_length);
                return Refuse(entry, image, why);
            }
            std::memcpy(&image.pixels[i * 3], &color_map[index * 3], 3);
        }
        image.bytesPerPixel = 3;
        image.pixelDepth = 24;
    } else {
        image.bytesPerPixel = depth == 16 ? 3 : depth / 8;
        image.pixels.resize(count * image.bytesPerPixel);
        if (!DecodeByDepth(depth, in, run_length, count, image.pixels.data()))
            return Refuse(entry, image, "image data ends early");
        if (depth == 16) image.pixelDepth = 24;
    }
    return true;
}

bool DecodeTga(const char* entry_name, TgaImage& image) {
    image = TgaImage{};
    MemFile file;
    if (!OpenImageEntry(file, entry_name)) {
        Warn(entry_name, 0, "cannot open TGA image");
        return false;
    }
    return DecodeTgaFile(file, image);
}

std::vector<uint8_t> TgaToRgba(const TgaImage& image) {
    const size_t count = size_t{image.width} * image.height;
    const int bpp = image.bytesPerPixel;
    if (bpp == 0 || image.pixels.size() != count * bpp) return {};
    if (bpp == 4) return image.pixels;
    std::vector<uint8_t> rgba(count * 4);
    const uint8_t* in = image.pixels.data();
    uint8_t* out = rgba.data();
    for (size_t i = 0; i < count; ++i, in += bpp, out += 4) {
        if (bpp == 3) {  // stored B, G, R
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        } else {
            out[0] = out[1] = out[2] = in[0];
        }
        out[3] = 255;
    }
    return rgba;
}

}  // namespace orv
