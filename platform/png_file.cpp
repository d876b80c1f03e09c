#include "platform/png_file.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace orv::platform {

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
              std::string* error) {
    if (width <= 0 || height <= 0 ||
        rgba.size() < static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
        if (error) *error = "bad picture size";
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // Drop alpha: the saver's picture is opaque; a window shows no alpha either.
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        rgb[i * 3 + 0] = rgba[i * 4 + 0];
        rgb[i * 3 + 1] = rgba[i * 4 + 1];
        rgb[i * 3 + 2] = rgba[i * 4 + 2];
    }
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr)) {
        if (error) *error = image.message[0] ? image.message : "cannot write " + path;
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace orv::platform
