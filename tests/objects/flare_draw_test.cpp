#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "objects/flare.h"
#include "objects/sphere.h"
#include "tests/objects/object_draw_fixture.h"

namespace orv::test {
namespace {

constexpr double kFrame = 1.0 / 60.0;

// 160 x 120 pixels, screen centre (80, 60); at a distance of 400 one world unit is 0.3 pixels.
class FlareDrawTest : public DrawFixture {
  protected:
    FlareDrawTest() : DrawFixture(160, 120) {}

    void SetUp() override {
        DrawFixture::SetUp();
        white_ = SolidTexture(255, 255, 255);
        clear_ = SolidTexture(255, 255, 255, 0);
    }

    void Prepare(Flare& f) const {
        f.textureId = white_;
        f.textured = true;
        f.rotationSpeed = 0.0f;
    }

    // An opaque black sphere: it hides what lies behind it without adding colour.
    Sphere& Blocker(const Vec3& at, float radius) {
        blocker_.displayList = UnitSphereList();
        blocker_.radius = radius;
        blocker_.position = at;
        blocker_.textureId = SolidTexture(0, 0, 0);
        blocker_.textured = true;
        return blocker_;
    }

    // The brightest red value in the picture.
    int BrightestRed() const {
        const Picture picture = Snap();
        int best = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) best = std::max(best, picture.at(x, y).r);
        return best;
    }

    GLuint white_ = 0, clear_ = 0;
    Sphere blocker_;
};

TEST_F(FlareDrawTest, FadesInOverEmptySkyAndOutWhenASphereCoversIt) {
    Flare flare;
    Prepare(flare);
    flare.position = Vec3(0, 0, -200);
    Sphere& sphere = Blocker({0, 0, 0}, 100.0f);
    auto frame = [&](bool covered) {
        BeginFrame();
        if (covered) sphere.Draw(camera_);
        flare.Draw(camera_);
        const int centre = Pixel(80, 60).r;
        flare.Update(kFrame);
        return centre;
    };

    // Fade-in rate 6 (plus the twinkle's 0.7) per second: full after 9 frames.
    std::vector<int> seen;
    for (int i = 0; i < 12; ++i) seen.push_back(frame(false));
    EXPECT_TRUE(flare.visible);
    EXPECT_EQ(seen[0], 0) << "the first frame only finds it visible";
    EXPECT_NEAR(seen[1], 255 * 6.7 / 60, 3);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 255);
    EXPECT_FLOAT_EQ(flare.fadeLevel, 1.0f + 0.7f / 60.0f) << "the twinkle adds after the clamp";

    // Covered: fades out at 6 - 0.7 per second, about 12 frames, and is then not drawn.
    seen.clear();
    for (int i = 0; i < 14; ++i) seen.push_back(frame(true));
    EXPECT_FALSE(flare.visible);
    EXPECT_TRUE(std::is_sorted(seen.rbegin(), seen.rend()));
    EXPECT_GT(seen[1], 200);
    EXPECT_EQ(seen.back(), 0);
    EXPECT_FLOAT_EQ(flare.fadeLevel, 0.0f);

    // Uncovered again, it comes back.
    for (int i = 0; i < 3; ++i) frame(false);
    EXPECT_GT(flare.fadeLevel, 0.2f);
}

TEST_F(FlareDrawTest, EnvFlareIsVisibleOnlyOverEmptySkyInFrontOfTheCamera) {
    struct Case {
        const char* name;
        Vec3 look;
        bool blocked;
        bool visible;
    } cases[] = {
        {"empty sky ahead", {0, 0, -1}, false, true},
        {"something drawn at its pixel, however far", {0, 0, -1}, true, false},
        {"camera turned away", {0, 0, 1}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlaceCamera({1000, 50, 20}, c.look, {0, 1, 0});
        Flare flare;
        Prepare(flare);
        flare.envOn = true;
        flare.anchor = Vec3(0, 0, -1);
        BeginFrame();
        if (c.blocked) Blocker({1000, 50, -400000}, 100000.0f).Draw(camera_);
        flare.Draw(camera_);
        EXPECT_EQ(flare.visible, c.visible);
        EXPECT_FLOAT_EQ(flare.position.x, 1000.0f);
        EXPECT_FLOAT_EQ(flare.position.z, 20.0f - 1.0f);
    }
}

TEST_F(FlareDrawTest, PointOutsideTheWindowOrInTheEyePlaneIsHidden) {
    struct Case {
        const char* name;
        Vec3 point;
        bool visible;
    } cases[] = {
        {"near the window's edge", {260, 0, 0}, true},  // 78 pixels right of the centre
        {"far right of the view", {1000, 0, 0}, false},
        {"below the view", {0, -1000, 0}, false},
        {"in the camera's own plane (does not project)", {100, 0, 400}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Flare flare;
        Prepare(flare);
        flare.position = c.point;
        flare.visible = !c.visible;
        flare.fadeLevel = 1.0f;
        BeginFrame();
        const GlSnapshot before = TakeGlSnapshot();
        flare.Draw(camera_);
        ExpectRestState(before, c.name);
        EXPECT_EQ(flare.visible, c.visible);
        EXPECT_EQ(BrightestRed() > 0, c.visible) << "drawn only where it is in the window";
    }
}

TEST_F(FlareDrawTest, FocusDimsTheSpriteUnlessTheCameraLooksTowardIt) {
    struct Case {
        float threshold;
        float cosine;  // between the camera's look and the flare's direction
        int red;
    } cases[] = {
        {0.9f, 1.0f, 255},
        {0.9f, 0.95f, 128},
        {0.9f, 0.9f, 0},
        {0.9f, 0.8f, 0},
        // A threshold of 1: only looking exactly along the direction shows it.
        {1.0f, 1.0f, 255},
        {1.0f, 0.95f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.threshold << " " << c.cosine);
        const float s = std::sqrt(1.0f - c.cosine * c.cosine);
        PlaceCamera({0, 0, 0}, {0, s, -c.cosine}, {0, c.cosine, s});
        Flare flare;
        Prepare(flare);
        flare.envOn = true;
        flare.envFov = 1.0f;  // wide enough to keep the flare in view
        flare.anchor = Vec3(0, 0, -1);
        flare.focusOn = true;
        flare.focusThreshold = c.threshold;
        flare.fadeLevel = 1.0f;
        BeginFrame();
        flare.Draw(camera_);
        EXPECT_NEAR(BrightestRed(), c.red, 2);
    }

    // A flare placed by position has no direction (zero anchor): focus leaves it at full.
    PlaceCamera({0, 0, 400}, {0, 0, -1}, {0, 1, 0});
    Flare flare;
    Prepare(flare);
    flare.focusOn = true;
    flare.focusThreshold = 0.9f;
    flare.fadeLevel = 1.0f;
    BeginFrame();
    flare.Draw(camera_);
    EXPECT_EQ(BrightestRed(), 255);
}

TEST_F(FlareDrawTest, LensElementsLieOnTheLineThroughTheScreenCentre) {
    Flare flare;
    Prepare(flare);
    flare.textureId = clear_;  // sprite and glows invisible: only the elements show
    flare.lensEffectOn = true;
    flare.lensSize = 1.0f;
    flare.lensTextures[0] = flare.lensTextures[1] = white_;
    flare.lensTextures[2] = clear_;
    flare.fadeLevel = 1.0f;
    flare.position = Vec3(125, 75, 0);  // projects to (117.5, 82.5)
    BeginFrame();
    flare.Draw(camera_);

    const double fx = 117.5, fy = 82.5, tx = 80 - fx, ty = 60 - fy;
    const double length = std::hypot(tx, ty);
    const Picture picture = Snap();
    int lit = 0;
    double nearest = 1e9, farthest = -1e9;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Rgba c = picture.at(x, y);
            if (c.r + c.g + c.b < 30) continue;
            ++lit;
            const double px = x + 0.5 - fx, py = y + 0.5 - fy;
            // Offsets of at most 2 x 2.3 pixels from the line, elements at most 2 pixels across.
            EXPECT_LT(std::fabs(px * ty - py * tx) / length, 8.0) << x << "," << y;
            const double along = (px * tx + py * ty) / (length * length);
            nearest = std::min(nearest, along);
            farthest = std::max(farthest, along);
        }
    }
    EXPECT_GT(lit, 20);
    // From a little behind the flare (t = -0.3) to well past the centre (t = 1.8).
    EXPECT_LT(nearest, -0.1);
    EXPECT_GT(nearest, -0.5);
    EXPECT_GT(farthest, 1.6);
    EXPECT_LT(farthest, 2.1);
}

TEST_F(FlareDrawTest, LensEffectAtTheScreenCentreSpreadsAroundIt) {
    Flare flare;
    Prepare(flare);
    flare.textureId = clear_;
    flare.lensEffectOn = true;
    flare.lensSize = 1.0f;
    flare.lensTextures[0] = flare.lensTextures[1] = white_;
    flare.lensTextures[2] = clear_;
    flare.fadeLevel = 1.0f;
    flare.position = Vec3(0, 0, 0);  // exactly at the centre: no direction to the centre
    BeginFrame();
    const GlSnapshot before = TakeGlSnapshot();
    flare.Draw(camera_);
    ExpectRestState(before, "lens at the centre");
    const Picture picture = Snap();
    int lit = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (picture.at(x, y).r + picture.at(x, y).g + picture.at(x, y).b < 30) continue;
            ++lit;
            EXPECT_LT(std::hypot(x + 0.5 - 80, y + 0.5 - 60), 10.0);
        }
    }
    EXPECT_GT(lit, 10) << "the elements are drawn, not lost to NaN";
}

TEST_F(FlareDrawTest, ParentCarriesTheFlareAndHidesIt) {
    Sphere parent;
    parent.position = Vec3(1, 2, 3);
    parent.right = Vec3(1, 0, 0);
    parent.look = Vec3(0, 0, 1);
    Flare flare;
    Prepare(flare);
    flare.parentObject = &parent;
    flare.anchor = Vec3(10, 20, 30);  // along right, right x look = (0, -1, 0), and look
    BeginFrame();
    flare.Draw(camera_);
    EXPECT_FLOAT_EQ(flare.position.x, 11.0f);
    EXPECT_FLOAT_EQ(flare.position.y, -18.0f);
    EXPECT_FLOAT_EQ(flare.position.z, 33.0f);
    EXPECT_TRUE(flare.visible);

    // A parent that is not shown: nothing drawn, and the last visibility is kept.
    parent.shown = false;
    parent.position = Vec3(0, 0, 1000);  // behind the camera: would be hidden
    flare.fadeLevel = 1.0f;
    BeginFrame();
    flare.Draw(camera_);
    EXPECT_TRUE(flare.visible);
    EXPECT_FLOAT_EQ(flare.position.x, 11.0f);
    EXPECT_EQ(BrightestRed(), 0);
}

TEST_F(FlareDrawTest, EveryVariantLeavesTheRestState) {
    Sphere parent;
    parent.position = Vec3(0, 0, -100);
    struct Variant {
        const char* name;
        std::function<void(Flare&)> set;
    } variants[] = {
        {"faded out", [](Flare& f) { f.fadeLevel = 0.0f; }},
        {"sprite", [](Flare&) {}},
        {"env",
         [](Flare& f) {
             f.envOn = true;
             f.anchor = Vec3(0, 0.05f, -1);
         }},
        {"focus",
         [](Flare& f) {
             f.envOn = f.focusOn = true;
             f.anchor = Vec3(0, 0, -1);
             f.focusThreshold = 0.5f;
         }},
        {"focus threshold 1",
         [](Flare& f) {
             f.envOn = f.focusOn = true;
             f.anchor = Vec3(0, 0, -1);
             f.focusThreshold = 1.0f;
         }},
        {"lens effect",
         [](Flare& f) {
             f.lensEffectOn = true;
             f.position = Vec3(100, 50, 0);
         }},
        {"lens effect oriented",
         [](Flare& f) {
             f.lensEffectOn = f.oriented = true;
             f.orientVector = Vec3(80, 60, 0);  // the centre itself: no direction
             f.position = Vec3(100, 50, 0);
         }},
        {"parent", [&parent](Flare& f) { f.parentObject = &parent; }},
        {"behind the camera", [](Flare& f) { f.position = Vec3(0, 0, 1000); }},
    };
    for (const Variant& v : variants) {
        Flare f;
        Prepare(f);
        f.fadeLevel = 1.0f;
        f.lensTextures[0] = f.lensTextures[1] = f.lensTextures[2] = white_;
        v.set(f);
        BeginFrame();
        const GlSnapshot before = TakeGlSnapshot();
        f.Draw(camera_);
        ExpectRestState(before, v.name);
    }
}

}  // namespace
}  // namespace orv::test
