// Writing pictures as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::platform {

// Writes RGBA pixels (rows from the top down) as an 8-bit RGB PNG. False with `error` set when
// the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
              std::string* error);

}  // namespace orv::platform
