#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "objects/billboard.h"
#include "objects/sphere.h"
#include "tests/objects/object_draw_fixture.h"

namespace orv::test {
namespace {

bool Finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// 64 x 48 pixels; at a distance of 400 one world unit is 0.12 pixels.
class BillboardDrawTest : public DrawFixture {
  protected:
    BillboardDrawTest() : DrawFixture(64, 48) {}

    void SetUp() override {
        DrawFixture::SetUp();
        white_ = SolidTexture(255, 255, 255);
    }

    // A white, unturning quad at the origin.
    void Prepare(Billboard& b, float size = 100.0f) const {
        b.size = size;
        b.spinSpeed = 0.0f;
        b.spinAngle = 0.0f;
        b.textureId = white_;
        b.textured = true;
    }

    GLuint white_ = 0;
};

TEST_F(BillboardDrawTest, QuadFacesTheCameraFromEverySide) {
    const float h = 0.70710678f;
    struct View {
        Vec3 eye, look, up;
    } views[] = {
        {{0, 0, 400}, {0, 0, -1}, {0, 1, 0}},
        {{400, 0, 0}, {-1, 0, 0}, {0, 1, 0}},
        {{0, -283, 283}, {0, h, -h}, {0, h, h}},  // from below, at a distance of 400
    };
    struct Shape {
        float aspect;
        int width, height;  // pixels: half-size 100 at 400 is 12 pixels
    } shapes[] = {{1.0f, 24, 24}, {2.0f, 48, 24}};
    for (const View& view : views) {
        for (const Shape& shape : shapes) {
            SCOPED_TRACE(::testing::Message() << "eye " << view.eye.x << "," << view.eye.y << ","
                                              << view.eye.z << " aspect " << shape.aspect);
            PlaceCamera(view.eye, view.look, view.up);
            Billboard b;
            Prepare(b);
            b.aspect = shape.aspect;
            BeginFrame();
            b.Draw(camera_);
            const Picture picture = Snap();
            EXPECT_NEAR(picture.LitInRow(24), shape.width, 1);
            EXPECT_NEAR(picture.LitInColumn(32), shape.height, 1);
            EXPECT_EQ(Depth(32, 24), 1.0f) << "a billboard writes no depth";
        }
    }
}

TEST_F(BillboardDrawTest, OrientOffKeepsTheQuadInItsOwnPlane) {
    Billboard b;
    Prepare(b);
    b.orientOff = true;  // right (1, 0, 0), up (0, 1, 0): the x-y plane
    BeginFrame();
    b.Draw(camera_);
    EXPECT_NEAR(Snap().LitInRow(24), 24, 1);

    PlaceCamera({400, 0, 0}, {-1, 0, 0}, {0, 1, 0});  // edge on
    BeginFrame();
    b.Draw(camera_);
    EXPECT_LE(Snap().LitInRow(24), 1);
}

TEST_F(BillboardDrawTest, EnvBillboardHangsAtAFixedOffsetFromTheEye) {
    PlaceCamera({5000, 200, -300}, {0, 0, -1}, {0, 1, 0});
    Billboard b;
    Prepare(b, 0.5f);  // with FOV 0.1, half the view's height at a distance of 10
    b.env = true;
    b.anchor = Vec3(0, 0, -10);
    BeginFrame();
    const GlSnapshot before = TakeGlSnapshot();
    b.Draw(camera_);
    ExpectRestState(before, "env");
    EXPECT_FLOAT_EQ(b.position.x, 5000.0f);
    EXPECT_FLOAT_EQ(b.position.z, -310.0f);
    const Picture picture = Snap();
    EXPECT_NEAR(picture.LitInColumn(32), 24, 1);
    EXPECT_NEAR(picture.LitInRow(24), 24, 1);
}

TEST_F(BillboardDrawTest, HaloLiesOnTheNearSideOfItsSphereOverTheBody) {
    const GLuint sphere_list = UnitSphereList();
    Sphere body;
    body.displayList = sphere_list;
    body.radius = 100.0f;
    body.textureId = SolidTexture(255, 0, 0);
    body.textured = true;
    Billboard halo;
    Prepare(halo, 10.0f);
    halo.halo = true;
    halo.haloRadius = 100.0f;
    BeginFrame();
    body.Draw(camera_);
    halo.Draw(camera_);
    // k = 100 / 400: 25 units out from the centre, half-size 0.9375 x 100 + 0.25 x 10.
    EXPECT_NEAR(halo.position.z, 25.0f, 1e-3f);
    const Picture picture = Snap();
    EXPECT_GT(picture.at(32, 24).g, 200) << "drawn over the body despite lying inside it";
    EXPECT_NEAR(picture.LitInColumn(32, 200), 25, 1);

    // With the camera at the halo's centre there is no near side: no NaN reaches GL.
    PlaceCamera({0, 0, 0}, {0, 0, -1}, {0, 1, 0});
    BeginFrame();
    const GlSnapshot before = TakeGlSnapshot();
    halo.Draw(camera_);
    ExpectRestState(before, "halo at the camera");
    EXPECT_TRUE(Finite(halo.position) && Finite(halo.quadRight) && Finite(halo.quadUp));
}

TEST_F(BillboardDrawTest, RidesOnItsParentInItsTintAndHidesWithIt) {
    Sphere parent;
    parent.position = Vec3(0, 0, 0);
    Billboard b;
    Prepare(b, 20.0f);
    b.attachedTo = &parent;
    b.anchor = Vec3(0, 50, 0);  // 50 units along the camera's up: 6 pixels above the centre
    b.tint = Vec3(1, 0, 0);
    BeginFrame();
    b.Draw(camera_);
    EXPECT_FLOAT_EQ(b.position.y, 50.0f);
    Rgba c = Pixel(32, 30);
    EXPECT_TRUE(c.r == 255 && c.g == 0 && c.b == 0) << c.r << " " << c.g << " " << c.b;

    parent.shown = false;
    b.position = Vec3(0, 0, 0);
    BeginFrame();
    const GlSnapshot before = TakeGlSnapshot();
    b.Draw(camera_);
    ExpectRestState(before, "parent not shown");
    c = Pixel(32, 30);
    EXPECT_EQ(c.r + c.g + c.b, 0);
    EXPECT_FLOAT_EQ(b.position.y, 0.0f) << "not placed either";
}

TEST_F(BillboardDrawTest, FlashHidesTheQuadInTheDarkPartOfItsCycle) {
    struct Case {
        float time;
        bool drawn;
    } cases[] = {{0.5f, false}, {1.0f, true}, {2.5f, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        Billboard b;
        Prepare(b);
        b.flash = true;
        b.flashTime = c.time;
        b.flashDark = 1.0f;
        b.flashLit = 2.0f;
        BeginFrame();
        b.Draw(camera_);
        EXPECT_EQ(Pixel(32, 24).r > 200, c.drawn);
    }
}

TEST_F(BillboardDrawTest, SysPointsUpAwayFromTheOriginThroughItsParent) {
    Sphere parent;
    parent.position = Vec3(100, 0, 0);
    Billboard b;
    Prepare(b);
    b.system = true;
    b.attachedTo = &parent;
    BeginFrame();
    b.Draw(camera_);
    EXPECT_NEAR(b.quadUp.x, 1.0f, 1e-6f);
    EXPECT_NEAR(b.quadRight.z, -1.0f, 1e-6f);  // (0, 1, 0) x up

    b.orientOff = true;
    b.Draw(camera_);
    EXPECT_NEAR(b.quadUp.y, 1.0f, 1e-6f);
    EXPECT_NEAR(b.quadRight.z, -1.0f, 1e-6f);  // up x parent

    // A parent at the origin, or none at all, gives no direction: the axes stay as they were.
    parent.position = Vec3(0, 0, 0);
    b.orientOff = false;
    b.Draw(camera_);
    EXPECT_TRUE(Finite(b.quadUp) && Finite(b.quadRight));
    b.attachedTo = nullptr;
    b.Draw(camera_);
    EXPECT_TRUE(Finite(b.quadUp) && Finite(b.quadRight));
    EXPECT_NEAR(b.quadUp.y, 1.0f, 1e-6f) << "taken from the view";
}

TEST_F(BillboardDrawTest, EveryVariantLeavesTheRestState) {
    Sphere parent;
    parent.position = Vec3(100, 0, 0);
    struct Variant {
        const char* name;
        std::function<void(Billboard&)> set;
    } variants[] = {
        {"plain", [](Billboard&) {}},
        {"env",
         [](Billboard& b) {
             b.env = true;
             b.anchor = Vec3(0, 0, -10);
         }},
        {"parent", [&parent](Billboard& b) { b.attachedTo = &parent; }},
        {"oreol",
         [](Billboard& b) {
             b.halo = true;
             b.haloRadius = 100.0f;
         }},
        {"blend", [](Billboard& b) { b.blend = true; }},
        {"depth", [](Billboard& b) { b.noDepthTest = true; }},
        {"flash dark",
         [](Billboard& b) {
             b.flash = true;
             b.flashDark = 1.0f;
         }},
        {"orient off", [](Billboard& b) { b.orientOff = true; }},
        {"sys",
         [&parent](Billboard& b) {
             b.system = true;
             b.attachedTo = &parent;
         }},
        {"sys without parent", [](Billboard& b) { b.system = true; }},
        {"alpha 0.5 tiled",
         [](Billboard& b) {
             b.alpha = 0.5f;
             b.tiling = 3.0f;
         }},
    };
    for (const Variant& v : variants) {
        Billboard b;
        Prepare(b);
        b.spinAngle = 30.0f;
        v.set(b);
        BeginFrame();
        const GlSnapshot before = TakeGlSnapshot();
        b.Draw(camera_);
        ExpectRestState(before, v.name);
        GLint alpha_func = 0;
        glGetIntegerv(GL_ALPHA_TEST_FUNC, &alpha_func);
        EXPECT_EQ(alpha_func, GL_ALWAYS) << v.name;
    }
}

}  // namespace
}  // namespace orv::test
