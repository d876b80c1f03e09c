#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "objects/mesh.h"
#include "tests/objects/draw_fixture.h"
#include "tests/support/gl_rest_state.h"

namespace orv {
namespace {

using test::Rgb;

// Display lists standing in for loaded models: a cube of side 40 centred 100 units along the
// model's x axis (to see where the model's axes go), and a square of side 200 in the model's
// x-y plane facing +z, textured (to see the material).
class MeshDraw : public test::DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        cube_ = glGenLists(2);
        square_ = cube_ + 1;
        glNewList(cube_, GL_COMPILE);
        glBegin(GL_QUADS);
        // Each face: its outward axis n and two axes u, v with u x v = n, so that the corners
        // run counter-clockwise seen from outside.
        const Vec3 faces[6][3] = {
            {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
            {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
            {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
        };
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& face : faces) {
            glNormal3f(face[0].x, face[0].y, face[0].z);
            for (const auto& k : corners) {
                const Vec3 p =
                    Vec3(100, 0, 0) + 20.0f * (face[0] + k[0] * face[1] + k[1] * face[2]);
                glVertex3f(p.x, p.y, p.z);
            }
        }
        glEnd();
        glEndList();

        glNewList(square_, GL_COMPILE);
        glBegin(GL_QUADS);
        glNormal3f(0.0f, 0.0f, 1.0f);
        glTexCoord2f(0, 0);
        glVertex3f(-100.0f, -100.0f, 0.0f);
        glTexCoord2f(1, 0);
        glVertex3f(100.0f, -100.0f, 0.0f);
        glTexCoord2f(1, 1);
        glVertex3f(100.0f, 100.0f, 0.0f);
        glTexCoord2f(0, 1);
        glVertex3f(-100.0f, 100.0f, 0.0f);
        glEnd();
        glEndList();
        green_ = SolidTexture(0, 255, 0);
    }

    Mesh mesh_;
    GLuint cube_ = 0, square_ = 0, green_ = 0;
};

// Mean column and row of the pixels brighter than mid-grey in red.
bool LitCentre(const std::vector<uint8_t>& pixels, int width, double* x, double* y) {
    double sx = 0, sy = 0;
    int n = 0;
    for (size_t i = 0; i < pixels.size() / 4; ++i) {
        if (pixels[i * 4] > 128) {
            sx += static_cast<double>(i % width) + 0.5;
            sy += static_cast<double>(i / width) + 0.5;
            ++n;
        }
    }
    if (n == 0) return false;
    *x = sx / n;
    *y = sy / n;
    return true;
}

TEST_F(MeshDraw, FrameOrientationScaleAndPositionPlaceTheModel) {
    const struct {
        const char* what;
        Vec3 look, right, position;
        float scale;
        Vec3 orientAxis;
        float orientAngle;
        Vec3 where;  // the cube's centre in the world
    } cases[] = {
        {"default frame: model x along world +z",
         {0, 0, 1},
         {1, 0, 0},
         {},
         1,
         {0, 1, 0},
         0,
         {0, 0, 100}},
        {"model y along right (world +x), turned about the model's z",
         {0, 0, 1},
         {1, 0, 0},
         {},
         1,
         {0, 0, 1},
         90,
         {100, 0, 0}},
        {"model -z along -(look x right) (world -y), turned about the model's y",
         {0, 0, 1},
         {1, 0, 0},
         {},
         1,
         {0, 1, 0},
         90,
         {0, -100, 0}},
        {"position and scale", {1, 0, 0}, {0, 1, 0}, {50, 0, -40}, 2, {0, 1, 0}, 0, {250, 0, -40}},
        {"look is used unnormalised", {0, 0, 2}, {1, 0, 0}, {}, 1, {0, 1, 0}, 0, {0, 0, 200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        mesh_.displayList = cube_;
        mesh_.illum = true;  // plain white, whatever the light
        mesh_.look = c.look;
        mesh_.right = c.right;
        mesh_.position = c.position;
        mesh_.scale = c.scale;
        mesh_.orientAxis = c.orientAxis;
        mesh_.orientAngle = c.orientAngle;
        Clear();
        View({600, 800, 1000}, Normalize(Vec3(-600, -800, -1000)));
        glBindTexture(GL_TEXTURE_2D, 0);
        mesh_.Draw(camera_);
        Read();
        double x = 0, y = 0;
        ASSERT_TRUE(LitCentre(pixels_, kWidth, &x, &y)) << "nothing drawn";
        int want_x = 0, want_y = 0;
        Project(c.where, &want_x, &want_y);
        EXPECT_NEAR(x, want_x + 0.5, 2.0);
        EXPECT_NEAR(y, want_y + 0.5, 2.0);
    }
}

TEST_F(MeshDraw, MaterialSwitchesOnAGreenTexturedSquare) {
    // Lit by light 1 from far along +z, facing it and the camera: the lit colour is the default
    // material's diffuse 0.8. The background is dark blue.
    const Rgb background{0, 0, 128};
    const struct {
        const char* switches;  // "light", "illum", "blend", "metal", "hidden", "no list"
        Vec3 color;
        float orientAngle;  // 180 turns the square's back to the camera
        Rgb want;
    } cases[] = {
        {"", {1, 1, 1}, 0, {0, 204, 0}},           // lit, the texture modulates
        {"illum", {1, 1, 1}, 0, {0, 255, 0}},      // unlit
        {"light", {1, 1, 1}, 0, {204, 255, 206}},  // the texture adds to the lit colour
        {"light illum", {1, 1, 1}, 0, {255, 255, 255}},
        // A white highlight; lighting is worked out at the corners, where it is at 0.75 of its
        // peak.
        {"metal", {1, 1, 1}, 0, {77, 255, 77}},
        {"illum blend", {0.5f, 0.9f, 0.1f}, 0, {0, 128, 64}},  // alpha: the colour's red only
        {"illum blend", {1, 1, 1}, 0, {0, 255, 0}},            // the default colour is opaque
        {"illum", {0.5f, 0, 0}, 0, {0, 255, 0}},               // the colour needs "blend"
        {"illum", {1, 1, 1}, 180, background},                 // back face culled
        {"illum blend", {1, 1, 1}, 180, {0, 255, 0}},          // no culling under "blend"
        {"illum hidden", {1, 1, 1}, 0, background},
        {"illum no list", {1, 1, 1}, 0, background},
    };
    for (const auto& c : cases) {
        const auto has = [&](const char* word) { return std::strstr(c.switches, word) != nullptr; };
        SCOPED_TRACE(std::string(c.switches) + " " + std::to_string(c.color.x) + " " +
                     std::to_string(c.orientAngle));
        Mesh mesh;
        mesh.displayList = has("no list") ? 0 : square_;
        mesh.look = Vec3(1, 0, 0);
        mesh.right = Vec3(0, 1, 0);
        mesh.textureId = green_;
        mesh.textured = true;
        mesh.light = has("light");
        mesh.illum = has("illum");
        mesh.blend = has("blend");
        mesh.metal = has("metal");
        mesh.shown = !has("hidden");
        mesh.color = c.color;
        mesh.orientAngle = c.orientAngle;
        Clear({0, 0, 128 / 255.0f});
        View({0, 0, 400}, {0, 0, -1});
        mesh.Draw(camera_);
        Read();
        EXPECT_TRUE(test::Near(AtWorld({0, 0, 0}), c.want, 6))
            << AtWorld({0, 0, 0}) << " want " << c.want;
        EXPECT_TRUE(test::Near(AtWorld({0, 150, 0}), background, 0)) << "outside the square";
        EXPECT_EQ(DepthAtWorld({0, 0, 0}), 1.0f) << "a mesh never writes depth";
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(MeshDraw, LeavesTheRestStateWithTheTextureModeOfLight) {
    const struct {
        const char* what;
        bool light, illum, blend, metal, shown;
    } cases[] = {
        {"plain", false, false, false, false, true},
        {"light", true, false, false, false, true},
        {"illum", false, true, false, false, true},
        {"blend", false, false, true, false, true},
        {"metal", false, false, false, true, true},
        {"all switches", true, true, true, true, true},
        {"not shown", true, true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        Mesh mesh;
        mesh.displayList = square_;
        mesh.textureId = green_;
        mesh.textured = true;
        mesh.light = c.light;
        mesh.illum = c.illum;
        mesh.blend = c.blend;
        mesh.metal = c.metal;
        mesh.shown = c.shown;
        Clear();
        View({0, 0, 400}, {0, 0, -1});
        const test::GlSnapshot before = test::TakeGlSnapshot();
        mesh.Draw(camera_);
        test::RestExceptions exceptions;
        exceptions.texEnvAdd = c.light && c.shown;
        test::ExpectRestState(before, c.what, exceptions);
        GLint mode = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        EXPECT_EQ(mode, exceptions.texEnvAdd ? GL_ADD : GL_MODULATE);
        EXPECT_FALSE(glIsEnabled(GL_LIGHT0)) << "light 0 is only on while a metal mesh draws";
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    }
}

}  // namespace
}  // namespace orv
