#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "camera/random.h"
#include "objects/flame.h"
#include "objects/mesh.h"
#include "objects/particle_system.h"
#include "tests/objects/draw_fixture.h"
#include "tests/support/alloc_counter.h"  // this program counts allocations
#include "tests/support/gl_rest_state.h"

namespace orv {
namespace {

using test::Rgb;

class ParticleDraw : public test::DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        white_ = SolidTexture(255, 255, 255);
    }

    // A system with one particle at each of the given places (relative to the system's
    // position), textured white.
    void Make(ParticleMode mode, std::initializer_list<Vec3> places) {
        system_.mode = mode;
        system_.CreateParticles(static_cast<int>(places.size()));
        size_t i = 0;
        for (const Vec3& p : places) system_.positions[i++] = p;
        system_.textureId = white_;
        system_.textured = true;
    }

    ParticleSystem system_;
    GLuint white_ = 0;
};

constexpr Rgb kGrey{26, 26, 26};  // the background 0.1

TEST_F(ParticleDraw, JetSpritesAddLightAndShowThroughEverything) {
    // Two sprites of half-size 800 overlapping between x = -400 and 400, each at alpha 0.4.
    Make(ParticleMode::kLine, {{-400, 0, 0}, {400, 0, 0}});
    for (int i = 0; i < 2; ++i) {
        system_.ages[i] = 0.6f;
        system_.lifetimes[i] = 1.0f;
    }
    Clear({0.1f, 0.1f, 0.1f}, 0.0f);  // depth 0: a depth-tested sprite would be hidden
    View({0, 0, 6400}, {0, 0, -1});
    system_.Draw(camera_);
    Read();
    const struct {
        Vec3 point;
        Rgb want;
    } cases[] = {
        {{0, 0, 0}, {230, 230, 230}},     // both sprites
        {{-800, 0, 0}, {128, 128, 128}},  // the first alone
        {{800, 0, 0}, {128, 128, 128}},   // the second alone
        {{-1500, 0, 0}, kGrey},           // neither
        {{0, 1000, 0}, kGrey},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(test::Near(AtWorld(c.point), c.want, 3))
            << c.point.x << " " << c.point.y << ": " << AtWorld(c.point) << " want " << c.want;
    }
}

TEST_F(ParticleDraw, JetSpritesGrowAlongTheirPath) {
    // Half-size 800 - 0.2 z: a particle 1000 units along -z has half-size 1000.
    Make(ParticleMode::kLine, {{0, 0, -1000}});
    system_.ages[0] = 0.0f;
    system_.lifetimes[0] = 1.0f;
    system_.position = Vec3(0, 0, 1000);  // the particle sits at the world origin
    Clear();
    View({0, 0, 8000}, {0, 0, -1});
    system_.Draw(camera_);
    Read();
    EXPECT_TRUE(test::Near(AtWorld({0, 0, 0}), {255, 255, 255}, 0));
    // The sprite is turned by 20 z N degrees about the view axis (here -20000, which leaves the
    // square tilted by 20 degrees): every point within 1000 of its centre is covered, every
    // point beyond 1000 * sqrt(2) is not, and a half-size of 800 would not reach 950 along x.
    EXPECT_TRUE(test::Near(AtWorld({950, 0, 0}), {255, 255, 255}, 0));
    EXPECT_TRUE(test::Near(AtWorld({0, -950, 0}), {255, 255, 255}, 0));
    EXPECT_TRUE(test::Near(AtWorld({1500, 0, 0}), {0, 0, 0}, 0));
    EXPECT_TRUE(test::Near(AtWorld({0, 1500, 0}), {0, 0, 0}, 0));
}

TEST_F(ParticleDraw, BurstGlowAndParticlesPulseOverThePeriod) {
    // The burst point (0, 0, 1000) on a sphere around the origin: the glow (half-size 2000) lies
    // facing the camera on the z axis; one particle of half-size 500 sits 1500 to the right.
    Make(ParticleMode::kCirc, {{1500, 0, 0}});
    system_.position = Vec3(0, 0, 1000);
    system_.interval = 2.0f;
    const struct {
        float timer;
        int glow;      // added at the glow's centre
        int particle;  // added where the particle lies over the glow
    } cases[] = {
        {0.0f, 0, 0}, {0.5f, 128, 255}, {1.0f, 255, 255}, {1.5f, 128, 255}, {2.0f, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timer);
        system_.timer = c.timer;
        Clear({0.1f, 0.1f, 0.1f}, 0.0f);
        View({0, 0, 9000}, {0, 0, -1});
        system_.Draw(camera_);
        Read();
        const int glow = std::min(26 + c.glow, 255), particle = std::min(26 + c.particle, 255);
        EXPECT_TRUE(test::Near(AtWorld({0, 0, 1000}), {glow, glow, glow}, 3))
            << AtWorld({0, 0, 1000});
        EXPECT_TRUE(test::Near(AtWorld({1500, 0, 1000}), {particle, particle, particle}, 3))
            << AtWorld({1500, 0, 1000});
        EXPECT_TRUE(test::Near(AtWorld({0, 2500, 1000}), kGrey, 0)) << "beyond the glow";
    }
}

TEST_F(ParticleDraw, BurstGlowWithoutATangentDirectionStillShows) {
    // The glow's axes come from the burst point's direction crossed with y: at the sphere's
    // centre or straight above it that cross product is zero, and fixed axes stand in.
    const struct {
        const char* what;
        Vec3 position, eye, look, up;
    } cases[] = {
        {"burst point at the centre", {0, 0, 0}, {0, 0, 9000}, {0, 0, -1}, {0, 1, 0}},
        {"burst point straight above the centre",
         {0, 1000, 0},
         {0, 9000, 0},
         {0, -1, 0},
         {0, 0, -1}},
        {"burst point straight below the centre",
         {0, -1000, 0},
         {0, -9000, 0},
         {0, 1, 0},
         {0, 0, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Make(ParticleMode::kCirc, {{0, 0, 0}});
        system_.position = c.position;
        system_.interval = 2.0f;
        system_.timer = 1.0f;
        Clear();
        View(c.eye, c.look, c.up);
        system_.Draw(camera_);
        Read();
        // The glow alone reaches 1500 from its centre, beyond the particle's 500.
        const Vec3 aside = c.position + (c.look.y != 0 ? Vec3(1500, 0, 0) : Vec3(0, 1500, 0));
        EXPECT_TRUE(test::Near(AtWorld(aside), {255, 255, 255}, 0)) << AtWorld(aside);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(ParticleDraw, FlashBrightSpotFollowsTheTickAndTheGlowFades) {
    // A chain of three sprites 6000 apart on the flash sphere's front (right = +z, the
    // direction from the centre), with the glow around the middle one.
    Make(ParticleMode::kFlash, {{-6000, 0, 0}, {0, 0, 0}, {6000, 0, 0}});
    system_.right = Vec3(0, 0, 1);
    system_.position = Vec3(0, 0, 16100);
    const Vec3 chain[3] = {{-6000, 0, 16100}, {0, 0, 16100}, {6000, 0, 16100}};
    const Vec3 glow{1500, 0, 16100};  // inside the glow, away from every sprite
    // A sprite's alpha is 1 - |tick - index| / 3 plus up to 0.4 of flicker: the sprite whose
    // index is the tick count is at full brightness, one d steps away at 1.4 - d / 3 at most.
    // The glow's alpha falls by 0.2 |tick| / 3 from its value at tick 0.
    const struct {
        int tick;
        int bright, dim, dimMax;  // sprite indices (-1 for none); dimMax in 0..255 steps
        int glowDrop;             // in 0..255 steps
    } cases[] = {
        {0, 0, 2, 188, 0},
        {2, 2, 0, 188, 34},
        {3, -1, 0, 103, 51},
        {-3, -1, 0, 103, 51},
    };
    int glow_at_zero = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tick);
        system_.tickCount = c.tick;
        SeedRandom(7);  // the same flicker every time
        Clear();
        View({0, 0, 16100 + 12000}, {0, 0, -1});
        system_.Draw(camera_);
        Read();
        if (c.bright >= 0) {
            EXPECT_EQ(AtWorld(chain[c.bright]).r, 255);
        }
        if (c.dim >= 0) {
            EXPECT_LE(AtWorld(chain[c.dim]).r, c.dimMax);
        }
        if (c.tick == 0) glow_at_zero = AtWorld(glow).r;
        EXPECT_GE(glow_at_zero, 50) << "the glow's alpha is at least 0.2 at tick 0";
        EXPECT_NEAR(AtWorld(glow).r, glow_at_zero - c.glowDrop, 2);
    }
}

TEST_F(ParticleDraw, FlashIsSeenOnlyFromOutsideItsSphere) {
    Make(ParticleMode::kFlash, {{-300, 0, 0}, {0, 0, 0}, {300, 0, 0}});
    system_.right = Vec3(0, 0, 1);
    system_.position = Vec3(0, 0, 16100);
    const struct {
        const char* what;
        Vec3 eye, look;
        bool seen;
    } cases[] = {
        {"from outside", {0, 0, 16100 + 12000}, {0, 0, -1}, true},
        {"from the centre's side", {0, 0, 16100 - 12000}, {0, 0, 1}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Clear();
        View(c.eye, c.look);
        system_.Draw(camera_);
        Read();
        EXPECT_EQ(ChangedPixels({0, 0, 0}) > 0, c.seen);
    }
}

TEST_F(ParticleDraw, NothingShowsWithoutParticlesModeOrStart) {
    const struct {
        const char* what;
        ParticleMode mode;
        int count;
    } cases[] = {
        {"no mode", ParticleMode::kNone, 4},
        {"line without particles", ParticleMode::kLine, 0},
        {"circ without particles", ParticleMode::kCirc, 0},
        {"flash without particles", ParticleMode::kFlash, 0},
        // "dens" leaves lifetimes and the burst period at 0 until the first update: the jet
        // has not started and the burst's pulse is 0.
        {"line before its first update", ParticleMode::kLine, 4},
        {"circ before its first update", ParticleMode::kCirc, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ParticleSystem system;
        system.mode = c.mode;
        system.CreateParticles(c.count);
        system.textureId = white_;
        Clear({0.1f, 0.1f, 0.1f});
        View({0, 0, 3000}, {0, 0, -1});
        glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
        system.Draw(camera_);
        Read();
        EXPECT_EQ(ChangedPixels(kGrey), 0);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        for (float channel : colour) EXPECT_TRUE(std::isfinite(channel)) << "current colour";
    }
}

TEST_F(ParticleDraw, LeavesTheRestStateButLightingAndAlphaTestAfterLineAndCirc) {
    const struct {
        const char* what;
        ParticleMode mode;
        int count;
        bool leavesLightingOff;
    } cases[] = {
        {"line", ParticleMode::kLine, 3, true},
        {"circ", ParticleMode::kCirc, 3, true},
        {"flash", ParticleMode::kFlash, 3, false},
        {"no mode", ParticleMode::kNone, 3, false},
        {"line without particles", ParticleMode::kLine, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InitOpenGL();
        ParticleSystem system;
        system.mode = c.mode;
        system.CreateParticles(c.count);
        system.textureId = white_;
        system.Update(0.02);
        Clear();
        View({0, 0, 3000}, {0, 0, -1});
        const test::GlSnapshot before = test::TakeGlSnapshot();
        system.Draw(camera_);
        test::RestExceptions exceptions;
        exceptions.lightingOff = c.leavesLightingOff;
        exceptions.alphaTestOff = c.leavesLightingOff;
        test::ExpectRestState(before, c.what, exceptions);
        // What the next object sees.
        EXPECT_EQ(glIsEnabled(GL_LIGHTING), !c.leavesLightingOff);
        EXPECT_EQ(glIsEnabled(GL_ALPHA_TEST), !c.leavesLightingOff);
        GLint cull_mode = 0;
        glGetIntegerv(GL_CULL_FACE_MODE, &cull_mode);
        EXPECT_EQ(cull_mode, GL_BACK);
    }
}

TEST_F(ParticleDraw, DrawingAllocatesNothing) {
    Flame flame;
    Mesh mesh;
    ParticleSystem line, circ, flash;
    line.mode = ParticleMode::kLine;
    circ.mode = ParticleMode::kCirc;
    flash.mode = ParticleMode::kFlash;
    for (ParticleSystem* system : {&line, &circ, &flash}) {
        system->CreateParticles(50);
        system->Update(0.02);
    }
    View({0, 0, 3000}, {0, 0, -1});
    const auto draw_frame = [&] {
        flame.Draw(camera_);
        mesh.Draw(camera_);
        for (ParticleSystem* system : {&line, &circ, &flash}) system->Draw(camera_);
        gl_.Finish();
    };
    // The GL driver compiles code (allocating) for each new combination of state it meets; the
    // state at the start of a frame settles from the second frame on.
    for (int frame = 0; frame < 3; ++frame) draw_frame();
    const long before = test::AllocationCount();
    for (int frame = 0; frame < 5; ++frame) draw_frame();
    EXPECT_EQ(test::AllocationCount(), before);
}

}  // namespace
}  // namespace orv
