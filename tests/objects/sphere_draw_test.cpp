#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "objects/sphere.h"
#include "tests/objects/object_draw_fixture.h"

namespace orv::test {
namespace {

// 64 x 48 pixels; the camera stands at z = 400 looking at the origin, where a sphere of
// radius 100 covers about 12 pixels around the centre (32, 24).
class SphereDrawTest : public DrawFixture {
  protected:
    SphereDrawTest() : DrawFixture(64, 48) {}

    void SetUp() override {
        DrawFixture::SetUp();
        sphereList_ = UnitSphereList();
    }

    // A sphere at the origin as the parser leaves it, with the test geometry.
    void Prepare(Sphere& s, float radius = 100.0f) const {
        s.displayList = sphereList_;
        s.radius = radius;
        s.position = Vec3(0, 0, 0);
    }

    // A flat marker square across the shell's local x axis at x = `side`, its front facing
    // -x, for telling which way an atmosphere shell is turned.
    static GLuint MarkerList(float side) {
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glBegin(GL_QUADS);
        glNormal3f(-1, 0, 0);
        glVertex3f(side, -0.3f, 0.3f);
        glVertex3f(side, 0.3f, 0.3f);
        glVertex3f(side, 0.3f, -0.3f);
        glVertex3f(side, -0.3f, -0.3f);
        glEnd();
        glEndList();
        return list;
    }

    GLuint sphereList_ = 0;
};

TEST_F(SphereDrawTest, LitTexturedSphereCoversTheCentreOfTheView) {
    Sphere s;
    Prepare(s);
    s.textureId = SolidTexture(255, 0, 0);
    s.textured = true;
    BeginFrame();
    s.Draw(camera_);

    const Picture picture = Snap();
    const Rgba centre = picture.at(32, 24);
    EXPECT_GT(centre.r, 200) << "lit from the light far along +z, behind the camera";
    EXPECT_LT(centre.g, 30);
    EXPECT_LT(Depth(32, 24), 1.0f);
    const Rgba corner = picture.at(2, 2);
    EXPECT_EQ(corner.r + corner.g + corner.b, 0);
    // A radius of 100 at a distance of 400 spans about 25 pixels.
    EXPECT_NEAR(picture.LitInRow(24, 20), 25, 2);
}

TEST_F(SphereDrawTest, EnvSphereFillsTheBackgroundFromInsideWhereverTheEyeIs) {
    const Vec3 eyes[] = {{0, 0, 400}, {5000, 300, -200}};
    for (const Vec3& eye : eyes) {
        SCOPED_TRACE(eye.x);
        PlaceCamera(eye, {0, 0, -1}, {0, 1, 0});
        Sphere s;
        Prepare(s, 10.0f);
        s.env = true;
        s.textureId = SolidTexture(0, 255, 0);
        s.textured = true;
        BeginFrame();
        s.Draw(camera_);

        EXPECT_TRUE(s.position.x == eye.x && s.position.y == eye.y && s.position.z == eye.z);
        const Picture picture = Snap();
        for (const auto& p : {std::make_pair(0, 0), std::make_pair(63, 47), std::make_pair(32, 24),
                              std::make_pair(5, 40)}) {
            const Rgba c = picture.at(p.first, p.second);
            EXPECT_TRUE(c.r == 0 && c.g == 255 && c.b == 0)
                << p.first << "," << p.second << ": " << c.r << " " << c.g << " " << c.b;
        }
        // Drawn without the depth test, so the sky leaves the depth buffer clear.
        EXPECT_EQ(Depth(32, 24), 1.0f);
        GLint cull_mode = 0;
        glGetIntegerv(GL_CULL_FACE_MODE, &cull_mode);
        EXPECT_EQ(cull_mode, GL_BACK);
    }
}

TEST_F(SphereDrawTest, AtmosphereTurnsItsLocalXAxisAlongTheLineOfSight) {
    // The marker on the near side of the shell is seen at the centre from any side.
    const GLuint near_marker = MarkerList(-1.0f);
    struct View {
        Vec3 eye, look;
    } views[] = {{{0, 0, 400}, {0, 0, -1}}, {{400, 0, 0}, {-1, 0, 0}}};
    for (const View& view : views) {
        SCOPED_TRACE(view.eye.x);
        PlaceCamera(view.eye, view.look, {0, 1, 0});
        Sphere s;
        Prepare(s);
        s.displayList = near_marker;
        s.atmosphere = true;
        s.unlit = true;
        BeginFrame();
        s.Draw(camera_);
        EXPECT_GT(Pixel(32, 24).r, 200);
        EXPECT_EQ(Depth(32, 24), 1.0f) << "a shell writes no depth";
    }

    // With the camera at the shell's centre there is no line of sight: the shell is turned
    // along the look direction, so the marker on its +x side is straight ahead.
    Sphere s;
    Prepare(s);
    s.displayList = MarkerList(1.0f);
    s.atmosphere = true;
    s.unlit = true;
    s.position = camera_.position;
    BeginFrame();
    s.Draw(camera_);
    EXPECT_GT(Pixel(32, 24).r, 200);
}

TEST_F(SphereDrawTest, FlashLayerFadesInWhileOnAndOutWhileOff) {
    struct Case {
        bool on;
        float phase;
        int level;  // 255 x the layer's alpha, added to the black picture
    } cases[] = {{true, 0.125f, 64}, {true, 0.375f, 191}, {false, 0.125f, 191}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phase);
        Sphere s;
        Prepare(s);
        s.flash = true;
        s.flashOn = c.on;
        s.flashPhase = c.phase;
        s.flashPeriod = 0.5f;
        s.unlit = true;
        s.textureId = SolidTexture(255, 255, 255);
        s.textured = true;
        BeginFrame();
        s.Draw(camera_);
        EXPECT_NEAR(Pixel(32, 24).r, c.level, 3);
    }
}

TEST_F(SphereDrawTest, SatelliteStandsOffItsParentInItsOwnColour) {
    Sphere parent;
    parent.position = Vec3(60, 0, 0);
    Sphere s;
    Prepare(s, 20.0f);
    s.satellite = true;
    s.unlit = true;
    s.color = Vec3(0, 0, 1);
    s.textureId = SolidTexture(255, 0, 0);  // not used: a satellite is drawn untextured
    s.textured = true;
    s.position = Vec3(-60, 0, 0);
    s.parent = &parent;
    BeginFrame();
    s.Draw(camera_);
    const Rgba centre = Pixel(32, 24);
    EXPECT_EQ(centre.b, 255);
    EXPECT_EQ(centre.r, 0);
    EXPECT_FLOAT_EQ(s.position.x, 0.0f) << "the sum is stored";

    // Without a parent the satellite stays at its own place (left of the centre).
    s.parent = nullptr;
    s.position = Vec3(-60, 0, 0);
    BeginFrame();
    s.Draw(camera_);
    EXPECT_EQ(Pixel(32, 24).b, 0);
    EXPECT_EQ(Pixel(25, 24).b, 255);  // 60 units left: 7 pixels
}

TEST_F(SphereDrawTest, MaskChangesNoColourButHidesWhatComesAfter) {
    Sphere sky;
    Prepare(sky, 10.0f);
    sky.env = true;
    sky.textureId = SolidTexture(0, 255, 0);
    sky.textured = true;
    Sphere mask;
    Prepare(mask);
    mask.mask = true;
    mask.textureId = SolidTexture(255, 0, 0);
    mask.textured = true;
    BeginFrame();
    sky.Draw(camera_);
    mask.Draw(camera_);
    const Rgba centre = Pixel(32, 24);
    EXPECT_TRUE(centre.r == 0 && centre.g == 255 && centre.b == 0);
    EXPECT_LT(Depth(32, 24), 1.0f);
}

TEST_F(SphereDrawTest, EveryVariantLeavesTheRestState) {
    const GLuint texture = SolidTexture(200, 150, 100);
    Sphere parent;
    parent.position = Vec3(10, 0, 0);
    struct Variant {
        const char* name;
        std::function<void(Sphere&)> set;
    } variants[] = {
        {"plain", [](Sphere&) {}},
        {"alpha 0.5", [](Sphere& s) { s.alpha = 0.5f; }},
        {"env", [](Sphere& s) { s.env = true; }},
        {"env wire", [](Sphere& s) { s.env = s.wire = true; }},
        {"light", [](Sphere& s) { s.unlit = true; }},
        {"specular", [](Sphere& s) { s.specular = true; }},
        {"tga texture", [](Sphere& s) { s.tgaTexture = true; }},
        {"atmo", [](Sphere& s) { s.atmosphere = true; }},
        {"atmo around the camera",
         [this](Sphere& s) {
             s.atmosphere = true;
             s.position = camera_.position;
         }},
        {"atmo straight above",
         [this](Sphere& s) {
             s.atmosphere = true;
             s.position = camera_.position + Vec3(0, 500, 0);
         }},
        {"flash", [](Sphere& s) { s.flash = s.flashOn = true; }},
        {"flash rnd off", [](Sphere& s) { s.flash = s.randomFlash = true; }},
        {"flash rnd tga",
         [](Sphere& s) { s.flash = s.randomFlash = s.flashOn = s.tgaTexture = true; }},
        {"wire", [](Sphere& s) { s.wire = true; }},
        {"mask", [](Sphere& s) { s.mask = true; }},
        {"mask depth", [](Sphere& s) { s.mask = s.noDepthWrite = true; }},
        {"depth", [](Sphere& s) { s.noDepthWrite = true; }},
        {"ring", [](Sphere& s) { s.ring = true; }},
        {"sys",
         [&parent](Sphere& s) {
             s.satellite = true;
             s.parent = &parent;
         }},
        {"sys without parent", [](Sphere& s) { s.satellite = true; }},
        {"untextured", [](Sphere& s) { s.textured = false; }},
    };
    for (const Variant& v : variants) {
        Sphere s;
        Prepare(s);
        s.textureId = texture;
        s.textured = true;
        v.set(s);
        BeginFrame();
        const GlSnapshot before = TakeGlSnapshot();
        s.Draw(camera_);
        ExpectRestState(before, v.name);
        GLint cull_mode = 0;
        glGetIntegerv(GL_CULL_FACE_MODE, &cull_mode);
        EXPECT_EQ(cull_mode, GL_BACK) << v.name;
        EXPECT_TRUE(std::isfinite(s.position.x + s.position.y + s.position.z)) << v.name;
    }
}

}  // namespace
}  // namespace orv::test
