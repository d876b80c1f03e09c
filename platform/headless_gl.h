// An offscreen OpenGL context for tests, benchmarks and rendering to files: a compatibility
// profile desktop GL context on an EGL pbuffer (Mesa's surfaceless platform), so no display
// or X server is needed. The pixels equal those of a window of the same size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orv::platform {

class HeadlessGL {
public:
    // Creates the context and makes it current. On failure ok() is false and error() says why.
    HeadlessGL(int width, int height);
    ~HeadlessGL();
    HeadlessGL(const HeadlessGL&) = delete;
    HeadlessGL& operator=(const HeadlessGL&) = delete;

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    int width() const { return width_; }
    int height() const { return height_; }

    bool MakeCurrent();
    // Waits for drawing to finish (the pbuffer has no real swap).
    void Finish();

    // The colour buffer as RGBA bytes, rows from the top of the picture down.
    std::vector<uint8_t> ReadColor() const;
    // The depth buffer as floats 0..1, rows from the top down.
    std::vector<float> ReadDepth() const;

private:
    struct Egl;
    std::unique_ptr<Egl> egl_;
    int width_, height_;
    bool ok_ = false;
    std::string error_;
};

}  // namespace orv::platform
