// A small offscreen picture for drawing tests: the fixed GL state of InitOpenGL at the picture's
// size, a camera placed by its fields and applied as the frame renderer applies it, solid
// textures, and the colour of the pixel where a world point lands.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

#include "app/gl_state.h"
#include "app/settings.h"
#include "camera/camera.h"
#include "camera/math3d.h"
#include "platform/headless_gl.h"
#include "tests/support/gl_scene.h"

namespace orv::test {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// True when every channel is within `tolerance` of the expected one.
inline bool Near(const Rgb& got, const Rgb& want, int tolerance) {
    return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
           std::abs(got.b - want.b) <= tolerance;
}

class DrawTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    void SetUp() override {
        ASSERT_TRUE(gl_.ok()) << gl_.error();
        Settings& s = CurrentSettings();
        s.width = kWidth;
        s.height = kHeight;
        InitOpenGL();
    }

    // Clears colour to `rgb` (0 to 1 each) and depth to `depth`.
    void Clear(Vec3 rgb = {}, float depth = 1.0f) {
        glClearColor(rgb.x, rgb.y, rgb.z, 1.0f);
        glClearDepth(depth);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClearDepth(1.0f);
    }

    // Places the camera at `eye` looking along `look`, then does what the frame renderer does
    // before the passes: identity modelview, the camera's view, the lights of a plain world.
    void View(Vec3 eye, Vec3 look, Vec3 up = {0.0f, 1.0f, 0.0f}) {
        camera_.position = eye;
        camera_.eye = eye;
        camera_.look = look;
        camera_.up = up;
        ApplyFrameView(camera_);
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview_);
        glGetDoublev(GL_PROJECTION_MATRIX, projection_);
        glGetIntegerv(GL_VIEWPORT, viewport_);
    }

    // Reads the picture drawn so far.
    void Read() {
        gl_.Finish();
        pixels_ = gl_.ReadColor();
        depth_ = gl_.ReadDepth();
    }

    // The pixel at column x, row y (rows counted from the top); black outside the picture.
    Rgb At(int x, int y) const {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return {};
        const size_t i = (static_cast<size_t>(y) * kWidth + x) * 4;
        return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
    }

    // Column and row where the world point lands under the view set by View().
    void Project(const Vec3& p, int* x, int* y) const {
        GLdouble wx = 0, wy = 0, wz = 0;
        gluProject(p.x, p.y, p.z, modelview_, projection_, viewport_, &wx, &wy, &wz);
        *x = static_cast<int>(std::floor(wx));
        *y = kHeight - 1 - static_cast<int>(std::floor(wy));
    }

    Rgb AtWorld(const Vec3& p) const {
        int x = 0, y = 0;
        Project(p, &x, &y);
        return At(x, y);
    }

    float DepthAtWorld(const Vec3& p) const {
        int x = 0, y = 0;
        Project(p, &x, &y);
        return depth_.at(static_cast<size_t>(y) * kWidth + x);
    }

    // True when a pixel within one pixel of the point's projection is near `want` (for lines
    // one pixel wide, which may fall on either side of the exact projection).
    bool NearWorld(const Vec3& p, const Rgb& want, int tolerance) const {
        int x = 0, y = 0;
        Project(p, &x, &y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Near(At(x + dx, y + dy), want, tolerance)) return true;
        return false;
    }

    // Counts the pixels that differ from `background`.
    int ChangedPixels(const Rgb& background) const {
        int changed = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (!Near(At(x, y), background, 1)) ++changed;
        return changed;
    }

    static GLuint SolidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
        return test::SolidTexture(r, g, b, a, GL_NEAREST);
    }

    platform::HeadlessGL gl_{kWidth, kHeight};
    Camera camera_;
    std::vector<uint8_t> pixels_;
    std::vector<float> depth_;
    GLdouble modelview_[16] = {}, projection_[16] = {};
    GLint viewport_[4] = {};
};

}  // namespace orv::test
