#include <GL/gl.h>
#include <gtest/gtest.h>

#include "objects/flame.h"
#include "tests/objects/draw_fixture.h"
#include "tests/support/gl_rest_state.h"

namespace orv {
namespace {

using test::Rgb;

class FlameDraw : public test::DrawTest {
protected:
    // A red ring of radius 100 whose bands reach 50 units and fade to blue.
    void SetUp() override {
        DrawTest::SetUp();
        flame_.radius = 100.0f;
        flame_.bandWidth = 50.0f;
        flame_.innerColour = Vec3(1.0f, 0.0f, 0.0f);
        flame_.outerColour = Vec3(0.0f, 0.0f, 1.0f);
    }

    // Draws the flame over a black picture with a dark texture bound, as an earlier object may
    // leave it: the ring must show its own colours untextured and unlit.
    void DrawOverDarkTexture() {
        glBindTexture(GL_TEXTURE_2D, SolidTexture(20, 20, 20));
        flame_.Draw(camera_);
        Read();
    }

    Flame flame_;
};

// Additive bands over black: a band point a fraction t of the way out shows the inner colour
// times (1 - t) squared and the outer colour times t (1 - t).
constexpr Rgb kMidBand{64, 0, 64};  // t = 0.5
constexpr Rgb kFarBand{16, 0, 48};  // t = 0.75
constexpr Rgb kBlack{0, 0, 0};

TEST_F(FlameDraw, SeenFromAboveTheInnerAndOuterBandsFadeFromTheRing) {
    Clear();
    View({0, 400, 0}, {0, -1, 0}, {0, 0, -1});
    DrawOverDarkTexture();
    const struct {
        Vec3 point;
        Rgb want;
    } cases[] = {
        {{0, 0, 0}, kBlack},                                 // inside the inner band
        {{75, 0, 0}, kMidBand},                              // inner band
        {{62.5f, 0, 0}, kFarBand},                           // inner band, near its far edge
        {{0, 0, -75}, kMidBand},                             // inner band, a quarter turn on
        {{125, 0, 0}, kMidBand},                             // outer band
        {{137.5f, 0, 0}, kFarBand},                          // outer band, near its far edge
        {{-137.5f, 0, 0}, kFarBand}, {{170, 0, 0}, kBlack},  // beyond the outer band
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(test::Near(AtWorld(c.point), c.want, 10))
            << c.point.x << " " << c.point.z << ": " << AtWorld(c.point) << " want " << c.want;
    }
    EXPECT_TRUE(NearWorld({100, 0, 0}, {255, 0, 0}, 2)) << "the ring line";
}

TEST_F(FlameDraw, SeenFromTheSideTheUpAndDownBandsFadeFromTheRing) {
    Clear();
    View({0, 0, 400}, {0, 0, -1});
    DrawOverDarkTexture();
    // The front of the ring, (0, 0, 100), is nearest; the back's bands reach less far on the
    // picture, so these points show the front bands alone.
    EXPECT_TRUE(test::Near(AtWorld({0, 37.5f, 100}), kFarBand, 10)) << AtWorld({0, 37.5f, 100});
    EXPECT_TRUE(test::Near(AtWorld({0, -37.5f, 100}), kFarBand, 10)) << AtWorld({0, -37.5f, 100});
    EXPECT_TRUE(test::Near(AtWorld({0, 70, 100}), kBlack, 0));
    EXPECT_TRUE(test::Near(AtWorld({0, -70, 100}), kBlack, 0));
}

TEST_F(FlameDraw, ShapeFollowsCentreEllipticityAndSlope) {
    const Vec3 top_eye{0, 600, 0}, down{0, -1, 0}, north{0, 0, -1};
    const struct {
        const char* what;
        Vec3 centre;
        float radius, ellipticity, slope;
        Vec3 eye, look, up;
        Vec3 onRing, background;
    } cases[] = {
        {"ell 2 doubles the extent along x",
         {0, 0, 0},
         60,
         2,
         0,
         top_eye,
         down,
         north,
         {120, 0, 0},
         {60, 0, 0}},
        {"ell 2 keeps the extent along z",
         {0, 0, 0},
         60,
         2,
         0,
         top_eye,
         down,
         north,
         {0, 0, 60},
         {0, 0, 120}},
        {"the centre moves the ring",
         {40, 0, -30},
         60,
         1,
         0,
         top_eye,
         down,
         north,
         {100, 0, -30},
         {-60, 0, 0}},
        // Seen from the side: the front of the ring, at x = 50, is raised by slope * 50.
        {"the tilt uses x with the centre included",
         {50, 0, 0},
         100,
         1,
         0.4f,
         {50, 0, 400},
         {0, 0, -1},
         {0, 1, 0},
         {50, 20, 100},
         {50, 0, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        flame_.centre = c.centre;
        flame_.radius = c.radius;
        flame_.ellipticity = c.ellipticity;
        flame_.slope = c.slope;
        flame_.bandWidth = 10.0f;
        Clear();
        View(c.eye, c.look, c.up);
        DrawOverDarkTexture();
        EXPECT_TRUE(NearWorld(c.onRing, {255, 0, 0}, 2)) << AtWorld(c.onRing);
        EXPECT_TRUE(test::Near(AtWorld(c.background), kBlack, 0)) << AtWorld(c.background);
    }
}

TEST_F(FlameDraw, TheRingLineIsOpaque) {
    // On grey, the additive bands brighten every channel, but the line replaces the background
    // with its own colour.
    flame_.innerColour = Vec3(0.5f, 0.0f, 0.0f);
    Clear({0.25f, 0.25f, 0.25f});
    View({0, 400, 0}, {0, -1, 0}, {0, 0, -1});
    DrawOverDarkTexture();
    EXPECT_TRUE(NearWorld({100, 0, 0}, {128, 0, 0}, 2)) << AtWorld({100, 0, 0});
    EXPECT_TRUE(NearWorld({0, 0, 100}, {128, 0, 0}, 2)) << AtWorld({0, 0, 100});
    const Rgb band = AtWorld({75, 0, 0});
    EXPECT_GT(band.b, 64) << band;
}

TEST_F(FlameDraw, LeavesTheRestStateAndNoDepth) {
    Clear();
    View({0, 400, 0}, {0, -1, 0}, {0, 0, -1});
    const test::GlSnapshot before = test::TakeGlSnapshot();
    flame_.Draw(camera_);
    test::ExpectRestState(before, "flame");
    Read();
    // Nothing drawn after the flame is hidden by it.
    EXPECT_EQ(DepthAtWorld({100, 0, 0}), 1.0f);
    EXPECT_EQ(DepthAtWorld({75, 0, 0}), 1.0f);
}

}  // namespace
}  // namespace orv
