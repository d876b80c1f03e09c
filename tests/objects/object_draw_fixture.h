// A small headless scene for the Draw tests of the object kinds: the fixed GL state of the
// saver at a tiny window size, a camera placed by hand, and helpers to make the geometry and
// textures the objects would get from the resource loaders, and to read pixels back.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/gl_state.h"
#include "app/settings.h"
#include "camera/camera.h"
#include "camera/random.h"
#include "platform/headless_gl.h"
#include "tests/support/gl_rest_state.h"
#include "tests/support/gl_scene.h"

namespace orv::test {

struct Rgba {
    int r, g, b, a;
};

class DrawFixture : public ::testing::Test {
  protected:
    DrawFixture(int width, int height) : gl_(width, height), width_(width), height_(height) {}

    void SetUp() override {
        ASSERT_TRUE(gl_.ok()) << gl_.error();
        saved_ = CurrentSettings();
        CurrentSettings().width = static_cast<uint32_t>(width_);
        CurrentSettings().height = static_cast<uint32_t>(height_);
        InitOpenGL();
        SeedRandom(1);
        PlaceCamera({0, 0, 400}, {0, 0, -1}, {0, 1, 0});
    }
    void TearDown() override { CurrentSettings() = saved_; }

    void PlaceCamera(const Vec3& eye, const Vec3& look, const Vec3& up) {
        camera_.position = eye;
        camera_.eye = eye;
        camera_.look = look;
        camera_.up = up;
    }

    // What the frame renderer does before the passes: clear, view, lights (a world that is
    // not a "system": the light stands far along +z).
    void BeginFrame() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ApplyFrameView(camera_);
    }

    // A unit sphere of triangles with normals and texture coordinates, as the built-in
    // geometry gives one. (Built by hand: GLU's quad strips compiled into a display list make
    // Mesa 22 leak a block that the leak checker reports.)
    static GLuint UnitSphereList() {
        constexpr int kSlices = 32, kStacks = 16;
        const auto corner = [](int slice, int stack) {
            const double theta = M_PI * stack / kStacks, phi = 2.0 * M_PI * slice / kSlices;
            const float x = static_cast<float>(std::sin(theta) * std::cos(phi));
            const float y = static_cast<float>(std::sin(theta) * std::sin(phi));
            const float z = static_cast<float>(std::cos(theta));
            glNormal3f(x, y, z);
            glTexCoord2f(static_cast<float>(slice) / kSlices, static_cast<float>(stack) / kStacks);
            glVertex3f(x, y, z);
        };
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glBegin(GL_TRIANGLES);
        for (int stack = 0; stack < kStacks; ++stack) {
            for (int slice = 0; slice < kSlices; ++slice) {
                // Counter-clockwise seen from outside.
                corner(slice, stack);
                corner(slice, stack + 1);
                corner(slice + 1, stack + 1);
                corner(slice, stack);
                corner(slice + 1, stack + 1);
                corner(slice + 1, stack);
            }
        }
        glEnd();
        glEndList();
        return list;
    }

    static GLuint SolidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
        return test::SolidTexture(r, g, b, a, GL_LINEAR);
    }

    // The picture as read back, looked at in window coordinates (origin at the lower left, as
    // GL counts them).
    struct Picture {
        std::vector<uint8_t> rgba;
        int width, height;
        Rgba at(int x, int y) const {
            const size_t i = (static_cast<size_t>(height - 1 - y) * width + x) * 4;
            return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
        }
        // Pixels along row y (or column x) whose red channel exceeds `threshold`.
        int LitInRow(int y, int threshold = 100) const {
            int n = 0;
            for (int x = 0; x < width; ++x) n += at(x, y).r > threshold;
            return n;
        }
        int LitInColumn(int x, int threshold = 100) const {
            int n = 0;
            for (int y = 0; y < height; ++y) n += at(x, y).r > threshold;
            return n;
        }
    };
    Picture Snap() const { return {gl_.ReadColor(), width_, height_}; }
    Rgba Pixel(int x, int y) const { return Snap().at(x, y); }
    float Depth(int x, int y) const {
        const std::vector<float> depth = gl_.ReadDepth();
        return depth[static_cast<size_t>(height_ - 1 - y) * width_ + x];
    }

    platform::HeadlessGL gl_;
    int width_, height_;
    Camera camera_;

  private:
    Settings saved_;
};

}  // namespace orv::test
